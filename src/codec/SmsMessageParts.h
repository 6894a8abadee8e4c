#pragma once

#include <span>
#include <vector>

#include <QString>

#include "codec/SmsEntry.h"

namespace kestrel {

// What SMS windows, prints and the command line show of a message beyond its own fields: the
// parts of a concatenated message joined, the kind of message and the meaning of a status report.

struct SmsJoinedMessage
{
    QString text;          // the parts' texts in order, "[part i missing]" where one is missing
    std::vector<int> rows; // the rows of the parts found, in part order
    bool whole = true;     // every part is there
};

// The message the entry at row belongs to: for a part of a concatenated message the valid entries
// with the same reference, total and address (number and its type of number), joined by part
// number (the first entry of each part number counts); for any other message its own text.
SmsJoinedMessage JoinSmsParts(std::span<const SmsEntry> entries, int row);

// The meaning of TP-ST (GSM 03.40 9.2.3.15): delivered, forwarded, replaced, still trying, a
// permanent error, a temporary error with no more attempts, unknown.
QString SmsReportStatusText(uint8_t status);

// The marker in front of a listed text: "[part i of n]", "[class c]", "[8-bit data]",
// "[not decodable]", "[Status report: meaning]", joined by ", " inside one pair of brackets;
// empty for a plain message.
QString SmsKindMarker(const SmsEntry& entry);

// "UCS2", "8-bit data", "not decodable", or empty for the default alphabet.
QString SmsEncodingText(SmsEncoding encoding);

// "default", "8bit", "ucs2", "undecodable"; "deliver"/"submit"/"status-report"/"reserved".
const char* SmsEncodingName(SmsEncoding encoding);
const char* SmsKindName(const SmsEntry& entry);

// The body of a printed message at row: its marker on a line of its own when it has one, then a
// status report's details, the joined text at the first part of a whole concatenated message (the
// later parts show only their marker), or the message's own text.
QString SmsPrintedText(std::span<const SmsEntry> entries, int row);

// The details of a status report as lines: the marker's kind, recipient, service-centre time,
// discharge time and delivery status.
QString SmsStatusReportDetails(const SmsEntry& entry);

} // namespace kestrel
