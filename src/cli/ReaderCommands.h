#pragma once

#include <QStringList>
#include <QTextStream>

namespace kestrel::cli {

// "readers": the device strings the program can use, one per line.
int runReaders(const QStringList& args, QTextStream& out, QTextStream& err);

// "apdu <hex> ...": powers the card in `device` and sends each command APDU through the reader's
// T=0 transport, printing the response data and SW1SW2 of each.
int runApdu(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err);

// The `device` setting (commData/device), "COM2" when none is stored.
QString storedDevice();

} // namespace kestrel::cli
