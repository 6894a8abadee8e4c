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

// Entries carry `position` (from 0) and `item` (from 1, as the windows count), and each number
// also as dialled (`dialNumber`, "+" in front when international).
QJsonObject dialJson(const DialEntry& e);
QJsonObject smsJson(const SmsEntry& e);
// An absolute `when` of a message is also given as ISO 8601 local time (`whenIso`, else null).
// used, mcc, mnc (a number), mncDigits ("03"), network ("230-03") and the operator's name (null when the table does not
// know it or the slot is free).
QJsonObject plmnJson(const PlmnEntry& e);

// Lists of entries; with all false only the valid (used) ones.
QJsonArray dialListJson(std::span<const DialEntry> entries, bool all);
QJsonArray smsListJson(std::span<const SmsEntry> entries, bool all);
QJsonArray plmnListJson(std::span<const PlmnEntry> entries, bool all);

// Network entries also carry `item`, their entry number in the file from 1.
// The whole of a backup: each list with its count (the records the card had) and its entries.
QJsonObject backupJson(const BackupContents& contents, bool all);

// {"command": command, "result": "done"} with the message shown at the end, if any (string-table
// number, 0: none).
QJsonObject doneJson(const QString& command, int messageId);

// A text of the program with "\n" line ends; its lines as an array, without trailing empty ones.
QString plainText(QString text);
QJsonArray lineArray(const QString& text);

} // namespace kestrel::cli
