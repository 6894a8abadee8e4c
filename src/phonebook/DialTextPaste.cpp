#include "phonebook/DialTextPaste.h"

#include "base/StringTable.h"
#include "codec/AlphaCodec.h"
#include "codec/DialDigits.h"
#include "codec/DialEntry.h"

namespace kestrel {

DialTextReader::DialTextReader(std::string_view text, int maxNameLength)
    : m_text(text.substr(0, text.find('\0'))), m_maxName(maxNameLength)
{}

void DialTextReader::skip(std::string_view chars)
{
    while (m_pos < m_text.size() && chars.find(m_text[m_pos]) != std::string_view::npos)
        ++m_pos;
}

DialTextLine DialTextReader::next()
{
    DialTextLine line;
    auto refuse = [&](int id) {
        // A refused text is not read further.
        m_pos = m_text.size();
        DialTextLine refused;
        refused.messageId = id;
        return refused;
    };

    skip("\t ");
    const std::size_t nameEnd = m_text.find_first_of("\t\r\n", m_pos);
    if (nameEnd == std::string_view::npos || m_text[nameEnd] != '\t')
        return refuse(strId(sid::SomeOfTheEntriesDo_5501));
    const std::string_view name = m_text.substr(m_pos, nameEnd - m_pos);
    if (NameLength(name) > static_cast<std::size_t>(m_maxName))
        return refuse(strId(sid::EnteredNameHasTooMany_5500));
    if (name.empty())
        return refuse(strId(sid::SomeOfTheEntriesDo_5502));
    // The name as pasted: the card write decides what its alphabet keeps.
    line.name.assign(name);
    m_pos = nameEnd;

    skip("\t ");
    if (at(m_pos, '\''))
        ++m_pos;
    // The number runs to the end of its field; the separators people write into numbers ("+420 603
    // 123-456") go.
    std::size_t numberEnd = m_text.find_first_of("\t\r\n", m_pos);
    if (numberEnd == std::string_view::npos)
        numberEnd = m_text.size();
    const std::string number = StripNumberSeparators(m_text.substr(m_pos, numberEnd - m_pos));
    if (number.size() > static_cast<std::size_t>(kMaxDialDigits))
        return refuse(strId(sid::EnteredPhoneBookContainsToo_5503));
    if (number.empty())
        return refuse(strId(sid::SomeOfTheEntriesDo_5501));
    if (!IsValidDialNumber(number))
        return refuse(strId(sid::NumberEnteredContainsTooMany_5504));
    line.number.assign(number);
    m_pos = numberEnd;

    skip("\t\r\n ");
    return line;
}

} // namespace kestrel
