#pragma once

#include <cstdint>

#include <QString>

#include "gsm/StatusWords.h"

class QJsonObject;

namespace kestrel::emulator {

// When a card misbehaves. Commands count from 1 over every command the card is given; -1 never.
struct FaultPlan
{
    int pullAtCommand = -1;        // the card leaves the reader as this command arrives
    int wrongStatusAtCommand = -1; // this command is refused with wrongStatus
    uint16_t wrongStatus = gsm::sw::kTechnicalProblem;
    int garbageAtCommand = -1; // this command is answered with noise
    // This command and every later one get nothing but NULL procedure bytes (0x60) without end:
    // the card asks for more time for ever (a byte-level face stops when the card loses power).
    int nullsFromCommand = -1;

    bool any() const
    {
        return pullAtCommand > 0 || wrongStatusAtCommand > 0 || garbageAtCommand > 0 || nullsFromCommand > 0;
    }
    bool operator==(const FaultPlan&) const = default;
};

// The faults as a card file keeps them, beside the other fields of its "options" object:
//   "pullAtCommand": 5, "wrongStatusAtCommand": 3, "wrongStatus": "6F00",
//   "garbageAtCommand": 7, "nullsFromCommand": 9
// Every field is optional; a fault that is not planned is not written. False with a reason
// (naming the field) when a field is not a command number from 1 on or not a 4-digit status word.
bool readFaultOptions(const QJsonObject& options, FaultPlan& plan, QString& error);
void writeFaultOptions(const FaultPlan& plan, QJsonObject& options);

// One fault option of `kestrel-sim serve`: "--pull-at" N, "--status-at" N[:SW], "--garbage-at" N,
// "--nulls-from" N. False when flag is none of them (error empty), or with a reason when its value
// is not one the flag takes.
bool isFaultFlag(const QString& flag);
bool applyFaultFlag(const QString& flag, const QString& value, FaultPlan& plan, QString& error);

} // namespace kestrel::emulator
