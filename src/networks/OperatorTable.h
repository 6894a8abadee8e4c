#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace kestrel {

// One row of the built-in operator table: "<operator name> - <country abbreviation>" and the
// network's MCC and MNC (two-digit MNCs, as the network lists on the card hold them).
struct OperatorRow
{
    const char* text;
    uint32_t mcc;
    uint32_t mnc;
};

// The whole table in its fixed order: the real rows (some networks occur twice; the first row
// counts) followed by the end row with MCC 0 and MNC 0, whose text is never shown.
std::span<const OperatorRow> operatorRows();

// The text of the first real row with both codes equal; false (text untouched) when none.
bool LookupOperator(uint32_t mcc, uint32_t mnc, std::string* text);

} // namespace kestrel
