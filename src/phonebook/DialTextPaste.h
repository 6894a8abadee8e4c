#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrel {

// One entry read from pasted text.
struct DialTextLine
{
    int messageId = 0;  // 0: read; else the string-table number of why the text is refused
    std::string name;   // PC text as pasted
    std::string number; // as written, a "+" included
};

// Reads phone book entries from clipboard text (PC text, UTF-8), one entry per line: optional TABs and
// spaces, the name up to a TAB, TABs and spaces, an optional apostrophe, the number up to a TAB,
// space, CR, LF or the end. A NUL ends the text (the clipboard's terminator).
class DialTextReader
{
public:
    DialTextReader(std::string_view text, int maxNameLength);

    // No further line.
    bool atEnd() const { return m_pos >= m_text.size(); }
    // The next line: sid::SomeOfTheEntriesDo_5501 (no TAB after the name, or no number),
    // sid::EnteredNameHasTooMany_5500 (name of more characters than the maximum), sid::SomeOfTheEntriesDo_5502 (empty
    // name), sid::EnteredPhoneBookContainsToo_5503 (number longer than 60 characters),
    // sid::NumberEnteredContainsTooMany_5504 (number that is no dialling number).
    DialTextLine next();

private:
    bool at(std::size_t i, char c) const { return i < m_text.size() && m_text[i] == c; }
    void skip(std::string_view chars);

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_maxName;
};

} // namespace kestrel
