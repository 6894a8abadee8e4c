#include "codec/AlphaCodec.h"

#include <algorithm>
#include <vector>

#include <QString>

namespace kestrel {

// clang-format off
const std::array<char16_t, 128> GsmAlphabetTable = {
    // 0x00
    u'@', 0x00A3, u'$', 0x00A5, 0x00E8, 0x00E9, 0x00F9, 0x00EC,
    0x00F2, 0x00E7, u'\n', 0x00D8, 0x00F8, u'\r', 0x00C5, 0x00E5,
    // 0x10: Greek capitals with the low line at 0x11; 0x1B is the escape code
    0x0394, u'_', 0x03A6, 0x0393, 0x039B, 0x03A9, 0x03A0, 0x03A8,
    0x03A3, 0x0398, 0x039E, 0x00A0, 0x00C6, 0x00E6, 0x00DF, 0x00C9,
    // 0x20
    u' ', u'!', u'"', u'#', 0x00A4, u'%', u'&', u'\'',
    u'(', u')', u'*', u'+', u',', u'-', u'.', u'/',
    // 0x30
    u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7',
    u'8', u'9', u':', u';', u'<', u'=', u'>', u'?',
    // 0x40
    0x00A1, u'A', u'B', u'C', u'D', u'E', u'F', u'G',
    u'H', u'I', u'J', u'K', u'L', u'M', u'N', u'O',
    // 0x50
    u'P', u'Q', u'R', u'S', u'T', u'U', u'V', u'W',
    u'X', u'Y', u'Z', 0x00C4, 0x00D6, 0x00D1, 0x00DC, 0x00A7,
    // 0x60
    0x00BF, u'a', u'b', u'c', u'd', u'e', u'f', u'g',
    u'h', u'i', u'j', u'k', u'l', u'm', u'n', u'o',
    // 0x70
    u'p', u'q', u'r', u's', u't', u'u', u'v', u'w',
    u'x', u'y', u'z', 0x00E4, 0x00F6, 0x00F1, 0x00FC, 0x00E0,
};
// clang-format on

namespace {

constexpr uint8_t kUnknownGsm = 0x3F;
constexpr uint8_t kUnused = 0xFF;
constexpr char32_t kQuestion = U'?';
constexpr char32_t kReplacement = 0xFFFD;
constexpr std::size_t kHalfPage = 128;
// Below this code point the fold of every character is worked out once, on first use.
constexpr char32_t kFoldTableEnd = 0x3000;
constexpr uint8_t kNotInAlphabet = 0xFF;

// The next character of a UTF-8 text; a byte that starts no valid sequence gives U+FFFD and is
// passed over alone.
char32_t nextCodePoint(std::string_view text, std::size_t& pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(pos);
    std::size_t length = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + length > text.size()) {
        ++pos;
        return kReplacement;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(pos + i) & 0xC0) != 0x80) {
            ++pos;
            return kReplacement;
        }
        cp = cp << 6 | (byte(pos + i) & 0x3F);
    }
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += length;
    return cp;
}

std::u32string codePoints(std::string_view text)
{
    std::u32string out;
    for (std::size_t pos = 0; pos < text.size();)
        out.push_back(nextCodePoint(text, pos));
    return out;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | cp >> 6));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | cp >> 12));
        out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | cp >> 18));
        out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

uint8_t exactCode(char32_t cp)
{
    if (cp > 0xFFFF)
        return kNotInAlphabet;
    const auto* it = std::find(GsmAlphabetTable.begin(), GsmAlphabetTable.end(), static_cast<char16_t>(cp));
    return it == GsmAlphabetTable.end() ? kNotInAlphabet : static_cast<uint8_t>(it - GsmAlphabetTable.begin());
}

// The default-alphabet code of the first unit of the character's canonical decomposition.
uint8_t foldedCode(char32_t cp)
{
    if (cp > 0xFFFF || cp == kReplacement)
        return kUnknownGsm;
    const QString decomposed = QString(QChar(static_cast<char16_t>(cp))).normalized(QString::NormalizationForm_D);
    if (decomposed.isEmpty())
        return kUnknownGsm;
    const uint8_t code = exactCode(decomposed.at(0).unicode());
    return code == kNotInAlphabet ? kUnknownGsm : code;
}

struct AlphaTables
{
    std::array<uint8_t, kFoldTableEnd> folded{};
    std::array<uint8_t, kFoldTableEnd> exact{};

    AlphaTables()
    {
        for (char32_t cp = 0; cp < kFoldTableEnd; ++cp) {
            folded[cp] = foldedCode(cp);
            exact[cp] = exactCode(cp);
        }
    }
};

const AlphaTables& alphaTables()
{
    static const AlphaTables tables;
    return tables;
}

uint8_t foldToGsm(char32_t cp)
{
    return cp < kFoldTableEnd ? alphaTables().folded[cp] : foldedCode(cp);
}

uint8_t exactGsm(char32_t cp)
{
    return cp < kFoldTableEnd ? alphaTables().exact[cp] : exactCode(cp);
}

// A character UCS2 can hold: a code point of the BMP that is a character. U+FFFF is none, and in
// the 0x80 form it is the filler that ends the name, so it could not read back.
char32_t ucs2Character(char32_t cp)
{
    return cp >= 0xFFFF || cp == 0 || (cp >= 0xD800 && cp <= 0xDFFF) ? kQuestion : cp;
}

// The bytes the first count characters take in a form; 0 when the form cannot hold them. base is
// the half-page base of the 0x81 and 0x82 forms.
std::size_t formBytes(AlphaForm form, std::u32string_view chars, char32_t& base)
{
    char32_t low = 0xFFFF;
    char32_t high = 0;
    bool outside = false;
    for (const char32_t c : chars) {
        if (exactGsm(c) != kNotInAlphabet)
            continue;
        outside = true;
        low = std::min(low, c);
        high = std::max(high, c);
    }
    switch (form) {
    case AlphaForm::Default:
        return outside ? 0 : chars.size();
    case AlphaForm::Ucs2:
        return 1 + 2 * chars.size();
    case AlphaForm::Ucs2HalfPage:
        base = outside ? low & ~char32_t{0x7F} : 0;
        return base < 0x8000 && high < base + kHalfPage && chars.size() <= 0xFF ? 3 + chars.size() : 0;
    case AlphaForm::Ucs2Base:
        base = outside ? low : 0;
        return high < base + kHalfPage && chars.size() <= 0xFF ? 4 + chars.size() : 0;
    }
    return 0;
}

struct Placement
{
    AlphaFit fit;
    char32_t base = 0;
    std::u32string chars; // as the form writes them (characters UCS2 lacks as "?")
};

Placement place(std::string_view pcText, std::size_t alphaLength, bool unicode)
{
    Placement p;
    p.chars = codePoints(pcText);
    p.fit.total = p.chars.size();
    if (!unicode) {
        p.fit.characters = std::min(p.chars.size(), alphaLength);
        return p;
    }
    for (char32_t& c : p.chars)
        c = ucs2Character(c);
    // The longest start of the name some form holds, in the form that takes the fewest bytes.
    for (std::size_t count = p.chars.size(); count > 0; --count) {
        const std::u32string_view start(p.chars.data(), count);
        std::size_t best = 0;
        for (const AlphaForm form :
             {AlphaForm::Default, AlphaForm::Ucs2HalfPage, AlphaForm::Ucs2Base, AlphaForm::Ucs2}) {
            char32_t base = 0;
            const std::size_t bytes = formBytes(form, start, base);
            if (bytes != 0 && bytes <= alphaLength && (best == 0 || bytes < best)) {
                best = bytes;
                p.fit.form = form;
                p.base = base;
            }
        }
        if (best != 0) {
            p.fit.characters = count;
            return p;
        }
    }
    return p;
}

} // namespace

std::string GsmToAnsi(uint8_t gsm)
{
    std::string out;
    appendUtf8(out, gsm >= 0x80 ? kQuestion : GsmAlphabetTable[gsm]);
    return out;
}

uint8_t AnsiToGsm(std::string_view pcText, std::size_t& pos)
{
    if (pos >= pcText.size())
        return kUnknownGsm;
    return foldToGsm(nextCodePoint(pcText, pos));
}

std::size_t NameLength(std::string_view pcText)
{
    std::size_t count = 0;
    for (std::size_t pos = 0; pos < pcText.size(); ++count)
        nextCodePoint(pcText, pos);
    return count;
}

AlphaFit FitAlphaId(std::string_view pcText, std::size_t alphaLength, bool unicode)
{
    return place(pcText, alphaLength, unicode).fit;
}

void EncodeAlphaId(std::string_view pcText, std::span<uint8_t> alpha, bool unicode)
{
    std::fill(alpha.begin(), alpha.end(), kUnused);
    const Placement p = place(pcText, alpha.size(), unicode);
    const std::u32string_view chars(p.chars.data(), p.fit.characters);
    std::size_t i = 0;
    switch (p.fit.form) {
    case AlphaForm::Default:
        for (const char32_t c : chars)
            alpha[i++] = unicode ? exactGsm(c) : foldToGsm(c);
        return;
    case AlphaForm::Ucs2:
        alpha[i++] = static_cast<uint8_t>(AlphaForm::Ucs2);
        for (const char32_t c : chars) {
            alpha[i++] = static_cast<uint8_t>(c >> 8);
            alpha[i++] = static_cast<uint8_t>(c & 0xFF);
        }
        return;
    case AlphaForm::Ucs2HalfPage:
    case AlphaForm::Ucs2Base:
        alpha[i++] = static_cast<uint8_t>(p.fit.form);
        alpha[i++] = static_cast<uint8_t>(chars.size());
        if (p.fit.form == AlphaForm::Ucs2HalfPage) {
            alpha[i++] = static_cast<uint8_t>(p.base >> 7);
        } else {
            alpha[i++] = static_cast<uint8_t>(p.base >> 8);
            alpha[i++] = static_cast<uint8_t>(p.base & 0xFF);
        }
        for (const char32_t c : chars) {
            const uint8_t code = exactGsm(c);
            alpha[i++] = code != kNotInAlphabet ? code : static_cast<uint8_t>(0x80 | (c - p.base));
        }
        return;
    }
}

std::string DecodeAlphaId(std::span<const uint8_t> alpha)
{
    std::string name;
    if (alpha.empty())
        return name;
    const auto ucs2 = [&name](char32_t unit) { appendUtf8(name, ucs2Character(unit)); };
    const auto byteCharacters = [&](std::size_t first, std::size_t count, char32_t base) {
        count = std::min(count, alpha.size() - std::min(first, alpha.size()));
        for (std::size_t i = first; i < first + count; ++i) {
            const uint8_t b = alpha[i];
            if (b < 0x80)
                appendUtf8(name, GsmAlphabetTable[b]);
            else
                ucs2(base + (b & 0x7F));
        }
    };
    switch (alpha[0]) {
    case 0x80:
        for (std::size_t i = 1; i + 1 < alpha.size(); i += 2) {
            const char32_t unit = char32_t{alpha[i]} << 8 | alpha[i + 1];
            if (unit == 0xFFFF)
                break;
            ucs2(unit);
        }
        return name;
    case 0x81:
        if (alpha.size() >= 3)
            byteCharacters(3, alpha[1], char32_t{alpha[2]} << 7);
        return name;
    case 0x82:
        if (alpha.size() >= 4)
            byteCharacters(4, alpha[1], char32_t{alpha[2]} << 8 | alpha[3]);
        return name;
    default:
        for (std::size_t i = 0; i < alpha.size() && alpha[i] != kUnused; ++i)
            appendUtf8(name, alpha[i] < 0x80 ? GsmAlphabetTable[alpha[i]] : kQuestion);
        return name;
    }
}

std::string StoredAlphaText(std::string_view pcText, std::size_t alphaLength, bool unicode)
{
    std::vector<uint8_t> alpha(alphaLength);
    EncodeAlphaId(pcText, alpha, unicode);
    return DecodeAlphaId(alpha);
}

} // namespace kestrel
