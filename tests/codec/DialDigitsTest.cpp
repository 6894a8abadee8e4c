#include "codec/DialDigits.h"

#include <string>

#include <tuple>

#include <gtest/gtest.h>

using namespace kestrel;

TEST(DialDigits, NibbleTableRoundTrips)
{
    const std::string written = "0123456789*#pDEF";
    for (uint8_t n = 0; n < 16; ++n) {
        EXPECT_EQ(NibbleToDigit(n), written[n]) << int(n);
        EXPECT_EQ(DigitToNibble(written[n]), n) << written[n];
    }
    EXPECT_EQ(DigitToNibble('P'), 0xC);
}

TEST(DialDigits, IsDialDigitAcceptsOnlyTheTable)
{
    for (int c = 0; c < 256; ++c) {
        const char ch = static_cast<char>(c);
        const bool expected = std::string("0123456789*#PpDEF").find(ch) != std::string::npos && c != 0;
        EXPECT_EQ(IsDialDigit(ch), expected) << c;
    }
}

TEST(DialDigits, ValidNumberTexts)
{
    struct Case
    {
        std::string text;
        bool valid;
    };
    const Case cases[] = {
        {"", true},
        {"+", true},
        {"12+34", true},
        {"+12+3", false},
        {"+420123456789", true},
        {"123p45#*", true},
        {"12 34", false},
        {"12d", false},
        {std::string(60, '1'), true},
        {std::string(61, '1'), false},
        {"+" + std::string(59, '1'), true},
        {"+" + std::string(60, '1'), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsValidDialNumber(c.text), c.valid) << c.text;
}

// What a typed or pasted number becomes, and whether it is then taken.
TEST(DialDigits, SeparatorsAreStripped)
{
    const std::tuple<std::string, std::string, bool> cases[] = {
        {"+420 603 123-456", "+420603123456", true},
        {"(0603) 123.456", "0603123456", true},
        {"[030] 12-34", "0301234", true},
        {"12/34", "12/34", false},
        {"12d 34", "12d34", false},
        {"+1 2+3", "+12+3", false},
    };
    for (const auto& [typed, kept, valid] : cases) {
        EXPECT_EQ(StripNumberSeparators(typed), kept) << typed;
        EXPECT_EQ(IsValidDialNumber(kept), valid) << typed;
    }
}

TEST(DialDigits, SplitAndJoinPlus)
{
    uint8_t ton = 7;
    EXPECT_EQ(SplitPlus("+", ton), "");
    EXPECT_EQ(ton, 1);
    EXPECT_EQ(SplitPlus("12+34", ton), "1234");
    EXPECT_EQ(ton, 1);
    EXPECT_EQ(SplitPlus("1234", ton), "1234");
    EXPECT_EQ(ton, 0);
    EXPECT_EQ(SplitPlus(std::string(70, '5'), ton).size(), 60u);

    EXPECT_EQ(JoinPlus("1234", 1), "+1234");
    EXPECT_EQ(JoinPlus("1234", 0), "1234");
    EXPECT_EQ(JoinPlus("1234", 2), "1234");
    EXPECT_EQ(JoinPlus("1234", 1, 4), "+12");
}

TEST(DialDigits, FoldToAscii)
{
    struct Case
    {
        unsigned char in;
        char out;
    };
    const Case cases[] = {
        {'a', 'a'},  {0x7F, 0x7F}, {0xE8, 'c'}, {0xC8, 'C'}, {0x8A, 'S'}, {0x9E, 'z'},
        {0xF8, 'r'}, {0xE9, 'e'},  {0xD9, 'U'}, {0xBC, 'L'}, {0xE5, 'l'}, {0x84, '"'},
        {0x82, ','}, {0x91, '.'},  {0x92, '.'}, {0xA0, '.'}, {0xFF, '.'}, {0x80, '.'},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FoldToAscii(static_cast<char>(c.in)), c.out) << int(c.in);
}
