#pragma once

#include <span>

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QTextStream>

#include "codec/BackupContents.h"
#include "codec/DialEntry.h"
#include "codec/PlmnEntry.h"
#include "codec/SmsEntry.h"

namespace kestrel::cli {

// The JSON kestrel-cli prints: the entry types with their field names, texts turned from PC text
// into Unicode.

// Indented JSON of an object or an array, with a final line break.
void printJson(QTextStream& out, const QJsonValue& value);

QJsonObject dialJson(const DialEntry& e);
QJsonObject smsJson(const SmsEntry& e);
// used, mcc, mnc and the operator's name (null when the table does not know it or the slot is free).
QJsonObject plmnJson(const PlmnEntry& e);

// Lists of entries; with all false only the valid (used) ones.
QJsonArray dialListJson(std::span<const DialEntry> entries, bool all);
QJsonArray smsListJson(std::span<const SmsEntry> entries, bool all);
QJsonArray plmnListJson(std::span<const PlmnEntry> entries, bool all);

// The whole of a backup: each list with its count (the records the card had) and its entries.
QJsonObject backupJson(const BackupContents& contents, bool all);

} // namespace kestrel::cli
