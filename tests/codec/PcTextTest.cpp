#include "codec/PcText.h"

#include "codec/DialDigits.h"
#include "codec/FixedText.h"

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
        const QString unicode = windows1250ToUnicode(byteString(c.byte));
        ASSERT_EQ(unicode.size(), 1) << int(c.byte);
        EXPECT_EQ(unicode.at(0).unicode(), c.unit) << int(c.byte);
        EXPECT_EQ(unicodeToWindows1250(QString(QChar(c.unit))), byteString(c.byte)) << int(c.byte);
    }
}

TEST(PcText, EveryByteRoundTrips)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    const QString unicode = windows1250ToUnicode(all);
    ASSERT_EQ(unicode.size(), 256);
    EXPECT_EQ(unicodeToWindows1250(unicode), all);
}

TEST(PcText, MissingCharactersBecomeQuestionMarks)
{
    struct Case
    {
        QString text;
        std::string pc;
        bool lossy = true;
    };
    const Case cases[] = {
        {QString::fromUtf8("\u00D8"), "?"},                        // no O with stroke in the code page
        {QString::fromUtf8("a\u00D8b\u0160"), "a?b\x8A"},          // only the missing one is replaced
        {QString::fromUtf8("\u0394\u03A9"), "??"},                 // Greek
        {QString::fromUtf8("x\U0001F600y"), "x?y"},                // outside the BMP: one "?"
        {QString(QChar(0xD800)) + QStringLiteral("z"), "?z"},      // lone surrogate
        {QString::fromUtf8("\u00D8\u001A"), std::string("?\x1A")}, // the real SUB stays SUB
        {QString::fromUtf8("\u010Cern\u00FD?"),
         "\xC8"
         "ern\xFD?",
         false}, // plain Czech text, its own "?" no loss
        {QString(), "", false},
    };
    for (const Case& c : cases) {
        bool lossy = !c.lossy;
        EXPECT_EQ(unicodeToWindows1250(c.text, &lossy), c.pc) << c.text.toStdString();
        EXPECT_EQ(lossy, c.lossy) << c.text.toStdString();
    }
}

TEST(PcText, EmbeddedNulIsKept)
{
    const std::string pc("a\0b", 3);
    const QString unicode = windows1250ToUnicode(pc);
    EXPECT_EQ(unicode.size(), 3);
    EXPECT_EQ(unicodeToWindows1250(unicode), pc);
}

TEST(PcText, BuiltInTableAgreesWithSystemConverter)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(detail::windows1250ToUnicodeByTable(all), windows1250ToUnicode(all));

    const QString samples[] = {
        windows1250ToUnicode(all),
        QString::fromUtf8("\u00D8 \u0394 \u00E8 \u00E0 \u00F1 x\U0001F600y"),
        QString(QChar(0xDC00)),
    };
    for (const QString& s : samples)
        EXPECT_EQ(detail::unicodeToWindows1250ByTable(s), unicodeToWindows1250(s)) << s.toStdString();
}

// Entries keep UTF-8; the Windows-1250 file fields and the 7-bit folds are reached from it.
TEST(PcText, EntryTextIsUtf8AndReachesTheFileFields)
{
    const std::string czech = "Ji\u0159\u00ED Nov\u00E1k";
    EXPECT_EQ(pcTextToUnicode(czech), QString::fromUtf8("Ji\u0159\u00ED Nov\u00E1k"));
    EXPECT_EQ(unicodeToPcText(pcTextToUnicode(czech)), czech);
    EXPECT_EQ(toWindows1250(czech), "Ji\xF8\xED Nov\xE1k");
    EXPECT_EQ(fromWindows1250("Ji\xF8\xED Nov\xE1k"), czech);
    EXPECT_EQ(throughWindows1250("\u0391\u03B8\u03AE\u03BD\u03B1 \u00DF"), "????? \u00DF");

    struct Fold
    {
        std::string text;
        std::string folded;
    };
    const Fold folds[] = {
        {czech, "Jiri Novak"},
        {"\u00DF\u0391\U0001F600!", "...!"}, // a code-page letter without a fold, Greek, emoji
        {"\u201E\u201A", "\","},             // the quote marks the table maps
    };
    for (const Fold& f : folds)
        EXPECT_EQ(FoldToAsciiText(f.text), f.folded) << f.text;

    char field[6];
    setFixedText(field, "ab\u0159\u0159"); // 6 bytes: the second "\u0159" does not fit whole
    EXPECT_EQ(fixedText(field), "ab\u0159");
}
