#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

#include "emulator/SimCardData.h"

namespace kestrel::emulator {

// The kestrel-sim command line: `new <file> [--blank] [--adn N] [--sms N] [--name-length L]
// [--pin1-disabled] [--force]` (the standard SIM in the shape StandardCard::Shape describes),
// `new <file> --telephone-card [--force]`, `show <file>` and
// `serve --card <file> --vpcd [[host:]port]` (the card in vpcd's reader until vpcd goes away or
// SIGTERM/SIGINT arrives; every change saved to the file). serve also takes the faults of FaultPlan.h
// for the run: --pull-at N, --status-at N[:SW], --garbage-at N, --nulls-from N.
// Exit status 0 on success, 1 when a card file cannot be read or written, 2 for a usage error.
// Each command is one entry of a table, so further modes are added beside them.
int runSimTool(const QStringList& arguments, QTextStream& out, QTextStream& err);

// The readable tree `show` prints: every file with what its SELECT response says (id, name, type,
// the files under a DF, structure, sizes, access conditions, status byte), the used records in
// hex, the CHV counters (never the codes).
QString describeCard(const SimCardData& card);

} // namespace kestrel::emulator
