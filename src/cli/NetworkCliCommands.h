#pragma once

#include <QStringList>
#include <QTextStream>

namespace kestrel::cli {

// The network lists of the card in `device` (EF_PLMNsel, or EF_FPLMN with --forbidden), JSON on
// `out` as "networks read" prints it (the used entries, every slot with --all; after a write the
// list read back from the card):
//   networks read [--forbidden] [--all]
//   networks write [--forbidden] [--all] MCC-MNC ...   the networks in slots 1..n, the rest freed
//   networks delete [--forbidden] [--all] N            entry N (from 1) freed
// A write of more networks than the file has slots, or a delete of an entry the file does not
// have, is refused before anything is written (exit 1).
int runNetworks(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive);

} // namespace kestrel::cli
