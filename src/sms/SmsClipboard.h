#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <QByteArray>

#include "codec/SmsEntry.h"

namespace kestrel {

// The private clipboard and drag-and-drop format of the SMS windows.
inline constexpr char kSmsClipFormat[] = "Kestrel_SMS";

// One message of a "Kestrel_SMS" payload. Little-endian layout, per message:
//   int32 position (the 16-bit position zero-extended), int32 valid, text, service centre and
//   number as length-prefixed PC text (one length byte below 255, else 0xFF and a 16-bit length,
//   else 0xFF 0xFFFF and a 32-bit length; numbers without "+"), uint8 numberTon, numberNpi, scTon,
//   scNpi, when as length-prefixed PC text, int32 status, int32 modified.
// The payload is an int32 source-list handle, the messages, and the int32 end mark -1. The
// message reference and the drag mark are not carried. The text is Windows-1250 there ("?" for
// what the code page lacks), as every copy of the program reads it.
//
// After the end mark, where older copies stop reading, follows a trailer for the windows of this
// program: the magic "KSMSU8" and a version byte 1, int32 item count (that of the messages), and
// per message the text as length-prefixed UTF-8 and the record it keeps (uint16 length, at most
// 256, then its bytes; length 0 for none).
struct SmsClipItem
{
    int32_t position = 0;
    int32_t valid = 0;
    std::string text;     // PC text (UTF-8), at most kSmsTextSize - 1 bytes kept
    std::string scNumber; // at most 20 bytes kept
    std::string number;   // at most 20 bytes kept
    uint8_t numberTon = 0;
    uint8_t numberNpi = 0;
    uint8_t scTon = 0;
    uint8_t scNpi = 0;
    std::string when; // at most 15 bytes kept
    int32_t status = 0;
    int32_t modified = 0;
    std::vector<uint8_t> kept; // the record the message keeps (from the trailer)
};

struct SmsPayload
{
    int32_t sourceList = 0;
    std::vector<SmsClipItem> items;
};

// The payload of the given entries in the given order.
QByteArray encodeSmsPayload(int32_t sourceList, std::span<const SmsEntry* const> entries);

// Parses a payload. Longer strings than an entry holds are read whole and cut to what it holds.
// nullopt when it is truncated, has no end mark, or an item holds what no message can hold: a NUL
// in a string, a number with a character that is no dial digit, a type of number above 7, a
// numbering plan above 15, a status outside 0-3, a position above 0xFFFF. Bytes after the end mark
// are ignored (clipboard memory may be rounded up) unless they are a whole trailer of this payload;
// a trailer that is not is ignored too.
std::optional<SmsPayload> decodeSmsPayload(const QByteArray& payload);

// Puts what an item carries into an entry: valid, text, both numbers with their types and plans,
// when and status. The entry keeps its position and modified flag, and its message reference unless
// the item keeps a record: then the entry keeps that record too, with what it decodes to (message
// reference, coding, class, header, status-report fields).
void applyClipItem(const SmsClipItem& item, SmsEntry& entry);

// The text form beside the payload: the text of every used entry followed by CR LF (PC text, UTF-8).
std::string smsClipText(std::span<const SmsEntry* const> entries);

} // namespace kestrel
