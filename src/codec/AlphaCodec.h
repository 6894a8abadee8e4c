#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace kestrel {

// Alpha identifiers of the GSM 11.11 dialling-number files. The program keeps names as PC text
// (UTF-8); a card stores them either one byte per character in the GSM 03.38 default alphabet
// (0x00-0x7F, 0xFF = unused) or in one of the three UCS2 forms of GSM 11.11 annex B:
//   80 u1 u1 u2 u2 ...      big-endian UCS2 units, unused bytes 0xFF
//   81 n b  c1 c2 ...       n characters; byte b gives the half-page base b << 7; a character
//                           byte below 0x80 is a default-alphabet code, from 0x80 base + (c & 0x7F)
//   82 n b1 b2 c1 c2 ...    the same with the 16-bit base b1 b2

// UTF-16 unit of each default-alphabet code. Two codes differ from GSM 03.38: 0x09 is the small
// c with cedilla (the phones' own rendering), and the escape code 0x1B is read and written as
// the no-break space, so that a no-break space in a name survives the card.
extern const std::array<char16_t, 128> GsmAlphabetTable;

// One alpha byte of the default alphabet as PC text (one character); any code from 0x80 up
// gives "?".
std::string GsmToAnsi(uint8_t gsm);

// The default-alphabet code of the PC character starting at pcText[pos]; pos moves past it (its
// UTF-8 bytes). Letters with diacritics are reduced to their base letter by canonical
// decomposition ("Č" gives the code of "C", "é" that of "e"); characters without a decomposition
// keep their own code where the alphabet has one ("Ø", "Ω"); everything else gives 0x3F ("?").
// With pos at or past the end, 0x3F is returned and pos is left as it is.
uint8_t AnsiToGsm(std::string_view pcText, std::size_t& pos);

// The number of characters of a PC text (UTF-8 code points; a byte of no valid sequence counts as
// one): the length limits of names are in characters, not bytes.
std::size_t NameLength(std::string_view pcText);

// How an alpha identifier is coded: the default alphabet or one of the UCS2 forms (first byte).
enum class AlphaForm : uint8_t
{
    Default = 0,
    Ucs2 = 0x80,
    Ucs2HalfPage = 0x81,
    Ucs2Base = 0x82,
};

struct AlphaFit
{
    AlphaForm form = AlphaForm::Default;
    std::size_t characters = 0; // characters of the name the alpha bytes hold
    std::size_t total = 0;      // characters of the name
};

// How a name is stored in alphaLength alpha bytes. unicode off: the default alphabet with the fold
// of AnsiToGsm, one byte a character. unicode on: a name whose every character is in the default
// alphabet as it is ("é" included) keeps the default alphabet, coded exactly; any other name takes
// the shortest UCS2 form that holds it (0x81 / 0x82 when one half-page of 128 code points covers
// every character outside the default alphabet, else 0x80). A name too long is cut to the
// characters that fit.
AlphaFit FitAlphaId(std::string_view pcText, std::size_t alphaLength, bool unicode);

// Writes the name into alpha (all its bytes: the coded characters, then 0xFF) as FitAlphaId says.
void EncodeAlphaId(std::string_view pcText, std::span<uint8_t> alpha, bool unicode);

// The name held by alpha (all X alpha bytes), in any of the four forms, as PC text. Every count and
// length is checked against the bytes there are: a count beyond the record ends the name at the
// record's end, an odd byte left at the end of the 0x80 form is ignored. A UCS2 unit that is no
// character (NUL, a lone surrogate) reads as "?".
std::string DecodeAlphaId(std::span<const uint8_t> alpha);

// The PC text an alpha identifier of alphaLength bytes gives back once pcText was stored in it
// ("Jiří" gives "Jiri" with unicode off, "Jiří" with it on).
std::string StoredAlphaText(std::string_view pcText, std::size_t alphaLength, bool unicode = false);

} // namespace kestrel
