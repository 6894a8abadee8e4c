#include "emulator/StandardCard.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "codec/DialRecord.h"
#include "codec/FixedText.h"
#include "codec/PlmnCodec.h"
#include "codec/SmsCodec.h"
#include "emulator/CardFile.h"

using namespace kestrel;
using namespace kestrel::emulator;

namespace {

const SimFile& fileAt(const SimCardData& card, std::vector<uint16_t> path)
{
    for (const SimFile& f : card.files) {
        if (f.path == path)
            return f;
    }
    static const SimFile none;
    ADD_FAILURE() << "no file " << formatPath(path);
    return none;
}

std::span<const uint8_t> recordOf(const SimFile& f, int number)
{
    return std::span<const uint8_t>(f.data).subspan(static_cast<std::size_t>((number - 1) * f.recordLength),
                                                    static_cast<std::size_t>(f.recordLength));
}

// Service n of EF_SST: both bits of its pair set.
bool hasService(const std::vector<uint8_t>& sst, int n)
{
    const auto byte = static_cast<std::size_t>((n - 1) / 4);
    const int bits = 3 << (2 * ((n - 1) % 4));
    return byte < sst.size() && (sst[byte] & bits) == bits;
}

class StandardCardTest : public ::testing::Test
{
protected:
    const SimCardData card = StandardCard::simCard();
    const SimFile& ext1 = fileAt(card, {0x3F00, 0x7F10, 0x6F4A});
};

TEST_F(StandardCardTest, FilesHaveTheirGsmLayout)
{
    struct Expect
    {
        std::vector<uint16_t> path;
        FileStructure structure;
        int records; // or the size of a transparent file
        int length;
    };
    const Expect files[] = {
        {{0x3F00, 0x2FE2}, FileStructure::Transparent, 10, 0},
        {{0x3F00, 0x7F10, 0x6F3A}, FileStructure::LinearFixed, 250, 28},
        {{0x3F00, 0x7F10, 0x6F3B}, FileStructure::LinearFixed, 10, 28},
        {{0x3F00, 0x7F10, 0x6F3C}, FileStructure::LinearFixed, 20, 176},
        {{0x3F00, 0x7F10, 0x6F40}, FileStructure::LinearFixed, 2, 28},
        {{0x3F00, 0x7F10, 0x6F42}, FileStructure::LinearFixed, 2, 40},
        {{0x3F00, 0x7F10, 0x6F44}, FileStructure::Cyclic, 10, 28},
        {{0x3F00, 0x7F10, 0x6F4A}, FileStructure::LinearFixed, 10, 13},
        {{0x3F00, 0x7F10, 0x6F4B}, FileStructure::LinearFixed, 10, 13},
        {{0x3F00, 0x7F20, 0x6F07}, FileStructure::Transparent, 9, 0},
        {{0x3F00, 0x7F20, 0x6F30}, FileStructure::Transparent, 24, 0},
        {{0x3F00, 0x7F20, 0x6F38}, FileStructure::Transparent, 10, 0},
        {{0x3F00, 0x7F20, 0x6F7B}, FileStructure::Transparent, 12, 0},
        {{0x3F00, 0x7F20, 0x6F7E}, FileStructure::Transparent, 11, 0},
        {{0x3F00, 0x7F20, 0x6FAE}, FileStructure::Transparent, 1, 0},
        {{0x3F00, 0x7F20, 0x6F41}, FileStructure::Transparent, 5, 0},
        {{0x3F00, 0x7F20, 0x6F39}, FileStructure::Cyclic, 5, 3},
        {{0x3F00, 0x7F20, 0x6F37}, FileStructure::Transparent, 3, 0},
    };
    for (const Expect& e : files) {
        SCOPED_TRACE(formatPath(e.path));
        const SimFile& f = fileAt(card, e.path);
        EXPECT_EQ(f.structure, e.structure);
        if (e.structure == FileStructure::Transparent) {
            EXPECT_EQ(f.size(), e.records);
        } else {
            EXPECT_EQ(f.recordCount(), e.records);
            EXPECT_EQ(f.recordLength, e.length);
        }
        EXPECT_EQ(f.name, standardFileName(e.path));
    }
    EXPECT_EQ(fileAt(card, {0x3F00, 0x7F10, 0x6F3B}).access.update, AccessLevel::Chv2);
    EXPECT_EQ(fileAt(card, {0x3F00, 0x7F10, 0x6F3A}).access.invalidate, AccessLevel::Chv2);
    EXPECT_EQ(fileAt(card, {0x3F00, 0x7F20, 0x6F39}).access.increase, AccessLevel::Chv1);
    EXPECT_TRUE(CardFile::check(card).isEmpty());
    EXPECT_EQ(card.chv1.code, "1234");
    EXPECT_EQ(card.chv2.code, "5678");
    EXPECT_EQ(card.chv1.unblockCode, "12345678");
    EXPECT_EQ(card.chv2.unblockCode, "87654321");
    EXPECT_TRUE(card.chv1.enabled);
}

TEST_F(StandardCardTest, PhoneBookDecodesIncludingTheExtensionChain)
{
    const SimFile& adn = fileAt(card, {0x3F00, 0x7F10, 0x6F3A});
    struct Expect
    {
        int record;
        const char* name;
        const char* number;
        uint8_t ton;
    };
    const Expect entries[] = {
        {1, "Mother", "420602111222", 1}, {2, "Office", "224123456", 0},
        {3, "Voicemail", "*77#", 0},      {4, "Conference bri", "123456789012345678901234", 0},
        {6, "Pizza", "777888999", 0},     {7, "Hotel Vienna", "43153163001", 1},
    };
    for (const Expect& e : entries) {
        SCOPED_TRACE(e.record);
        const DialEntry d = DecodeDialRecord(recordOf(adn, e.record), e.record, ext1.data);
        EXPECT_NE(d.valid, 0);
        EXPECT_EQ(fixedText(d.name), e.name);
        EXPECT_EQ(fixedText(d.number), e.number);
        EXPECT_EQ(d.ton, e.ton);
        EXPECT_EQ(d.npi, 1);
    }
    EXPECT_EQ(DecodeDialRecord(recordOf(adn, 5), 5, ext1.data).valid, 0);
    EXPECT_EQ(DecodeDialRecord(recordOf(adn, 250), 250, ext1.data).valid, 0);

    // Record 4 links to EXT1 record 1, an additional-data record with the last four digits and no
    // further link.
    const auto r4 = recordOf(adn, 4);
    EXPECT_EQ(r4[27], 1);
    const auto x = recordOf(ext1, 1);
    EXPECT_EQ(x[0], 0x02);
    EXPECT_EQ(x[1], 2);
    EXPECT_EQ(x[2], 0x21);
    EXPECT_EQ(x[3], 0x43);
    EXPECT_EQ(x[12], 0xFF);
    for (int r = 2; r <= ext1.recordCount(); ++r)
        EXPECT_EQ(recordOf(ext1, r)[0], 0xFF) << r;

    const auto fdn = fileAt(card, {0x3F00, 0x7F10, 0x6F3B});
    const auto ext2 = fileAt(card, {0x3F00, 0x7F10, 0x6F4B});
    EXPECT_EQ(fixedText(DecodeDialRecord(recordOf(fdn, 1), 1, ext2.data).number), "112");
    const auto msisdn = fileAt(card, {0x3F00, 0x7F10, 0x6F40});
    EXPECT_EQ(fixedText(DecodeDialRecord(recordOf(msisdn, 1), 1, ext1.data).number), "420603123456");
    const auto lnd = fileAt(card, {0x3F00, 0x7F10, 0x6F44});
    EXPECT_EQ(fixedText(DecodeDialRecord(recordOf(lnd, 1), 1, ext1.data).name), "Office");
    EXPECT_EQ(fixedText(DecodeDialRecord(recordOf(lnd, 2), 2, ext1.data).number), "800123456");
}

TEST_F(StandardCardTest, MessagesDecode)
{
    const SimFile& sms = fileAt(card, {0x3F00, 0x7F10, 0x6F3C});
    struct Expect
    {
        int record;
        SmsStatus status;
        const char* number;
        const char* text;
    };
    const Expect messages[] = {
        {1, SmsStatus::Read, "420602111222", "Dinner at seven?"},
        {2, SmsStatus::Received, "420731000111", "Your parcel is waiting at the post office."},
        {3, SmsStatus::ToBeSent, "420602111222", "See you on Sunday"},
    };
    for (const Expect& e : messages) {
        SCOPED_TRACE(e.record);
        const SmsEntry m = DecodeSmsRecord(recordOf(sms, e.record), static_cast<uint16_t>(e.record - 1));
        EXPECT_NE(m.valid, 0);
        EXPECT_EQ(m.status, static_cast<int32_t>(e.status));
        EXPECT_EQ(fixedText(m.number), e.number);
        EXPECT_EQ(fixedText(m.scNumber), "420602909909");
        EXPECT_EQ(fixedText(m.text), e.text);
    }
    EXPECT_EQ(fixedText(DecodeSmsRecord(recordOf(sms, 1), 0).when), "12.03.24 18:45");
    EXPECT_EQ(recordOf(sms, 3)[0], 0x07);
    EXPECT_EQ(DecodeSmsRecord(recordOf(sms, 4), 3).valid, 0);
    EXPECT_EQ(recordOf(sms, 4)[0], 0x00);
}

TEST_F(StandardCardTest, SmsParametersCarryTheServiceCentre)
{
    const SimFile& smsp = fileAt(card, {0x3F00, 0x7F10, 0x6F42});
    const auto r = recordOf(smsp, 1);
    const std::size_t p = r.size() - 28;
    EXPECT_EQ(r[p] & 0x12, 0); // service centre and validity present
    EXPECT_EQ(r[p + 13], 7);
    EXPECT_EQ((r[p + 14] >> 4) & 7, 1); // international
    std::string digits;
    for (int i = 0; i < 2 * r[p + 13] - 2; ++i) {
        const uint8_t b = r[p + 15 + static_cast<std::size_t>(i / 2)];
        const uint8_t n = i % 2 == 0 ? (b & 0x0F) : (b >> 4);
        if (n == 0xF)
            break;
        digits += static_cast<char>('0' + n);
    }
    EXPECT_EQ(digits, "420602909909");
    EXPECT_EQ(r[p + 27], 167);
    EXPECT_EQ(recordOf(smsp, 2)[p], 0xFF);
}

TEST_F(StandardCardTest, NetworksServicesAndIdentity)
{
    const auto plmnsel = DecodePlmnList(fileAt(card, {0x3F00, 0x7F20, 0x6F30}).data);
    ASSERT_EQ(plmnsel.size(), 8u);
    EXPECT_EQ(formatPlmn(plmnsel[0].mcc, plmnsel[0].mnc), "230-02");
    EXPECT_EQ(formatPlmn(plmnsel[1].mcc, plmnsel[1].mnc), "262-01");
    int used = 0;
    for (const PlmnEntry& e : plmnsel)
        used += e.used ? 1 : 0;
    EXPECT_EQ(used, 2);
    const auto fplmn = DecodePlmnList(fileAt(card, {0x3F00, 0x7F20, 0x6F7B}).data);
    ASSERT_EQ(fplmn.size(), 4u);
    EXPECT_TRUE(fplmn[0].used);
    EXPECT_EQ(formatPlmn(fplmn[0].mcc, fplmn[0].mnc), "230-03");
    EXPECT_FALSE(fplmn[1].used);

    const auto& sst = fileAt(card, {0x3F00, 0x7F20, 0x6F38}).data;
    for (int n : {1, 2, 3, 4, 5, 7, 9, 10, 11, 12, 13, 29})
        EXPECT_TRUE(hasService(sst, n)) << n;
    for (int n : {6, 8, 14, 15, 28, 30, 40})
        EXPECT_FALSE(hasService(sst, n)) << n;
    EXPECT_EQ(fileAt(card, {0x3F00, 0x7F20, 0x6FAE}).data, std::vector<uint8_t>{0x03});

    // EF_IMSI: digits after the parity nibble, low nibble first.
    const auto& imsi = fileAt(card, {0x3F00, 0x7F20, 0x6F07}).data;
    std::string imsiDigits;
    for (int i = 1; i < 2 * imsi[0]; ++i) {
        const uint8_t b = imsi[1 + static_cast<std::size_t>(i / 2)];
        imsiDigits += static_cast<char>('0' + (i % 2 == 0 ? (b & 0x0F) : (b >> 4)));
    }
    EXPECT_EQ(imsiDigits, "230011234567890");
    EXPECT_EQ(imsi[1] & 0x0F, 0x9);

    // EF_ICCID: 19 digits and their Luhn check digit.
    const auto& iccid = fileAt(card, {0x3F00, 0x2FE2}).data;
    std::string digits;
    for (uint8_t b : iccid) {
        for (uint8_t n : {static_cast<uint8_t>(b & 0x0F), static_cast<uint8_t>(b >> 4)}) {
            if (n != 0xF)
                digits += static_cast<char>('0' + n);
        }
    }
    ASSERT_EQ(digits.size(), 20u);
    EXPECT_EQ(digits.substr(0, 19), StandardCard::kIccidDigits);
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        int d = digits[digits.size() - 1 - i] - '0';
        if (i % 2 == 1)
            d = d * 2 > 9 ? d * 2 - 9 : d * 2;
        sum += d;
    }
    EXPECT_EQ(sum % 10, 0);
}

TEST_F(StandardCardTest, AdviceOfChargeIsFilledIn)
{
    const auto& puct = fileAt(card, {0x3F00, 0x7F20, 0x6F41}).data;
    EXPECT_EQ(std::string(puct.begin(), puct.begin() + 3), "CZK");
    const int eppu = puct[3] << 4 | (puct[4] & 0x0F);
    const int ex = ((puct[4] >> 5) & 7) * ((puct[4] & 0x10) ? -1 : 1);
    EXPECT_DOUBLE_EQ(eppu * std::pow(10.0, ex), 2.5);
    const SimFile& acm = fileAt(card, {0x3F00, 0x7F20, 0x6F39});
    const auto meter = [](std::span<const uint8_t> r) { return r[0] << 16 | r[1] << 8 | r[2]; };
    EXPECT_EQ(meter(recordOf(acm, 1)), 42);
    EXPECT_EQ(meter(fileAt(card, {0x3F00, 0x7F20, 0x6F37}).data), 1000);
}

TEST(StandardTelephoneCard, IsAValidCardWithUnitsLeft)
{
    const SimCardData card = StandardCard::telephoneCard();
    ASSERT_EQ(card.kind, CardKind::TelephoneCard);
    const auto& b = card.memory;
    EXPECT_EQ(b[1], 0x83);
    const int total = 100 * (b[2] & 0x0F) + 10 * (b[3] >> 4) + (b[3] & 0x0F) - 2;
    int used = 0;
    for (int i = 12; i <= 30; ++i) {
        used += std::popcount(b[static_cast<std::size_t>(i)]);
        if (used >= total + 2)
            break;
    }
    EXPECT_EQ(total, 50);
    EXPECT_EQ(total - used + 2, 38);
    EXPECT_EQ(b[11], 85); // Czech Republic
}

} // namespace
