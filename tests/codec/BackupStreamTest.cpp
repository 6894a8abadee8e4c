#include "codec/BackupStream.h"

#include <string>

#include <gtest/gtest.h>

#include "codec/ByteStream.h"
#include "codec/FixedText.h"

using namespace kestrel;

namespace {

DialEntry dial(uint16_t position, const char* name, const char* number, uint8_t ton)
{
    DialEntry e;
    e.valid = 1;
    e.position = position;
    setFixedText(e.name, name);
    setFixedText(e.number, number);
    e.ton = ton;
    e.npi = 1;
    e.ccpId = 0xFF;
    e.extId = 3;
    return e;
}

BackupContents sample()
{
    BackupContents c;
    c.phoneBookCount = 250;
    for (int i = 0; i < 250; ++i)
        c.phoneBook[i] = DialEntry::emptyAt(static_cast<uint16_t>(i));
    c.phoneBook[0] = dial(0, "Alice", "420123456789", 1);
    c.phoneBook[249] = dial(249, "Bob \u010D", std::string(60, '7').c_str(), 0);
    c.fdnCount = 10;
    c.fdn[3] = dial(3, "Fixed", "112", 0);
    c.smsCount = 2;
    c.sms[1].valid = 1;
    c.sms[1].position = 1;
    setFixedText(c.sms[1].text, "Hello @ world");
    setFixedText(c.sms[1].scNumber, "420603052000");
    setFixedText(c.sms[1].number, "123456");
    c.sms[1].numberTon = 1;
    c.sms[1].scTon = 1;
    c.sms[1].scNpi = 1;
    setFixedText(c.sms[1].when, "7 days");
    c.sms[1].status = 3;
    c.serviceCentre = "+420603052000";
    c.validity = "7 days";
    c.plmn = {{1, 0, 234, 1}, {0, 0, 0, 0}, {1, 0, 310, 220}};
    c.fplmn = {{1, 0, 262, 7}};
    return c;
}

void expectSameDial(const DialEntry& a, const DialEntry& b)
{
    EXPECT_EQ(a.valid, b.valid);
    EXPECT_EQ(a.position, b.position);
    EXPECT_EQ(fixedText(a.name), fixedText(b.name));
    EXPECT_EQ(fixedText(a.number), fixedText(b.number));
    EXPECT_EQ(a.ton, b.ton);
    EXPECT_EQ(a.npi, b.npi);
    EXPECT_EQ(a.ccpId, b.ccpId);
    EXPECT_EQ(a.extId, b.extId);
}

std::vector<uint8_t> section(std::string_view name)
{
    ByteWriter w;
    w.string(name);
    return w.bytes();
}

std::vector<uint8_t> concat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::vector<uint8_t> u32(uint32_t v)
{
    ByteWriter w;
    w.u32(v);
    return w.bytes();
}

} // namespace

TEST(BackupStream, RoundTripKeepsEveryStoredField)
{
    const BackupContents in = sample();
    BackupContents out;
    ASSERT_EQ(readBackupStream(writeBackupStream(in), out), kBackupReadOk);

    ASSERT_EQ(out.phoneBookCount, 250);
    for (int i = 0; i < 250; ++i)
        expectSameDial(out.phoneBook[i], in.phoneBook[i]);
    ASSERT_EQ(out.fdnCount, 10);
    expectSameDial(out.fdn[3], in.fdn[3]);
    ASSERT_EQ(out.smsCount, 2);
    const SmsEntry& s = out.sms[1];
    EXPECT_EQ(s.valid, 1);
    EXPECT_EQ(s.position, 1);
    EXPECT_EQ(fixedText(s.text), "Hello @ world");
    EXPECT_EQ(fixedText(s.scNumber), "420603052000");
    EXPECT_EQ(fixedText(s.number), "123456");
    EXPECT_EQ(s.numberTon, 1);
    EXPECT_EQ(s.scNpi, 1);
    EXPECT_EQ(fixedText(s.when), "7 days");
    EXPECT_EQ(s.status, 3);
    EXPECT_EQ(s.modified, 0);
    EXPECT_EQ(s.messageRef, 0);
    EXPECT_EQ(out.serviceCentre, "+420603052000");
    EXPECT_EQ(out.validity, "7 days");
    ASSERT_EQ(out.plmn.size(), 3u);
    EXPECT_EQ(out.plmn[2].mcc, 310u);
    EXPECT_EQ(out.plmn[2].mnc, 220u);
    EXPECT_EQ(out.plmn[1].used, 0);
    ASSERT_EQ(out.fplmn.size(), 1u);
    EXPECT_EQ(out.fplmn[0].mnc, 7u);
}

TEST(BackupStream, FramingOfFirstAndLastSection)
{
    const std::vector<uint8_t> bytes = writeBackupStream(BackupContents{});
    ASSERT_GE(bytes.size(), 25u);
    EXPECT_EQ(bytes[0], 0x0C);
    EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 13), "SECTION_DIAL");
    EXPECT_EQ(bytes[bytes.size() - 12], 0x0B);
    EXPECT_EQ(std::string(bytes.end() - 11, bytes.end()), "SECTION_END");
}

TEST(BackupStream, SectionsInAnyOrderAndMissing)
{
    ByteWriter plmn;
    plmn.string("SECTION_PLMN");
    plmn.u32(1);
    plmn.u8(1);
    plmn.u32(232);
    plmn.u32(1);
    const auto bytes = concat({plmn.bytes(), section("SECTION_FDN"), u32(0), section("SECTION_END")});
    BackupContents out;
    ASSERT_EQ(readBackupStream(bytes, out), kBackupReadOk);
    EXPECT_EQ(out.phoneBookCount, 0);
    EXPECT_EQ(out.fdnCount, 0);
    EXPECT_TRUE(out.serviceCentre.empty());
    ASSERT_EQ(out.plmn.size(), 1u);
    EXPECT_EQ(out.plmn[0].mcc, 232u);
}

TEST(BackupStream, BrokenFilesGiveTheirMessage)
{
    struct Case
    {
        const char* what;
        std::vector<uint8_t> bytes;
        int expected;
    };
    const Case cases[] = {
        {"empty file", {}, kBackupReadError},
        {"unknown section", concat({section("SECTION_FOO"), section("SECTION_END")}), kBackupStructureError},
        {"section name case matters", section("section_end"), kBackupStructureError},
        {"ends after FPLMN without END", concat({section("SECTION_FPLMN"), u32(0)}), kBackupReadError},
        {"phone book count beyond 250", concat({section("SECTION_DIAL"), u32(251)}), kBackupStructureError},
        {"FDN count beyond 250", concat({section("SECTION_FDN"), u32(0xFFFFFFFF)}), kBackupStructureError},
        {"SMS count beyond 99", concat({section("SECTION_SMS"), u32(100)}), kBackupStructureError},
        {"network count beyond the file", concat({section("SECTION_PLMN"), u32(0x10000000)}), kBackupReadError},
        {"string length beyond the file", {0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00, 'S'}, kBackupReadError},
    };
    for (const Case& c : cases) {
        BackupContents out;
        EXPECT_EQ(readBackupStream(c.bytes, out), c.expected) << c.what;
    }
}

TEST(BackupStream, EveryTruncationIsAReadError)
{
    const std::vector<uint8_t> full = writeBackupStream(sample());
    for (std::size_t n = 0; n < full.size(); ++n) {
        BackupContents out;
        const std::vector<uint8_t> prefix(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n));
        ASSERT_EQ(readBackupStream(prefix, out), kBackupReadError) << "prefix of " << n << " bytes";
    }
}

TEST(BackupStream, BadValuesInEntriesAreStructureErrors)
{
    ByteWriter sms;
    sms.string("SECTION_SMS");
    sms.u32(1);
    sms.u32(0);     // position
    sms.u32(1);     // valid
    sms.string(""); // text
    sms.string(""); // scNumber
    sms.string(""); // number
    sms.u32(0);     // four TON/NPI bytes
    sms.string(""); // when
    sms.u32(4);     // status beyond ToBeSent
    BackupContents out;
    EXPECT_EQ(readBackupStream(concat({sms.bytes(), section("SECTION_END")}), out), kBackupStructureError);
}

TEST(BackupStream, LongTextsAreCutToTheirFields)
{
    BackupContents in;
    in.phoneBookCount = 1;
    in.phoneBook[0].valid = 1;
    ByteWriter w;
    w.string("SECTION_DIAL");
    w.u32(1);
    w.u32(0);
    w.u32(1);
    w.string(std::string(300, 'N')); // 16-bit length form
    w.string(std::string(80, '5'));
    for (int i = 0; i < 4; ++i)
        w.u8(0);
    w.string("SECTION_END");
    BackupContents out;
    ASSERT_EQ(readBackupStream(w.bytes(), out), kBackupReadOk);
    EXPECT_EQ(fixedText(out.phoneBook[0].name), std::string(49, 'N'));
    EXPECT_EQ(fixedText(out.phoneBook[0].number), std::string(60, '5'));
}

// The file keeps Windows-1250 names and texts, one byte a character: "č" is 0xE8 in it, a Greek
// name comes back as question marks, and a name longer than the file's 49 bytes is cut there.
TEST(BackupStream, NamesAndTextsAreWindows1250InTheFile)
{
    BackupContents in;
    in.phoneBookCount = 3;
    in.phoneBook[0] = dial(0, "Bob \u010D", "1", 0);
    in.phoneBook[1] = dial(1, "\u0395\u03BB\u03AD\u03BD\u03B7", "2", 0);
    const std::string fifty = std::string(48, 'x') + "\u017E\u017E"; // 52 bytes, 50 characters
    in.phoneBook[2] = dial(2, fifty.c_str(), "3", 0);
    in.smsCount = 1;
    in.sms[0].valid = 1;
    setFixedText(in.sms[0].text, "\u0160koda \u20AC \u263A");
    const std::vector<uint8_t> bytes = writeBackupStream(in);
    const std::string_view file(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    EXPECT_NE(file.find("Bob \xE8"), std::string_view::npos);
    EXPECT_NE(file.find("\x8Akoda \x80 ?"), std::string_view::npos);

    BackupContents out;
    ASSERT_EQ(readBackupStream(bytes, out), kBackupReadOk);
    EXPECT_EQ(fixedText(out.phoneBook[0].name), "Bob \u010D");
    EXPECT_EQ(fixedText(out.phoneBook[1].name), "?????");
    EXPECT_EQ(fixedText(out.phoneBook[2].name), std::string(48, 'x') + "\u017E");
    EXPECT_EQ(fixedText(out.sms[0].text), "\u0160koda \u20AC ?");
}
