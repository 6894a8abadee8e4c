#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/StringIds.h"
#include "codec/SmsEntry.h"

namespace kestrel {

// Unit words of the validity-period texts ("5 min", "24 hours", "7 days", ...), copied once from
// the string table into fixed PC-text buffers.
struct ValidityUnits
{
    static constexpr int kUnitCount = 7;
    static constexpr int kChoiceCount = 5;
    // In the order the parser looks for them; the three plural day forms are separate table
    // entries so a translation can tell "2-4 days" from "5 and more days".
    enum Unit
    {
        Min = 0,   // sid::Min_4000
        Hour,      // sid::Hour_4001
        Day,       // sid::Day_4002
        DaysOther, // sid::Days_4003, only parsed
        DaysMany,  // sid::Days_4004, 5 days and more
        DaysFew,   // sid::Days_4005, 2 to 4 days
        Hours,     // sid::Hours_4011
    };
    char upper[kUnitCount][10] = {};     // as written in the table, for parsing
    char lower[kUnitCount][10] = {};     // lower case, for formatting
    char choices[kChoiceCount][10] = {}; // "60 mins", "1 day", "24 hours", "7 days", "364 days"
};

// Loads the unit words on first use; later calls return the same buffers.
const ValidityUnits& LoadValidityUnits();

// Parses a `when` text: an absolute "d.m.y h:m" (year 0-99 or 1991-2099) or a relative period
// "N unit" within the range of a GSM 03.40 relative TP-VP. On failure out is left unchanged.
bool ParseSmsTime(std::string_view text, SmsTime& out);

// "dd.mm.yy hh:mm" for an absolute time, "N unit" for a relative TP-VP; cut to capacity - 1.
std::string FormatSmsTime(const SmsTime& time, std::size_t capacity = 16);

// The relative TP-VP a validity text stands for; 0 for an absolute date or a text that does not
// parse.
uint8_t RelativeValidity(std::string_view text);

// Leaves a parsable text alone; anything else becomes the current local date and time.
void NormalizeSmsTime(char (&when)[16]);

// Index 0-3 of the standard validity choice ("60 mins", "24 hours", "7 days", "364 days") a
// `when` text matches. exact: equal relative value, else -1. Not exact: the number of the first
// three choices shorter than the text's period. An absolute time gives -1 either way; a text that
// does not parse counts as the relative value 0.
int ValidityChoiceIndex(std::string_view text, bool exact);

// "60 mins", "1 day", "7 days", "364 days" for 0-3; empty otherwise.
std::string ValidityChoiceText(int index);

} // namespace kestrel
