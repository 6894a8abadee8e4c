#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codec/SmsEntry.h"

namespace kestrel {

// One EF_SMS record (GSM 11.11): status byte, service-centre address, then a GSM 03.40
// SMS-DELIVER or SMS-SUBMIT TPDU with 7-bit user data.

// Never fails: a record whose status byte is unused gives a free entry; a TPDU of another type,
// or one cut short by the end of the record, gives the fields read up to that point. Records
// longer than 256 bytes are read only up to byte 256.
SmsEntry DecodeSmsRecord(std::span<const uint8_t> record, uint16_t position);

struct SmsEncodeResult
{
    bool fits = false;           // the whole encoding fits in the record
    int length = 0;              // bytes the encoding needs: status byte up to the last user-data byte
    std::vector<uint8_t> record; // recordLength bytes, 0xFF after the encoding; empty when !fits
};

// Encodes entry for a record of recordLength bytes. A message that needs more bytes than the record
// holds is refused (fits false, no record) rather than written without its last user-data bytes.
SmsEncodeResult EncodeSmsRecord(const SmsEntry& entry, int recordLength);

// Encodes into a 256-byte buffer filled with 0xFF first; returns the number of bytes used.
int EncodeSmsRecord(const SmsEntry& entry, std::array<uint8_t, 256>& buffer);

// TP-UD of 7-bit default-alphabet septets, udl septets long, at most 199 characters and never
// beyond data. Septet codes are used as character codes (0 shows as '@'); codes below 0x20 are
// dropped.
std::string UnpackSeptets(std::span<const uint8_t> data, int udl);

// Writes TP-UDL (the character count) and the packed septets to out; '@' becomes septet 0, other
// characters their code & 0x7F. Writes only as many characters as out holds (and at most 255).
// A last septet that starts at bit 0 leaves bit 7 of its byte set, as the 0xFF-filled record had
// it. Returns the bytes written including the TP-UDL byte.
int PackSeptets(std::string_view text, std::span<uint8_t> out);

// "Read", "Received", "Sent", "ToBeSent"; "Unknown" for other values.
const char* smsStatusName(int status);

} // namespace kestrel
