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
// SMS-DELIVER, SMS-SUBMIT or SMS-STATUS-REPORT TPDU. User data are decoded by their TP-DCS
// (default alphabet, 8-bit, UCS2; message class) after their user-data header (concatenation).

// Never fails: a record whose status byte is unused gives a free entry; a TPDU of a reserved type,
// or one cut short by the end of the record, gives the fields read up to that point. Records
// longer than 256 bytes are read only up to byte 256. The entry keeps the record's bytes.
SmsEntry DecodeSmsRecord(std::span<const uint8_t> record, uint16_t position);

// Whether the entry still is what its kept record decodes to: the same fields, the status at most
// changed within received (read / to be read) or within sent (sent / to be sent). Such an entry
// is written back as its kept record (with the status byte the entry says).
bool SmsKeepsRecord(const SmsEntry& entry);

// Whether the plain encoder writes the message as it is: an SMS-DELIVER or SMS-SUBMIT in the
// default alphabet without a header or a message class. Editing any other message makes it a
// plain one (see MakePlainSms), which the user is asked about first.
bool SmsIsPlain(const SmsEntry& entry);

// The entry as a plain message: kept record, coding, class, header and status-report fields go.
void MakePlainSms(SmsEntry& entry);

// Whether stored, an entry without a record from a .SMS/.SMA file or a backup, is what the card's
// message held once it went through such a file: the text as a Windows-1250 field of at most 199
// characters gives it back (carriage returns aside), the numbers and types of number are equal
// (a numbering plan of 0 is one the file did not hold), the time is equal or was no time the file
// could hold, the status is of the same kind (received or sent). The card's record then stays.
bool SmsIsStoredCopy(const SmsEntry& stored, const SmsEntry& card);

struct SmsEncodeResult
{
    bool fits = false;           // the whole encoding fits in the record
    int length = 0;              // bytes the encoding needs: status byte up to the last user-data byte
    std::vector<uint8_t> record; // recordLength bytes, 0xFF after the encoding; empty when !fits
};

// Encodes entry for a record of recordLength bytes: an entry that keeps its record (SmsKeepsRecord)
// gives that record, anything else the plain encoding. A message that needs more bytes than the
// record holds is refused (fits false, no record) rather than written without its last bytes.
SmsEncodeResult EncodeSmsRecord(const SmsEntry& entry, int recordLength);

// The plain encoding (7-bit default alphabet, no header) into a 256-byte buffer filled with 0xFF
// first; returns the number of bytes used. A free entry gives status byte 00.
int EncodeSmsRecord(const SmsEntry& entry, std::array<uint8_t, 256>& buffer);

// TP-UD of 7-bit default-alphabet septets, udl septets long, at most 199 characters and never
// beyond data, as UTF-8 through the default alphabet and its extension table.
std::string UnpackSeptets(std::span<const uint8_t> data, int udl);

// Writes TP-UDL (the septet count) and the packed septets of a UTF-8 text to out (characters the
// alphabet lacks are folded, see TextToGsmSeptets). Writes only as many septets as out holds (and
// at most 255), never half an escape pair. A last septet that starts at bit 0 leaves bit 7 of its
// byte set, as the 0xFF-filled record had it. Returns the bytes written including the TP-UDL byte.
int PackSeptets(std::string_view text, std::span<uint8_t> out);

// "Read", "Received", "Sent", "ToBeSent"; "Unknown" for other values.
const char* smsStatusName(int status);

} // namespace kestrel
