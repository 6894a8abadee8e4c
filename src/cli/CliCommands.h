#pragma once

#include <functional>

#include <QStringList>
#include <QTextStream>

namespace kestrel::cli {

// Exit codes of kestrel-cli.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1; // a card, file or data operation failed
constexpr int kExitUsage = 2;  // the command line is wrong

// Runs one command line (without the program name). JSON goes to `out`, messages to `err`.
int runCli(const QStringList& args, QTextStream& out, QTextStream& err);
// As above; interactive tells whether questions and codes may be asked on standard input (the
// form above asks when standard input is a terminal).
int runCli(const QStringList& args, QTextStream& out, QTextStream& err, bool interactive);

// A card command: the device, the words after the command's name, the streams, interactive.
using CardCommand = std::function<int(const QString& device, const QStringList& args, QTextStream& out,
                                      QTextStream& err, bool interactive)>;
// "print" draws with the desktop program's printers, so it comes with them: a kestrel-cli built
// with the desktop program installs it here before runCli; without it "print" fails.
void setPrintCommand(CardCommand command);

} // namespace kestrel::cli
