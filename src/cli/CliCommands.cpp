#include "cli/CliCommands.h"

#include <unistd.h>

#include "base/StringTable.h"
#include "cli/CardCliCommands.h"
#include "cli/CliGlobals.h"
#include "cli/CliHelp.h"
#include "cli/CodecCommands.h"
#include "cli/InfoCliCommands.h"
#include "cli/NetworkCliCommands.h"
#include "cli/ToolkitCliCommands.h"
#include "cli/PinCliCommands.h"
#include "cli/ReaderCommands.h"

namespace kestrel::cli {

namespace {

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
    const GlobalOptions global = parseGlobalOptions(commandLine);
    if (!global.error.isEmpty()) {
        err << QStringLiteral("kestrel-cli: ") << StringTable::text(sid::TryKestrelCliHelp_10043).arg(global.error)
            << QLatin1Char('\n');
        return kExitUsage;
    }
    if (global.version) {
        out << versionText();
        return kExitOk;
    }
    const QStringList& args = global.words;
    if (args.isEmpty() || args.first().startsWith(QLatin1String("--"))) {
        if (global.help) {
            out << *helpText({});
            return kExitOk;
        }
        err << *helpText({});
        return kExitUsage;
    }
    const QString& command = args.first();
    if (global.help || command == QLatin1String("help")) {
        // "help CMD" and "CMD --help": the command's usage; the command's words name it.
        QStringList named = command == QLatin1String("help") ? args.mid(1) : args;
        while (named.size() > 2 || (!named.isEmpty() && named.last().startsWith(QLatin1String("--"))))
            named.removeLast();
        const std::optional<QString> text = helpText(named);
        if (!text) {
            err << QStringLiteral("kestrel-cli: ")
                << StringTable::text(sid::UnknownCommandTryKestrelCli_10044).arg(named.first()) << QLatin1Char('\n');
            return kExitUsage;
        }
        out << *text;
        return kExitOk;
    }
    const QString device = global.deviceGiven ? global.device : QString();
    const bool deviceGiven = global.deviceGiven;
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
            err << QStringLiteral("kestrel-cli: ") << StringTable::text(sid::PrintThisKestrelCliWas_10124)
                << QLatin1Char('\n');
            return kExitFailed;
        }
        return printCommand()(card, rest, out, err, interactive);
    }
    if (command == QLatin1String("apdu"))
        return runApdu(deviceGiven ? device : storedDevice(), rest, out, err);
    err << QStringLiteral("kestrel-cli: ") << StringTable::text(sid::UnknownCommandTryKestrelCli_10044).arg(command)
        << QLatin1Char('\n');
    return kExitUsage;
}

} // namespace kestrel::cli
