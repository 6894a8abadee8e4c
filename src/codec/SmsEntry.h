#pragma once

#include <array>
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

// What the TPDU of a record is (GSM 03.40 TP-MTI).
enum class SmsKind : uint8_t
{
    Message = 0,      // SMS-DELIVER or SMS-SUBMIT, by the status
    StatusReport = 1, // SMS-STATUS-REPORT: number is the recipient, when the TP-SCTS
    Other = 2,        // reserved TP-MTI: only the record header is decoded
};

// The alphabet of the user data (GSM 03.38 TP-DCS).
enum class SmsEncoding : uint8_t
{
    Default = 0,     // 7-bit default alphabet
    EightBit = 1,    // 8-bit data, shown as hexadecimal bytes
    Ucs2 = 2,        // UCS2 (UTF-16 big-endian)
    Undecodable = 3, // compressed or a reserved coding group: kept, not shown
};

constexpr int kSmsTextSize = 768; // UTF-8: 199 characters of up to 3 bytes, or 254 hex bytes
constexpr int kSmsNumberSize = 21;
constexpr int kSmsWhenSize = 16;
constexpr int kSmsRecordMax = 256;

// One position of EF_SMS (or of an SMS window or file). Plain value type.
struct SmsEntry
{
    int32_t valid = 0;
    uint16_t position = 0;        // 0-based; record number is position + 1
    char text[kSmsTextSize] = {}; // message text (PC text, UTF-8)
    char scNumber[kSmsNumberSize] = {};
    char number[kSmsNumberSize] = {}; // originating/destination address; a status report's recipient
    uint8_t numberTon = 0;
    uint8_t numberNpi = 0;
    uint8_t scTon = 0;
    uint8_t scNpi = 0;
    char when[kSmsWhenSize] = {}; // time stamp (received, status report) or validity period (sent/unsent)
    int32_t status = 0;           // an SmsStatus value
    uint8_t messageRef = 0;       // TP-MR of an SMS-SUBMIT or a status report
    int32_t modified = 0;
    int32_t dragMark = 0; // source of a running drag and drop in an SMS window; never stored

    // What the record says beyond a plain 7-bit message; all zero (and class -1) for a message
    // typed in or read from a file.
    SmsKind kind = SmsKind::Message;
    SmsEncoding encoding = SmsEncoding::Default;
    int8_t messageClass = -1;              // GSM 03.38 message class 0-3, -1 for none
    uint8_t hasHeader = 0;                 // TP-UDHI: the user data start with a header
    uint16_t concatRef = 0;                // concatenation: reference number,
    uint8_t concatTotal = 0;               // total parts (0: not a part of a concatenated message)
    uint8_t concatPart = 0;                // and this part's number, 1-based
    uint8_t reportStatus = 0;              // status report: TP-ST
    char dischargeTime[kSmsWhenSize] = {}; // status report: TP-DT as text

    // The record as it was read from the card (keptLength bytes, 0: none), written back byte for
    // byte while the fields above still decode from it.
    uint16_t keptLength = 0;
    std::array<uint8_t, kSmsRecordMax> kept{};

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

} // namespace kestrel
