#include "codec/ByteStream.h"

#include <string>

#include <gtest/gtest.h>

using namespace kestrel;

TEST(ByteStream, StringLengthForms)
{
    struct Case
    {
        std::size_t length;
        std::vector<uint8_t> prefix;
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        const std::string text(c.length, 'x');
        ByteWriter w;
        w.string(text);
        const auto& bytes = w.bytes();
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_TRUE(std::equal(c.prefix.begin(), c.prefix.end(), bytes.begin())) << c.length;

        ByteReader r(bytes);
        std::string back;
        ASSERT_TRUE(r.string(back)) << c.length;
        EXPECT_EQ(back, text);
        EXPECT_EQ(r.remaining(), 0u);
    }
}

TEST(ByteStream, IntegersAreLittleEndian)
{
    ByteWriter w;
    w.u32(0x12345678);
    w.u16(0xABCD);
    EXPECT_EQ(w.bytes(), (std::vector<uint8_t>{0x78, 0x56, 0x34, 0x12, 0xCD, 0xAB}));
    ByteReader r(w.bytes());
    uint32_t a = 0;
    uint16_t b = 0;
    ASSERT_TRUE(r.u32(a));
    ASSERT_TRUE(r.u16(b));
    EXPECT_EQ(a, 0x12345678u);
    EXPECT_EQ(b, 0xABCD);
}

TEST(ByteStream, ReadingPastTheEndFailsAndStaysFailed)
{
    const std::vector<uint8_t> bytes{0x05, 'a', 'b', 0x01, 0x02};
    ByteReader r(bytes);
    std::string s;
    EXPECT_FALSE(r.string(s)); // claims 5 bytes, has 4
    EXPECT_TRUE(r.failed());
    uint8_t v = 0;
    EXPECT_FALSE(r.u8(v));
    EXPECT_EQ(r.remaining(), 0u);
}
