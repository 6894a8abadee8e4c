#include "networks/OperatorTable.h"

#include <cstring>
#include <set>
#include <string>
#include <utility>

#include <gtest/gtest.h>

using namespace kestrel;

TEST(OperatorTable, HasAllRowsAndTheEndRow)
{
    const auto rows = operatorRows();
    ASSERT_EQ(rows.size(), 234u);
    EXPECT_STREQ(rows[0].text, "Mobilkom Austria AG - A");
    EXPECT_EQ(rows[0].mcc, 232u);
    EXPECT_EQ(rows[0].mnc, 1u);
    EXPECT_STREQ(rows[232].text, "Telecel Zimbabwe (PVT) Ltd - ZW");
    EXPECT_EQ(rows[232].mcc, 648u);
    EXPECT_EQ(rows[232].mnc, 3u);
    EXPECT_EQ(rows[233].mcc, 0u);
    EXPECT_EQ(rows[233].mnc, 0u);
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        ASSERT_NE(rows[i].text, nullptr);
        EXPECT_NE(std::strstr(rows[i].text, " - "), nullptr) << i; // name, " - ", country
        EXPECT_TRUE(rows[i].mcc >= 200 && rows[i].mcc <= 799) << i;
        EXPECT_LT(rows[i].mnc, 1000u) << i;
    }
}

TEST(OperatorTable, RowsMatchTheirPlaces)
{
    struct Case
    {
        std::size_t index;
        uint32_t mcc;
        uint32_t mnc;
        const char* text;
    };
    const Case cases[] = {
        {1, 232, 3, "Max Mobil Telecommunications Service - A"},
        {4, 213, 3, "Servei De Tele. DAndorra - AND"},
        {19, 228, 1, "Swisscom AG - CH"},
        {20, 228, 1, "Swisscom AG - CH"},
        {34, 262, 7, "VIAG Interkom - D"},
        {108, 420, 7, "Electronic Application Est- AlJawwal - KSA"},
        {162, 250, 12, "Far Eastern Cellular Systems - 900 - RUS"},
        {206, 234, 55, "Guernsey Telecoms - UK"},
        {215, 310, 220, "Western Wireless Corporation - USA"},
        {219, 310, 770, "Iowa Wireless Services, LP - USA"},
        {225, 310, 11, "Third Kentucky Cellular Corporation - USA"},
    };
    const auto rows = operatorRows();
    for (const Case& c : cases) {
        ASSERT_LT(c.index, rows.size());
        EXPECT_EQ(rows[c.index].mcc, c.mcc) << c.index;
        EXPECT_EQ(rows[c.index].mnc, c.mnc) << c.index;
        EXPECT_STREQ(rows[c.index].text, c.text) << c.index;
    }
}

TEST(OperatorTable, RepeatedKeysAreTheKnownOnes)
{
    std::set<std::pair<uint32_t, uint32_t>> seen;
    std::set<std::pair<uint32_t, uint32_t>> repeated;
    const auto rows = operatorRows();
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        if (!seen.insert({rows[i].mcc, rows[i].mnc}).second)
            repeated.insert({rows[i].mcc, rows[i].mnc});
    }
    const std::set<std::pair<uint32_t, uint32_t>> expected = {{228, 1}, {270, 77}, {515, 3}, {250, 7}};
    EXPECT_EQ(repeated, expected);
}

TEST(OperatorTable, Lookup)
{
    struct Case
    {
        uint32_t mcc;
        uint32_t mnc;
        const char* text; // nullptr: not found
    };
    const Case cases[] = {
        {262, 7, "VIAG Interkom - D"},
        {262, 99, nullptr},
        {232, 1, "Mobilkom Austria AG - A"},
        {648, 3, "Telecel Zimbabwe (PVT) Ltd - ZW"},
        {250, 7, "BM Telecom Ltd. - RUS"}, // first of two different texts
        {234, 1, nullptr},
        {310, 220, "Western Wireless Corporation - USA"},
        {310, 20, nullptr},
        {0, 0, nullptr}, // the end row is not a network
        {460, 0, "China Telecom - CHN"},
    };
    for (const Case& c : cases) {
        std::string text = "unchanged";
        EXPECT_EQ(LookupOperator(c.mcc, c.mnc, &text), c.text != nullptr) << c.mcc << "-" << c.mnc;
        EXPECT_EQ(text, c.text ? c.text : "unchanged") << c.mcc << "-" << c.mnc;
    }
    EXPECT_TRUE(LookupOperator(262, 7, nullptr));
}

TEST(OperatorTable, EveryRowIsFoundAtItsFirstOccurrence)
{
    const auto rows = operatorRows();
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        std::size_t first = 0;
        while (rows[first].mcc != rows[i].mcc || rows[first].mnc != rows[i].mnc)
            ++first;
        std::string text;
        ASSERT_TRUE(LookupOperator(rows[i].mcc, rows[i].mnc, &text)) << i;
        EXPECT_EQ(text, rows[first].text) << i;
    }
}
