#include "codec/PcText.h"

#include <string>

#include <gtest/gtest.h>

using namespace kestrel;

namespace {

std::string byteString(unsigned char b)
{
    return std::string(1, static_cast<char>(b));
}

} // namespace

TEST(PcText, KnownCodesBothWays)
{
    struct Case
    {
        unsigned char byte;
        char16_t unit;
    };
    const Case cases[] = {
        {'A', u'A'},    {0x00, 0x0000}, {0x1A, 0x001A}, {0x80, 0x20AC}, {0x8A, 0x0160}, {0x9E, 0x017E},
        {0xA0, 0x00A0}, {0xA4, 0x00A4}, {0xB3, 0x0142}, {0xC8, 0x010C}, {0xD8, 0x0158}, {0xDF, 0x00DF},
        {0xE7, 0x00E7}, {0xEC, 0x011B}, {0xF8, 0x0159}, {0xFF, 0x02D9}, {0x81, 0x0081}, {0x98, 0x0098},
    };
    for (const Case& c : cases) {
        const QString unicode = pcTextToUnicode(byteString(c.byte));
        ASSERT_EQ(unicode.size(), 1) << int(c.byte);
        EXPECT_EQ(unicode.at(0).unicode(), c.unit) << int(c.byte);
        EXPECT_EQ(unicodeToPcText(QString(QChar(c.unit))), byteString(c.byte)) << int(c.byte);
    }
}

TEST(PcText, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString unicode = pcTextToUnicode(all);
    ASSERT_EQ(unicode.size(), 256);
    EXPECT_EQ(unicodeToPcText(unicode), all);
}

TEST(PcText, MissingCharactersBecomeQuestionMarks)
{
    struct Case
    {
        QString text;
        std::string pc;
    };
    const Case cases[] = {
        {QString::fromUtf8("\u00D8"), "?"},                        // no O with stroke in the code page
        {QString::fromUtf8("a\u00D8b\u0160"), "a?b\x8A"},          // only the missing one is replaced
        {QString::fromUtf8("\u0394\u03A9"), "??"},                 // Greek
        {QString::fromUtf8("x\U0001F600y"), "x?y"},                // outside the BMP: one "?"
        {QString(QChar(0xD800)) + QStringLiteral("z"), "?z"},      // lone surrogate
        {QString::fromUtf8("\u00D8\u001A"), std::string("?\x1A")}, // the real SUB stays SUB
        {QString::fromUtf8("\u010Cern\u00FD"), "\xC8"
                                               "ern\xFD"}, // plain Czech text
        {QString(), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(unicodeToPcText(c.text), c.pc) << c.text.toStdString();
}

TEST(PcText, EmbeddedNulIsKept)
{
    const std::string pc("a\0b", 3);
    const QString unicode = pcTextToUnicode(pc);
    EXPECT_EQ(unicode.size(), 3);
    EXPECT_EQ(unicodeToPcText(unicode), pc);
}

TEST(PcText, BuiltInTableAgreesWithSystemConverter)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(detail::pcTextToUnicodeByTable(all), pcTextToUnicode(all));

    const QString samples[] = {
        pcTextToUnicode(all),
        QString::fromUtf8("\u00D8 \u0394 \u00E8 \u00E0 \u00F1 x\U0001F600y"),
        QString(QChar(0xDC00)),
    };
    for (const QString& s : samples)
        EXPECT_EQ(detail::unicodeToPcTextByTable(s), unicodeToPcText(s)) << s.toStdString();
}
