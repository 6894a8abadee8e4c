#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "base/StringIds.h"
#include "codec/DialEntry.h"

namespace kestrel {

// Records of the GSM 11.11 dialling-number files EF_ADN, EF_FDN, EF_MSISDN and EF_LND, and of
// their extension files EF_EXT1 / EF_EXT2. A record of length R = X + 14 holds:
//   0 .. X-1    alpha identifier (AlphaCodec.h: default alphabet or UCS2), unused bytes 0xFF
//   X           L: bytes used by TON/NPI and digits (1-11); 0xFF = record empty
//   X+1         TON/NPI: 1 ttt nnnn
//   X+2 .. X+11 up to 20 BCD digits, first digit of a pair in the low nibble, filler 0xF
//   X+12        capability/configuration identifier
//   X+13        first extension record (1-based), 0xFF = none
// An extension record (13 bytes) holds: record type (low two bits 2 = additional data), number
// of digit bytes, 10 digit bytes, next extension record (0xFF or 0 = end of chain).

constexpr std::size_t kDialRecordOverhead = 14;
constexpr std::size_t kMinDialRecordLength = kDialRecordOverhead;
// Alpha identifiers of up to 50 bytes; a longer record is not handled as a dialling-number record.
constexpr std::size_t kMaxDialRecordLength = 64;
constexpr std::size_t kExtensionRecordLength = 13;
constexpr int kMaxMainRecordDigits = 20;
static_assert(kMaxDialRecordLength == kKeptRecordBytes && kExtensionRecordLength == kKeptExtensionBytes);

bool IsDialRecordLength(std::size_t recordLength);

// Decodes one record (its span is the whole record, R bytes) read as record number recordNumber
// (1-based). extensionFile is the image of the extension file: its records back to back, record
// k at offset 13 * (k - 1). The first filler nibble (0xF) ends the number, also when extension
// records follow it. A chain that loops or points past the image's last whole record ends there;
// a record length outside 14..64 decodes as a free position. A valid entry keeps the record and
// its chain's extension records (entry.kept) unless the chain is longer than kMaxKeptExtensions,
// loops or points outside the image.
DialEntry DecodeDialRecord(std::span<const uint8_t> record, int recordNumber, std::span<const uint8_t> extensionFile);

struct ExtensionRecord
{
    uint8_t id = 0; // record number in the extension file
    std::array<uint8_t, kExtensionRecordLength> bytes{};
};

enum class DialEncodeStatus
{
    Ok,
    NoFreeExtension, // the allocator had no free extension record: CardStatus sid::ExtensionCardSpaceOverflow_148
    BadRecordLength, // record length outside 14..64; nothing was written
};

struct DialEncodeResult
{
    bool ok = true; // status == DialEncodeStatus::Ok
    DialEncodeStatus status = DialEncodeStatus::Ok;
    std::vector<ExtensionRecord> extensions; // to be written, in the order made; empty unless ok
};

// Encodes entry into record (record.size() is R). A number longer than 20 digits is split from
// its end backwards into extension records of up to 20 digits; allocateExtension is asked for the
// record number of each piece as it is made and must hand out a different free record each time
// (ids 0 and 0xFF count as "none"). Each piece links to the piece made before it, and the main
// record to the last one made, so the chain runs in the order of the digits. The capability
// identifier is never written (0xFF). The name is coded as EncodeAlphaId says for unicodeNames.
// entry.kept plays no part. On failure record is left untouched.
DialEncodeResult EncodeDialRecord(const DialEntry& entry, std::span<uint8_t> record,
                                  const std::function<std::optional<uint8_t>()>& allocateExtension,
                                  bool unicodeNames = false);

// Whether two entries hold the same phone book fields: both free, or both valid with equal name,
// number, ton and npi.
bool SameDialFields(const DialEntry& a, const DialEntry& b);

// The entry its kept bytes decode to (kept included), at position; none when nothing is kept.
std::optional<DialEntry> DecodeKeptBytes(const DialRecordBytes& kept, uint16_t position);

// Whether the entry's fields are still what its kept bytes decode to: then the kept bytes are
// what the entry writes. False when nothing is kept.
bool KeptBytesCurrent(const DialEntry& entry);

// The kept record with its chain moved to the extension records ids (one for each kept extension
// record, in chain order): the record links to ids[0], each record to the next, the last keeps its
// own end byte; every other byte as kept.
struct KeptRecord
{
    std::array<uint8_t, kMaxDialRecordLength> record{};
    std::vector<ExtensionRecord> extensions;
};
KeptRecord RelinkKeptBytes(const DialRecordBytes& kept, std::span<const uint8_t> ids);

// The entry as the card gives it back once written into a record with alphaLength alpha bytes:
// entry with the name and the number of its record decoded again (the name as EncodeAlphaId codes
// it for unicodeNames and cut to the alpha bytes, the digits as the BCD nibbles read back: "P" as "p", the
// number ended at an "F"). A free entry, or an alpha length the records cannot have, is returned
// as it is.
DialEntry StoredDialEntry(const DialEntry& entry, std::size_t alphaLength, bool unicodeNames = false);

} // namespace kestrel
