#pragma once

#include <QStringList>
#include <QTextStream>

namespace kestrel::cli {

// "info [--report]": identity, PIN counters, call costs, capacities, last dialled and own numbers
// of the card in `device` as JSON; with --report the printed report's title and text instead.
int runInfo(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive);

// "telcard": the units, country and bytes of the prepaid telephone card in `device` as JSON.
int runTelcard(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive);

} // namespace kestrel::cli
