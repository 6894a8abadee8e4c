#pragma once

#include <cstddef>
#include <cstdint>

// Offsets (from 0) into the response data of SELECT / GET RESPONSE / STATUS (GSM 11.11 clause
// 9.2.1; the standard numbers the bytes from 1, so byte n is at offset n - 1). Dependency-free on
// purpose.
namespace kestrel::gsm::response {

// Common to MF/DF and EF responses
inline constexpr std::size_t kSizeOrFreeMemory = 2; // 2 bytes: EF file size / DF free memory
inline constexpr std::size_t kFileId = 4;           // 2 bytes
inline constexpr std::size_t kFileType = 6;
inline constexpr std::size_t kFollowingLength = 12; // length of the data after byte 13

// Type of file (byte 7)
inline constexpr uint8_t kTypeMf = 0x01;
inline constexpr uint8_t kTypeDf = 0x02;
inline constexpr uint8_t kTypeEf = 0x04;

// MF / DF response (at least 22 bytes)
inline constexpr std::size_t kCharacteristics = 13; // bit 8 set: CHV1 disabled
inline constexpr std::size_t kDfCount = 14;
inline constexpr std::size_t kEfCount = 15;
inline constexpr std::size_t kChvCount = 16; // CHVs, UNBLOCK CHVs and administrative codes
inline constexpr std::size_t kChv1Status = 18;
inline constexpr std::size_t kUnblockChv1Status = 19;
inline constexpr std::size_t kChv2Status = 20;
inline constexpr std::size_t kUnblockChv2Status = 21;
inline constexpr std::size_t kDirectoryMinimum = 22;
inline constexpr uint8_t kChv1DisabledBit = 0x80;     // in the file characteristics
inline constexpr uint8_t kClockStopAllowedBit = 0x01; // in the file characteristics
inline constexpr uint8_t kCodeInitialisedBit = 0x80;  // in a code status byte
inline constexpr uint8_t kAttemptsMask = 0x0F;        // false presentations left, in a code status byte

// EF response (15 bytes)
inline constexpr std::size_t kIncreaseAllowed = 7; // cyclic EFs: bit 7 set allows INCREASE
inline constexpr std::size_t kAccessReadUpdate = 8;
inline constexpr std::size_t kAccessIncrease = 9;
inline constexpr std::size_t kAccessInvalidateRehabilitate = 10;
inline constexpr std::size_t kFileStatus = 11; // bit 1 clear: invalidated
inline constexpr std::size_t kStructure = 13;
inline constexpr std::size_t kRecordLength = 14;
inline constexpr std::size_t kEfMinimum = 15;
inline constexpr uint8_t kIncreaseAllowedBit = 0x40;         // in byte 8 of a cyclic EF
inline constexpr uint8_t kNotInvalidatedBit = 0x01;          // in the file status
inline constexpr uint8_t kReadableWhenInvalidatedBit = 0x04; // in the file status

// Structure of an EF (byte 14)
inline constexpr uint8_t kTransparent = 0x00;
inline constexpr uint8_t kLinearFixed = 0x01;
inline constexpr uint8_t kCyclic = 0x03;

// Access condition nibbles (bytes 9-11)
inline constexpr uint8_t kAlways = 0x0;
inline constexpr uint8_t kChv1 = 0x1;
inline constexpr uint8_t kChv2 = 0x2;
inline constexpr uint8_t kAdministrative = 0x4; // 4-E
inline constexpr uint8_t kNever = 0xF;

} // namespace kestrel::gsm::response
