#pragma once

#include <QStringList>
#include <QTextStream>

namespace kestrel::cli {

// "pin verify|verify2|change|change2|enable|disable|unblock" and "fdn on|off" on the card in
// `device`. Codes come from --pin, --pin2, --puk, --puk2, --new-pin, --new-pin2 or, on a terminal,
// are asked without echo; --yes answers the questions. interactive: standard input may be asked.
int runPin(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive);
int runFdn(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive);

} // namespace kestrel::cli
