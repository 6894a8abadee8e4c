#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace kestrel {

// "PC text" is what the program keeps in its entries (names, message texts) and structures: UTF-8,
// so that a name a card holds in UCS2 is kept as it is. The file formats and private clipboard
// formats other copies of the program read keep Windows-1250 bytes; they convert at their edge
// with toWindows1250 / fromWindows1250.

// UTF-8 to UTF-16; an invalid sequence becomes U+FFFD. Embedded NUL bytes are kept.
QString pcTextToUnicode(std::string_view pcText);

// UTF-16 to UTF-8 (a lone surrogate becomes U+FFFD).
std::string unicodeToPcText(const QString& text);

// Windows-1250: every byte becomes one UTF-16 unit (the five codes the code page leaves undefined,
// 0x81 0x83 0x88 0x90 0x98, come through as the C1 controls of the same value). NULs are kept.
QString windows1250ToUnicode(std::string_view bytes);

// One byte per character. A character the code page lacks (and a lone surrogate) becomes "?",
// the code page's default character; a character outside the BMP becomes a single "?". lossy, when
// given, is set to whether any character was replaced so.
std::string unicodeToWindows1250(const QString& text, bool* lossy = nullptr);

// PC text to and from the Windows-1250 bytes of a file field.
std::string toWindows1250(std::string_view pcText, bool* lossy = nullptr);
std::string fromWindows1250(std::string_view bytes);
// What a Windows-1250 field gives back once pcText was stored in it.
std::string throughWindows1250(std::string_view pcText);

namespace detail {
// The built-in Windows-1250 table used when Qt has no converter for the code page. Exposed so
// that tests can hold it against the system converter.
QString windows1250ToUnicodeByTable(std::string_view bytes);
std::string unicodeToWindows1250ByTable(const QString& text);
} // namespace detail

} // namespace kestrel
