#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel {

// Alpha identifiers of the GSM 11.11 dialling-number files are stored one byte per character in
// the GSM 03.38 default alphabet (0x00-0x7F, 0xFF = unused). The program keeps names as PC text
// (Windows-1250), so every character crosses between the two through Unicode.

// UTF-16 unit of each default-alphabet code. Two codes differ from GSM 03.38: 0x09 is the small
// c with cedilla (the phones' own rendering), and the escape code 0x1B is read and written as
// the no-break space, so that a no-break space in a name survives the card.
extern const std::array<char16_t, 128> GsmAlphabetTable;

// One alpha byte as PC text (always one byte in Windows-1250). A character the code page lacks,
// and any code from 0x80 up, gives "?".
std::string GsmToAnsi(uint8_t gsm);

// The default-alphabet code of the PC character at pcText[pos]; pos moves past it (one byte).
// Letters with diacritics are reduced to their base letter by canonical decomposition ("Č" gives
// the code of "C"); characters without a decomposition keep their own code where the alphabet has
// one; everything else gives 0x3F ("?"). With pos at or past the end, 0x3F is returned and pos is
// left as it is.
uint8_t AnsiToGsm(std::string_view pcText, std::size_t& pos);

// The PC text an alpha identifier gives back once pcText was stored in it: every character through
// the default alphabet and back ("Jiří" gives "Jiri"), at most alphaLength characters.
std::string StoredAlphaText(std::string_view pcText, std::size_t alphaLength);

} // namespace kestrel
