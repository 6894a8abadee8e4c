#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "codec/SmsEntry.h"

namespace kestrel {

// The user data of an SMS TPDU: the data coding scheme (GSM 03.38 chapter 4), the user-data
// header (GSM 03.40 9.2.3.24) and the 7-bit default alphabet with its extension table.

struct SmsDataCoding
{
    SmsEncoding encoding = SmsEncoding::Default;
    int8_t messageClass = -1; // 0-3, -1 when the scheme names none
};

// TP-DCS: general data coding 00xx xxxx (bit 5 compressed, bit 4 class meaning, bits 3-2
// alphabet, bits 1-0 class), message waiting 1100/1101 (default alphabet) and 1110 (UCS2), data
// coding/message class 1111 xxxx (bit 2 8-bit, bits 1-0 class). The reserved groups and the
// reserved alphabet 11 are undecodable.
SmsDataCoding DecodeDataCoding(uint8_t dcs);

struct SmsUserDataHeader
{
    bool valid = false;     // UDHL and every information element lie inside the user data
    std::size_t octets = 0; // the header's octets, UDHL included
    bool concatenated = false;
    uint16_t reference = 0;
    uint8_t total = 0;
    uint8_t part = 0;
};

// The header at the start of ud (ud[0] is UDHL). Concatenation elements IEI 00 (8-bit reference)
// and 08 (16-bit reference) are taken when their total and part numbers are usable (neither 0,
// part not above total); other elements are skipped by their lengths.
SmsUserDataHeader ParseUserDataHeader(std::span<const uint8_t> ud);

// Septet values first..udl-1 of packed 7-bit data, as far as data reach.
std::vector<uint8_t> UnpackSeptetValues(std::span<const uint8_t> data, std::size_t first, std::size_t udl);

// Default-alphabet septets as UTF-8: the program's GsmAlphabetTable, with 0x1B escaping to the
// extension table (form feed, ^ { } \ [ ~ ] | and the euro sign; an escaped code the table lacks
// shows as its default-alphabet character). At most maxChars characters.
std::string GsmSeptetsToText(std::span<const uint8_t> septets, std::size_t maxChars);

// UTF-8 text as default-alphabet septets: characters of the alphabet as their code, those of the
// extension table as 0x1B and their code, any other folded to ASCII by FoldToAsciiText first and
// then "?" when the alphabet still lacks it.
std::vector<uint8_t> TextToGsmSeptets(std::string_view text);

// The septets a text needs (an extension-table character counts two).
std::size_t GsmSeptetCount(std::string_view text);

// What the default-alphabet encoder gives back for a text.
std::string ThroughGsmAlphabet(std::string_view text);

// UCS2 (UTF-16 big-endian) octets as UTF-8; an odd last octet is dropped.
std::string Ucs2ToText(std::span<const uint8_t> octets);

// Octets as hexadecimal bytes separated by spaces ("48 65 6C").
std::string OctetsAsHex(std::span<const uint8_t> octets);

} // namespace kestrel
