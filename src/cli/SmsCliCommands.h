#pragma once

#include <QStringList>
#include <QTextStream>

namespace kestrel::cli {

// "sms export <file.sms>": reads the card's messages and saves every used one as a message file,
// replacing the file only when it is complete.
// "sms archive <file.sma>": reads them and appends every used one to an archive file (created when
// missing); the archive gets the new lines only when all of them were written.
// "sms import <file.sms|file.sma>": opens the file into a window whose 99 rows are all free, then
// writes every position to the card ("Write to SIM!": the question, that the card's messages are
// replaced by the file's, is asked unless --yes).
// All use the SMS window's own model. args starts with the verb.
int runSmsTransfer(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err,
                   bool interactive);

} // namespace kestrel::cli
