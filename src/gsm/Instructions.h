#pragma once

#include <cstdint>

// GSM 11.11 (clause 9.2) and GSM 11.14 command bytes: the class byte, the instruction bytes and
// the P1/P2 codings the program and the virtual card both use. Dependency-free on purpose.
namespace kestrel::gsm {

inline constexpr uint8_t kClass = 0xA0; // every GSM 11.11 command

namespace ins {
inline constexpr uint8_t kSelect = 0xA4;
inline constexpr uint8_t kStatus = 0xF2;
inline constexpr uint8_t kReadBinary = 0xB0;
inline constexpr uint8_t kUpdateBinary = 0xD6;
inline constexpr uint8_t kReadRecord = 0xB2;
inline constexpr uint8_t kUpdateRecord = 0xDC;
inline constexpr uint8_t kSeek = 0xA2;
inline constexpr uint8_t kIncrease = 0x32;
inline constexpr uint8_t kVerifyChv = 0x20;
inline constexpr uint8_t kChangeChv = 0x24;
inline constexpr uint8_t kDisableChv = 0x26;
inline constexpr uint8_t kEnableChv = 0x28;
inline constexpr uint8_t kUnblockChv = 0x2C;
inline constexpr uint8_t kInvalidate = 0x04;
inline constexpr uint8_t kRehabilitate = 0x44;
inline constexpr uint8_t kRunGsmAlgorithm = 0x88;
inline constexpr uint8_t kSleep = 0xFA;
inline constexpr uint8_t kGetResponse = 0xC0;
// GSM 11.14
inline constexpr uint8_t kTerminalProfile = 0x10;
inline constexpr uint8_t kEnvelope = 0xC2;
inline constexpr uint8_t kFetch = 0x12;
inline constexpr uint8_t kTerminalResponse = 0x14;
} // namespace ins

// P2 of READ RECORD / UPDATE RECORD (clause 9.2.5).
namespace recordMode {
inline constexpr uint8_t kNext = 0x02;
inline constexpr uint8_t kPrevious = 0x03;
inline constexpr uint8_t kAbsolute = 0x04; // also "current" with P1 = 0
} // namespace recordMode

// The length of a CHV or unblocking code block (VERIFY, CHANGE, UNBLOCK CHV data), 0xFF padded.
inline constexpr int kChvBlockLength = 8;
// The data of RUN GSM ALGORITHM: RAND in, SRES (4) and Kc (8) out.
inline constexpr int kRandLength = 16;
inline constexpr int kSresKcLength = 12;

} // namespace kestrel::gsm
