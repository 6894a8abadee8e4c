// Writing back what was read: unchanged rows byte for byte, only changed records sent.

#include "DialFilesFixture.h"

#include "codec/PcText.h"

namespace {

using Bytes = std::vector<uint8_t>;

// EF_ADN record 30: a UCS2 name, capability byte 05, 21 digits with a chain of EF_EXT1 record 7
// (additional data) and record 8 (a called-party subaddress, type 1).
const char* const kOddRecord = "80 04 16 04 3E 04 40 FF FF FF FF FF FF FF 0B 81 21 43 65 87 09 21 43 65 87 09 05 07";
const char* const kExtension7 = "02 01 F1 FF FF FF FF FF FF FF FF FF 08";
const char* const kExtension8 = "01 03 A0 12 34 FF FF FF FF FF FF FF FF";

emulator::SimCardData oddCard()
{
    return standardCardWith([](emulator::SimCardData& d) {
        const Bytes record = hexBytes(kOddRecord);
        std::copy(record.begin(), record.end(), fileRecord(d, kEfAdn, 30).begin());
        const Bytes e7 = hexBytes(kExtension7);
        std::copy(e7.begin(), e7.end(), fileRecord(d, kEfExt1, 7).begin());
        const Bytes e8 = hexBytes(kExtension8);
        std::copy(e8.begin(), e8.end(), fileRecord(d, kEfExt1, 8).begin());
    });
}

class DialKeptBytesTest : public DialFilesTest
{
protected:
    void SetUp() override { use(oddCard()); }
    int updates() const { return bench->recorder->count("A0 DC"); }
    void unicode(bool on) { sim().setSettings(SimCardSettings{true, on}); }
};

} // namespace

TEST_F(DialKeptBytesTest, UnchangedBookSendsNoUpdateAndOneEditSendsOne)
{
    std::vector<DialEntry> book = read(kEfAdn);
    ASSERT_EQ(book.size(), 250u);
    EXPECT_EQ(nameOf(book[29]), "Жор");
    EXPECT_EQ(numberOf(book[29]), "123456789012345678901");

    bench->clearLog();
    ASSERT_TRUE(write(kEfAdn, book));
    EXPECT_EQ(updates(), 0);

    // One name changed: its record alone; a longer number: its record and one extension record.
    setFixedText(book[2].name, "Changed");
    bench->clearLog();
    ASSERT_TRUE(write(kEfAdn, book));
    EXPECT_EQ(updates(), 1);
    setFixedText(book[40].number, digits(25).c_str());
    book[40].valid = 1;
    bench->clearLog();
    ASSERT_TRUE(write(kEfAdn, book));
    EXPECT_EQ(updates(), 2);
    EXPECT_EQ(cardRecord(kEfAdn, 30), hexBytes(kOddRecord));
    EXPECT_EQ(cardRecord(kEfExt1, 8), hexBytes(kExtension8));
}

TEST_F(DialKeptBytesTest, MovedRowKeepsItsBytesWithItsChainRelinked)
{
    std::vector<DialEntry> book = read(kEfAdn);
    ASSERT_EQ(book.size(), 250u);
    std::swap(book[29].position, book[99].position);
    ASSERT_TRUE(write(kEfAdn, book));
    EXPECT_EQ(cardRecord(kEfAdn, 30), Bytes(kRecordLength, 0xFF));

    Bytes moved = cardRecord(kEfAdn, 100);
    const uint8_t first = moved[kX + 13];
    Bytes expected = hexBytes(kOddRecord);
    expected[kX + 13] = first;
    EXPECT_EQ(moved, expected);
    ASSERT_TRUE(first >= 1 && first <= 10);
    Bytes e1 = cardRecord(kEfExt1, first);
    const uint8_t second = e1[12];
    ASSERT_TRUE(second >= 1 && second <= 10 && second != first);
    Bytes want1 = hexBytes(kExtension7);
    want1[12] = second;
    EXPECT_EQ(e1, want1);
    EXPECT_EQ(cardRecord(kEfExt1, second), hexBytes(kExtension8));

    // Read back from the card: the same entry, nothing left of the old chain.
    sim().flushCaches();
    const std::vector<DialEntry> again = read(kEfAdn);
    EXPECT_EQ(nameOf(again[99]), "Жор");
    EXPECT_EQ(again[99].ccpId, 0x05);
    EXPECT_FALSE(again[29].valid);
}

// An entry from a backup or a .DIA file went through Windows-1250: "???" where the card holds
// Cyrillic. It leaves the card's record as it is; a name the user typed as "???" is written.
TEST_F(DialKeptBytesTest, RestoreKeepsANameTheFileCouldNotHold)
{
    std::vector<DialEntry> book = read(kEfAdn);
    ASSERT_EQ(book.size(), 250u);
    for (DialEntry& e : book) {
        setFixedText(e.name, throughWindows1250(fixedText(e.name)));
        e.kept = DialRecordBytes{};
        e.modified = 1;
    }
    EXPECT_EQ(nameOf(book[29]), "???");
    bench->clearLog();
    ASSERT_TRUE(write(kEfAdn, book));
    EXPECT_EQ(updates(), 0);
    EXPECT_EQ(cardRecord(kEfAdn, 30), hexBytes(kOddRecord));

    std::vector<DialEntry> typed = read(kEfAdn);
    setFixedText(typed[29].name, "???");
    ASSERT_TRUE(write(kEfAdn, typed));
    EXPECT_EQ(cardRecord(kEfAdn, 30)[0], '?');
}

TEST_F(DialKeptBytesTest, UnicodeNamesSettingDecidesTheAlphaForm)
{
    struct Case
    {
        bool unicode;
        const char* name;
        const char* alpha; // the record's first bytes
        const char* readBack;
    };
    const Case cases[] = {
        {false, "Jiří Novák", "4A 69 72 69 20 4E 6F 76 61 6B FF FF FF FF", "Jiri Novak"},
        {true, "Jiří Novák", "82 0A 00 E1 4A 69 F8 8C 20 4E 6F 76 80 6B", "Jiří Novák"},
        {true, "Anna", "41 6E 6E 61 FF FF FF FF FF FF FF FF FF FF", "Anna"},
        {true, "Ωmega ß", "15 6D 65 67 61 20 1E FF FF FF FF FF FF FF", "Ωmega ß"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        unicode(c.unicode);
        std::vector<DialEntry> book = {entry(40, c.name, "603123456")};
        ASSERT_TRUE(write(kEfAdn, book));
        const Bytes record = cardRecord(kEfAdn, 41);
        EXPECT_EQ(Bytes(record.begin(), record.begin() + kX), hexBytes(c.alpha));
        sim().flushCaches();
        EXPECT_EQ(nameOf(read(kEfAdn)[40]), c.readBack);
    }
}
