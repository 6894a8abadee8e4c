#include "codec/AlphaCodec.h"

#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "codec/PcText.h"

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
    struct Case
    {
        uint8_t gsm;
        std::string pc;
    };
    const Case cases[] = {
        {0x00, "@"},
        {0x41, "A"},
        {0x7A, "z"},
        {0x0A, "\n"},
        {0x11, "_"},
        {0x20, " "},
        {0x1B, "\xA0"},
        {0x09, "\xE7"},
        {0x1E, "\xDF"},
        {0x1F, "\xC9"},
        {0x24, "\xA4"},
        {0x5B, "\xC4"},
        {0x5C, "\xD6"},
        {0x5E, "\xDC"},
        {0x5F, "\xA7"},
        {0x7C, "\xF6"},
        {0x7E, "\xFC"},
        {0x05, "\xE9"},
        // Units Windows-1250 lacks give its default character.
        {0x01, "?"},
        {0x0B, "?"},
        {0x0E, "?"},
        {0x10, "?"},
        {0x1A, "?"},
        {0x40, "?"},
        {0x5D, "?"},
        {0x7F, "?"},
        // Codes outside the default alphabet.
        {0x80, "?"},
        {0xA5, "?"},
        {0xFE, "?"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GsmToAnsi(c.gsm), c.pc) << int(c.gsm);
}

TEST(AlphaCodec, AnsiToGsmFoldsDiacriticsToBaseLetters)
{
    struct Case
    {
        std::string pc;
        std::string gsm;
    };
    const Case cases[] = {
        {"\xC8"
         "ern\xFD",
         "Cerny"},                                   // Černý
        {"\xC1\xC9\xCD\xD3\xDA\xD9\xDD", "AEIOUUY"}, // ÁÉÍÓÚŮÝ
        {"\x8A\x8E\xD8\xCC\xCF\x8D\xD2", "SZREDTN"}, // ŠŽŘĚĎŤŇ
        {"\xE4\xF6\xFC\xC4\xD6\xDC", "aouAOU"},      // umlauts fold too, though the alphabet has them
        {"\xE7\xC7\xE9", "cCe"},                     // cedilla, acute
        {"Jan Nov\xE1k", "Jan Novak"},
        {std::string("\xDF\xA4\xA7\xA0", 4), "\x1E\x24\x5F\x1B"}, // ß ¤ § no-break space keep their codes
        {"@_\n", std::string("\x00\x11\x0A", 3)},
        // No code in the alphabet: Ł, Đ, €, grave accent, brackets.
        {"\xA3\xD0\x80`[", "?????"},
        {std::string(1, '\0'), "?"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gsmCodes(c.pc), c.gsm) << c.pc;
}

TEST(AlphaCodec, AnsiToGsmMovesOneByteAndStopsAtTheEnd)
{
    const std::string_view text = "ab";
    std::size_t pos = 1;
    EXPECT_EQ(AnsiToGsm(text, pos), 0x62);
    EXPECT_EQ(pos, 2u);
    EXPECT_EQ(AnsiToGsm(text, pos), 0x3F);
    EXPECT_EQ(pos, 2u);
    pos = 7;
    EXPECT_EQ(AnsiToGsm(text, pos), 0x3F);
    EXPECT_EQ(pos, 7u);
}

TEST(AlphaCodec, OWithStrokeCannotComeFromWindows1250)
{
    // Ø has its own code 0x0B, but Windows-1250 has no Ø (0xD8 is Ř): no PC byte reaches it,
    // and a name typed with Ø arrives as "?" and is stored as 0x3F.
    for (int b = 0; b < 256; ++b) {
        const std::string pc(1, static_cast<char>(b));
        EXPECT_NE(pcTextToUnicode(pc), QString(QChar(0x00D8))) << b;
        EXPECT_NE(gsmOf(pc), 0x0B) << b;
    }
    EXPECT_EQ(gsmOf(unicodeToPcText(QString(QChar(0x00D8)))), 0x3F);
    EXPECT_EQ(gsmOf("\xD8"), 'R');
}

TEST(AlphaCodec, EveryCodeThatReachesPcTextComesBack)
{
    // A code read into PC text is written back as itself, except the accented letters, which come
    // back as their base letters.
    const std::map<uint8_t, uint8_t> folded = {{0x05, 'e'}, {0x09, 'c'}, {0x1F, 'E'}, {0x5B, 'A'}, {0x5C, 'O'},
                                               {0x5E, 'U'}, {0x7B, 'a'}, {0x7C, 'o'}, {0x7E, 'u'}};
    int survivors = 0;
    for (uint8_t code = 0; code < 0x80; ++code) {
        const std::string pc = GsmToAnsi(code);
        ASSERT_EQ(pc.size(), 1u);
        if (pc == "?" && code != 0x3F)
            continue;
        const auto fold = folded.find(code);
        EXPECT_EQ(gsmOf(pc), fold == folded.end() ? code : fold->second) << int(code);
        ++survivors;
    }
    // Lost: £ ¥ è ù ì ò Ø ø Å å, the ten Greek capitals, Æ æ ¡ Ñ ñ ¿ à.
    EXPECT_EQ(survivors, 128 - 27);
}
