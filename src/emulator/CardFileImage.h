#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include "emulator/SimCardData.h"

namespace kestrel::emulator {

// The parts of a card file that only an image of a real card has, both optional (a card file
// without them is a card of the emulator's own):
//
//   "image": { "madeAt": "2024-05-01T10:00:00Z", "iccid": "8942...", "note": "..." }
//   and in each EF of "files": "response": "<hex>", the SELECT response the card gave.
//
// readImageFields takes them from the root object (the files already read, in the order of its
// "files" list); false and error on a field out of its bounds. writeImageFields puts them into
// the root object and the file objects written for card.files.
bool readImageFields(const QJsonObject& root, SimCardData& card, QString& error);
void writeImageFields(const SimCardData& card, QJsonObject& root, QJsonArray& files);
// The bounds of those parts; empty when they hold.
QString checkImageFields(const SimCardData& card);

} // namespace kestrel::emulator
