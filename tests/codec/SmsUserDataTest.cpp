#include "codec/SmsUserData.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HexBytes.h"

#include "codec/FixedText.h"
#include "codec/SmsCodec.h"
#include "codec/SmsMessageParts.h"

using namespace kestrel;

namespace {

std::vector<uint8_t> record(const std::string& hex, std::size_t pad = 176)
{
    std::vector<uint8_t> out = test::hexBytes(hex);
    if (out.size() < pad)
        out.resize(pad, 0xFF);
    return out;
}

} // namespace

TEST(SmsDataCoding, GroupsOfGsm0338)
{
    struct Case
    {
        uint8_t dcs;
        SmsEncoding encoding;
        int messageClass;
    };
    const Case cases[] = {
        {0x00, SmsEncoding::Default, -1},     {0x04, SmsEncoding::EightBit, -1},   {0x08, SmsEncoding::Ucs2, -1},
        {0x0C, SmsEncoding::Undecodable, -1}, {0x10, SmsEncoding::Default, 0},     {0x11, SmsEncoding::Default, 1},
        {0x16, SmsEncoding::EightBit, 2},     {0x1B, SmsEncoding::Ucs2, 3},        {0x03, SmsEncoding::Default, -1},
        {0x20, SmsEncoding::Undecodable, -1}, {0x31, SmsEncoding::Undecodable, 1}, {0x40, SmsEncoding::Undecodable, -1},
        {0xB0, SmsEncoding::Undecodable, -1}, {0xC8, SmsEncoding::Default, -1},    {0xD0, SmsEncoding::Default, -1},
        {0xE8, SmsEncoding::Ucs2, -1},        {0xF0, SmsEncoding::Default, 0},     {0xF6, SmsEncoding::EightBit, 2},
        {0xF3, SmsEncoding::Default, 3},
    };
    for (const Case& c : cases) {
        const SmsDataCoding d = DecodeDataCoding(c.dcs);
        EXPECT_EQ(d.encoding, c.encoding) << int(c.dcs);
        EXPECT_EQ(d.messageClass, c.messageClass) << int(c.dcs);
    }
}

TEST(SmsUserDataHeader, ElementsAreBoundsChecked)
{
    struct Case
    {
        const char* ud;
        bool valid;
        std::size_t octets;
        bool concat;
        int reference, total, part;
    };
    const Case cases[] = {
        {"05 00 03 2A 02 01", true, 6, true, 0x2A, 2, 1},       // IEI 00, 8-bit reference
        {"06 08 04 12 34 03 02", true, 7, true, 0x1234, 3, 2},  // IEI 08, 16-bit reference
        {"08 0A 01 00 00 03 07 03 01", true, 9, true, 7, 3, 1}, // another element first
        {"05 00 03 01 02 00", true, 6, false, 0, 0, 0},         // part 0: the element is ignored
        {"05 00 03 01 02 03", true, 6, false, 0, 0, 0},         // part beyond the total
        {"05 00 03 01 00 01", true, 6, false, 0, 0, 0},         // total 0
        {"05 00 05 01 02 01", false, 6, false, 0, 0, 0},        // element runs past UDHL
        {"01 00", false, 2, false, 0, 0, 0},                    // element header cut
        {"0A 00 03 01 02 01", false, 11, false, 0, 0, 0},       // UDHL past the data
        {"00", true, 1, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const SmsUserDataHeader h = ParseUserDataHeader(test::hexBytes(c.ud));
        EXPECT_EQ(h.valid, c.valid) << c.ud;
        EXPECT_EQ(h.octets, c.octets) << c.ud;
        EXPECT_EQ(h.concatenated, c.concat) << c.ud;
        EXPECT_EQ(h.reference, c.reference) << c.ud;
        EXPECT_EQ(h.total, c.total) << c.ud;
        EXPECT_EQ(h.part, c.part) << c.ud;
    }
    EXPECT_FALSE(ParseUserDataHeader({}).valid);
}

TEST(SmsUserData, DefaultAlphabetAndItsExtension)
{
    // Septets: escape [ escape ] c-cedilla line feed, escape + a code the extension lacks.
    EXPECT_EQ(UnpackSeptets(test::hexBytes("1B DE C6 97 50 6C 82"), 8), "[]\xC3\xA7\nA");
    struct Case
    {
        std::string text;
        std::size_t septets;
        std::string back;
    };
    const Case cases[] = {
        {"\xE2\x82\xAC 5", 4, "\xE2\x82\xAC 5"}, // euro sign: escape + 0x65
        {"{a}|~^\\", 13, "{a}|~^\\"},
        {"\xC3\x84\xC3\xA9\xCE\xA9", 3, "\xC3\x84\xC3\xA9\xCE\xA9"}, // in the alphabet as they are
        {"\xC4\x8C\xC3\xA1", 2, "Ca"},                               // folded to their base letters
        {"a`b", 3, "a?b"},                                           // nothing to fold to
        {"\xC2\xA0", 1, ""},                                         // no-break space is no escape here
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GsmSeptetCount(c.text), c.septets) << c.text;
        if (c.text != "\xC2\xA0") {
            EXPECT_EQ(ThroughGsmAlphabet(c.text), c.back) << c.text;
        }
    }
    EXPECT_NE(TextToGsmSeptets("\xC2\xA0").front(), 0x1B);
    // Packing never ends on half an escape pair: 8 septets fit in 7 bytes.
    std::vector<uint8_t> out(8, 0);
    EXPECT_EQ(PackSeptets("abcdefg\xE2\x82\xAC", out), 8);
    EXPECT_EQ(out[0], 7);
}

TEST(SmsCodec, DecodesMessagesAsTheyAre)
{
    struct Case
    {
        const char* record;
        SmsKind kind;
        SmsEncoding encoding;
        int messageClass;
        int reference, total, part;
        const char* number;
        const char* when;
        std::string text;
    };
    const Case cases[] = {
        // UCS2 SMS-DELIVER (GSM 03.40 / 03.38): "Приве"
        {"01 00 04 04 81 21 43 00 08 30 20 11 21 43 65 00 0A 04 1F 04 40 04 38 04 32 04 35", SmsKind::Message,
         SmsEncoding::Ucs2, -1, 0, 0, 0, "1234", "11.02.03 12:34", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5"},
        // 8-bit data, class 1 (1111 0101)
        {"01 00 04 04 81 21 43 00 F5 30 20 11 21 43 65 00 03 01 02 FF", SmsKind::Message, SmsEncoding::EightBit, 1, 0,
         0, 0, "1234", "11.02.03 12:34", "01 02 FF"},
        // Flash message (class 0) in the default alphabet: "hello"
        {"01 00 04 04 81 21 43 00 10 30 20 11 21 43 65 00 05 E8 32 9B FD 06", SmsKind::Message, SmsEncoding::Default, 0,
         0, 0, 0, "1234", "11.02.03 12:34", "hello"},
        // Concatenated 7-bit part 1 of 2, IEI 00 reference 2A; the text "hi @€" after one fill bit
        {"01 00 44 04 81 21 43 00 00 30 20 11 21 43 65 00 0D 05 00 03 2A 02 01 D0 69 10 60 53 06", SmsKind::Message,
         SmsEncoding::Default, -1, 0x2A, 2, 1, "1234", "11.02.03 12:34", "hi @\xE2\x82\xAC"},
        // SMS-SUBMIT, UCS2 part 2 of 2 with IEI 08 reference 1234: "AB"
        {"05 00 51 07 04 81 21 43 00 08 AA 0B 06 08 04 12 34 02 02 00 41 00 42", SmsKind::Message, SmsEncoding::Ucs2,
         -1, 0x1234, 2, 2, "1234", "4 days", "AB"},
        // SMS-STATUS-REPORT: TP-MR 2A, recipient 1234, SCTS, discharge time, TP-ST 00
        {"01 00 06 2A 04 81 21 43 30 20 11 21 43 65 00 30 20 11 21 44 65 00 00", SmsKind::StatusReport,
         SmsEncoding::Default, -1, 0, 0, 0, "1234", "11.02.03 12:34", ""},
        // Compressed: kept, not shown
        {"01 00 04 04 81 21 43 00 20 30 20 11 21 43 65 00 02 12 34", SmsKind::Message, SmsEncoding::Undecodable, -1, 0,
         0, 0, "1234", "11.02.03 12:34", ""},
        // Reserved TP-MTI: the record header only
        {"01 00 07 04 81 21 43", SmsKind::Other, SmsEncoding::Default, -1, 0, 0, 0, "", "", ""},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> r = record(c.record);
        SmsEntry e = DecodeSmsRecord(r, 2);
        EXPECT_EQ(e.valid, 1) << c.record;
        EXPECT_EQ(e.kind, c.kind) << c.record;
        EXPECT_EQ(e.encoding, c.encoding) << c.record;
        EXPECT_EQ(e.messageClass, c.messageClass) << c.record;
        EXPECT_EQ(e.concatRef, c.reference) << c.record;
        EXPECT_EQ(e.concatTotal, c.total) << c.record;
        EXPECT_EQ(e.concatPart, c.part) << c.record;
        EXPECT_STREQ(e.number, c.number) << c.record;
        EXPECT_STREQ(e.when, c.when) << c.record;
        EXPECT_EQ(fixedText(e.text), c.text) << c.record;
        EXPECT_EQ(SmsIsPlain(e), c.kind == SmsKind::Message && c.encoding == SmsEncoding::Default &&
                                     c.messageClass < 0 && c.total == 0)
            << c.record;

        // Unedited, every record goes back byte for byte; a status change within its kind only
        // changes the status byte.
        ASSERT_TRUE(SmsKeepsRecord(e)) << c.record;
        EXPECT_EQ(EncodeSmsRecord(e, 176).record, r) << c.record;
        e.status ^= 1;
        std::vector<uint8_t> expected = r;
        expected[0] = static_cast<uint8_t>(e.status * 2 + 1);
        EXPECT_EQ(EncodeSmsRecord(e, 176).record, expected) << c.record;
        // Any other change makes it a plain message.
        setFixedText(e.scNumber, "99");
        EXPECT_FALSE(SmsKeepsRecord(e)) << c.record;
        EXPECT_NE(EncodeSmsRecord(e, 176).record[1], r[1]) << c.record;
    }
}

TEST(SmsCodec, StatusReportFields)
{
    const SmsEntry e =
        DecodeSmsRecord(record("03 00 26 2A 04 81 21 43 30 20 11 21 43 65 00 30 20 11 21 44 65 00 41 04 02 41 21"), 0);
    EXPECT_EQ(e.kind, SmsKind::StatusReport);
    EXPECT_EQ(e.messageRef, 0x2A);
    EXPECT_STREQ(e.dischargeTime, "11.02.03 12:44");
    EXPECT_EQ(e.reportStatus, 0x41);
    // TP-PI 04: user data follow ("AB" in the default alphabet).
    EXPECT_STREQ(e.text, "AB");
    // Cut short anywhere, a report decodes as far as its bytes reach.
    const std::vector<uint8_t> full =
        test::hexBytes("01 00 06 2A 04 81 21 43 30 20 11 21 43 65 00 30 20 11 21 44 65 00 00");
    for (std::size_t n = 0; n <= full.size(); ++n)
        EXPECT_EQ(DecodeSmsRecord(std::span<const uint8_t>(full).first(n), 0).keptLength, n);
}

TEST(SmsCodec, KeptRecordOnAnotherRecordLength)
{
    const std::vector<uint8_t> r = record("01 00 04 04 81 21 43 00 08 30 20 11 21 43 65 00 02 00 41");
    const SmsEntry e = DecodeSmsRecord(r, 0);
    // A longer record gets 0xFF filling, a shorter one is enough while only filling is cut.
    EXPECT_EQ(EncodeSmsRecord(e, 200).record.size(), 200u);
    EXPECT_TRUE(EncodeSmsRecord(e, 19).fits);
    EXPECT_FALSE(EncodeSmsRecord(e, 18).fits);
    // A free record read stays as it was, also when it is not 00 FF ...
    const SmsEntry freeEntry = DecodeSmsRecord(record("00 12 34"), 0);
    EXPECT_EQ(EncodeSmsRecord(freeEntry, 176).record, record("00 12 34"));
    SmsEntry plain = e;
    MakePlainSms(plain);
    EXPECT_EQ(plain.keptLength, 0);
    EXPECT_TRUE(SmsIsPlain(plain));
    EXPECT_EQ(EncodeSmsRecord(plain, 176).record[9], 0x00); // TP-DCS of the plain encoder
}

TEST(SmsMessageParts, PrintedTextJoinsWholeMessagesAtTheirFirstPart)
{
    // Part 2 in row 0, part 1 in row 2, the same reference and address; a status report in row 3.
    const char* const part = "01 00 44 04 81 21 43 00 00 30 20 11 21 43 65 00 0D 05 00 03 2A 02 01 D0 69 10 60 53 06";
    std::vector<SmsEntry> rows(4);
    std::vector<uint8_t> r = record(part);
    rows[2] = DecodeSmsRecord(r, 2);
    r[22] = 0x02;
    rows[0] = DecodeSmsRecord(r, 0);
    rows[3] = DecodeSmsRecord(record("01 00 06 2A 04 81 21 43 30 20 11 21 43 65 00 30 20 11 21 44 65 00 40"), 3);
    const QString text = QString::fromUtf8("hi @\u20AC");
    EXPECT_EQ(SmsPrintedText(rows, 2), QStringLiteral("[part 1 of 2]\n") + text + text);
    EXPECT_EQ(SmsPrintedText(rows, 0), QStringLiteral("[part 2 of 2]"));
    EXPECT_EQ(JoinSmsParts(rows, 0).rows, (std::vector<int>{2, 0}));
    EXPECT_TRUE(SmsPrintedText(rows, 3).endsWith(QStringLiteral("Delivery status: Not delivered (permanent error)")));
    rows[0].valid = 0;
    // Not whole: each part prints its own text; the join marks the missing part.
    EXPECT_EQ(SmsPrintedText(rows, 2), QStringLiteral("[part 1 of 2]\n") + text);
    EXPECT_EQ(JoinSmsParts(rows, 2).text, text + QStringLiteral("[part 2 missing]"));
    EXPECT_FALSE(JoinSmsParts(rows, 2).whole);
}
