#pragma once

#include <functional>
#include <memory>

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "cli/CliArgs.h"

namespace kestrel {
class AppState;
class ProgressSink;
class SimCard;
} // namespace kestrel

namespace kestrel::cli {

class TerminalPrompter;

// The shape of a card command's words beyond the codes and --yes every card command takes.
struct CardCommandShape
{
    QString name;        // "phonebook read", for the messages
    QStringList options; // options with a value
    QStringList flags;   // options without one
    int minPositional = 0;
    int maxPositional = 0;
};

// What a card command's body works with; the card is in the reader, not yet opened.
struct CardSession
{
    const CliArgs& args;
    SimCard& sim;
    TerminalPrompter& prompter;
    // The terminal's progress line (Ctrl-C presses Abort), null when standard error is no terminal.
    ProgressSink* progress;
    QTextStream& out;
    QTextStream& err;
};

// Runs one card command: parses the words (codes from --pin, --pin2, --puk, --puk2, --new-pin,
// --new-pin2, standard input or the environment as gatherCodes takes them; --yes), lets `check`
// refuse the arguments before the card is touched (it returns kExitOk or prints why and returns
// kExitUsage), selects `device`, runs `body` on a SimCard with the terminal prompter and returns
// its exit code; a failed command also says the codes it needed and had no way to ask. Codes are
// never printed, and the process is made undumpable before they are read.
int runCardSession(const QString& device, const CardCommandShape& shape, const QStringList& words, QTextStream& out,
                   QTextStream& err, bool interactive, const std::function<int(CardSession&)>& body,
                   const std::function<int(const CliArgs&)>& check = {});

// The program state a window's model works with, over the session's card. The settings the models
// read (`confirm`, the dialling codes, the service centre) are the user's; the command line never
// writes them.
std::unique_ptr<AppState> sessionState(CardSession& s);

} // namespace kestrel::cli
