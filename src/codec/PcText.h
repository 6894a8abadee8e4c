#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace kestrel {

// "PC text" is what the program keeps in its entries, files and private clipboard formats:
// Windows-1250 bytes. These two functions are the only way between it and Unicode.

// Every byte becomes one UTF-16 unit (Windows-1250 is a single-byte code page; the five codes it
// leaves undefined, 0x81 0x83 0x88 0x90 0x98, come through as the C1 controls of the same value).
// Embedded NUL bytes are kept.
QString pcTextToUnicode(std::string_view pcText);

// One byte per character. A character the code page lacks (and a lone surrogate) becomes "?",
// the code page's default character; a character outside the BMP becomes a single "?".
std::string unicodeToPcText(const QString& text);

namespace detail {
// The built-in Windows-1250 table used when Qt has no converter for the code page. Exposed so
// that tests can hold it against the system converter.
QString pcTextToUnicodeByTable(std::string_view pcText);
std::string unicodeToPcTextByTable(const QString& text);
} // namespace detail

} // namespace kestrel
