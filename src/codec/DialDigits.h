#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel {

// BCD digits of the GSM 11.11 dialling-number files and the number texts the user types.

// Nibble 0-15 -> dialling character: 0-9, '*', '#', 'p', 'D', 'E'; 0xF (filler) gives 'F'.
char NibbleToDigit(uint8_t nibble);

// Dialling character -> nibble. 'P' and 'p' give 0xC; other characters outside the table give
// (code - 7) & 0x0F, which validation keeps away except for 'D', 'E' and 'F'.
uint8_t DigitToNibble(char c);

// "0"-"9", "*", "#", "P", "p", "D", "E", "F" (the letters D-F in upper case only).
bool IsDialDigit(char c);

// At most 60 characters; one "+" anywhere; every other character a dial digit. Empty is valid.
bool IsValidDialNumber(std::string_view text);

// A number text as people type or paste it, without the separators they write into numbers:
// spaces, hyphens, dots and brackets ("+420 603 123-456" gives "+420603123456", "(0603) 123.456"
// gives "0603123456"). Every other character is kept for IsValidDialNumber to judge.
std::string StripNumberSeparators(std::string_view text);

// The numbering plan of an entry made in the program (ISDN/telephony, E.164): TON/NPI 0x81, or 0x91
// for an international number, as phones write them. Entries read keep their own.
inline constexpr uint8_t kNewEntryNpi = 1;

// Removes the first "+" and reports it as ton 1 (else ton 0); keeps at most capacity - 1
// (at most 60) characters of the rest.
std::string SplitPlus(std::string_view text, uint8_t& ton, std::size_t capacity = 61);

// The digits with "+" in front when ton is 1, cut to capacity - 1 characters.
std::string JoinPlus(std::string_view digits, uint8_t ton, std::size_t capacity = 62);

// Folds a Windows-1250 letter with a diacritic to its plain ASCII letter; other codes at or above
// 0x80 become '.'; codes below 0x80 are returned unchanged.
char FoldToAscii(char c);

// FoldToAscii of every character of a PC text (UTF-8): a character of Windows-1250 is folded by
// its code, every other character outside ASCII becomes ".".
std::string FoldToAsciiText(std::string_view pcText);

} // namespace kestrel
