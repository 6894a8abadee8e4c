#include "sim/SmsFiles.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CardFileDoubles.h"
#include "HexBytes.h"
#include "SimBench.h"
#include "codec/PcText.h"
#include "codec/FixedText.h"
#include "codec/SmsCodec.h"
#include "codec/SmsTime.h"

using namespace kestrel;
using namespace kestrel::test;
using namespace kestrel::gsm::fid;

namespace {

constexpr int kRecords = 20;
// EF_EXT1 and EF_EXT2 of the standard card, 10 records each.
constexpr int kExtensionRecords = 20;
constexpr int kRecordLength = 176;

class SmsFilesTest : public ::testing::Test
{
protected:
    void use(emulator::SimCardData data, const emulator::FaultPlan* faults = nullptr)
    {
        bench = std::make_unique<SimBench>(std::move(data), faults);
        bench->sim->setPinPrompt(&prompt);
    }
    void SetUp() override { use(emulator::StandardCard::simCard()); }

    // Opens the card as a card operation does: progress window first, then PIN1.
    void open(RecordingProgress* progress = nullptr)
    {
        if (progress)
            sim().beginProgress(progress, 5000, 5100);
        prompt.answers = {std::string("1234")};
        ASSERT_TRUE(sim().openCard(true, false, true, false)) << toInt(sim().lastStatus());
        bench->clearLog();
    }
    void close()
    {
        sim().closeCard();
        sim().endProgress(false);
    }

    SmsFiles files()
    {
        SmsFiles f(sim());
        f.setImagePause(std::chrono::milliseconds(0));
        return f;
    }
    SimCard& sim() { return *bench->sim; }
    RecordingIcc& rec() { return *bench->recorder; }
    const std::vector<uint8_t>& cardSms() { return findFile(bench->model->data(), kEfSms)->data; }
    std::span<const uint8_t> cardRecord(int n)
    {
        return std::span<const uint8_t>(cardSms()).subspan(static_cast<std::size_t>((n - 1) * kRecordLength),
                                                           kRecordLength);
    }

    QueuedPinPrompt prompt;
    std::unique_ptr<SimBench> bench;
};

SmsEntry message(uint16_t position, SmsStatus status, const char* text, const char* when = "1 day")
{
    SmsEntry e;
    e.valid = 1;
    e.position = position;
    e.status = static_cast<int32_t>(status);
    setFixedText(e.text, text);
    setFixedText(e.scNumber, "420602909909");
    e.scTon = 1;
    e.scNpi = 1;
    setFixedText(e.number, "420777123456");
    e.numberTon = 1;
    e.numberNpi = 1;
    setFixedText(e.when, when);
    e.modified = 1;
    return e;
}

// A `when` text as the codec writes it back ("60 mins" reads back as "60 min").
std::string canonicalWhen(const char* when)
{
    SmsTime t;
    EXPECT_TRUE(ParseSmsTime(when, t)) << when;
    return FormatSmsTime(t);
}

SmsEntry freeEntry(uint16_t position)
{
    SmsEntry e;
    e.position = position;
    e.modified = 1;
    return e;
}

} // namespace

// The standard card's three messages and seventeen free records into a window of 99 rows.
TEST_F(SmsFilesTest, ReadsTheStandardCardsMessages)
{
    RecordingProgress progress;
    open(&progress);
    std::vector<SmsEntry> rows(99);
    rows[50].valid = 1; // whatever the rows held before goes
    int count = -1;
    ASSERT_TRUE(files().readSmsList(rows, count)) << toInt(sim().lastStatus());
    EXPECT_EQ(count, kRecords);

    struct Expected
    {
        SmsStatus status;
        const char* number;
        std::string when;
        const char* text;
    };
    const Expected expected[] = {
        {SmsStatus::Read, "420602111222", "12.03.24 18:45", "Dinner at seven?"},
        {SmsStatus::Received, "420731000111", "14.03.24 09:02", "Your parcel is waiting at the post office."},
        {SmsStatus::ToBeSent, "420602111222", ValidityChoiceText(2), "See you on Sunday"},
        {SmsStatus::Sent, "420731000111", ValidityChoiceText(2), "I will pick it up tomorrow"},
    };
    for (std::size_t k = 0; k < std::size(expected); ++k) {
        const SmsEntry& e = rows[k];
        EXPECT_TRUE(e.valid) << k;
        EXPECT_EQ(e.status, static_cast<int32_t>(expected[k].status)) << k;
        EXPECT_EQ(fixedText(e.number), expected[k].number) << k;
        EXPECT_EQ(e.numberTon, 1) << k;
        EXPECT_EQ(fixedText(e.scNumber), "420602909909") << k;
        EXPECT_EQ(fixedText(e.when), expected[k].when) << k;
        EXPECT_EQ(fixedText(e.text), expected[k].text) << k;
        EXPECT_EQ(e.position, k);
    }
    for (std::size_t k = std::size(expected); k < rows.size(); ++k) {
        EXPECT_FALSE(rows[k].valid) << k;
        // Every row knows its own position, also those beyond the file: none passes for record 1.
        EXPECT_EQ(rows[k].position, k) << k;
    }
    // The extension files' images (10 EXT1 and 10 EXT2 records) are loaded before EF_SMS.
    EXPECT_EQ(rec().count("A0 B2"), kRecords + kExtensionRecords);
    EXPECT_EQ(rec().count("A0 B2 14 04 B0"), 1);
    EXPECT_EQ(progress.texts.back(), QStringLiteral("Reading SMS messages from SIM\nReading item 20 (total 20)"));
    EXPECT_EQ(progress.percents.back(), 100);
    EXPECT_EQ(sim().image(CachedFile::Sms)->recordCount, kRecords);

    // A window of fewer rows than the card has records takes what fits.
    std::vector<SmsEntry> few(2);
    ASSERT_TRUE(files().readSmsList(few, count));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(fixedText(few[1].text), "Your parcel is waiting at the post office.");
    close();
}

// Once EF_SMS has an image, a read takes the records from it without READ RECORD: in the same
// operation, and in a later one while EnCache is on and the card is the same.
TEST_F(SmsFilesTest, SecondReadComesFromTheImage)
{
    struct Case
    {
        bool enCache;
        bool reopen;
        int secondReads;
    };
    for (const Case c : {Case{true, false, 0}, Case{true, true, 0}, Case{false, true, kRecords + kExtensionRecords}}) {
        use(emulator::StandardCard::simCard());
        sim().setSettings(SimCardSettings{c.enCache});
        RecordingProgress progress;
        open(&progress);
        std::vector<SmsEntry> first(kRecords);
        int count = 0;
        ASSERT_TRUE(files().readSmsList(first, count));
        if (c.reopen) {
            close();
            open(&progress);
        }
        bench->clearLog();
        progress.texts.clear();
        std::vector<SmsEntry> second(kRecords);
        ASSERT_TRUE(files().readSmsList(second, count));
        EXPECT_EQ(rec().count("A0 B2"), c.secondReads) << c.enCache << c.reopen;
        EXPECT_EQ(fixedText(second[1].text), fixedText(first[1].text));
        // Served from the image, the progress still counts every record.
        EXPECT_EQ(progress.texts.size(), static_cast<std::size_t>(kRecords)) << c.enCache << c.reopen;
        close();
    }
}

// Writes go record by record from the entry with that position; records without an entry stay as
// they were; a free entry makes a free record (00, then FF). Reading back from the card gives
// what was written, and the image follows the card without a read.
TEST_F(SmsFilesTest, WriteAndReadBack)
{
    RecordingProgress progress;
    open(&progress);
    const std::vector<uint8_t> record2Before(cardRecord(2).begin(), cardRecord(2).end());
    std::vector<SmsEntry> rows = {
        message(0, SmsStatus::ToBeSent, "Changed text", "7 days"),
        freeEntry(2),
        message(19, SmsStatus::Sent, "Last record @ the end", "60 mins"),
        message(0, SmsStatus::Read, "Second entry for record 1 is not used"),
        message(5, SmsStatus::Received, "Received at noon", "01.02.25 12:00"),
    };
    int count = 0;
    ASSERT_TRUE(files().writeSmsList(rows, count)) << toInt(sim().lastStatus());
    EXPECT_EQ(count, kRecords);
    EXPECT_EQ(rec().count("A0 DC"), 4);
    EXPECT_EQ(rec().count("A0 DC 01 04 B0"), 1);
    EXPECT_EQ(rec().count("A0 DC 14 04 B0"), 1);
    EXPECT_EQ(progress.texts.back(), QStringLiteral("Writing SMS messages to SIM\nWriting Item 20 (total 20)"));
    EXPECT_EQ(progress.percents.back(), 95);
    for (std::size_t i : {0u, 1u, 2u, 4u})
        EXPECT_EQ(rows[i].modified, 0) << i;
    EXPECT_EQ(rows[3].modified, 1);

    // Record 2 had no entry: untouched. Record 3 is free now.
    EXPECT_TRUE(std::equal(record2Before.begin(), record2Before.end(), cardRecord(2).begin()));
    EXPECT_EQ(cardRecord(3)[0], 0x00);
    EXPECT_TRUE(std::all_of(cardRecord(3).begin() + 1, cardRecord(3).end(), [](uint8_t b) { return b == 0xFF; }));

    bench->clearLog();
    sim().flushCaches(); // read the card itself, not the image
    sim().closeCard();
    prompt.answers = {std::string("1234")};
    ASSERT_TRUE(sim().openCard(true, false, true, false));
    std::vector<SmsEntry> back(kRecords);
    ASSERT_TRUE(files().readSmsList(back, count));
    for (std::size_t i : {0u, 2u, 4u}) {
        const SmsEntry& w = rows[i];
        const SmsEntry& r = back[w.position];
        EXPECT_TRUE(r.valid) << i;
        EXPECT_EQ(fixedText(r.text), fixedText(w.text)) << i;
        EXPECT_EQ(fixedText(r.number), fixedText(w.number)) << i;
        EXPECT_EQ(fixedText(r.scNumber), fixedText(w.scNumber)) << i;
        EXPECT_EQ(fixedText(r.when), canonicalWhen(w.when)) << i;
        EXPECT_EQ(r.status, w.status) << i;
    }
    EXPECT_FALSE(back[2].valid);
    EXPECT_EQ(fixedText(back[1].text), "Your parcel is waiting at the post office.");

    // The image is updated by the write: with it in place, a write and a read need no READ RECORD.
    rows[0] = message(0, SmsStatus::Read, "Kept in the image too");
    ASSERT_TRUE(files().writeSmsList(std::span(rows).first(1), count));
    bench->clearLog();
    ASSERT_TRUE(files().readSmsList(back, count));
    EXPECT_EQ(rec().count("A0 B2"), 0);
    EXPECT_EQ(fixedText(back[0].text), "Kept in the image too");
    close();
}

// A list that cannot be written whole is refused before the first UPDATE RECORD: a valid entry
// beyond the file, or a message that does not fit in a record. Free entries beyond the file do
// not matter. A refusal drops the images.
TEST_F(SmsFilesTest, RefusedListsWriteNothing)
{
    const std::string tooLong(199, 'x'); // 175 bytes of septets alone
    struct Case
    {
        const char* name;
        std::vector<SmsEntry> rows;
        CardStatus status;
        QString detail;
    };
    const Case cases[] = {
        {"valid entry beyond the file",
         {message(0, SmsStatus::Read, "fine"), message(kRecords, SmsStatus::Read, "one too far")},
         CardStatus::PositionsOverflow,
         {}},
        {"message too long",
         {message(0, SmsStatus::Read, "fine"), message(5, SmsStatus::ToBeSent, tooLong.c_str())},
         CardStatus::NonSpecificError,
         QStringLiteral("Message is too long (6)")},
        {"free entry beyond the file", {message(0, SmsStatus::Read, "fine"), freeEntry(200)}, CardStatus::Ok, {}},
    };
    for (const Case& c : cases) {
        use(emulator::StandardCard::simCard());
        open();
        const std::vector<uint8_t> before = cardSms();
        sim().image(CachedFile::Adn) = FileImage(250, 28);
        std::vector<SmsEntry> rows = c.rows;
        int count = 0;
        EXPECT_EQ(files().writeSmsList(rows, count), c.status == CardStatus::Ok) << c.name;
        EXPECT_EQ(sim().lastStatus(), c.status) << c.name;
        if (c.status == CardStatus::Ok) {
            EXPECT_EQ(rec().count("A0 DC"), 1) << c.name;
            continue;
        }
        EXPECT_EQ(rec().count("A0 DC"), 0) << c.name;
        EXPECT_EQ(cardSms(), before) << c.name;
        EXPECT_EQ(rows[0].modified, 1) << c.name;
        EXPECT_FALSE(sim().image(CachedFile::Adn).has_value()) << c.name;
        EXPECT_EQ(sim().statusDetail(), c.detail) << c.name;
        if (!c.detail.isEmpty()) {
            EXPECT_TRUE(sim().statusMessage().endsWith(QStringLiteral("\r\n") + c.detail)) << c.name;
        }
        // The detail belongs to this refusal only.
        ASSERT_TRUE(sim().openCard(true, false, true, false));
        EXPECT_TRUE(sim().statusDetail().isEmpty());
        close();
    }
}

// Without the SMS service (EF_SST service 4 not allocated and activated) nothing is read or written
// and EF_SMS is not even selected; without a reader the status is 142.
TEST_F(SmsFilesTest, ServiceAndReaderRequired)
{
    use(standardCardWith([](emulator::SimCardData& d) { findFile(d, kEfSst)->data[0] &= 0x3F; }));
    open();
    std::vector<SmsEntry> rows(kRecords);
    int count = -1;
    EXPECT_FALSE(files().readSmsList(rows, count));
    EXPECT_EQ(sim().lastStatus(), CardStatus::FileNotAccessible);
    EXPECT_EQ(count, 0);
    rows[0] = message(0, SmsStatus::Read, "never written");
    EXPECT_FALSE(files().writeSmsList(rows, count));
    EXPECT_EQ(sim().lastStatus(), CardStatus::FileNotAccessible);
    EXPECT_EQ(rec().count("A0 A4 00 00 02 6F 3C"), 0);
    close();

    SimCard lonely([] { return nullptr; });
    SmsFiles none(lonely);
    EXPECT_FALSE(none.readSmsList(rows, count));
    EXPECT_EQ(lonely.lastStatus(), CardStatus::ReaderInaccessible);
    EXPECT_FALSE(none.writeSmsList(rows, count));
    EXPECT_EQ(lonely.lastStatus(), CardStatus::ReaderInaccessible);
}

// Abort is seen at the next record: 146, the images dropped (no half-filled SMS image survives),
// and a write keeps the records written before it.
TEST_F(SmsFilesTest, AbortStopsWith146AndDropsTheImages)
{
    struct Case
    {
        bool writing;
        int abortAtRecord;
    };
    for (const Case c : {Case{false, 5}, Case{true, 3}, Case{false, 1}}) {
        use(emulator::StandardCard::simCard());
        RecordingProgress progress;
        progress.abortAtPoll = 1 + c.abortAtRecord; // poll 1 is the opening text
        open(&progress);
        sim().image(CachedFile::Adn) = FileImage(250, 28);
        // With the extension files' images in place, reading touches EF_SMS only.
        sim().image(CachedFile::Ext1) = FileImage(10, 13);
        sim().image(CachedFile::Ext2) = FileImage(10, 13);
        std::vector<SmsEntry> rows;
        for (uint16_t k = 0; k < kRecords; ++k)
            rows.push_back(message(k, SmsStatus::ToBeSent, "bulk"));
        int count = 0;
        const bool ok = c.writing ? files().writeSmsList(rows, count) : files().readSmsList(rows, count);
        EXPECT_FALSE(ok);
        EXPECT_EQ(sim().lastStatus(), CardStatus::CancelledByUser) << c.writing << c.abortAtRecord;
        EXPECT_EQ(rec().count(c.writing ? "A0 DC" : "A0 B2"), c.abortAtRecord - 1) << c.writing;
        EXPECT_FALSE(sim().image(CachedFile::Sms).has_value());
        EXPECT_FALSE(sim().image(CachedFile::Adn).has_value());
        if (c.writing) {
            const SmsEntry first = DecodeSmsRecord(cardRecord(1), 0);
            EXPECT_EQ(fixedText(first.text), "bulk");
            const SmsEntry untouched = DecodeSmsRecord(cardRecord(c.abortAtRecord), 0);
            EXPECT_NE(fixedText(untouched.text), "bulk");
            EXPECT_EQ(rows[0].modified, 0);
            EXPECT_EQ(rows[static_cast<std::size_t>(c.abortAtRecord - 1)].modified, 1);
        }
        close();
    }
}

// A card that stops answering in the middle of the read: the card's status, no image kept.
TEST_F(SmsFilesTest, CardFailureDuringReadDropsTheImage)
{
    // Where the third READ RECORD falls, learnt from a clean run: the opening takes 21 commands,
    // then come the SELECTs of the files the read looks at before EF_SMS's records.
    int third = 0;
    {
        use(emulator::StandardCard::simCard());
        open();
        std::vector<SmsEntry> rows(kRecords);
        int count = 0;
        ASSERT_TRUE(files().readSmsList(rows, count));
        int reads = 0;
        for (std::size_t k = 0; k < rec().log.size() && third == 0; ++k) {
            if (rec().log[k].rfind("A0 B2", 0) == 0 && ++reads == 3)
                third = static_cast<int>(k) + 1;
        }
        ASSERT_NE(third, 0);
        close();
    }
    emulator::FaultPlan plan;
    plan.wrongStatusAtCommand = 21 + third;
    plan.wrongStatus = 0x6F00;
    use(emulator::StandardCard::simCard(), &plan);
    open();
    std::vector<SmsEntry> rows(kRecords);
    int count = 0;
    EXPECT_FALSE(files().readSmsList(rows, count));
    EXPECT_EQ(sim().lastStatus(), CardStatus::BadCardResponse);
    EXPECT_EQ(rec().count("A0 B2"), 3);
    EXPECT_FALSE(sim().image(CachedFile::Sms).has_value());
    EXPECT_FALSE(sim().image(CachedFile::Ext1).has_value());
    EXPECT_EQ(count, 0);
}

// A card with more records than the 99 rows of a window: the rows are read and written back, and
// records 100-120 stay exactly as they were.
TEST_F(SmsFilesTest, RecordsBeyondTheRowsStayAsTheyWere)
{
    use(standardCardWith([](emulator::SimCardData& d) {
        emulator::SimFile* sms = findFile(d, kEfSms);
        const std::vector<uint8_t> first(sms->data.begin(), sms->data.begin() + sms->recordLength);
        for (int r = sms->recordCount(); r < 120; ++r)
            sms->data.insert(sms->data.end(), first.begin(), first.end());
    }));
    const std::vector<uint8_t> before = findFile(bench->model->data(), kEfSms)->data;
    open();
    std::vector<SmsEntry> rows(99);
    int count = 0;
    ASSERT_TRUE(files().readSmsList(rows, count));
    EXPECT_EQ(count, 99);
    rows[98] = message(98, SmsStatus::ToBeSent, "Row 99", "7 days");
    ASSERT_TRUE(files().writeSmsList(rows, count));
    EXPECT_EQ(count, 120);
    const std::vector<uint8_t>& after = findFile(bench->model->data(), kEfSms)->data;
    const auto tail = static_cast<std::ptrdiff_t>(99 * kRecordLength);
    EXPECT_TRUE(std::equal(before.begin() + tail, before.end(), after.begin() + tail));
    EXPECT_FALSE(std::equal(before.begin(), before.begin() + tail, after.begin()));
    close();
}

// Messages the plain encoder cannot write (UCS2, a concatenated part) survive a read and write
// unchanged, and no record whose bytes stay is written again; entries without their record (as a
// backup or a .SMS file gives them back) that are all such a file could hold of the card's message
// leave its record as it is.
TEST_F(SmsFilesTest, UnchangedRecordsAreNotWrittenAgain)
{
    const std::vector<uint8_t> ucs2 =
        hexBytes("03 00 04 04 81 21 43 00 08 30 20 11 21 43 65 00 0A 04 1F 04 40 04 38 04 32 04 35");
    const std::vector<uint8_t> part =
        hexBytes("03 00 44 04 81 21 43 00 00 30 20 11 21 43 65 00 0D 05 00 03 2A 02 01 D0 69 10 60 53 06");
    use(standardCardWith([&](emulator::SimCardData& d) {
        emulator::SimFile* sms = findFile(d, kEfSms);
        std::copy(ucs2.begin(), ucs2.end(), sms->data.begin() + 4 * kRecordLength);
        std::copy(part.begin(), part.end(), sms->data.begin() + 5 * kRecordLength);
    }));
    const std::vector<uint8_t> before = cardSms();
    RecordingProgress progress;
    open(&progress);
    std::vector<SmsEntry> rows(kRecords);
    int count = 0;
    ASSERT_TRUE(files().readSmsList(rows, count));
    EXPECT_EQ(rows[4].encoding, SmsEncoding::Ucs2);
    EXPECT_EQ(rows[5].concatTotal, 2);
    bench->clearLog();
    ASSERT_TRUE(files().writeSmsList(rows, count));
    EXPECT_EQ(rec().count("A0 DC"), 0);
    EXPECT_EQ(progress.texts.back(), QStringLiteral("Writing SMS messages to SIM\nWriting Item 20 (total 20)"));
    EXPECT_EQ(cardSms(), before);

    // The same messages through a Windows-1250 file, without their records and with no image.
    std::vector<SmsEntry> stored(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        const SmsEntry& r = rows[static_cast<std::size_t>(i)];
        SmsEntry& s = stored[static_cast<std::size_t>(i)];
        s = message(r.position, static_cast<SmsStatus>(r.status), "", "");
        s.valid = r.valid;
        setFixedText(s.text, throughWindows1250(fixedText(r.text)));
        std::copy(std::begin(r.scNumber), std::end(r.scNumber), s.scNumber);
        std::copy(std::begin(r.number), std::end(r.number), s.number);
        s.scTon = r.scTon;
        s.numberTon = r.numberTon;
        s.scNpi = s.numberNpi = 0; // a .SMS file holds no numbering plan
        std::copy(std::begin(r.when), std::end(r.when), s.when);
    }
    stored[6] = message(6, SmsStatus::ToBeSent, "A new one", "7 days");
    stored[4].status = static_cast<int32_t>(SmsStatus::Read); // read since
    sim().flushCaches();
    sim().closeCard();
    open();
    ASSERT_TRUE(files().writeSmsList(stored, count));
    EXPECT_EQ(rec().count("A0 DC"), 2) << "record 7 and the status byte of record 5";
    std::vector<uint8_t> expected = before;
    expected[4 * kRecordLength] = 0x01;
    EXPECT_TRUE(std::equal(expected.begin(), expected.begin() + 6 * kRecordLength, cardSms().begin()));
    EXPECT_EQ(fixedText(DecodeSmsRecord(cardRecord(7), 6).text), "A new one");
    close();
}
