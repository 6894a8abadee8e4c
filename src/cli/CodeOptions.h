#pragma once

#include <QStringList>
#include <QTextStream>

#include "cli/CliArgs.h"
#include "cli/TerminalPrompter.h"

namespace kestrel::cli {

// The options that carry a code: pin, pin2, puk, puk2, new-pin, new-pin2.
const QStringList& codeOptionNames();

// Fills in the codes of a card command, each from the first of:
//   --pin CODE   the code itself; other users of the machine can see a command line, which is
//                said once on `err`;
//   --pin -      one line of standard input, the "-" codes taking the lines in the order their
//                options are given; on a terminal the code is asked without echo when it is needed;
//   KESTREL_PIN, KESTREL_PIN2, KESTREL_PUK, KESTREL_PUK2 in the environment (not the new codes).
// Those four variables are overwritten and removed from the environment whether used or not, so no
// child process inherits them and no copy stays behind. Returns kExitOk, or says why and returns
// kExitUsage when standard input ends before every "-" has its line.
int gatherCodes(const CliArgs& args, bool interactive, QTextStream& err, TerminalAnswers& answers);

} // namespace kestrel::cli
