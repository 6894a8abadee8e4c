#pragma once

#include <cstdint>

namespace kestrel {

// One position of a dialling-number file (EF_ADN, EF_FDN, EF_LND, EF_MSISDN), of an editor
// window, the clipboard, a .DIA file or a backup. Plain value type.
struct DialEntry
{
    int32_t valid = 0;     // non-zero when the position holds an entry
    uint16_t position = 0; // 0-based record position; record number and item number are position + 1
    char name[50] = {};    // alpha identifier as PC text, NUL-terminated, at most 49 bytes
    char number[61] = {};  // dialling digits, at most 60, never a "+"
    uint8_t ton = 0;       // type of number 0-7; 1 = international
    uint8_t npi = 0;       // numbering plan 0-15
    uint8_t ccpId = 0;     // capability/configuration id as read; 0xFF = none
    uint8_t extId = 0;     // first extension record as read; 0xFF = none
    int32_t modified = 0;  // changed since last card read or write
    int32_t dragMark = 0;  // source of a running drag and drop

    // The free position an editor window starts with: ccpId and extId 0xFF, all else 0.
    static DialEntry emptyAt(uint16_t position)
    {
        DialEntry e;
        e.position = position;
        e.ccpId = 0xFF;
        e.extId = 0xFF;
        return e;
    }
    bool operator==(const DialEntry&) const = default;
};

constexpr int kDialNameSize = 50;
constexpr int kDialNumberSize = 61;
constexpr int kMaxDialDigits = 60;

} // namespace kestrel
