#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codec/PlmnEntry.h"

namespace kestrel {

// EF_PLMNsel (6F30) and EF_FPLMN (6F7B) under DF_GSM are transparent files of 3-byte networks in
// the GSM 04.08 order: MCC d2|d1, MNC d3|MCC d3, MNC d2|MNC d1; FF FF FF is a free slot.
// Networks are kept as two-digit MNCs: the third MNC digit is not read, and writing keeps only
// the last three digits of the MCC and the last two of the MNC.

// One entry per whole 3-byte group (a trailing remainder is ignored); every entry comes back
// with modified 0.
std::vector<PlmnEntry> DecodePlmnList(std::span<const uint8_t> file);

// fileSize bytes filled with 0xFF and the used entries of the list put in their slots; entries
// that do not fit in the file (a list longer than the card's file) are left out.
std::vector<uint8_t> EncodePlmnList(std::span<const PlmnEntry> list, std::size_t fileSize);

// "MCC-MNC" with the MCC in three digits and the MNC in at least two: "234-01", "310-220".
std::string formatPlmn(uint32_t mcc, uint32_t mnc);

// Reads "MCC-MNC" as typed on the command line: 1-3 digits, "-", 1-3 digits, nothing else.
// mcc and mnc are changed only when the text is accepted.
bool parsePlmn(std::string_view text, uint32_t& mcc, uint32_t& mnc);

} // namespace kestrel
