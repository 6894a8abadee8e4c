#include "codec/PlmnCodec.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace kestrel;

namespace {

std::vector<uint8_t> bytes(std::initializer_list<int> list)
{
    std::vector<uint8_t> out;
    for (const int b : list)
        out.push_back(static_cast<uint8_t>(b));
    return out;
}

PlmnEntry network(uint32_t mcc, uint32_t mnc)
{
    PlmnEntry e;
    e.used = 1;
    e.modified = 1;
    e.mcc = mcc;
    e.mnc = mnc;
    return e;
}

} // namespace

TEST(PlmnCodec, DecodesEntries)
{
    struct Case
    {
        std::vector<uint8_t> group;
        bool used;
        uint32_t mcc;
        uint32_t mnc;
    };
    const Case cases[] = {
        {bytes({0xFF, 0xFF, 0xFF}), false, 0, 0},
        {bytes({0xFF, 0xF4, 0x10}), false, 0, 0}, // byte 0 alone decides
        {bytes({0x32, 0xF4, 0x10}), true, 234, 1},
        {bytes({0x62, 0xF2, 0x70}), true, 262, 7},
        {bytes({0x13, 0x00, 0x22}), true, 310, 22}, // third MNC digit (high nibble of byte 1) not read
        {bytes({0x13, 0x20, 0x20}), true, 310, 2},
        {bytes({0xF2, 0xF4, 0xF1}), true, 24, 1}, // filler nibbles are skipped
        {bytes({0xA2, 0xFF, 0xFF}), true, 2, 0},
        {bytes({0x3F, 0xFB, 0x1A}), true, 3, 1},
        {bytes({0x00, 0xF0, 0x00}), true, 0, 0},
    };
    for (const Case& c : cases) {
        const std::vector<PlmnEntry> list = DecodePlmnList(c.group);
        ASSERT_EQ(list.size(), 1u);
        SCOPED_TRACE(formatPlmn(c.mcc, c.mnc));
        EXPECT_EQ(list[0].used, c.used ? 1 : 0);
        EXPECT_EQ(list[0].modified, 0);
        if (c.used) {
            EXPECT_EQ(list[0].mcc, c.mcc);
            EXPECT_EQ(list[0].mnc, c.mnc);
        }
    }
}

TEST(PlmnCodec, CountIsWholeGroupsOnly)
{
    for (std::size_t size : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 24u, 26u}) {
        const std::vector<uint8_t> file(size, 0xFF);
        EXPECT_EQ(DecodePlmnList(file).size(), size / 3) << size;
    }
    // The remainder bytes do not leak into the last entry.
    const auto list = DecodePlmnList(bytes({0x32, 0xF4, 0x10, 0x62, 0xF2}));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(formatPlmn(list[0].mcc, list[0].mnc), "234-01");
}

TEST(PlmnCodec, EncodesEntriesAndFreeSlots)
{
    const std::vector<PlmnEntry> list = {network(234, 1), PlmnEntry{}, network(262, 7), network(1234, 567)};
    EXPECT_EQ(EncodePlmnList(list, 12),
              bytes({0x32, 0xF4, 0x10, 0xFF, 0xFF, 0xFF, 0x62, 0xF2, 0x70, 0x32, 0xF4, 0x76}));
    // A larger file keeps its unused tail as free slots.
    const auto file = EncodePlmnList(std::vector<PlmnEntry>{network(234, 1)}, 9);
    EXPECT_EQ(file, bytes({0x32, 0xF4, 0x10, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(PlmnCodec, EncodeWritesOnlyWhatFits)
{
    const std::vector<PlmnEntry> list = {network(234, 1), network(262, 7), network(310, 26)};
    EXPECT_EQ(EncodePlmnList(list, 6), bytes({0x32, 0xF4, 0x10, 0x62, 0xF2, 0x70}));
    // A partial group at the end stays filler.
    EXPECT_EQ(EncodePlmnList(list, 8), bytes({0x32, 0xF4, 0x10, 0x62, 0xF2, 0x70, 0xFF, 0xFF}));
    EXPECT_EQ(EncodePlmnList(list, 2), bytes({0xFF, 0xFF}));
    EXPECT_TRUE(EncodePlmnList(list, 0).empty());
    EXPECT_EQ(EncodePlmnList({}, 3), bytes({0xFF, 0xFF, 0xFF}));
}

TEST(PlmnCodec, ThreeDigitMncLosesItsFirstDigitOnTheCard)
{
    const std::vector<PlmnEntry> before = {network(310, 220)};
    EXPECT_EQ(formatPlmn(before[0].mcc, before[0].mnc), "310-220");
    const auto after = DecodePlmnList(EncodePlmnList(before, 3));
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(formatPlmn(after[0].mcc, after[0].mnc), "310-20");
}

TEST(PlmnCodec, RoundTripOfTwoDigitNetworks)
{
    std::vector<PlmnEntry> list;
    for (uint32_t mcc = 0; mcc < 1000; mcc += 37)
        for (uint32_t mnc = 0; mnc < 100; mnc += 13)
            list.push_back(network(mcc, mnc));
    list.push_back(PlmnEntry{});
    const auto back = DecodePlmnList(EncodePlmnList(list, list.size() * 3));
    ASSERT_EQ(back.size(), list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(back[i].used, list[i].used) << i;
        if (list[i].used) {
            EXPECT_EQ(back[i].mcc, list[i].mcc) << i;
            EXPECT_EQ(back[i].mnc, list[i].mnc) << i;
        }
    }
}

TEST(PlmnCodec, FormatsAndParsesNetworkTexts)
{
    EXPECT_EQ(formatPlmn(234, 1), "234-01");
    EXPECT_EQ(formatPlmn(1, 0), "001-00");
    EXPECT_EQ(formatPlmn(310, 220), "310-220");
    EXPECT_EQ(formatPlmn(262, 7), "262-07");

    struct Case
    {
        const char* text;
        bool ok;
        uint32_t mcc;
        uint32_t mnc;
    };
    const Case cases[] = {
        {"234-01", true, 234, 1}, {"310-220", true, 310, 220}, {"1-2", true, 1, 2},      {"001-000", true, 1, 0},
        {"", false, 0, 0},        {"234", false, 0, 0},        {"234-", false, 0, 0},    {"-01", false, 0, 0},
        {"2345-01", false, 0, 0}, {"234-0123", false, 0, 0},   {"234-01-", false, 0, 0}, {"234--01", false, 0, 0},
        {" 234-01", false, 0, 0}, {"234-01 ", false, 0, 0},    {"23a-01", false, 0, 0},  {"+23-01", false, 0, 0},
        {"234:01", false, 0, 0},
    };
    for (const Case& c : cases) {
        uint32_t mcc = 999;
        uint32_t mnc = 999;
        EXPECT_EQ(parsePlmn(c.text, mcc, mnc), c.ok) << c.text;
        EXPECT_EQ(mcc, c.ok ? c.mcc : 999u) << c.text;
        EXPECT_EQ(mnc, c.ok ? c.mnc : 999u) << c.text;
    }
}
