#pragma once

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

} // namespace kestrel::cli
