#include "cli/PinCliCommands.h"

#include <functional>

#include <sys/prctl.h>

#include "app/PinCommands.h"
#include "base/StringTable.h"
#include "cli/CliArgs.h"
#include "cli/CliCommands.h"
#include "cli/TerminalPrompter.h"
#include "reader/ReaderManager.h"
#include "sim/SimCard.h"

namespace kestrel::cli {

namespace {

const QStringList kCodeOptions = {QStringLiteral("pin"),  QStringLiteral("pin2"),    QStringLiteral("puk"),
                                  QStringLiteral("puk2"), QStringLiteral("new-pin"), QStringLiteral("new-pin2")};
const QString kYes = QStringLiteral("yes");

std::optional<SecretText> codeOption(const CliArgs& args, const QString& name)
{
    const std::optional<QString> v = args.value(name);
    if (!v)
        return std::nullopt;
    return SecretText::fromText(*v);
}

QString jsonString(const QString& s)
{
    QString r = QStringLiteral("\"");
    for (const QChar c : s) {
        if (c == u'"' || c == u'\\')
            r += QLatin1Char('\\') + c;
        else if (c == u'\n')
            r += QStringLiteral("\\n");
        else if (c == u'\r')
            r += QStringLiteral("\\r");
        else if (c.unicode() < 0x20)
            r += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            r += c;
    }
    return r + QLatin1Char('"');
}

// Parses the options, opens the reader, runs the command on a SimCard and reports its end.
int runCardCommand(const QString& device, const QString& name, const QStringList& words, QTextStream& out,
                   QTextStream& err, bool interactive, const std::function<CommandResult(PinCommands&)>& command)
{
    CliArgs args;
    if (!args.parse(words, {kYes})) {
        err << QStringLiteral("kestrel-cli: ") << args.error() << QLatin1Char('\n');
        return kExitUsage;
    }
    QStringList unknown = args.unknown(kCodeOptions + QStringList{kYes});
    for (QString& option : unknown)
        option.prepend(QStringLiteral("--"));
    if (!unknown.isEmpty() || !args.positional().isEmpty()) {
        err << QStringLiteral("kestrel-cli: %1: unexpected %2\n")
                   .arg(name, unknown.isEmpty() ? args.positional().join(u' ') : unknown.join(u' '));
        return kExitUsage;
    }
    // Codes are in this process's memory from here on: no core dump of it.
    prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);

    TerminalAnswers answers;
    answers.yes = args.has(kYes);
    answers.pin = codeOption(args, QStringLiteral("pin"));
    answers.pin2 = codeOption(args, QStringLiteral("pin2"));
    answers.puk = codeOption(args, QStringLiteral("puk"));
    answers.puk2 = codeOption(args, QStringLiteral("puk2"));
    answers.newPin = codeOption(args, QStringLiteral("new-pin"));
    answers.newPin2 = codeOption(args, QStringLiteral("new-pin2"));

    ReaderManager manager;
    const CardStatus opened = manager.selectDevice(device);
    if (opened != CardStatus::Ok) {
        err << QStringLiteral("kestrel-cli: ") << cardStatusMessage(CardStatus::ReaderInaccessible) << device
            << QStringLiteral(": ") << cardStatusMessage(opened);
        if (!manager.lastDetail().isEmpty())
            err << QStringLiteral(" (") << manager.lastDetail() << QLatin1Char(')');
        err << QLatin1Char('\n');
        return kExitFailed;
    }

    TerminalPrompter prompter(std::move(answers), err, interactive);
    int code = kExitFailed;
    {
        SimCard sim(manager);
        PinCommands commands(sim, prompter);
        const CommandResult result = command(commands);
        if (result == CommandResult::Done) {
            out << QStringLiteral("{\"command\": ") << jsonString(name) << QStringLiteral(", \"result\": \"done\"");
            if (prompter.lastMessage() != 0)
                out << QStringLiteral(", \"message\": ") << jsonString(StringTable::text(prompter.lastMessage()));
            out << QStringLiteral("}\n");
            code = kExitOk;
        } else if (result == CommandResult::NotDone) {
            err << QStringLiteral("kestrel-cli: %1: nothing was changed\n").arg(name);
        }
    }
    manager.selectDevice(QStringLiteral("NOTHING"));
    return code;
}

} // namespace

int runPin(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    const QString verb = args.value(0);
    const QStringList rest = args.mid(1);
    const QString name = QStringLiteral("pin ") + verb;
    std::function<CommandResult(PinCommands&)> command;
    if (verb == QLatin1String("verify"))
        command = [](PinCommands& c) { return c.enterPin(); };
    else if (verb == QLatin1String("verify2"))
        command = [](PinCommands& c) { return c.enterPin2(); };
    else if (verb == QLatin1String("change"))
        command = [](PinCommands& c) { return c.changePin(1); };
    else if (verb == QLatin1String("change2"))
        command = [](PinCommands& c) { return c.changePin(2); };
    else if (verb == QLatin1String("enable"))
        command = [](PinCommands& c) { return c.enableDisablePin(true); };
    else if (verb == QLatin1String("disable"))
        command = [](PinCommands& c) { return c.enableDisablePin(false); };
    else if (verb == QLatin1String("unblock"))
        command = [](PinCommands& c) { return c.unblockCard(); };
    if (!command) {
        err << QStringLiteral("kestrel-cli: pin needs one of verify, verify2, change, change2, enable, disable, "
                              "unblock\n");
        return kExitUsage;
    }
    return runCardCommand(device, name, rest, out, err, interactive, command);
}

int runFdn(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    const QString verb = args.value(0);
    if (verb != QLatin1String("on") && verb != QLatin1String("off")) {
        err << QStringLiteral("kestrel-cli: fdn needs on or off\n");
        return kExitUsage;
    }
    const bool on = verb == QLatin1String("on");
    return runCardCommand(device, QStringLiteral("fdn ") + verb, args.mid(1), out, err, interactive,
                          [on](PinCommands& c) { return c.activateFdn(on); });
}

} // namespace kestrel::cli
