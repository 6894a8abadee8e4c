#pragma once

#include <QStringList>
#include <QTextStream>

namespace kestrel::cli {

// "print info|check|phonebook|fdn|sms|networks|forbidden --pdf <file.pdf> [--detailed]": reads the
// card in `device` as the other commands do (info, check, phonebook read, phonebook read --fdn,
// sms read, networks read, networks read --forbidden) and prints what they read through the
// desktop program's printers into the PDF file, with the report header of the settings and
// without the adjust step. The file is replaced only when the printout is complete. JSON on `out`:
// the command, the file and the number of pages. Needs a QGuiApplication.
int runPrint(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive);

// Installs runPrint as kestrel-cli's "print".
void installPrintCommand();

} // namespace kestrel::cli
