#include "sim/DialWritePlan.h"

#include "BackupCards.h"
#include "CardRecords.h"
#include "DialFilesFixture.h"

namespace {

// The standard card with EF_EXT1 full: EF_ADN records 2-11 hold 24-digit numbers, record k + 1
// in EF_EXT1 record k; record 1 ("Mother") a short one.
emulator::SimCardData fullExtensionCard()
{
    return standardCardWith([](emulator::SimCardData& d) {
        std::vector<DialEntry> long24;
        for (uint16_t p = 1; p <= 10; ++p)
            long24.push_back(entry(p, "Long", digits(20) + std::to_string(1000 + p)));
        putDialEntries(d, long24, 1);
    });
}

class DialWritePlanTest : public DialFilesTest
{
protected:
    std::vector<DialEntry> cardBook() const { return decodeDialFile(card(), kEfAdn); }
};

} // namespace

// A card with more records than the 250 a list holds (`kestrel-sim new --adn 254 --name-length
// 16`): records 251-254 and the extension records they link to stay exactly as they were, however
// the first 250 change.
TEST_F(DialWritePlanTest, RecordsBeyondTheListKeepTheirContents)
{
    emulator::SimCardData d = emulator::StandardCard::simCard({.adnRecords = 254, .nameLength = 16});
    ASSERT_EQ(findFile(d, kEfAdn)->recordLength, 30);
    constexpr std::size_t x = 16;
    const auto conference = fileRecord(d, kEfAdn, 4);
    std::vector<uint8_t> copy(conference.begin(), conference.end());
    copy[x + 13] = 5; // its own chain in EF_EXT1 record 5
    std::copy(copy.begin(), copy.end(), fileRecord(d, kEfAdn, 252).begin());
    const auto piece = fileRecord(d, kEfExt1, 1);
    std::vector<uint8_t> own(piece.begin(), piece.end());
    std::copy(own.begin(), own.end(), fileRecord(d, kEfExt1, 5).begin());
    copy[x + 13] = 0xFF;
    copy[0] = 'Z';
    std::copy(copy.begin(), copy.end(), fileRecord(d, kEfAdn, 254).begin());
    use(std::move(d));
    const std::vector<DialEntry> before = cardBook();
    std::vector<DialEntry> book = read(kEfAdn);
    ASSERT_EQ(book.size(), 250u);
    // Six new long numbers want six free extension records: record 5 is not one of them.
    for (uint16_t p = 10; p < 16; ++p)
        book[p] = entry(p, "New", digits(30));
    ASSERT_TRUE(write(kEfAdn, book)) << toInt(sim().lastStatus());
    const std::vector<DialEntry> after = cardBook();
    for (std::size_t k = 250; k < 254; ++k)
        EXPECT_TRUE(sameContact(after[k], before[k])) << k;
    EXPECT_EQ(fixedText(after[251].number), "123456789012345678901234");
    EXPECT_EQ(firstTornRecord(before, after, book), -1);
    EXPECT_EQ(usedExtensionRecords(kEfExt1), 8);
}

// EF_EXT1 full; record 1 gets the long number that record 2 gives up. The write is stopped after
// that reuse: every record is as it was or as written, with its whole chain.
TEST_F(DialWritePlanTest, AbortAfterReuseLeavesEveryRecordOldOrNew)
{
    for (int abortAt = 2; abortAt <= 4; ++abortAt) {
        use(fullExtensionCard());
        const std::vector<DialEntry> before = cardBook();
        std::vector<DialEntry> book = read(kEfAdn);
        book[1] = entry(1, "Short now", "12345");
        book[2] = entry(2, "Reused", digits(28));
        Sink sink;
        sink.abortPrefix = QStringLiteral("Writing phone book to SIM\nWriting Item");
        sink.abortAtCount = abortAt + 1;
        ASSERT_TRUE(sim().beginProgress(&sink, 5000, 5100));
        EXPECT_FALSE(write(kEfAdn, book));
        sim().endProgress(true);
        EXPECT_EQ(sim().lastStatus(), CardStatus::CancelledByUser);
        const std::vector<DialEntry> after = cardBook();
        EXPECT_EQ(firstTornRecord(before, after, book), -1) << abortAt;
        EXPECT_EQ(fixedText(after[1].number), "12345");
        EXPECT_EQ(sameContact(after[2], book[2]), abortAt >= 3) << abortAt;
        for (std::size_t k = 3; k <= 10; ++k)
            EXPECT_TRUE(sameContact(after[k], before[k])) << k;
    }
}

// A missing or malformed EF_EXT2 does not stop reading the phone book; the fixed dialling numbers
// read without their extension digits, and are not written back over it.
TEST_F(DialWritePlanTest, BrokenExtension2CostsOnlyTheNumbersThatNeedIt)
{
    struct Case
    {
        const char* what;
        void (*breakIt)(emulator::SimCardData&);
    };
    const Case cases[] = {
        {"missing",
         [](emulator::SimCardData& d) {
             d.files.erase(std::remove_if(d.files.begin(), d.files.end(),
                                          [](const emulator::SimFile& f) { return f.id() == kEfExt2; }),
                           d.files.end());
         }},
        {"short records", [](emulator::SimCardData& d) { findFile(d, kEfExt2)->recordLength = 5; }},
    };
    for (const Case& c : cases) {
        use(standardCardWith([&](emulator::SimCardData& d) {
            c.breakIt(d);
            std::copy_n(fileRecord(d, kEfAdn, 4).begin(), kRecordLength, fileRecord(d, kEfFdn, 2).begin());
        }));
        const std::vector<DialEntry> book = read(kEfAdn);
        ASSERT_EQ(book.size(), 250u) << c.what;
        EXPECT_EQ(fixedText(book[3].number), "123456789012345678901234") << c.what;
        EXPECT_NE(files->extensionStatus(true), CardStatus::Ok) << c.what;

        std::vector<DialEntry> fdn = read(kEfFdn);
        ASSERT_FALSE(fdn.empty()) << c.what;
        EXPECT_EQ(fixedText(fdn[1].number), "12345678901234567890") << c.what;
        const std::vector<uint8_t> was = fileData(card(), kEfFdn);
        EXPECT_FALSE(write(kEfFdn, fdn, true)) << c.what;
        EXPECT_EQ(sim().lastStatus(), files->extensionStatus(true)) << c.what;
        EXPECT_EQ(fileData(card(), kEfFdn), was) << c.what;
    }
}

// EF_EXT1 full, with ten 24-digit numbers or five of 45 digits (two extension records each).
// Unchanged, the numbers keep their records and no extension record is written. A new long number
// waits for the record a later entry gives up. With nothing given up, or a number changing in
// place (no room beside its old digits), the list is refused whole (148) before any UPDATE, rather
// than one number overwriting another's digits.
TEST_F(DialWritePlanTest, FullExtensionFile)
{
    const auto twoPieceCard = [] {
        return standardCardWith([](emulator::SimCardData& d) {
            std::vector<DialEntry> long45;
            for (uint16_t p = 1; p <= 5; ++p)
                long45.push_back(entry(p, "Long", digits(40) + std::to_string(10001 + p)));
            putDialEntries(d, long45, 1);
        });
    };
    struct Case
    {
        const char* what;
        emulator::SimCardData (*card)();
        int row; // the row edited, -1 none
        DialEntry edit;
        int givenUp; // a row made short as well, -1 none
        bool written;
    };
    const Case cases[] = {
        {"one piece each, unchanged", fullExtensionCard, -1, {}, -1, true},
        {"one piece each, a new long number", fullExtensionCard, 0, entry(0, "Mother", digits(22)), -1, false},
        {"two pieces each, unchanged", twoPieceCard, -1, {}, -1, true},
        {"two pieces each, a new long number before the one given up", twoPieceCard, 0, entry(0, "Mother", digits(30)),
         4, true},
        {"two pieces each, changed in place", twoPieceCard, 1, entry(1, "Long", digits(44)), -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        use(c.card());
        const emulator::SimCardData before = card();
        const std::vector<DialEntry> contacts = cardBook();
        std::vector<DialEntry> book = read(kEfAdn);
        ASSERT_GE(fixedText(book[1].number).size(), 24u);
        if (c.row >= 0)
            book[static_cast<std::size_t>(c.row)] = c.edit;
        if (c.givenUp >= 0)
            book[static_cast<std::size_t>(c.givenUp)] = entry(static_cast<uint16_t>(c.givenUp), "Short now", "12345");
        bench->clearLog();
        EXPECT_EQ(write(kEfAdn, book), c.written);
        const std::vector<DialEntry> after = cardBook();
        EXPECT_EQ(firstTornRecord(contacts, after, book), -1);
        for (std::size_t k = 0; k < 11; ++k)
            EXPECT_TRUE(sameContact(after[k], c.written ? book[k] : contacts[k])) << k;
        if (!c.written) {
            EXPECT_EQ(sim().lastStatus(), CardStatus::ExtensionSpaceOverflow);
            EXPECT_EQ(rec().count("A0 DC"), 0);
            EXPECT_EQ(fileData(card(), kEfAdn), fileData(before, kEfAdn));
            EXPECT_EQ(fileData(card(), kEfExt1), fileData(before, kEfExt1));
            EXPECT_EQ(book[static_cast<std::size_t>(c.row)].modified, 1);
        } else if (c.row < 0) {
            EXPECT_EQ(rec().count("A0 DC 00 04 0D"), 0); // no extension record written
            EXPECT_EQ(fileData(card(), kEfExt1), fileData(before, kEfExt1));
        }
    }
}

// EF_LND points into an empty EF_EXT1 record: a write of EF_ADN never puts a piece there, which
// would graft its digits onto the last number dialled.
TEST_F(DialWritePlanTest, EmptyRecordAnotherFilePointsToIsNotTaken)
{
    use(standardCardWith([](emulator::SimCardData& d) { fileRecord(d, kEfLnd, 1)[kX + 13] = 2; }));
    const std::vector<DialEntry> lnd = decodeDialFile(card(), kEfLnd);
    std::vector<DialEntry> book = read(kEfAdn);
    book[20] = entry(20, "New long", digits(30));
    ASSERT_TRUE(write(kEfAdn, book)) << toInt(sim().lastStatus());
    EXPECT_EQ(cardRecord(kEfExt1, 2), std::vector<uint8_t>(13, 0xFF));
    EXPECT_TRUE(sameContact(decodeDialFile(card(), kEfLnd)[0], lnd[0]));
    EXPECT_EQ(fixedText(read(kEfAdn)[20].number), digits(30));
}
