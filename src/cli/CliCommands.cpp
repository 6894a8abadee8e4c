#include "cli/CliCommands.h"

#include <unistd.h>

#include "cli/CardCliCommands.h"
#include "cli/CodecCommands.h"
#include "cli/InfoCliCommands.h"
#include "cli/NetworkCliCommands.h"
#include "cli/ToolkitCliCommands.h"
#include "cli/PinCliCommands.h"
#include "cli/ReaderCommands.h"

namespace kestrel::cli {

namespace {

const char* const kUsage =
    "Usage: kestrel-cli <command> ...\n"
    "\n"
    "Commands:\n"
    "  decode adn <record-hex> [--ext <extension-file-hex>]\n"
    "      Decode one dialling-number record (EF_ADN/EF_FDN/EF_MSISDN/EF_LND) as record 1.\n"
    "      The extension file is the concatenation of its 13-byte records.\n"
    "  decode sms <record-hex>\n"
    "      Decode one EF_SMS record.\n"
    "  decode plmn <file-hex>\n"
    "      Decode EF_PLMNsel or EF_FPLMN contents, with operator names.\n"
    "  encode adn --record-length R --name NAME --number NUMBER [--npi N]\n"
    "      Encode a phone book entry; extension records are linked as if the extension\n"
    "      file's first free records were 1, 2, 3 ... in the order they are made.\n"
    "  encode sms --status S --text TEXT [--sc NUMBER] [--number NUMBER] [--when W]\n"
    "             [--record-length L]\n"
    "      Encode an SMS record; S is Read, Received, Sent or ToBeSent; L defaults to 176.\n"
    "  encode plmn --size BYTES MCC-MNC ...\n"
    "      Encode a network list file of BYTES bytes.\n"
    "  [--device D] pin verify|verify2|change|change2|enable|disable|unblock\n"
    "             [--pin P] [--pin2 P] [--puk P] [--puk2 P] [--new-pin P] [--new-pin2 P] [--yes]\n"
    "      Verify, change, enable, disable or unblock PIN1/PIN2 of the card. Codes not given\n"
    "      as options are asked on the terminal without echo; --yes answers the questions.\n"
    "  [--device D] fdn on|off [--pin P] [--pin2 P] [--yes]\n"
    "      Switch fixed dialling on or off (needs PIN2).\n"
    "  [--device D] phonebook read [--fdn|--lnd|--msisdn] [--all] [--pin P]\n"
    "      The phone book (EF_ADN), or the fixed dialling, last dialled or own numbers.\n"
    "  [--device D] phonebook export|import [--fdn] FILE.dia [--pin P] [--pin2 P] [--yes]\n"
    "      Save the phone book (or fixed dialling numbers) as a .DIA file, or load one into an\n"
    "      empty phone book and write it to the card.\n"
    "  [--device D] sms read [--all] [--pin P]\n"
    "      The messages of EF_SMS.\n"
    "  [--device D] sms export FILE.sms [--pin P]\n"
    "  [--device D] sms archive FILE.sma [--pin P]\n"
    "  [--device D] sms import FILE.sms|FILE.sma [--pin P] [--yes]\n"
    "      Save the card's messages as a message file, append them to an archive file\n"
    "      (created when missing), or replace the card's messages with those of a file.\n"
    "  [--device D] smsp read [--pin P]\n"
    "  [--device D] smsp write --sc NUMBER --validity TEXT [--pin P]\n"
    "      The default service centre and validity period (e.g. \"1 day\", \"7 days\").\n"
    "  [--device D] networks read [--forbidden] [--all] [--pin P]\n"
    "      The preferred (EF_PLMNsel) or forbidden (EF_FPLMN) networks, with operator names.\n"
    "  [--device D] networks write [--forbidden] MCC-MNC ... [--pin P]\n"
    "      Write the list: the networks given in entries 1, 2, ..., every further entry freed.\n"
    "  [--device D] networks delete [--forbidden] N [--pin P]\n"
    "      Free entry N (from 1) of the list.\n"
    "  [--device D] backup FILE.sim [--pin P]\n"
    "      Back up the phone book, fixed dialling numbers, messages, SMS parameters and\n"
    "      network lists into a backup file; an existing file is replaced only when the\n"
    "      backup is complete.\n"
    "  [--device D] restore FILE.sim [--only phonebook,fdn,sms,smsp,networks] [--pin P] [--pin2 P]\n"
    "      Write a backup file back to the card (all parts unless --only); PIN2 is needed\n"
    "      for fixed dialling numbers.\n"
    "  [--device D] info [--report] [--pin P]\n"
    "      Identity, PIN counters, call costs, capacities, last dialled and own numbers of\n"
    "      the card; --report prints them as the printed report's text.\n"
    "  [--device D] telcard\n"
    "      Units remaining, total units, issuing country and data of a telephone card.\n"
    "  [--device D] stk menu [--pin P]\n"
    "      The card's SIM Application menu.\n"
    "  [--device D] stk select ID [--item N] [--input TEXT] [--pin P]\n"
    "      Choose menu item ID; the card's questions are answered from --item and --input\n"
    "      (or asked on the terminal), and what the card displays is shown.\n"
    "  [--device D] check [--repair] [--detailed] [--pin P] [--pin2 P]\n"
    "      Check the dialling-number files, their extension files and the messages for\n"
    "      broken links, lost extension records and unreadable messages; prints the report\n"
    "      as text (every record with --detailed). --repair then repairs what was found;\n"
    "      PIN2 is needed for findings in the fixed dialling numbers.\n"
    "  [--device D] print info|check|phonebook|fdn|sms|networks|forbidden --pdf FILE.pdf\n"
    "             [--detailed] [--pin P] [--pin2 P]\n"
    "      Read the card and print the information report, the check report (the detailed\n"
    "      one with --detailed), the phone book, the fixed dialling numbers, the messages or\n"
    "      the preferred or forbidden networks into a PDF file, with the report header of the\n"
    "      settings.\n"
    "  dump FILE.sim [--all]\n"
    "      The contents of a backup file.\n"
    "  Lists hold the entries in use; --all shows every record.\n"
    "\n"
    "Codes: a code option given as - reads its code from standard input, one line per\n"
    "code in the order of the options (on a terminal it is asked without echo);\n"
    "KESTREL_PIN, KESTREL_PIN2, KESTREL_PUK and KESTREL_PUK2 are used when their option\n"
    "is not given. A code written on the command line can be seen by other users.\n"
    "\n"
    "Output is JSON on standard output; errors go to standard error.\n"
    "Exit status: 0 success, 1 operation failed, 2 usage error.\n";

CardCommand& printCommand()
{
    static CardCommand command;
    return command;
}

} // namespace

void setPrintCommand(CardCommand command)
{
    printCommand() = std::move(command);
}

int runCli(const QStringList& commandLine, QTextStream& out, QTextStream& err)
{
    return runCli(commandLine, out, err, isatty(STDIN_FILENO) == 1);
}

int runCli(const QStringList& commandLine, QTextStream& out, QTextStream& err, bool interactive)
{
    QStringList args = commandLine;
    QString device;
    bool deviceGiven = false;
    if (!args.isEmpty() && args.first() == QLatin1String("--device")) {
        if (args.size() < 2) {
            err << QStringLiteral("kestrel-cli: option --device needs a value\n");
            return kExitUsage;
        }
        device = args[1];
        deviceGiven = true;
        args = args.mid(2);
    }
    if (args.isEmpty()) {
        err << QString::fromLatin1(kUsage);
        return kExitUsage;
    }
    const QString& command = args.first();
    if (command == QLatin1String("help") || command == QLatin1String("--help") || command == QLatin1String("-h")) {
        out << QString::fromLatin1(kUsage);
        return kExitOk;
    }
    const QStringList rest = args.mid(1);
    if (command == QLatin1String("decode"))
        return runDecode(rest, out, err);
    if (command == QLatin1String("encode"))
        return runEncode(rest, out, err);
    if (command == QLatin1String("readers"))
        return runReaders(rest, out, err);
    if (command == QLatin1String("pin"))
        return runPin(deviceGiven ? device : storedDevice(), rest, out, err, interactive);
    if (command == QLatin1String("fdn"))
        return runFdn(deviceGiven ? device : storedDevice(), rest, out, err, interactive);
    if (command == QLatin1String("dump"))
        return runDump(rest, out, err);
    const QString card = deviceGiven ? device : storedDevice();
    if (command == QLatin1String("phonebook"))
        return runPhonebook(card, rest, out, err, interactive);
    if (command == QLatin1String("sms"))
        return runSms(card, rest, out, err, interactive);
    if (command == QLatin1String("smsp"))
        return runSmsp(card, rest, out, err, interactive);
    if (command == QLatin1String("networks"))
        return runNetworks(card, rest, out, err, interactive);
    if (command == QLatin1String("info"))
        return runInfo(card, rest, out, err, interactive);
    if (command == QLatin1String("telcard"))
        return runTelcard(card, rest, out, err, interactive);
    if (command == QLatin1String("backup"))
        return runBackup(card, rest, out, err, interactive);
    if (command == QLatin1String("restore"))
        return runRestore(card, rest, out, err, interactive);
    if (command == QLatin1String("stk"))
        return runStk(card, rest, out, err, interactive);
    if (command == QLatin1String("check"))
        return runCheck(card, rest, out, err, interactive);
    if (command == QLatin1String("print")) {
        if (!printCommand()) {
            err << QStringLiteral(
                "kestrel-cli: print: this kestrel-cli was built without the desktop program's printers\n");
            return kExitFailed;
        }
        return printCommand()(card, rest, out, err, interactive);
    }
    if (command == QLatin1String("apdu"))
        return runApdu(deviceGiven ? device : storedDevice(), rest, out, err);
    err << QStringLiteral("kestrel-cli: unknown command \"%1\" (try kestrel-cli help)\n").arg(command);
    return kExitUsage;
}

} // namespace kestrel::cli
