#include "cli/CliHelp.h"

#include "base/StringTable.h"

namespace kestrel::cli {

namespace {

// One entry of the usage: the command, the verbs it stands for (empty: the command has none) and
// its lines. The command and verbs pick the entry and are never translated; the lines are shown
// in the language installed.
struct HelpEntry
{
    const char* command;
    const char* verbs; // space-separated
    int textId;        // the entry's lines, in the string table
};

constexpr HelpEntry kEntries[] = {
    {"decode", "adn", sid::DecodeAdnRecordHexExt_10001},
    {"decode", "sms", sid::DecodeSmsRecordHexDecode_10002},
    {"decode", "plmn", sid::DecodePlmnFileHexDecode_10003},
    {"encode", "adn", sid::EncodeAdnRecordLengthR_10004},
    {"encode", "sms", sid::EncodeSmsStatusSText_10005},
    {"encode", "plmn", sid::EncodePlmnSizeBytesMcc_10006},
    {"readers", "", sid::ReadersTextTheDeviceStrings_10007},
    {"apdu", "", sid::DeviceDApduCommandHex_10008},
    {"pin", "verify verify2 change change2 enable disable unblock", sid::DeviceDPinVerifyVerify2_10009},
    {"fdn", "on off", sid::DeviceDFdnOnOff_10010},
    {"phonebook", "read", sid::DeviceDPhonebookReadFdn_10011},
    {"phonebook", "export import", sid::DeviceDPhonebookExportImport_10012},
    {"sms", "read", sid::DeviceDSmsReadAll_10013},
    {"sms", "export archive import", sid::DeviceDSmsExportFile_10014},
    {"smsp", "read write", sid::DeviceDSmspReadPin_10015},
    {"networks", "read", sid::DeviceDNetworksReadForbidden_10016},
    {"networks", "write", sid::DeviceDNetworksWriteForbidden_10017},
    {"networks", "delete", sid::DeviceDNetworksDeleteForbidden_10018},
    {"backup", "", sid::DeviceDBackupFileSim_10019},
    {"restore", "", sid::DeviceDRestoreFileSim_10020},
    {"info", "", sid::DeviceDInfoTextPin_10021},
    {"telcard", "", sid::DeviceDTelcardUnitsRemaining_10022},
    {"stk", "menu", sid::DeviceDStkMenuPin_10023},
    {"stk", "select", sid::DeviceDStkSelectId_10024},
    {"check", "", sid::DeviceDCheckRepairDetailed_10025},
    {"print", "info check phonebook fdn sms networks forbidden", sid::DeviceDPrintInfoCheck_10026},
    {"dump", "", sid::DumpFileSimAllThe_10027},
};

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
        ofCommand += StringTable::text(entry.textId);
        if (QString::fromLatin1(entry.verbs).split(u' ', Qt::SkipEmptyParts).contains(verb))
            matching += StringTable::text(entry.textId);
    }
    if (ofCommand.isEmpty())
        return std::nullopt;
    if (all)
        return StringTable::text(sid::UsageKestrelCliCommandDevice_10000) + ofCommand +
               StringTable::text(sid::ListsHoldTheEntriesIn_10028);
    return StringTable::text(sid::Usage_10029) + (matching.isEmpty() ? ofCommand : matching);
}

QString versionText()
{
    return QStringLiteral("kestrel-cli %1\n").arg(QLatin1String(KESTREL_VERSION));
}

} // namespace kestrel::cli
