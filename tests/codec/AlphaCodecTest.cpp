#include "codec/AlphaCodec.h"

#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HexBytes.h"

using namespace kestrel;

namespace {

uint8_t gsmOf(std::string_view pc)
{
    std::size_t pos = 0;
    return AnsiToGsm(pc, pos);
}

std::string gsmCodes(std::string_view pc)
{
    std::string out;
    for (std::size_t pos = 0; pos < pc.size();)
        out.push_back(static_cast<char>(AnsiToGsm(pc, pos)));
    return out;
}

std::string hexOf(const std::vector<uint8_t>& bytes)
{
    std::string out;
    static const char* digits = "0123456789ABCDEF";
    for (const uint8_t b : bytes) {
        if (!out.empty())
            out += ' ';
        out += digits[b >> 4];
        out += digits[b & 0x0F];
    }
    return out;
}

std::string encoded(std::string_view name, std::size_t alphaLength, bool unicode)
{
    std::vector<uint8_t> alpha(alphaLength);
    EncodeAlphaId(name, alpha, unicode);
    return hexOf(alpha);
}

} // namespace

TEST(AlphaCodec, TableHasTheDefaultAlphabetWithItsTwoChanges)
{
    struct Case
    {
        uint8_t code;
        char16_t unit;
    };
    const Case cases[] = {
        {0x00, u'@'},   {0x01, 0x00A3}, {0x02, u'$'},   {0x09, 0x00E7}, {0x0A, u'\n'},  {0x0B, 0x00D8}, {0x0D, u'\r'},
        {0x10, 0x0394}, {0x11, u'_'},   {0x12, 0x03A6}, {0x13, 0x0393}, {0x14, 0x039B}, {0x15, 0x03A9}, {0x16, 0x03A0},
        {0x17, 0x03A8}, {0x18, 0x03A3}, {0x19, 0x0398}, {0x1A, 0x039E}, {0x1B, 0x00A0}, {0x1E, 0x00DF}, {0x1F, 0x00C9},
        {0x24, 0x00A4}, {0x40, 0x00A1}, {0x5B, 0x00C4}, {0x5F, 0x00A7}, {0x60, 0x00BF}, {0x7B, 0x00E4}, {0x7F, 0x00E0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GsmAlphabetTable[c.code], c.unit) << int(c.code);
    for (char16_t ascii = u'A'; ascii <= u'Z'; ++ascii) {
        EXPECT_EQ(GsmAlphabetTable[ascii], ascii);
        EXPECT_EQ(GsmAlphabetTable[ascii + 0x20], ascii + 0x20);
    }
    // A search from code 0 upward is only unambiguous when no unit appears twice.
    const std::set<char16_t> distinct(GsmAlphabetTable.begin(), GsmAlphabetTable.end());
    EXPECT_EQ(distinct.size(), GsmAlphabetTable.size());
}

TEST(AlphaCodec, GsmToAnsi)
{
    const std::pair<uint8_t, std::string> cases[] = {
        {0x00, "@"}, {0x41, "A"}, {0x7A, "z"}, {0x0A, "\n"}, {0x11, "_"}, {0x20, " "}, {0x1B, "\u00A0"}, {0x09, "ç"},
        {0x1E, "ß"}, {0x1F, "É"}, {0x24, "¤"}, {0x5B, "Ä"},  {0x05, "é"}, {0x01, "£"}, {0x0B, "Ø"},      {0x0E, "Å"},
        {0x10, "Δ"}, {0x1A, "Ξ"}, {0x40, "¡"}, {0x5D, "Ñ"},  {0x7F, "à"}, {0x80, "?"}, {0xA5, "?"},      {0xFE, "?"},
    };
    for (const auto& [gsm, pc] : cases)
        EXPECT_EQ(GsmToAnsi(gsm), pc) << int(gsm);
}

TEST(AlphaCodec, AnsiToGsmFoldsDiacriticsToBaseLetters)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Černý", "Cerny"},
        {"ÁÉÍÓÚŮÝ", "AEIOUUY"},
        {"ŠŽŘĚĎŤŇ", "SZREDTN"},
        {"äöüÄÖÜ", "aouAOU"}, // umlauts fold too, though the alphabet has them
        {"çÇé", "cCe"},
        {"Jan Novák", "Jan Novak"},
        {"ß¤§\u00A0", "\x1E\x24\x5F\x1B"}, // keep their codes
        {"ØΩΔ£", "\x0B\x15\x10\x01"},      // no decomposition: their own codes
        {"@_\n", std::string("\x00\x11\x0A", 3)},
        {"ŁĐ€`[Ж😀", "???????"},          // no code in the alphabet
        {std::string("a\xC3", 2), "a?"}, // a sequence cut short
        {std::string(1, '\0'), "?"},
    };
    for (const auto& [pc, gsm] : cases)
        EXPECT_EQ(gsmCodes(pc), gsm) << pc;
}

TEST(AlphaCodec, AnsiToGsmMovesOneCharacterAndStopsAtTheEnd)
{
    const std::string_view text = "aČb";
    std::size_t pos = 1;
    EXPECT_EQ(AnsiToGsm(text, pos), 'C');
    EXPECT_EQ(pos, 3u);
    EXPECT_EQ(AnsiToGsm(text, pos), 'b');
    EXPECT_EQ(AnsiToGsm(text, pos), 0x3F);
    EXPECT_EQ(pos, 4u);
    pos = 7;
    EXPECT_EQ(AnsiToGsm(text, pos), 0x3F);
    EXPECT_EQ(pos, 7u);
}

TEST(AlphaCodec, EveryCodeComesBackExceptTheAccentedLetters)
{
    const std::map<uint8_t, uint8_t> folded = {{0x04, 'e'}, {0x05, 'e'}, {0x06, 'u'}, {0x07, 'i'}, {0x08, 'o'},
                                               {0x09, 'c'}, {0x0E, 'A'}, {0x0F, 'a'}, {0x1F, 'E'}, {0x5B, 'A'},
                                               {0x5C, 'O'}, {0x5D, 'N'}, {0x5E, 'U'}, {0x7B, 'a'}, {0x7C, 'o'},
                                               {0x7D, 'n'}, {0x7E, 'u'}, {0x7F, 'a'}};
    for (uint8_t code = 0; code < 0x80; ++code) {
        const auto fold = folded.find(code);
        EXPECT_EQ(gsmOf(GsmToAnsi(code)), fold == folded.end() ? code : fold->second) << int(code);
    }
}

// GSM 11.11 annex B / ETSI TS 102 221 annex A: the three UCS2 forms, read back exactly.
TEST(AlphaCodec, DecodesTheUcs2Forms)
{
    const std::pair<const char*, std::string> cases[] = {
        {"80 00 53 09 95 09 A6 FF FF", "S\u0995\u09A6"},
        {"81 03 13 53 95 A6 FF FF", "S\u0995\u09A6"},
        {"81 03 1C 9C B5 C6", "\u0E1C\u0E35\u0E46"},
        {"82 03 67 00 DC DC 31 FF", "\u675C\u675C1"},
        {"82 05 05 30 2D 82 D3 2D 31", "-\u0532\u0583-1"},
        // Bounds: a count beyond the record, an odd byte left over, forms too short to hold a header.
        {"81 09 13 53 95", "S\u0995"},
        {"82 FF 05 30 82", "\u0532"},
        {"80 00 41 00", "A"},
        {"81 01", ""},
        {"82 01 05", ""},
        {"80", ""},
        // Units that are no characters read as "?"; a default-alphabet code inside 0x81 is one.
        {"80 00 00 D8 00 00 42", "??B"},
        {"81 02 00 1B 80", "\u00A0?"},
        // U+FFFF (the 0x80 form's filler) from a base of 0xFFFF, and 0xFFFF + 0x7F beyond the BMP.
        {"82 02 FF FF 80 FF", "??"},
    };
    for (const auto& [hex, name] : cases)
        EXPECT_EQ(DecodeAlphaId(test::hexBytes(hex)), name) << hex;
}

TEST(AlphaCodec, EncodesTheShortestFormThatHoldsTheName)
{
    struct Case
    {
        std::string name;
        std::size_t alpha;
        bool unicode;
        const char* bytes;
        AlphaForm form;
        std::size_t fits;
    };
    const Case cases[] = {
        // Off: the fold, one byte a character, cut to the alpha length.
        {"Jiří Novák", 12, false, "4A 69 72 69 20 4E 6F 76 61 6B FF FF", AlphaForm::Default, 10},
        {"Ωmega", 4, false, "15 6D 65 67", AlphaForm::Default, 4},
        // On: the default alphabet where it holds the name exactly (é is its own code there).
        {"José", 6, true, "4A 6F 73 05 FF FF", AlphaForm::Default, 4},
        // On: á í ř span 0xE1-0x159, one half-page from 0xE1 but none from a multiple of 0x80: 0x82.
        {"Jiří Novák", 16, true, "82 0A 00 E1 4A 69 F8 8C 20 4E 6F 76 80 6B FF FF", AlphaForm::Ucs2Base, 10},
        {"Jiří Novák", 13, true, "82 09 00 E1 4A 69 F8 8C 20 4E 6F 76 80", AlphaForm::Ucs2Base, 9},
        {"Řeřicha", 10, true, "81 07 02 D8 65 D9 69 63 68 61", AlphaForm::Ucs2HalfPage, 7},
        // 0x81 wherever a half-page from k << 7 covers them: Greek lower case.
        {"αβγ x", 10, true, "81 05 07 B1 B2 B3 20 78 FF FF", AlphaForm::Ucs2HalfPage, 5},
        {"S\u0995\u09A6", 8, true, "81 03 13 53 95 A6 FF FF", AlphaForm::Ucs2HalfPage, 3},
        // No half-page covers Cyrillic and Thai: 0x80, cut to what fits.
        {"Ж\u0E1C", 6, true, "80 04 16 0E 1C FF", AlphaForm::Ucs2, 2},
        {"ЖЖЖ\u0E1C", 6, true, "81 03 08 96 96 96", AlphaForm::Ucs2HalfPage, 3},
        // A single character: 0x80 is the shortest.
        {"Ж", 4, true, "80 04 16 FF", AlphaForm::Ucs2, 1},
        // Nothing fits a one-byte alpha field but the default alphabet.
        {"Ж", 1, true, "FF", AlphaForm::Default, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(encoded(c.name, c.alpha, c.unicode), c.bytes);
        const AlphaFit fit = FitAlphaId(c.name, c.alpha, c.unicode);
        EXPECT_EQ(fit.form, c.form);
        EXPECT_EQ(fit.characters, c.fits);
        const std::string stored = StoredAlphaText(c.name, c.alpha, c.unicode);
        if (c.unicode && fit.characters == fit.total) {
            EXPECT_EQ(stored, c.name);
        }
    }
    // U+FFFF would read back as the 0x80 form's filler, so it is written as "?".
    EXPECT_EQ(encoded("\uFFFF", 3, true), "3F FF FF");
}
