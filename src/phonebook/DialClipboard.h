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
// The payload is an int32 source-list handle, the rows, and the int32 end mark -1. Names in the
// rows are Windows-1250 (what other copies of the program read). After the end mark, where older
// readers stop, a trailer gives what they lack: the string "Kestrel-UTF8", an int32 row count,
// then per row the name as UTF-8 (a string) and the bytes the row was read from the card: uint8
// record length (0 = none), uint8 extension record count (at most 4), and a string of the record
// and its extension records (13 bytes each) in chain order.
struct DialClipRecord
{
    int32_t position = 0;
    int32_t valid = 0;
    std::string name;   // PC text (UTF-8): the trailer's, else the row's Windows-1250 name converted
    std::string number; // at most 60 dial digits
    uint8_t ton = 0;
    uint8_t npi = 0;
    uint8_t ccpId = 0;
    uint8_t extId = 0;
    int32_t modified = 0;
    DialRecordBytes kept; // from the trailer; empty without one
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
// characters or with a character that is no dial digit, ton above 7, npi above 15). After the end
// mark a sound trailer gives the rows their UTF-8 names and kept bytes; a trailer that is not
// there, or is cut short, broken or for another number of rows, is ignored with whatever else
// follows (clipboard memory may be rounded up).
std::optional<DialPayload> decodeDialPayload(const QByteArray& payload);

// The text form beside the payload: name, TAB, apostrophe, number with "+" when ton is 1, CR LF,
// for each valid entry (PC text, UTF-8).
std::string dialClipText(std::span<const DialEntry* const> entries);

} // namespace kestrel
