#include "codec/SmsCodec.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HexBytes.h"

#include "codec/FixedText.h"
#include "codec/SmsTime.h"

using namespace kestrel;

namespace {

// "07 91 ..." -> bytes, padded with 0xFF to pad bytes when pad is larger.
std::vector<uint8_t> bytes(const std::string& hex, std::size_t pad = 0)
{
    std::vector<uint8_t> out = test::hexBytes(hex);
    if (out.size() < pad)
        out.resize(pad, 0xFF);
    return out;
}

std::string packed(const std::string& text)
{
    std::vector<uint8_t> out(256, 0x00);
    const int n = PackSeptets(text, out);
    out.resize(static_cast<std::size_t>(n));
    return test::toSpacedHex(out);
}

// SMS-DELIVER, received unread: SC +4412345678, OA +44123456789, 11.02.03 12:34:56, "hellohello".
const std::string kDeliver = "03 06 91 44 21 43 65 87 04 0B 91 44 21 43 65 87 F9 00 00 30 20 11 21 43 65 00"
                             " 0A E8 32 9B FD 46 97 D9 EC 37";
// SMS-SUBMIT to be sent: no SC, TP-MR 0x2A, DA 1234 (unknown/ISDN), relative TP-VP 170, "hello".
const std::string kSubmit = "07 00 11 2A 04 81 21 43 00 00 AA 05 E8 32 9B FD 06";

SmsEntry makeEntry(SmsStatus status, const char* sc, const char* number, const char* when, const std::string& text)
{
    SmsEntry e;
    e.valid = 1;
    e.position = 4;
    e.status = static_cast<int32_t>(status);
    setFixedText(e.scNumber, sc);
    e.scTon = 1;
    e.scNpi = 1;
    setFixedText(e.number, number);
    e.numberTon = 2;
    e.numberNpi = 8;
    setFixedText(e.when, when);
    setFixedText(e.text, text);
    return e;
}

} // namespace

TEST(SmsCodec, StatusByte)
{
    struct Case
    {
        uint8_t status;
        int valid;
        int decoded;
    };
    const Case cases[] = {
        {0x00, 0, 0}, {0xFF, 0, 0}, {0x08, 0, 0}, {0xF8, 0, 0}, {0x01, 1, 0},
        {0x03, 1, 1}, {0x05, 1, 2}, {0x07, 1, 3}, {0x0D, 1, 2}, {0x15, 1, 2},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> r = bytes(kSubmit, 176);
        r[0] = c.status;
        const SmsEntry e = DecodeSmsRecord(r, 9);
        EXPECT_EQ(e.valid, c.valid) << int(c.status);
        EXPECT_EQ(e.status, c.decoded) << int(c.status);
        EXPECT_EQ(e.position, 9);
        if (!c.valid) {
            EXPECT_STREQ(e.number, "");
            EXPECT_STREQ(e.text, "");
        }
    }
}

TEST(SmsCodec, DecodesDeliver)
{
    const SmsEntry e = DecodeSmsRecord(bytes(kDeliver, 176), 3);
    EXPECT_EQ(e.valid, 1);
    EXPECT_EQ(e.position, 3);
    EXPECT_EQ(e.status, static_cast<int>(SmsStatus::Received));
    EXPECT_STREQ(e.scNumber, "4412345678");
    EXPECT_EQ(e.scTon, 1);
    EXPECT_EQ(e.scNpi, 1);
    EXPECT_STREQ(e.number, "44123456789");
    EXPECT_EQ(e.numberTon, 1);
    EXPECT_EQ(e.numberNpi, 1);
    EXPECT_STREQ(e.when, "11.02.03 12:34");
    EXPECT_STREQ(e.text, "hellohello");
    EXPECT_EQ(e.messageRef, 0);
    EXPECT_EQ(e.modified, 0);
}

TEST(SmsCodec, DecodesSubmit)
{
    const SmsEntry e = DecodeSmsRecord(bytes(kSubmit, 176), 0);
    EXPECT_EQ(e.status, static_cast<int>(SmsStatus::ToBeSent));
    EXPECT_STREQ(e.scNumber, "");
    EXPECT_EQ(e.scTon, 0);
    EXPECT_EQ(e.messageRef, 0x2A);
    EXPECT_STREQ(e.number, "1234");
    EXPECT_EQ(e.numberTon, 0);
    EXPECT_EQ(e.numberNpi, 1);
    EXPECT_STREQ(e.when, "4 days");
    EXPECT_STREQ(e.text, "hello");
}

TEST(SmsCodec, ValidityPeriodFormats)
{
    struct Case
    {
        const char* record;
        const char* when;
        const char* text;
    };
    const Case cases[] = {
        // TP-VPF 0: no validity field
        {"05 00 01 00 02 81 21 00 00 05 E8 32 9B FD 06", "", "hello"},
        // TP-VPF 3: absolute, swapped-nibble BCD
        {"05 00 19 00 02 81 21 00 00 30 20 11 21 43 65 00 05 E8 32 9B FD 06", "11.02.03 12:34", "hello"},
        // TP-VPF 1 (enhanced): its seven octets are skipped, not read as user data
        {"05 00 09 00 02 81 21 00 00 01 02 03 04 05 06 07 05 E8 32 9B FD 06", "", "hello"},
        // TP-VPF 2 at both ends of the range
        {"05 00 11 00 02 81 21 00 00 00 05 E8 32 9B FD 06", "5 min", "hello"},
        {"05 00 11 00 02 81 21 00 00 FF 05 E8 32 9B FD 06", "441 days", "hello"},
    };
    for (const Case& c : cases) {
        const SmsEntry e = DecodeSmsRecord(bytes(c.record, 176), 0);
        EXPECT_STREQ(e.number, "12") << c.record;
        EXPECT_STREQ(e.when, c.when) << c.record;
        EXPECT_STREQ(e.text, c.text) << c.record;
    }
}

TEST(SmsCodec, ServiceCentreLengths)
{
    // Length 1: TON/NPI only, first octet follows directly.
    SmsEntry e = DecodeSmsRecord(bytes("01 01 A1 00 02 81 21 00 00 30 20 11 21 43 65 00 00", 176), 0);
    EXPECT_EQ(e.scTon, 2);
    EXPECT_EQ(e.scNpi, 1);
    EXPECT_STREQ(e.scNumber, "");
    EXPECT_STREQ(e.number, "12");
    EXPECT_STREQ(e.when, "11.02.03 12:34");

    // An odd digit count ends at the 0xF filler.
    e = DecodeSmsRecord(bytes("01 03 91 21 F3 00 02 81 21 00 00 30 20 11 21 43 65 00 00", 176), 0);
    EXPECT_STREQ(e.scNumber, "123");
    EXPECT_STREQ(e.number, "12");

    // Twelve bytes of digits (22 nibbles): only 20 are kept, the layout after them still holds.
    e = DecodeSmsRecord(
        bytes("01 0C 91 21 43 65 87 09 21 43 65 87 09 21 00 02 81 21 00 00 30 20 11 21 43 65 00 00", 176), 0);
    EXPECT_STREQ(e.scNumber, "12345678901234567890");
    EXPECT_STREQ(e.number, "12");

    // All sixteen nibble values come out through the dialling-digit table.
    e = DecodeSmsRecord(bytes("01 01 81 00 0F 81 10 32 54 76 98 BA DC FE 00 00 00 00 00 00 00 00 00 00", 176), 0);
    EXPECT_STREQ(e.number, "0123456789*#pDE");
}

TEST(SmsCodec, AddressOfMoreThanTwentyDigits)
{
    const SmsEntry e = DecodeSmsRecord(
        bytes("01 00 00 18 91 21 43 65 87 09 21 43 65 87 09 21 43 00 00 30 20 11 21 43 65 00 02 41 21", 176), 0);
    EXPECT_STREQ(e.number, "12345678901234567890");
    EXPECT_EQ(e.numberTon, 1);
    EXPECT_STREQ(e.when, "11.02.03 12:34");
    EXPECT_STREQ(e.text, "AB");
}

TEST(SmsCodec, BrokenUserDataHeaderKeepsTheRestOfTheEntry)
{
    std::vector<uint8_t> r = bytes(kDeliver, 176);
    r[8] = 0x44; // TP-UDHI set: UDHL E8 runs past the user data
    const SmsEntry e = DecodeSmsRecord(r, 0);
    EXPECT_EQ(e.valid, 1);
    EXPECT_EQ(e.status, 1);
    EXPECT_STREQ(e.number, "44123456789");
    EXPECT_STREQ(e.when, "11.02.03 12:34");
    EXPECT_STREQ(e.text, "");
}

TEST(SmsCodec, ReservedTypeIsHeaderOnly)
{
    for (uint8_t fo : {0x03, 0x07, 0x43}) {
        std::vector<uint8_t> r = bytes(kDeliver, 176);
        r[8] = fo;
        const SmsEntry e = DecodeSmsRecord(r, 5);
        EXPECT_EQ(e.valid, 1);
        EXPECT_EQ(e.status, 1);
        EXPECT_STREQ(e.scNumber, "4412345678");
        EXPECT_STREQ(e.number, "");
        EXPECT_STREQ(e.when, "");
        EXPECT_STREQ(e.text, "");
    }
}

TEST(SmsCodec, LongUserDataStopsAt199Characters)
{
    std::vector<uint8_t> r = bytes("01 00 00 02 81 21 00 00 30 20 11 21 43 65 00");
    std::vector<uint8_t> ud(256, 0xFF);
    ud.resize(static_cast<std::size_t>(PackSeptets(std::string(230, 'a'), ud)));
    ud[0] = 0xFF; // TP-UDL 255
    r.insert(r.end(), ud.begin(), ud.end());
    ASSERT_LE(r.size(), 256u);
    const SmsEntry e = DecodeSmsRecord(r, 0);
    EXPECT_EQ(fixedText(e.text), std::string(199, 'a'));
}

TEST(SmsCodec, RecordsCutShortDecodeAsFarAsTheyReach)
{
    const std::vector<uint8_t> full = bytes(kDeliver);
    const SmsEntry whole = DecodeSmsRecord(full, 0);
    for (std::size_t n = 0; n <= full.size(); ++n) {
        const std::vector<uint8_t> part(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        const SmsEntry e = DecodeSmsRecord(part, 0);
        EXPECT_EQ(e.valid, n > 0 ? 1 : 0) << n;
        EXPECT_EQ(std::string(whole.scNumber).rfind(e.scNumber, 0), 0u) << n;
        EXPECT_EQ(std::string(whole.number).rfind(e.number, 0), 0u) << n;
        EXPECT_EQ(std::string(whole.text).rfind(e.text, 0), 0u) << n;
        EXPECT_TRUE(e.when[0] == '\0' || std::string(e.when) == whole.when) << n;
    }
    EXPECT_STREQ(DecodeSmsRecord(std::vector<uint8_t>(full.begin(), full.end() - 2), 0).text, "hellohel");

    // Lengths taken from the record that point far past its end.
    for (const char* broken : {"03 FF 91", "03 06 91 44 21 43 65 87 00 FF 91 44", "03 00 00 02 81 21 00 00 30 20 11",
                               "03 00 00 02 81 21 00 00 30 20 11 21 43 65 00 FF E8 32"}) {
        const SmsEntry e = DecodeSmsRecord(bytes(broken), 0);
        EXPECT_EQ(e.valid, 1) << broken;
        EXPECT_EQ(e.status, 1) << broken;
    }
}

TEST(SmsCodec, RecordsBeyond256BytesAreReadUpTo256)
{
    // A service-centre length of 100 pushes the user data past byte 256.
    std::vector<uint8_t> r = bytes("01 64 91 21 43");
    r.resize(102, 0xFF);
    const std::vector<uint8_t> tail = bytes("00 02 81 21 00 00 30 20 11 21 43 65 00");
    r.insert(r.end(), tail.begin(), tail.end());
    std::vector<uint8_t> ud(256, 0xFF);
    ud.resize(static_cast<std::size_t>(PackSeptets(std::string(199, 'z'), ud)));
    r.insert(r.end(), ud.begin(), ud.end());
    ASSERT_GT(r.size(), 256u);

    const SmsEntry e = DecodeSmsRecord(r, 0);
    const SmsEntry cut = DecodeSmsRecord(std::span<const uint8_t>(r).first(256), 0);
    EXPECT_STREQ(e.scNumber, "1234");
    EXPECT_STREQ(e.number, "12");
    EXPECT_STREQ(e.text, cut.text);
    EXPECT_GT(std::strlen(e.text), 0u);
    EXPECT_LT(std::strlen(e.text), 199u);
}

TEST(SmsCodec, SeptetPacking)
{
    struct Case
    {
        std::string text;
        const char* bytes; // TP-UDL first
    };
    const Case cases[] = {
        {"", "00"},
        {"A", "01 C1"}, // the last septet starts at bit 0: bit 7 stays set
        {"@", "01 80"},
        {"ABCDEFG", "07 41 E1 90 58 34 1E 01"},
        {"ABCDEFGH", "08 41 E1 90 58 34 1E 91"},
        {"ABCDEFGHI", "09 41 E1 90 58 34 1E 91 C9"},
        {"12345678", "08 31 D9 8C 56 B3 DD 70"},
        {"hellohello", "0A E8 32 9B FD 46 97 D9 EC 37"}, // the widely published 7-bit packing example
        {"\xC3\xA1@", "02 61 00"},                       // what the alphabet lacks is folded
        {"\xE2\x82\xAC", "02 9B 32"},                    // extension table: escape, 0x65
    };
    for (const Case& c : cases)
        EXPECT_EQ(packed(c.text), c.bytes) << c.text;
}

TEST(SmsCodec, PackingStaysInsideItsBuffer)
{
    std::vector<uint8_t> out(10, 0x55);
    const int n = PackSeptets(std::string(40, 'x'), std::span<uint8_t>(out).first(8));
    EXPECT_EQ(n, 8);
    EXPECT_EQ(out[0], 8); // 7 data bytes hold 8 septets
    EXPECT_EQ(out[8], 0x55);
    EXPECT_EQ(out[9], 0x55);
    EXPECT_EQ(UnpackSeptets(std::span<const uint8_t>(out).subspan(1, 7), out[0]), std::string(8, 'x'));
    EXPECT_EQ(PackSeptets("abc", {}), 0);

    std::vector<uint8_t> big(400, 0xFF);
    EXPECT_EQ(PackSeptets(std::string(300, 'y'), big), 1 + (255 * 7 + 7) / 8);
    EXPECT_EQ(big[0], 255);
}

TEST(SmsCodec, SeptetUnpacking)
{
    struct Case
    {
        const char* data;
        int udl;
        std::string text;
    };
    const Case cases[] = {
        {"E8 32 9B FD 46 97 D9 EC 37", 10, "hellohello"},
        {"E8 32 9B FD 46 97 D9 EC 37", 5, "hello"},
        {"E8 32 9B FD 46 97 D9 EC 37", 0, ""},
        {"E8 32 9B FD 46 97 D9 EC 37", -3, ""},
        {"E8 32 9B FD 46", 10, "hello"}, // data end before TP-UDL does
        {"00", 1, "@"},
        {"80", 1, "@"},
        {"C1", 1, "A"},
        {"41 E1 90 58 34 1E 91 C9", 9, "ABCDEFGHI"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UnpackSeptets(bytes(c.data), c.udl), c.text) << c.data << " / " << c.udl;

    // The codes below 0x20 and 0x7F are letters of the default alphabet, 0x0A a line feed.
    std::vector<uint8_t> out(32, 0xFF);
    PackSeptets(std::string("a\xC2\xA3\n\xC3\x89 b\xC3\xA0@"), out);
    EXPECT_EQ(out[0], 8);
    EXPECT_EQ(UnpackSeptets(std::span<const uint8_t>(out).subspan(1), out[0]), "a\xC2\xA3\n\xC3\x89 b\xC3\xA0@");
}

TEST(SmsCodec, EncodesHeaderFields)
{
    // Free entry: 0x00, then filler.
    SmsEntry e;
    std::array<uint8_t, 256> b;
    EXPECT_EQ(EncodeSmsRecord(e, b), 1);
    EXPECT_EQ(b[0], 0x00);
    EXPECT_EQ(b[1], 0xFF);
    EXPECT_EQ(b[255], 0xFF);

    // Empty service centre: length 1 and the TON/NPI byte.
    e = makeEntry(SmsStatus::Read, "", "123", "garbage", "A");
    e.scTon = 5;
    e.scNpi = 9;
    const int n = EncodeSmsRecord(e, b);
    EXPECT_EQ(test::toSpacedHex(std::span<const uint8_t>(b).first(static_cast<std::size_t>(n))),
              "01 01 D9 00 03 A8 21 F3 00 00 00 00 00 00 00 00 00 01 C1");
    EXPECT_EQ(b[static_cast<std::size_t>(n)], 0xFF);

    // SMS-SUBMIT: TP-MR 0xFF whatever the entry held; relative validity of an unparsable text is 0.
    e = makeEntry(SmsStatus::Sent, "12345", "", "garbage", "");
    e.messageRef = 0x33;
    EXPECT_EQ(EncodeSmsRecord(e, b), 14);
    // TP-UDL 0 is the last byte written; 0xFF after it is filler.
    EXPECT_EQ(test::toSpacedHex(std::span<const uint8_t>(b).first(15)), "05 04 91 21 43 F5 11 FF 00 A8 00 00 00 00 FF");

    // Absolute validity: TP-VPF 3, swapped-nibble BCD, seconds and time zone zero.
    e = makeEntry(SmsStatus::ToBeSent, "1", "2", "1.12.2099 23:59", "");
    const int m = EncodeSmsRecord(e, b);
    EXPECT_EQ(test::toSpacedHex(std::span<const uint8_t>(b).first(static_cast<std::size_t>(m))),
              "07 02 91 F1 19 FF 01 A8 F2 00 00 99 21 10 32 95 00 00 00");

    // More than 20 digits in a field are cut to 20 on the card.
    e = makeEntry(SmsStatus::Read, "", "", "", "");
    std::memset(e.number, '7', sizeof e.number); // not even NUL-terminated
    const SmsEntry back = DecodeSmsRecord(EncodeSmsRecord(e, 176).record, 0);
    EXPECT_EQ(fixedText(back.number), std::string(20, '7'));
}

TEST(SmsCodec, RoundTrips)
{
    const SmsEntry entries[] = {
        makeEntry(SmsStatus::Read, "420603052000", "*31#123", "01.02.03 04:05", "Hello @ world!"),
        makeEntry(SmsStatus::Received, "", "12345678901234567890", "31.12.99 23:59", std::string(160, 'q')),
        makeEntry(SmsStatus::Sent, "1", "1", "7 days", "x"),
        makeEntry(SmsStatus::ToBeSent, "12345678901234567890", "0", "12 hours", "~}|{_^]\\[ZA\xE2\x82\xAC"),
        makeEntry(SmsStatus::Sent, "44", "55", "28.02.2003 13:45", "absolute validity"),
        makeEntry(SmsStatus::ToBeSent, "44", "55", "441 days", ""),
    };
    for (const SmsEntry& in : entries) {
        const SmsEncodeResult r = EncodeSmsRecord(in, 176);
        ASSERT_TRUE(r.fits) << in.text;
        ASSERT_EQ(r.record.size(), 176u);
        const SmsEntry out = DecodeSmsRecord(r.record, in.position);
        EXPECT_EQ(out.valid, 1);
        EXPECT_EQ(out.position, in.position);
        EXPECT_EQ(out.status, in.status);
        EXPECT_STREQ(out.scNumber, in.scNumber);
        EXPECT_EQ(out.scTon, in.scTon);
        EXPECT_EQ(out.scNpi, in.scNpi);
        EXPECT_STREQ(out.number, in.number);
        EXPECT_EQ(out.numberTon, in.numberTon);
        EXPECT_EQ(out.numberNpi, in.numberNpi);
        EXPECT_STREQ(out.text, in.text);
        SmsTime a;
        SmsTime b;
        ASSERT_TRUE(ParseSmsTime(in.when, a));
        ASSERT_TRUE(ParseSmsTime(out.when, b)) << out.when;
        EXPECT_EQ(FormatSmsTime(a), FormatSmsTime(b)) << in.when;
    }
}

TEST(SmsCodec, MessageTooLongForTheRecordIsRefused)
{
    // 160 characters, 20-digit service centre and number, absolute validity: 177 bytes.
    const SmsEntry e = makeEntry(SmsStatus::Sent, "12345678901234567890", "09876543210987654321", "1.1.03 10:00",
                                 std::string(160, 'm'));
    const SmsEncodeResult small = EncodeSmsRecord(e, 176);
    EXPECT_FALSE(small.fits);
    EXPECT_EQ(small.length, 177);
    EXPECT_TRUE(small.record.empty());

    for (int length : {177, 180, 255}) {
        const SmsEncodeResult r = EncodeSmsRecord(e, length);
        ASSERT_TRUE(r.fits) << length;
        EXPECT_EQ(r.length, 177);
        ASSERT_EQ(r.record.size(), static_cast<std::size_t>(length));
        for (std::size_t i = 177; i < r.record.size(); ++i)
            EXPECT_EQ(r.record[i], 0xFF) << i;
        EXPECT_EQ(fixedText(DecodeSmsRecord(r.record, 0).text), std::string(160, 'm'));
    }

    // The same message with relative validity needs six bytes less.
    SmsEntry relative = e;
    setFixedText(relative.when, "7 days");
    EXPECT_EQ(EncodeSmsRecord(relative, 176).length, 171);
    EXPECT_TRUE(EncodeSmsRecord(relative, 176).fits);

    EXPECT_FALSE(EncodeSmsRecord(SmsEntry{}, 0).fits);
    EXPECT_FALSE(EncodeSmsRecord(e, -1).fits);
}
