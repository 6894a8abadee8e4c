#pragma once

#include <cstdint>

namespace kestrel {

// Low bits of the EF_SMS status byte, as the program uses them.
enum class SmsStatus : int32_t
{
    Read = 0,     // status byte 0x01
    Received = 1, // 0x03
    Sent = 2,     // 0x05
    ToBeSent = 3, // 0x07
};

// One position of EF_SMS (or of an SMS window or file). Plain value type.
struct SmsEntry
{
    int32_t valid = 0;
    uint16_t position = 0; // 0-based; record number is position + 1
    char text[200] = {};   // message text (PC text), at most 199 decoded characters
    char scNumber[21] = {};
    char number[21] = {};
    uint8_t numberTon = 0;
    uint8_t numberNpi = 0;
    uint8_t scTon = 0;
    uint8_t scNpi = 0;
    char when[16] = {}; // time stamp (received) or validity period (sent/unsent) as text
    int32_t status = 0; // an SmsStatus value
    uint8_t messageRef = 0;
    int32_t modified = 0;
    int32_t dragMark = 0; // source of a running drag and drop in an SMS window; never stored

    // The free position a window starts with: all zero but the position.
    static SmsEntry emptyAt(uint16_t position)
    {
        SmsEntry e;
        e.position = position;
        return e;
    }
    bool operator==(const SmsEntry&) const = default;
};

// Parsed form of a `when` text.
struct SmsTime
{
    int32_t isAbsolute = 0;
    uint8_t day = 0;
    uint8_t month = 0;
    uint8_t year = 0; // two digits, 0-99
    uint8_t hour = 0;
    uint8_t minute = 0;
    uint8_t second = 0;
    uint8_t timeZone = 0;
    uint8_t validity = 0; // TP-VP relative value when isAbsolute is 0
};

constexpr int kSmsTextSize = 200;
constexpr int kSmsNumberSize = 21;
constexpr int kSmsWhenSize = 16;

} // namespace kestrel
