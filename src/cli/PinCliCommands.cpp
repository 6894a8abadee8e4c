#include "cli/PinCliCommands.h"

#include <functional>

#include "app/PinCommands.h"
#include "base/StringTable.h"
#include "cli/CardSession.h"
#include "cli/CliCommands.h"
#include "cli/JsonOutput.h"
#include "cli/TerminalPrompter.h"

namespace kestrel::cli {

namespace {

// Runs the command on the card and reports its end.
int runCardCommand(const QString& device, const QString& name, const QStringList& words, QTextStream& out,
                   QTextStream& err, bool interactive, const std::function<CommandResult(PinCommands&)>& command)
{
    return runCardSession(device, CardCommandShape{name, {}, {}, 0, 0}, words, out, err, interactive,
                          [&](CardSession& session) {
                              PinCommands commands(session.sim, session.prompter);
                              const CommandResult result = command(commands);
                              if (result == CommandResult::Done) {
                                  printJson(out, doneJson(name, session.prompter.lastMessage()));
                                  return kExitOk;
                              }
                              if (result == CommandResult::NotDone && !session.prompter.reportNeededCodes())
                                  err << QStringLiteral("kestrel-cli: ")
                                      << StringTable::text(sid::NothingWasChanged_10104).arg(name) << QLatin1Char('\n');
                              return kExitFailed;
                          });
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
        err << QStringLiteral("kestrel-cli: ") << StringTable::text(sid::PinNeedsOneOfVerify_10105)
            << QLatin1Char('\n');
        return kExitUsage;
    }
    return runCardCommand(device, name, rest, out, err, interactive, command);
}

int runFdn(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    const QString verb = args.value(0);
    if (verb != QLatin1String("on") && verb != QLatin1String("off")) {
        err << QStringLiteral("kestrel-cli: ") << StringTable::text(sid::FdnNeedsOnOrOff_10106) << QLatin1Char('\n');
        return kExitUsage;
    }
    const bool on = verb == QLatin1String("on");
    return runCardCommand(device, QStringLiteral("fdn ") + verb, args.mid(1), out, err, interactive,
                          [on](PinCommands& c) { return c.activateFdn(on); });
}

} // namespace kestrel::cli
