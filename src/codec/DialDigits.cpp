#include "codec/DialDigits.h"

#include <algorithm>
#include <array>

#include "codec/PcText.h"

namespace kestrel {

namespace {

constexpr char kNibbleChars[16] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '*', '#', 'p', 'D', 'E', 'F'};

struct FoldPair
{
    uint8_t from;
    uint8_t to;
};

// Windows-1250 code -> replacement, searched in this order. The two 0x22 -> 0x22 rows and the
// 0x91/0x92 -> 0x92 rows are kept as the table always had them: they make 0x91 and 0x92 end up
// as '.' because their replacement is still not ASCII.
constexpr std::array<FoldPair, 66> kFoldTable = {{
    {0xC1, 'A'},  {0xE1, 'a'},  {0xC2, 'A'}, {0xE2, 'a'}, {0xC3, 'A'},  {0xE3, 'a'},  {0xC4, 'A'},  {0xE4, 'a'},
    {0xCC, 'E'},  {0xEC, 'e'},  {0xCB, 'E'}, {0xEB, 'e'}, {0x8A, 'S'},  {0x9A, 's'},  {0xC8, 'C'},  {0xE8, 'c'},
    {0xC6, 'C'},  {0xE6, 'c'},  {0xD8, 'R'}, {0xF8, 'r'}, {0xC0, 'R'},  {0xE0, 'r'},  {0x8E, 'Z'},  {0x9E, 'z'},
    {0xDD, 'Y'},  {0xFD, 'y'},  {0xCD, 'I'}, {0xED, 'i'}, {0xCE, 'I'},  {0xEE, 'i'},  {0xC9, 'E'},  {0xE9, 'e'},
    {0xD9, 'U'},  {0xF9, 'u'},  {0xDA, 'U'}, {0xFA, 'u'}, {0xDB, 'U'},  {0xFB, 'u'},  {0xDC, 'U'},  {0xFC, 'u'},
    {0xD2, 'N'},  {0xF2, 'n'},  {0xD1, 'N'}, {0xF1, 'n'}, {0x8D, 'T'},  {0x9D, 't'},  {0xD3, 'O'},  {0xF3, 'o'},
    {0xD4, 'O'},  {0xF4, 'o'},  {0xD5, 'O'}, {0xF5, 'o'}, {0xD6, 'O'},  {0xF6, 'o'},  {0xCF, 'D'},  {0xEF, 'd'},
    {0xBC, 'L'},  {0xBE, 'l'},  {0xC5, 'L'}, {0xE5, 'l'}, {0x91, 0x92}, {0x92, 0x92}, {0x22, 0x22}, {0x22, 0x22},
    {0x84, 0x22}, {0x82, 0x2C},
}};

} // namespace

char NibbleToDigit(uint8_t nibble)
{
    return kNibbleChars[nibble & 0x0F];
}

uint8_t DigitToNibble(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<uint8_t>(c - '0');
    switch (c) {
    case '*':
        return 0xA;
    case '#':
        return 0xB;
    case 'p':
    case 'P':
        return 0xC;
    default:
        return static_cast<uint8_t>((static_cast<unsigned char>(c) - 7) & 0x0F);
    }
}

bool IsDialDigit(char c)
{
    return (c >= '0' && c <= '9') || c == '*' || c == '#' || c == 'P' || c == 'p' || c == 'D' || c == 'E' || c == 'F';
}

std::string StripNumberSeparators(std::string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    for (const char c : text) {
        if (std::string_view(" -.()[]").find(c) == std::string_view::npos)
            kept.push_back(c);
    }
    return kept;
}

bool IsValidDialNumber(std::string_view text)
{
    if (text.size() > 60)
        return false;
    bool plusSeen = false;
    for (char c : text) {
        if (c == '+') {
            if (plusSeen)
                return false;
            plusSeen = true;
        } else if (!IsDialDigit(c)) {
            return false;
        }
    }
    return true;
}

std::string SplitPlus(std::string_view text, uint8_t& ton, std::size_t capacity)
{
    std::string rest(text);
    const auto plus = rest.find('+');
    if (plus != std::string::npos) {
        rest.erase(plus, 1);
        ton = 1;
    } else {
        ton = 0;
    }
    const std::size_t keep = std::min<std::size_t>(capacity > 0 ? capacity - 1 : 0, 60);
    if (rest.size() > keep)
        rest.resize(keep);
    return rest;
}

std::string JoinPlus(std::string_view digits, uint8_t ton, std::size_t capacity)
{
    std::string out;
    if (ton == 1)
        out.push_back('+');
    out.append(digits);
    const std::size_t keep = capacity > 0 ? capacity - 1 : 0;
    if (out.size() > keep)
        out.resize(keep);
    return out;
}

char FoldToAscii(char c)
{
    uint8_t value = static_cast<uint8_t>(c);
    if (value < 0x80)
        return c;
    for (const FoldPair& pair : kFoldTable) {
        if (pair.from == value) {
            value = pair.to;
            if (value < 0x80)
                return static_cast<char>(value);
        }
    }
    return '.';
}

std::string FoldToAsciiText(std::string_view pcText)
{
    const QString text = pcTextToUnicode(pcText);
    std::string folded;
    folded.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.unicode() < 0x80) {
            folded.push_back(static_cast<char>(c.unicode()));
            continue;
        }
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        bool lossy = false;
        const std::string code = unicodeToWindows1250(QString(c), &lossy);
        folded.push_back(lossy || code.size() != 1 || c.isSurrogate() ? '.' : FoldToAscii(code[0]));
    }
    return folded;
}

} // namespace kestrel
