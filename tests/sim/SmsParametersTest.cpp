#include "sim/SmsParameters.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CardFileDoubles.h"
#include "SimBench.h"
#include "codec/SmsTime.h"
#include "gsm/FileIds.h"

using namespace kestrel;
using namespace kestrel::test;
using namespace kestrel::gsm::fid;

namespace {

constexpr std::chrono::milliseconds kNoPause{0};

std::string validityText(uint8_t vp)
{
    SmsTime t;
    t.validity = vp;
    return FormatSmsTime(t);
}

// An EF_SMSP record of `length` bytes: "Alpha" in front, then the parameters.
std::vector<uint8_t> smspRecord(int length, uint8_t indicators, uint8_t centreLength, uint8_t tonNpi,
                                std::vector<uint8_t> digits, uint8_t vp)
{
    std::vector<uint8_t> r(static_cast<std::size_t>(length), 0xFF);
    const std::size_t p = static_cast<std::size_t>(length - 28);
    const std::string alpha = "Alpha";
    std::copy_n(alpha.begin(), std::min(alpha.size(), p), r.begin());
    r[p] = indicators;
    r[p + 13] = centreLength;
    r[p + 14] = tonNpi;
    std::copy(digits.begin(), digits.end(), r.begin() + static_cast<std::ptrdiff_t>(p + 15));
    r[p + 25] = 0x00;
    r[p + 26] = 0x00;
    r[p + 27] = vp;
    return r;
}

// The standard card with EF_SMSP made of these records, all of one length.
emulator::SimCardData cardWithSmsp(const std::vector<std::vector<uint8_t>>& records)
{
    return standardCardWith([&](emulator::SimCardData& d) {
        emulator::SimFile* smsp = findFile(d, kEfSmsp);
        smsp->recordLength = static_cast<int>(records.front().size());
        smsp->data.clear();
        for (const auto& r : records)
            smsp->data.insert(smsp->data.end(), r.begin(), r.end());
    });
}

class SmsParametersTest : public ::testing::Test
{
protected:
    void use(emulator::SimCardData data)
    {
        bench = std::make_unique<SimBench>(std::move(data));
        prompt.answers.clear();
        prompt.asked.clear();
    }
    void SetUp() override { use(emulator::StandardCard::simCard()); }

    SmsParameters read(ProgressSink* progress = nullptr)
    {
        return ReadSmsParameters(sim(), &prompt, progress, kNoPause);
    }
    SmsParameters write(std::string_view centre, std::string_view validity, ProgressSink* progress = nullptr)
    {
        return WriteSmsParameters(sim(), &prompt, progress, centre, validity, kNoPause);
    }

    SimCard& sim() { return *bench->sim; }
    RecordingIcc& rec() { return *bench->recorder; }
    const std::vector<uint8_t>& cardSmsp() { return findFile(bench->model->data(), kEfSmsp)->data; }

    QueuedPinPrompt prompt;
    std::unique_ptr<SimBench> bench;
};

} // namespace

// The standard card's first record: the SimCard's card access, CHV1 with the prompt, EF_SMSP from
// the MF, one READ RECORD, and the card powered down at the end.
TEST_F(SmsParametersTest, ReadsTheStandardCard)
{
    RecordingProgress progress;
    prompt.answers = {std::string("1234")};
    const SmsParameters p = read(&progress);
    EXPECT_TRUE(p.result.isOk()) << toInt(p.status());
    EXPECT_EQ(p.serviceCentre, "+420602909909");
    EXPECT_EQ(p.validity, validityText(167));
    EXPECT_EQ(p.messageId(), 0);
    EXPECT_EQ(prompt.asked, std::vector<int>{1});
    EXPECT_EQ(sim().rememberedPin(1).view(), "1234");
    EXPECT_EQ(rec().count("A0 20 00 01 08 31 32 33 34"), 1);
    EXPECT_EQ(rec().count("A0 A4 00 00 02 6F 42"), 1);
    EXPECT_EQ(rec().count("A0 B2"), 1);
    EXPECT_EQ(rec().count("A0 B2 01 04 28"), 1);
    EXPECT_EQ(rec().count("A0 DC"), 0);
    EXPECT_FALSE(bench->reader->cardPowered());
    EXPECT_EQ(progress.caption, QStringLiteral("Kestrel! - Reading SMS Parameters"));
    EXPECT_EQ(progress.percents, (std::vector<int>{10, 20, 30, 40, 40, 100}));
    EXPECT_EQ(progress.closed, 1);

    // The PIN is remembered now: the next access asks nothing.
    EXPECT_TRUE(read().result.isOk());
    EXPECT_EQ(prompt.asked.size(), 1u);
}

// Which record is used and how its bytes read.
TEST_F(SmsParametersTest, RecordChoiceAndLayout)
{
    const std::vector<uint8_t> digits = {0x21, 0x43, 0x65, 0xF7};
    struct Case
    {
        const char* name;
        std::vector<std::vector<uint8_t>> records;
        std::string centre;
        std::string validity;
        int reads;
    };
    const Case cases[] = {
        {"first record empty, second with the centre only",
         {smspRecord(40, 0xFF, 5, 0x91, {}, 0x00), smspRecord(40, 0xFD, 5, 0x91, digits, 0xAA)},
         "+1234567",
         validityText(0),
         2},
        {"validity only", {smspRecord(40, 0xEF, 5, 0x91, digits, 173)}, "", validityText(173), 1},
        {"national number", {smspRecord(28, 0xED, 3, 0x81, {0x21, 0x43}, 11)}, "1234", validityText(11), 1},
        {"digits end at the first filler",
         {smspRecord(40, 0xED, 5, 0x91, {0x21, 0xF3}, 11)},
         "+123",
         validityText(11),
         1},
        {"length byte beyond the ten digit bytes",
         {smspRecord(40, 0xED, 0xFF, 0x91, std::vector<uint8_t>(10, 0x99), 11)},
         "+" + std::string(20, '9'),
         validityText(11),
         1},
        {"length byte 0", {smspRecord(40, 0xED, 0, 0x91, digits, 11)}, "", validityText(11), 1},
        {"no parameters anywhere",
         {smspRecord(40, 0xFF, 5, 0x91, digits, 11), smspRecord(40, 0xFF, 0, 0, {}, 0)},
         "",
         "",
         2},
    };
    for (const Case& c : cases) {
        use(cardWithSmsp(c.records));
        prompt.answers = {std::string("1234")};
        const SmsParameters p = read();
        EXPECT_TRUE(p.result.isOk()) << c.name;
        EXPECT_EQ(p.serviceCentre, c.centre) << c.name;
        EXPECT_EQ(p.validity, c.validity) << c.name;
        EXPECT_EQ(rec().count("A0 B2"), c.reads) << c.name;
    }
}

// Writing changes only the indicators' two bits, the centre and TP-VP of record 1; the alpha
// identifier, the other indicator bits, PID and DCS stay, and so do old digit bytes beyond the
// new number. Read back, the parameters are those written.
TEST_F(SmsParametersTest, WritesRecordOneAndReadsItBack)
{
    struct Case
    {
        const char* centre;
        const char* validity;
        uint8_t oldTonNpi;
        uint8_t length;
        uint8_t tonNpi;
        std::vector<uint8_t> digitBytes; // the 10 bytes after the write
        uint8_t vp;
    };
    const std::vector<uint8_t> old(10, 0x88);
    const Case cases[] = {
        {"+1234567", "364 days", 0x91, 5, 0x91, {0x21, 0x43, 0x65, 0xF7, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88}, 0xF4},
        {"+1234567", "7 days", 0x80, 5, 0x90, {0x21, 0x43, 0x65, 0xF7, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88}, 173},
        {"12345678901234567890",
         "60 mins",
         0x91,
         11,
         0x81,
         {0x21, 0x43, 0x65, 0x87, 0x09, 0x21, 0x43, 0x65, 0x87, 0x09},
         11},
        {"*55#", "01.02.25 12:00", 0x91, 3, 0x81, {0x5A, 0xB5, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88}, 0},
        {"+420", "not a period", 0xA9, 3, 0x99, {0x24, 0xF0, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88}, 0},
    };
    for (const Case& c : cases) {
        use(cardWithSmsp({smspRecord(40, 0xFF, 0x0B, c.oldTonNpi, old, 0x55), smspRecord(40, 0xE1, 0, 0, {}, 0)}));
        prompt.answers = {std::string("1234")};
        RecordingProgress progress;
        const SmsParameters w = write(c.centre, c.validity, &progress);
        ASSERT_TRUE(w.result.isOk()) << c.centre << " " << toInt(w.status());
        EXPECT_EQ(progress.caption, QStringLiteral("Kestrel! - Writing SMS Parameters"));
        EXPECT_EQ(progress.percents, (std::vector<int>{10, 20, 30, 40, 60, 100}));
        EXPECT_EQ(rec().count("A0 DC"), 1);
        EXPECT_EQ(rec().count("A0 DC 01 04 28"), 1);

        const std::vector<uint8_t>& r = cardSmsp();
        const std::size_t p = 12;
        EXPECT_EQ(std::string(r.begin(), r.begin() + 5), "Alpha");
        EXPECT_EQ(r[p], 0xED) << c.centre; // bits 1 and 4 cleared, the others kept
        EXPECT_EQ(r[p + 13], c.length) << c.centre;
        EXPECT_EQ(r[p + 14], c.tonNpi) << c.centre;
        EXPECT_EQ(std::vector<uint8_t>(r.begin() + p + 15, r.begin() + p + 25), c.digitBytes) << c.centre;
        EXPECT_EQ(r[p + 25], 0x00);
        EXPECT_EQ(r[p + 26], 0x00);
        EXPECT_EQ(r[p + 27], c.vp) << c.centre;
        EXPECT_EQ(r[40 + p], 0xE1) << "record 2 untouched";

        const SmsParameters back = read();
        EXPECT_TRUE(back.result.isOk());
        EXPECT_EQ(back.serviceCentre, c.centre);
        EXPECT_EQ(back.validity, validityText(c.vp));
        EXPECT_EQ(back.validity, w.validity);
        EXPECT_EQ(prompt.asked.size(), 1u); // the second access uses the remembered PIN
    }
}

// A centre the record cannot hold, or that is no dialling number, is refused before the card is
// touched; a record shorter than the 28 parameter bytes is refused before anything is read from or
// written to it.
TEST_F(SmsParametersTest, Refusals)
{
    struct Case
    {
        const char* name;
        int recordLength;
        std::string centre;
        CardStatus status;
        int messageId;
        bool cardTouched;
    };
    const Case cases[] = {
        {"21 digits", 40, "+" + std::string(21, '1'), CardStatus::Ok, 57347, false},
        {"not a dialling number", 40, "12a4", CardStatus::Ok, 57347, false},
        {"two plus signs", 40, "+12+34", CardStatus::Ok, 57347, false},
        {"record of 27 bytes", 27, "+123", CardStatus::BadOrMissingRecord, 57761, true},
    };
    for (const Case& c : cases) {
        use(cardWithSmsp({std::vector<uint8_t>(static_cast<std::size_t>(c.recordLength), 0xFF)}));
        const std::vector<uint8_t> before = cardSmsp();
        prompt.answers = {std::string("1234")};
        const SmsParameters w = write(c.centre, "1 day");
        EXPECT_FALSE(w.result.isOk()) << c.name;
        EXPECT_EQ(w.status(), c.status) << c.name;
        EXPECT_EQ(w.messageId(), c.messageId) << c.name;
        EXPECT_EQ(rec().log.empty(), !c.cardTouched) << c.name;
        EXPECT_EQ(rec().count("A0 B2"), 0) << c.name;
        EXPECT_EQ(rec().count("A0 DC"), 0) << c.name;
        EXPECT_EQ(cardSmsp(), before) << c.name;
        EXPECT_FALSE(bench->reader->cardPowered()) << c.name;
    }
    EXPECT_EQ(write("+" + std::string(21, '1'), "1 day").message(), QStringLiteral("Bad SMS center number entered"));

    use(cardWithSmsp({std::vector<uint8_t>(27, 0x00)}));
    prompt.answers = {std::string("1234")};
    const SmsParameters r = read();
    EXPECT_FALSE(r.result.isOk());
    EXPECT_EQ(r.status(), CardStatus::BadOrMissingRecord);
    EXPECT_EQ(rec().count("A0 B2"), 0);
    EXPECT_EQ(r.message(), QStringLiteral("Error during card reader operation:\r\nBad or missing record in card"));
}

// CHV1: a remembered code the card refuses is forgotten and the prompt asked; a typed code the
// card refuses is not tried again; a closed prompt ends the access quietly, so does a last try
// not confirmed; a disabled CHV1 needs nothing.
TEST_F(SmsParametersTest, Chv1Handling)
{
    struct Case
    {
        const char* name;
        bool chv1Enabled;
        const char* remembered; // tried first, on a card already seen by the reader
        std::deque<std::optional<std::string>> answers;
        bool done;
        CardStatus status;
        int prompts;
        int verifies;
        int attemptsLeft = 3; // of CHV1, before the read
    };
    const Case cases[] = {
        {"remembered right", true, "1234", {}, true, CardStatus::Ok, 0, 1},
        {"remembered wrong, typed right", true, "4321", {std::string("1234")}, true, CardStatus::Ok, 1, 2},
        {"typed wrong", true, nullptr, {std::string("1111"), std::string("1234")}, false, CardStatus::NoValidPin, 1, 1},
        {"prompt closed", true, nullptr, {std::nullopt}, false, CardStatus::OperationCancelled, 1, 0},
        {"CHV1 disabled", false, nullptr, {}, true, CardStatus::Ok, 0, 0},
        // The SimCard's last-try question: a prompt that cannot ask sends nothing.
        {"one try left, not confirmed",
         true,
         nullptr,
         {std::string("1234")},
         false,
         CardStatus::OperationCancelled,
         1,
         0,
         1},
    };
    for (const Case& c : cases) {
        use(standardCardWith([&](emulator::SimCardData& d) {
            d.chv1.enabled = c.chv1Enabled;
            d.chv1.attemptsLeft = c.attemptsLeft;
        }));
        // Let the reader meet the card once so that a remembered code belongs to it.
        prompt.answers = {std::string("1234")};
        ASSERT_TRUE(sim().openCard(false, false, true, false));
        sim().closeCard();
        if (c.remembered)
            sim().rememberPin(1, SecretText(c.remembered));
        bench->clearLog();
        prompt.asked.clear();
        prompt.answers = c.answers;

        const SmsParameters p = read();
        EXPECT_EQ(p.result.isOk(), c.done) << c.name;
        EXPECT_EQ(p.status(), c.status) << c.name;
        EXPECT_EQ(static_cast<int>(prompt.asked.size()), c.prompts) << c.name;
        EXPECT_EQ(rec().count("A0 20"), c.verifies) << c.name;
        EXPECT_EQ(sim().rememberedPin(1).view(), c.status == CardStatus::Ok && c.chv1Enabled ? "1234" : "") << c.name;
        EXPECT_EQ(p.messageId(), c.status == CardStatus::Ok || c.status == CardStatus::OperationCancelled ? 0 : 57741)
            << c.name;
        EXPECT_FALSE(bench->reader->cardPowered()) << c.name;
        if (c.status == CardStatus::NoValidPin) { // the tries the card has left, as for every file
            EXPECT_TRUE(p.message().endsWith(QStringLiteral("\r\n2 tries left."))) << c.name;
        }
    }
}

// No reader: its own message; Abort: 146 at the next step, the card powered down.
TEST_F(SmsParametersTest, NoReaderAndAbort)
{
    SimCard lonely([] { return nullptr; });
    const SmsParameters r = ReadSmsParameters(lonely, &prompt, nullptr, kNoPause);
    EXPECT_FALSE(r.result.isOk());
    EXPECT_EQ(r.message(), QStringLiteral("No smartcard reader connected!"));
    EXPECT_EQ(WriteSmsParameters(lonely, &prompt, nullptr, "+123", "1 day", kNoPause).messageId(), 57760);

    struct Case
    {
        bool writing;
        int abortAtPoll; // polls: 10, 20, 30, 40, (read: each record / write: 60)
        const char* lastCommand;
        int verifies; // CHV1 presented before the Abort
    };
    // At poll 3 the card is open: CHV1 verified, then the opening's last read (EF_Phase); EF_SMSP
    // is not selected yet.
    for (const Case c : {Case{false, 3, "A0 B0 00 00 01", 1}, Case{true, 5, "A0 B2 01 04 28", 1},
                         Case{false, 1, "A0 B0 00 00 0A", 0}}) {
        use(emulator::StandardCard::simCard());
        const std::vector<uint8_t> before = cardSmsp();
        RecordingProgress progress;
        progress.abortAtPoll = c.abortAtPoll;
        prompt.answers = {std::string("1234")};
        const SmsParameters p = c.writing ? write("+999", "1 day", &progress) : read(&progress);
        EXPECT_FALSE(p.result.isOk()) << c.writing << c.abortAtPoll;
        EXPECT_EQ(p.status(), CardStatus::CancelledByUser);
        EXPECT_EQ(p.message(), QStringLiteral("Error during card reader operation:\r\nOperation cancelled by user"));
        if (c.abortAtPoll == 1) {
            EXPECT_TRUE(rec().log.empty());
        } else {
            EXPECT_EQ(rec().log.back(), c.lastCommand);
        }
        EXPECT_EQ(rec().count("A0 20 00 01 08 31 32 33 34"), c.verifies);
        EXPECT_EQ(rec().count("A0 A4 00 00 02 6F 42"), c.writing ? 1 : 0);
        EXPECT_EQ(cardSmsp(), before);
        EXPECT_FALSE(bench->reader->cardPowered());
        EXPECT_EQ(progress.closed, 1);
    }
}
