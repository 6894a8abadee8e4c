#pragma once

#include <array>
#include <cstdint>

namespace kestrel {

constexpr int kDialNameSize = 152; // a 50-byte alpha identifier in UTF-8, with its NUL
constexpr int kDialNumberSize = 61;
constexpr int kMaxDialDigits = 60;
// Extension records a chain may keep (a 60-digit number takes two, a subaddress one more).
constexpr int kMaxKeptExtensions = 4;
constexpr int kKeptRecordBytes = 64;
constexpr int kKeptExtensionBytes = 13;

// The bytes an entry was read from: its record and the extension records of its chain, in chain
// order. A row the user did not change is written back with them, byte for byte.
struct DialRecordBytes
{
    uint8_t recordLength = 0; // 0: nothing kept
    uint8_t extensionCount = 0;
    std::array<uint8_t, kKeptRecordBytes> record{};
    std::array<std::array<uint8_t, kKeptExtensionBytes>, kMaxKeptExtensions> extensions{};

    bool empty() const { return recordLength == 0; }
    bool operator==(const DialRecordBytes&) const = default;
};

// One position of a dialling-number file (EF_ADN, EF_FDN, EF_LND, EF_MSISDN), of an editor
// window, the clipboard, a .DIA file or a backup. Plain value type.
struct DialEntry
{
    int32_t valid = 0;             // non-zero when the position holds an entry
    uint16_t position = 0;         // 0-based record position; record number and item number are position + 1
    char name[kDialNameSize] = {}; // alpha identifier as PC text (UTF-8), NUL-terminated
    char number[61] = {};          // dialling digits, at most 60, never a "+"
    uint8_t ton = 0;               // type of number 0-7; 1 = international
    uint8_t npi = 0;               // numbering plan 0-15
    uint8_t ccpId = 0;             // capability/configuration id as read; 0xFF = none
    uint8_t extId = 0;             // first extension record as read; 0xFF = none
    int32_t modified = 0;          // changed since last card read or write
    int32_t dragMark = 0;          // source of a running drag and drop
    // The bytes read from the card. They count only while the fields above still decode from
    // them (KeptBytesCurrent): an edit of name, number, ton, npi or valid ends their authority.
    DialRecordBytes kept;

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

} // namespace kestrel
