#pragma once

#include <cstdint>

// GSM 11.11 status words (clause 9.4), written SW1 * 256 + SW2. Where only SW1 tells, the
// constant is the SW1 byte (kSw1...). Dependency-free on purpose.
namespace kestrel::gsm {

constexpr uint8_t sw1(uint16_t sw)
{
    return static_cast<uint8_t>(sw >> 8);
}
constexpr uint8_t sw2(uint16_t sw)
{
    return static_cast<uint8_t>(sw & 0xFF);
}

namespace sw {
// Normal ending
inline constexpr uint16_t kOk = 0x9000;
inline constexpr uint8_t kSw1ProactiveWaiting = 0x91; // 91 xx: ended normally, xx bytes to FETCH
inline constexpr uint8_t kSw1ResponseWaiting = 0x9F;  // 9F xx: xx response bytes for GET RESPONSE
// Postponed processing
inline constexpr uint16_t kToolkitBusy = 0x9300;
// Memory management
inline constexpr uint8_t kSw1MemoryProblem = 0x92; // 92 0x: ok after x retries; 92 40 failed
inline constexpr uint16_t kMemoryProblem = 0x9240;
// Referencing management
inline constexpr uint8_t kSw1Referencing = 0x94;
inline constexpr uint16_t kNoEfSelected = 0x9400;
inline constexpr uint16_t kOutOfRange = 0x9402; // invalid address
inline constexpr uint16_t kNotFound = 0x9404;   // file id or pattern not found
inline constexpr uint16_t kFileInconsistent = 0x9408;
// Security management
inline constexpr uint8_t kSw1Security = 0x98;
inline constexpr uint16_t kNoChvInitialised = 0x9802;
inline constexpr uint16_t kAccessNotFulfilled = 0x9804; // access condition not fulfilled, or CHV refused
inline constexpr uint16_t kChvContradiction = 0x9808;
inline constexpr uint16_t kInvalidationContradiction = 0x9810;
inline constexpr uint16_t kChvBlocked = 0x9840; // unsuccessful verification, no attempt left
inline constexpr uint16_t kMaxValueReached = 0x9850;
// Application independent errors
inline constexpr uint8_t kSw1WrongP3 = 0x67; // 67 xx: xx the right length, when known
inline constexpr uint16_t kWrongP3 = 0x6700;
inline constexpr uint16_t kWrongP1P2 = 0x6B00;
inline constexpr uint16_t kUnknownInstruction = 0x6D00;
inline constexpr uint16_t kWrongClass = 0x6E00;
inline constexpr uint16_t kTechnicalProblem = 0x6F00;
} // namespace sw

} // namespace kestrel::gsm
