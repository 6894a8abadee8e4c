#include "cli/CliHelp.h"

namespace kestrel::cli {

namespace {

// One entry of the usage: the command, the verbs it stands for (empty: the command has none) and
// its lines.
struct HelpEntry
{
    const char* command;
    const char* verbs; // space-separated
    const char* text;
};

constexpr HelpEntry kEntries[] = {
    {"decode", "adn",
     "  decode adn <record-hex> [--ext <extension-file-hex>]\n"
     "      Decode one dialling-number record (EF_ADN/EF_FDN/EF_MSISDN/EF_LND) as record 1.\n"
     "      The extension file is the concatenation of its 13-byte records.\n"},
    {"decode", "sms",
     "  decode sms <record-hex>\n"
     "      Decode one EF_SMS record.\n"},
    {"decode", "plmn",
     "  decode plmn <file-hex>\n"
     "      Decode EF_PLMNsel or EF_FPLMN contents, with operator names.\n"},
    {"encode", "adn",
     "  encode adn --record-length R --name NAME --number NUMBER [--npi N]\n"
     "      Encode a phone book entry; extension records are linked as if the extension\n"
     "      file's first free records were 1, 2, 3 ... in the order they are made.\n"},
    {"encode", "sms",
     "  encode sms --status S --text TEXT [--sc NUMBER] [--number NUMBER] [--when W]\n"
     "             [--record-length L]\n"
     "      Encode an SMS record; S is Read, Received, Sent or ToBeSent; L defaults to 176.\n"},
    {"encode", "plmn",
     "  encode plmn --size BYTES MCC-MNC ...\n"
     "      Encode a network list file of BYTES bytes.\n"},
    {"readers", "",
     "  readers [--text]\n"
     "      The device strings the program can use (--text: one per line).\n"},
    {"apdu", "",
     "  [--device D] apdu <command-hex> ... [--text]\n"
     "      Send command APDUs to the card as they are; each answer's data and status word\n"
     "      (--text: one line each).\n"},
    {"pin", "verify verify2 change change2 enable disable unblock",
     "  [--device D] pin verify|verify2|change|change2|enable|disable|unblock\n"
     "             [--pin P] [--pin2 P] [--puk P] [--puk2 P] [--new-pin P] [--new-pin2 P] [--yes]\n"
     "      Verify, change, enable, disable or unblock PIN1/PIN2 of the card. Codes not given\n"
     "      as options are asked on the terminal without echo; --yes answers the questions.\n"},
    {"fdn", "on off",
     "  [--device D] fdn on|off [--pin P] [--pin2 P] [--yes]\n"
     "      Switch fixed dialling on or off (needs PIN2).\n"},
    {"phonebook", "read",
     "  [--device D] phonebook read [--fdn|--lnd|--msisdn] [--all] [--pin P]\n"
     "      The phone book (EF_ADN), or the fixed dialling, last dialled or own numbers.\n"},
    {"phonebook", "export import",
     "  [--device D] phonebook export|import [--fdn] FILE.dia|FILE.vcf|FILE.csv [--pin P]\n"
     "                 [--pin2 P] [--yes] [--unicode-names]\n"
     "      Save the phone book (or fixed dialling numbers) as a .DIA file, or load one into an\n"
     "      empty phone book and write it to the card. .DIA files are Windows-1250: names with\n"
     "      letters it lacks are saved with \"?\" (and said so). --unicode-names (or the setting\n"
     "      confirmations/unicodeNames) writes names the card's alphabet lacks in UCS2 instead of\n"
     "      their plain letters; records whose entries the file gives unchanged stay as they are.\n"
     "      A name ending in .vcf or .csv is a contact file: vCard (3.0 written; 2.1, 3.0 and 4.0\n"
     "      read) or CSV with a header row (\"Name\",\"Phone\" written; the columns of common\n"
     "      address book exports read). A contact with several numbers gives one entry a number,\n"
     "      its name ending in /M, /W, /H, /F or /O by type. Names longer than the card holds are\n"
     "      cut, numbers it cannot hold left out: the list is asked about before anything is\n"
     "      written (--yes loads the rest; without a terminal the import is refused) and the JSON\n"
     "      gives it as \"cut\" and \"dropped\".\n"},
    {"sms", "read",
     "  [--device D] sms read [--all] [--pin P]\n"
     "      The messages of EF_SMS.\n"},
    {"sms", "export archive import",
     "  [--device D] sms export FILE.sms [--pin P]\n"
     "  [--device D] sms archive FILE.sma [--pin P]\n"
     "  [--device D] sms import FILE.sms|FILE.sma [--pin P] [--yes]\n"
     "      Save the card's messages as a message file, append them to an archive file\n"
     "      (created when missing), or replace the card's messages with those of a file.\n"},
    {"smsp", "read write",
     "  [--device D] smsp read [--pin P]\n"
     "  [--device D] smsp write --sc NUMBER --validity TEXT [--pin P]\n"
     "      The default service centre and validity period (e.g. \"1 day\", \"7 days\").\n"},
    {"networks", "read",
     "  [--device D] networks read [--forbidden] [--all] [--pin P]\n"
     "      The preferred (EF_PLMNsel) or forbidden (EF_FPLMN) networks, with operator names.\n"},
    {"networks", "write",
     "  [--device D] networks write [--forbidden] MCC-MNC ... [--pin P]\n"
     "      Write the list: the networks given in entries 1, 2, ..., every further entry freed.\n"},
    {"networks", "delete",
     "  [--device D] networks delete [--forbidden] N [--pin P]\n"
     "      Free entry N (from 1) of the list.\n"},
    {"backup", "",
     "  [--device D] backup FILE.sim [--pin P]\n"
     "      Back up the phone book, fixed dialling numbers, messages, SMS parameters and\n"
     "      network lists into a backup file; an existing file is replaced only when the\n"
     "      backup is complete.\n"
     "  [--device D] backup --image FILE.json [--pin P]\n"
     "      Save a card image: every file of the MF, DF_TELECOM and DF_GSM the card lets us\n"
     "      read, with its header, records or data, as a card file that opens as a virtual\n"
     "      card (--device VIRTUAL:FILE.json). The card's PIN and PUK codes are not in it:\n"
     "      its codes are those of the standard card. Files the card does not let us read\n"
     "      are listed under \"leftOut\".\n"},
    {"restore", "",
     "  [--device D] restore FILE.sim [--only phonebook,fdn,sms,smsp,networks] [--pin P] [--pin2 P]\n"
     "      Write a backup file back to the card (all parts unless --only); PIN2 is needed\n"
     "      for fixed dialling numbers.\n"
     "  [--device D] restore --image FILE.json [--pin P] [--pin2 P] [--yes]\n"
     "      Write the user files of a card image back (phone book, FDN, extension files,\n"
     "      messages, SMS parameters, last dialled and own numbers, network lists), only\n"
     "      the records that differ. Nothing is written when a file of the card differs in\n"
     "      structure, record length or room, or is one the card lets only its issuer (ADM)\n"
     "      or nobody (NEV) update; the message names it. The records to replace are asked\n"
     "      about first (--yes answers yes; without a terminal the restore is refused).\n"
     "      PIN2 is needed only when a file to write needs it on the card. A write that\n"
     "      fails half-way gives \"written\" and \"failedAt\" in the JSON.\n"},
    {"info", "",
     "  [--device D] info [--text] [--pin P]\n"
     "      Identity, PIN counters, call costs, capacities, last dialled and own numbers of\n"
     "      the card; --text (or --report) prints them as the printed report's text.\n"},
    {"telcard", "",
     "  [--device D] telcard\n"
     "      Units remaining, total units, issuing country and data of a telephone card.\n"},
    {"stk", "menu",
     "  [--device D] stk menu [--pin P]\n"
     "      The card's SIM Application menu.\n"},
    {"stk", "select",
     "  [--device D] stk select ID [--item N] [--input TEXT] [--pin P]\n"
     "      Choose menu item ID; the card's questions are answered from --item and --input\n"
     "      (or asked on the terminal), and what the card displays is shown.\n"},
    {"check", "",
     "  [--device D] check [--repair] [--detailed] [--text] [--pin P] [--pin2 P]\n"
     "      Check the dialling-number files, their extension files and the messages for\n"
     "      broken links, lost extension records and unreadable messages (every record\n"
     "      with --detailed; --text: the report as text). --repair then repairs what was\n"
     "      found; PIN2 is needed for findings in the fixed dialling numbers.\n"},
    {"print", "info check phonebook fdn sms networks forbidden",
     "  [--device D] print info|check|phonebook|fdn|sms|networks|forbidden --pdf FILE.pdf\n"
     "             [--detailed] [--pin P] [--pin2 P]\n"
     "      Read the card and print the information report, the check report (the detailed\n"
     "      one with --detailed), the phone book, the fixed dialling numbers, the messages or\n"
     "      the preferred or forbidden networks into a PDF file, with the report header of the\n"
     "      settings.\n"},
    {"dump", "",
     "  dump FILE.sim [--all]\n"
     "      The contents of a backup file.\n"},
};

const char* const kHead = "Usage: kestrel-cli <command> ... [--device D] [codes] [--yes] [--text]\n"
                          "       kestrel-cli <command> --help | help [<command>] | --version\n"
                          "\n"
                          "Commands:\n";

const char* const kTail = "  Lists hold the entries in use; --all shows every record.\n"
                          "\n"
                          "--device, the codes, --yes and --text may stand before or after the command;\n"
                          "--help after a command shows its usage.\n"
                          "\n"
                          "Codes: a code option given as - reads its code from standard input, one line per\n"
                          "code in the order of the options (on a terminal it is asked without echo);\n"
                          "KESTREL_PIN, KESTREL_PIN2, KESTREL_PUK and KESTREL_PUK2 are used when their option\n"
                          "is not given. A code written on the command line can be seen by other users.\n"
                          "\n"
                          "Output is JSON on standard output (--text: the readable form of check, info, apdu\n"
                          "and readers); errors go to standard error, progress too when it is a terminal.\n"
                          "Exit status: 0 success, 1 operation failed, 2 usage error.\n";

} // namespace

std::optional<QString> helpText(const QStringList& commandWords)
{
    if (commandWords.isEmpty())
        return helpText({QStringLiteral("help")});
    const QString& command = commandWords.first();
    const bool all = command == QLatin1String("help");
    const QString verb = commandWords.value(1);
    QString matching;
    QString ofCommand;
    for (const HelpEntry& entry : kEntries) {
        if (!all && command != QLatin1String(entry.command))
            continue;
        ofCommand += QLatin1String(entry.text);
        if (QString::fromLatin1(entry.verbs).split(u' ', Qt::SkipEmptyParts).contains(verb))
            matching += QLatin1String(entry.text);
    }
    if (ofCommand.isEmpty())
        return std::nullopt;
    if (all)
        return QLatin1String(kHead) + ofCommand + QLatin1String(kTail);
    return QStringLiteral("Usage:\n") + (matching.isEmpty() ? ofCommand : matching);
}

QString versionText()
{
    return QStringLiteral("kestrel-cli %1\n").arg(QLatin1String(KESTREL_VERSION));
}

} // namespace kestrel::cli
