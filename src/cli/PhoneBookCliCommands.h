#pragma once

#include <QStringList>
#include <QTextStream>

namespace kestrel::cli {

// "phonebook export [--fdn] <file.dia>": reads the phone book (or the fixed dialling numbers) from
// the card and saves every valid entry of the whole capacity as a .DIA file, replacing the file
// only when it is complete.
// "phonebook import [--fdn] <file.dia>": opens the file into an empty phone book, answering every
// question of the loading Yes, then writes it to the card ("Write to SIM!": the write question is
// asked unless --yes; the fixed dialling numbers need PIN2).
// Both use the editor window's own model. args starts with the verb.
int runPhoneBookTransfer(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err,
                         bool interactive);

} // namespace kestrel::cli
