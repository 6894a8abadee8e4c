#pragma once

#include <QByteArray>
#include <QString>

#include "emulator/SimCardData.h"

namespace kestrel::emulator {

struct CardFileResult
{
    bool ok = false;
    QString error; // why the file was refused; empty when ok
    SimCardData card;
};

// The card file: a whole virtual card as readable JSON.
//
//   { "format": "kestrel-sim-card", "version": 1, "kind": "sim",
//     "atr": "3B...", "ki": "<16 bytes>", "memorySize": 16384,
//     "options": { "authenticationExhausted": false },   (and the faults of FaultPlan.h)
//     "chv1": { "code": "1234", "unblockCode": "12345678", "attemptsLeft": 3,
//               "unblockAttemptsLeft": 10, "enabled": true },
//     "chv2": { ... no "enabled" ... },
//     "files": [ { "path": "3F00", "id": "3F00", "type": "MF" },
//                { "path": "3F00/7F10/6F3A", "id": "6F3A", "type": "EF", "name": "EF_ADN",
//                  "structure": "linearFixed", "recordLength": 28,
//                  "access": { "read": "CHV1", "update": "CHV1", "increase": "NEV",
//                              "invalidate": "CHV2", "rehabilitate": "CHV2" },
//                  "invalidated": false, "readableWhenInvalidated": false,
//                  "records": [ "<hex>", ... ] },
//                { ... "structure": "transparent", "size": 10, "data": "<hex>" } ] }
//
// A telephone card is { "format", "version", "kind": "telephone", "memory": "<32 bytes>" }.
// Byte strings are hexadecimal without separators. Records are listed in record-number order
// (for a cyclic file record 1 is the newest).
// An image of a real card adds "image" and a "response" per EF (emulator/CardFileImage.h).
class CardFile
{
public:
    static CardFileResult load(const QString& path);
    static CardFileResult fromJson(const QByteArray& json);
    static QByteArray toJson(const SimCardData& card);
    // Writes the whole card atomically (QSaveFile); false and error on failure, the old file kept.
    static bool save(const SimCardData& card, const QString& path, QString& error);
    // Every bound a card model relies on; an empty text when the card is sound.
    static QString check(const SimCardData& card);
};

} // namespace kestrel::emulator
