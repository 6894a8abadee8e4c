#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <QByteArray>

#include "codec/DialEntry.h"

namespace kestrel {

// The private clipboard and drag-and-drop format of the phone book windows.
inline constexpr char kDialClipFormat[] = "Kestrel_Dial";

// One row of a "Kestrel_Dial" payload. Little-endian layout, per row:
//   int32 position, int32 valid, name and number as length-prefixed PC text (one length byte
//   below 255, else 0xFF and a 16-bit length, else 0xFF 0xFFFF and a 32-bit length; the number
//   without "+"), uint8 ton, npi, ccpId, extId, int32 modified.
// The payload is an int32 source-list handle, the rows, and the int32 end mark -1.
struct DialClipRecord
{
    int32_t position = 0;
    int32_t valid = 0;
    std::string name;   // at most 49 bytes
    std::string number; // at most 60 dial digits
    uint8_t ton = 0;
    uint8_t npi = 0;
    uint8_t ccpId = 0;
    uint8_t extId = 0;
    int32_t modified = 0;
};

struct DialPayload
{
    int32_t sourceList = 0;
    std::vector<DialClipRecord> records;
};

// The payload of the given entries in the given order.
QByteArray encodeDialPayload(int32_t sourceList, std::span<const DialEntry* const> entries);

// Parses a payload. nullopt when it is truncated, has no end mark, or a row holds what no phone
// book entry can hold (a name longer than 49 bytes or with a NUL in it, a number longer than 60
// characters or with a character that is no dial digit, ton above 7, npi above 15). Bytes after
// the end mark are ignored (clipboard memory may be rounded up).
std::optional<DialPayload> decodeDialPayload(const QByteArray& payload);

// The text form beside the payload: name, TAB, apostrophe, number with "+" when ton is 1, CR LF,
// for each valid entry (PC text).
std::string dialClipText(std::span<const DialEntry* const> entries);

} // namespace kestrel
