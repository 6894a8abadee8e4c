#include "sim/SimCard.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CardFileDoubles.h"
#include "SimBench.h"
#include "sim/ProgressSink.h"

using namespace kestrel;
using namespace kestrel::test;
using namespace kestrel::gsm::fid;

namespace {

class SimCardTest : public ::testing::Test
{
protected:
    void use(emulator::SimCardData data, const emulator::FaultPlan* faults = nullptr)
    {
        bench = std::make_unique<SimBench>(std::move(data), faults);
        bench->sim->setPinPrompt(&prompt);
    }
    void SetUp() override { use(emulator::StandardCard::simCard()); }

    SimCard& sim() { return *bench->sim; }
    RecordingIcc& rec() { return *bench->recorder; }

    QueuedPinPrompt prompt;
    std::unique_ptr<SimBench> bench;
};

const std::string kVerify1234 = "A0 20 00 01 08 31 32 33 34 FF FF FF FF";

} // namespace

// The whole opening of a phase 2+ proactive card with CHV1 enabled, command by command: reset,
// the reader's identity check, the MF response for the CHV states, the identity copy, VERIFY,
// EF_SST, EF_Phase, TERMINAL PROFILE and the default answer to the SET UP MENU it announces.
TEST_F(SimCardTest, OpenCardSendsTheGsmSequence)
{
    prompt.answers = {std::string("1234")};
    ASSERT_TRUE(sim().openCard(true, false, true, true)) << toInt(sim().lastStatus());
    const std::vector<std::string> expected = {
        "ATR",
        "A0 A4 00 00 02 3F 00",
        "A0 C0 00 00 22", // beginCardAccess: MF
        "A0 A4 00 00 02 2F E2",
        "A0 C0 00 00 0F",
        "A0 B0 00 00 0A", // EF_ICCID
        "A0 A4 00 00 02 3F 00",
        "A0 C0 00 00 22", // MF response for the CHV flags
        "A0 A4 00 00 02 2F E2",
        "A0 C0 00 00 0F",
        "A0 B0 00 00 0A", // identity copy
        kVerify1234,
        "A0 A4 00 00 02 3F 00",
        "A0 C0 00 00 22",
        "A0 A4 00 00 02 7F 20",
        "A0 C0 00 00 22",
        "A0 A4 00 00 02 6F 38",
        "A0 C0 00 00 0F",
        "A0 B0 00 00 0A", // EF_SST
        "A0 A4 00 00 02 6F AE",
        "A0 C0 00 00 0F",
        "A0 B0 00 00 01", // EF_Phase
        "A0 10 00 00 06 1F 7F FF FF 00 00",
    };
    ASSERT_GE(rec().log.size(), expected.size() + 2);
    EXPECT_EQ(std::vector<std::string>(rec().log.begin(), rec().log.begin() + expected.size()), expected);
    // SET UP MENU fetched and answered "performed successfully".
    const std::size_t fetch = expected.size();
    EXPECT_EQ(rec().log[fetch].substr(0, 11), "A0 12 00 00");
    EXPECT_EQ(rec().log[fetch + 1], "A0 14 00 00 0C 01 03 01 25 00 02 02 82 81 03 01 00");
    EXPECT_EQ(rec().statusWords.back(), 0x9000);

    EXPECT_EQ(sim().cardFlags() & 0xFFu, CardFlag::kPoweredByOpening | CardFlag::kIdentified | CardFlag::kChv1Verified |
                                             CardFlag::kChv1Enabled | CardFlag::kChv2Present);
    EXPECT_EQ(sim().simPhase(), 3);
    EXPECT_EQ(prompt.asked, std::vector<int>{1});
    EXPECT_EQ(sim().rememberedPin(1).view(), "1234");
    EXPECT_TRUE(sim().hasService(gsm::service::kAdn));
    EXPECT_TRUE(sim().hasService(gsm::service::kProactiveSim));
    EXPECT_FALSE(sim().hasService(6));
    EXPECT_FALSE(sim().hasService(41)); // beyond the 10-byte table

    sim().closeCard();
    EXPECT_EQ(sim().cardFlags(), 0u);
    EXPECT_FALSE(bench->reader->cardPowered());
}

TEST_F(SimCardTest, ToolkitHandlerGetsTheProactiveCommand)
{
    struct Handler final : ToolkitHandler
    {
        ToolkitAnswer handleCommand(const ProactiveCommand& c) override
        {
            types.push_back(c.type);
            first = c.bytes.empty() ? 0 : c.bytes[0];
            return ToolkitAnswer::Default;
        }
        std::vector<uint8_t> types;
        uint8_t first = 0;
    } handler;
    sim().setToolkitHandler(&handler);
    prompt.answers = {std::string("1234")};
    ASSERT_TRUE(sim().openCard(true, false, true, true));
    EXPECT_EQ(handler.types, std::vector<uint8_t>{0x25}); // SET UP MENU
    EXPECT_EQ(handler.first, 0xD0);
    EXPECT_EQ(rec().count("A0 14"), 1); // still answered by default
}

// Phase 2 cards never get TERMINAL PROFILE; neither does a call without the toolkit flag.
TEST_F(SimCardTest, TerminalProfileOnlyForProactivePhase2PlusCards)
{
    struct Case
    {
        uint8_t phase;
        bool toolkit;
        int profiles;
    };
    for (const Case c : {Case{2, true, 0}, Case{3, false, 0}, Case{3, true, 1}}) {
        use(standardCardWith([&](emulator::SimCardData& d) { findFile(d, kEfPhase)->data = {c.phase}; }));
        prompt.answers = {std::string("1234")};
        ASSERT_TRUE(sim().openCard(true, false, true, c.toolkit));
        EXPECT_EQ(sim().simPhase(), c.phase);
        EXPECT_EQ(rec().count("A0 10"), c.profiles) << int(c.phase) << c.toolkit;
    }
}

// PIN texts: leading digits only, 4 to 8 of them; too few costs no attempt and sends nothing.
TEST_F(SimCardTest, PinTextRules)
{
    struct Case
    {
        std::string pin;
        std::string code; // the card's PIN1
        CardStatus status;
        std::string verify; // expected VERIFY, empty when none is sent
    };
    const Case cases[] = {
        {"12a4", "1234", CardStatus::WrongPin, ""},
        {"", "1234", CardStatus::WrongPin, ""},
        {"123", "1234", CardStatus::WrongPin, ""},
        {"123412349", "12341234", CardStatus::Ok, "A0 20 00 01 08 31 32 33 34 31 32 33 34"},
        {"1234 ", "1234", CardStatus::Ok, kVerify1234},
        {"9999", "1234", CardStatus::NoValidPin, "A0 20 00 01 08 39 39 39 39 FF FF FF FF"},
    };
    for (const Case& c : cases) {
        use(standardCardWith([&](emulator::SimCardData& d) { d.chv1.code = c.code; }));
        prompt.answers = {c.pin};
        EXPECT_EQ(sim().openCard(true, false, true, false), c.status == CardStatus::Ok) << c.pin;
        EXPECT_EQ(sim().lastStatus(), c.status) << c.pin;
        EXPECT_EQ(rec().count("A0 20"), c.verify.empty() ? 0 : 1) << c.pin;
        if (!c.verify.empty()) {
            EXPECT_EQ(rec().count(c.verify), 1) << c.pin;
        }
        const int attemptsUsed = emulator::ChvState::kMaxAttempts - bench->model->data().chv1.attemptsLeft;
        EXPECT_EQ(attemptsUsed, c.status == CardStatus::NoValidPin ? 1 : 0) << c.pin;
        // A failed opening leaves the card closed.
        if (c.status != CardStatus::Ok) {
            EXPECT_EQ(sim().cardFlags(), 0u);
            EXPECT_FALSE(bench->reader->cardPowered());
        }
    }
}

TEST_F(SimCardTest, RejectedRememberedPinIsForgotten)
{
    // The first opening of a reader meets a card it has not seen: any remembered code goes.
    sim().rememberPin(1, SecretText("1234"));
    ASSERT_TRUE(sim().openCard(false, false, true, false));
    EXPECT_TRUE(sim().rememberedPin(1).empty());
    sim().closeCard();

    sim().rememberPin(1, SecretText("4321"));
    EXPECT_FALSE(sim().openCard(true, false, true, false));
    EXPECT_EQ(sim().lastStatus(), CardStatus::NoValidPin);
    EXPECT_TRUE(sim().rememberedPin(1).empty());
    EXPECT_TRUE(prompt.asked.empty());

    prompt.answers = {std::string("1234")};
    EXPECT_TRUE(sim().openCard(true, false, true, false));
    EXPECT_EQ(prompt.asked, std::vector<int>{1});
    sim().closeCard();
    // Remembered now: no prompt the next time.
    EXPECT_TRUE(sim().openCard(true, false, true, false));
    EXPECT_EQ(prompt.asked.size(), 1u);
}

TEST_F(SimCardTest, Chv1DisabledMeansNoPromptAndServiceTableRead)
{
    use(standardCardWith([](emulator::SimCardData& d) { d.chv1.enabled = false; }));
    ASSERT_TRUE(sim().openCard(true, false, true, false));
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_FALSE(sim().isChv1Enabled());
    EXPECT_EQ(sim().cardFlags() & CardFlag::kChv1Verified, 0u);
    EXPECT_EQ(sim().serviceTable().size(), 10u);
    EXPECT_TRUE(sim().hasService(gsm::service::kFdn));
}

// A closed CHV1 prompt: strict fails with 151; otherwise the card opens without EF_SST, and the
// service table is one kept from an earlier opening of the same card, or none.
TEST_F(SimCardTest, ClosedPromptAndTheServiceTable)
{
    EXPECT_FALSE(sim().openCard(true, false, true, false));
    EXPECT_EQ(sim().lastStatus(), CardStatus::OperationCancelled);

    ASSERT_TRUE(sim().openCard(true, false, false, false));
    EXPECT_EQ(rec().count("A0 A4 00 00 02 6F 38"), 0);
    EXPECT_FALSE(sim().requireService(gsm::service::kAdn));
    EXPECT_EQ(sim().lastStatus(), CardStatus::FileNotAccessible);
    sim().closeCard();

    prompt.answers = {std::string("1234")};
    ASSERT_TRUE(sim().openCard(true, false, true, false));
    sim().closeCard();
    sim().forgetPin(1);
    ASSERT_TRUE(sim().openCard(true, false, false, false)); // prompt closed again
    EXPECT_TRUE(sim().requireService(gsm::service::kAdn));
}

TEST_F(SimCardTest, BlockedChvs)
{
    use(standardCardWith([](emulator::SimCardData& d) {
        d.chv1.attemptsLeft = 0;
        d.chv2.attemptsLeft = 0;
    }));
    EXPECT_FALSE(sim().openCard(true, false, true, false));
    EXPECT_EQ(sim().lastStatus(), CardStatus::CardBlocked);
    EXPECT_TRUE(prompt.asked.empty());
    // CHV2 blocked fails whatever strict says; CHV1 blocked only when strict.
    EXPECT_FALSE(sim().openCard(false, true, false, false));
    EXPECT_EQ(sim().lastStatus(), CardStatus::CardBlocked);
    ASSERT_TRUE(sim().openCard(false, false, true, false));
    EXPECT_TRUE(sim().isChvBlocked(1));
    EXPECT_TRUE(sim().isChvBlocked(2));
}

TEST_F(SimCardTest, Chv2IsVerifiedWithItsOwnPrompt)
{
    prompt.answers = {std::string("1234"), std::string("5678")};
    ASSERT_TRUE(sim().openCard(true, true, true, false));
    EXPECT_EQ(prompt.asked, (std::vector<int>{1, 2}));
    EXPECT_EQ(rec().count("A0 20 00 02 08 35 36 37 38"), 1);
    EXPECT_EQ(sim().rememberedPin(2).view(), "5678");
    // Opening again while open: same card, nothing asked, nothing verified again.
    rec().log.clear();
    ASSERT_TRUE(sim().openCard(true, true, true, false));
    EXPECT_EQ(rec().count("A0 20"), 0);
    EXPECT_EQ(rec().count("ATR"), 0);
}

// Consecutive transfers on one file select it once; asking for efInfo always selects again.
TEST_F(SimCardTest, SelectionIsRemembered)
{
    prompt.answers = {std::string("1234")};
    ASSERT_TRUE(sim().openCard(true, false, true, false));
    bench->clearLog();
    std::array<uint8_t, 28> record{};
    int length = 28;
    ASSERT_TRUE(sim().readFile(kDfTelecom, kEfAdn, record, length, 1));
    length = 28;
    ASSERT_TRUE(sim().readFile(kDfTelecom, kEfAdn, record, length, 2));
    EXPECT_EQ(rec().count("A0 A4"), 3); // MF, DF_TELECOM, EF_ADN
    EXPECT_EQ(rec().count("A0 B2 01 04 1C"), 1);
    EXPECT_EQ(rec().count("A0 B2 02 04 1C"), 1);

    FileInfo info;
    ASSERT_TRUE(sim().selectFile(kDfTelecom, kEfAdn, nullptr, &info));
    EXPECT_EQ(rec().count("A0 A4"), 4);
    EXPECT_EQ(info.fileSize, 250 * 28);
    EXPECT_EQ(info.fileId, kEfAdn);
    EXPECT_EQ(info.structure, FileStructure::LinearFixed);
    EXPECT_EQ(info.recordLength, 28);
    EXPECT_EQ(info.recordCount, 250);
    EXPECT_FALSE(info.invalidated);

    // A DF response is kept raw too: the free memory and the DF id high byte first.
    DirectoryInfo df;
    ASSERT_TRUE(sim().selectFile(kDfGsm, 0, &df));
    EXPECT_EQ(df.bytes[4], 0x7F);
    EXPECT_EQ(df.bytes[5], 0x20);
    EXPECT_EQ(df.fileId, kDfGsm);
    EXPECT_EQ(sim().currentDf(), kDfGsm);
    EXPECT_EQ(sim().currentEf(), 0);
}

// Response data longer than its buffer: 18 bytes for an EF, 36 for a DF. The opening with a
// remembered PIN takes 21 commands; selecting EF_ADN then sends SELECT MF (22), GET RESPONSE,
// SELECT DF_TELECOM (24), GET RESPONSE, SELECT EF_ADN (26).
TEST_F(SimCardTest, OverlongSelectResponseIsRefused)
{
    struct Case
    {
        int command;
        uint16_t sw;
    };
    for (const Case c : {Case{26, 0x9F13}, Case{24, 0x9F25}}) {
        emulator::FaultPlan plan;
        plan.wrongStatusAtCommand = c.command;
        plan.wrongStatus = c.sw;
        use(emulator::StandardCard::simCard(), &plan);
        prompt.answers = {std::string("1234")};
        ASSERT_TRUE(sim().openCard(true, false, true, false));
        EXPECT_FALSE(sim().selectFile(kDfTelecom, kEfAdn));
        EXPECT_EQ(sim().lastStatus(), CardStatus::NonSpecificError) << std::hex << c.sw;
        EXPECT_EQ(rec().log.back(), c.command == 26 ? "A0 A4 00 00 02 6F 3A" : "A0 A4 00 00 02 7F 10");
    }
}

TEST_F(SimCardTest, TransparentFilesReadAndWrittenWhole)
{
    // A 300-byte transparent file goes in pieces: READ BINARY carries at most 256 bytes, UPDATE
    // BINARY at most 255.
    use(standardCardWith([](emulator::SimCardData& d) {
        emulator::SimFile big = *findFile(d, kEfPlmnSel);
        big.path.back() = 0x6F60;
        big.data.assign(300, 0xFF);
        d.files.push_back(big);
    }));
    prompt.answers = {std::string("1234")};
    ASSERT_TRUE(sim().openCard(true, false, true, false));
    bench->clearLog();

    std::vector<uint8_t> data(300);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i * 7);
    int length = 300;
    ASSERT_TRUE(sim().updateFile(kDfGsm, 0x6F60, data, length));
    EXPECT_EQ(length, 300);
    EXPECT_EQ(rec().count("A0 D6 00 00 FF"), 1);
    EXPECT_EQ(rec().count("A0 D6 00 FF 2D"), 1);

    std::vector<uint8_t> back(400, 0);
    length = 400;
    ASSERT_TRUE(sim().readFile(kDfGsm, 0x6F60, back, length));
    EXPECT_EQ(length, 300);
    EXPECT_EQ(rec().count("A0 B0 00 00 00"), 1);
    EXPECT_EQ(rec().count("A0 B0 01 00 2C"), 1);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), back.begin()));

    // The caller's room must hold the whole file.
    length = 299;
    EXPECT_FALSE(sim().readFile(kDfGsm, 0x6F60, back, length));
    EXPECT_EQ(sim().lastStatus(), CardStatus::NonSpecificError);

    // EF_PLMNsel: 24 bytes in one command each way.
    bench->clearLog();
    std::vector<uint8_t> plmn(24, 0xFF);
    plmn[0] = 0x32;
    length = 24;
    ASSERT_TRUE(sim().updateFile(kDfGsm, kEfPlmnSel, plmn, length));
    EXPECT_EQ(rec().count("A0 D6 00 00 18"), 1);
    std::vector<uint8_t> plmnBack(24);
    length = 24;
    ASSERT_TRUE(sim().readFile(kDfGsm, kEfPlmnSel, plmnBack, length));
    EXPECT_EQ(plmnBack, plmn);
}

TEST_F(SimCardTest, RecordTransfers)
{
    prompt.answers = {std::string("1234")};
    ASSERT_TRUE(sim().openCard(true, false, true, false));
    // A short record is padded with zero bytes to a whole record.
    const std::vector<uint8_t> shortRecord(10, 0x41);
    int length = 10;
    ASSERT_TRUE(sim().updateFile(kDfTelecom, kEfAdn, shortRecord, length, 5));
    EXPECT_EQ(length, 28);
    std::vector<uint8_t> back(40, 0xEE);
    length = 40;
    ASSERT_TRUE(sim().readFile(kDfTelecom, kEfAdn, back, length, 5));
    EXPECT_EQ(length, 28);
    for (int i = 0; i < 28; ++i)
        EXPECT_EQ(back[static_cast<std::size_t>(i)], i < 10 ? 0x41 : 0x00) << i;
    EXPECT_EQ(back[28], 0xEE); // nothing beyond the record

    // Absolute record transfers on the selected file; a record beyond the file is refused.
    std::vector<uint8_t> one(28);
    ASSERT_TRUE(sim().readRecordAbsolute(one, 1));
    EXPECT_EQ(one[0], 'M'); // "Mother"
    EXPECT_FALSE(sim().readRecordAbsolute(one, 251));
    EXPECT_EQ(sim().lastStatus(), CardStatus::BadCardResponse);

    // EF_FDN needs CHV2 for UPDATE: 98 04.
    length = 28;
    EXPECT_FALSE(sim().updateFile(kDfTelecom, kEfFdn, one, length, 1));
    EXPECT_EQ(sim().lastStatus(), CardStatus::NoValidPin);
}

TEST_F(SimCardTest, CachesFollowTheSettingAndTheCard)
{
    struct Case
    {
        bool enCache;
        bool otherCard;
        bool kept;
    };
    for (const Case c : {Case{true, false, true}, Case{false, false, false}, Case{true, true, false}}) {
        use(emulator::StandardCard::simCard());
        sim().setSettings(SimCardSettings{c.enCache});
        prompt.answers = {std::string("1234")};
        ASSERT_TRUE(sim().openCard(true, false, true, false));
        sim().rememberPin(2, SecretText("5678"));
        sim().image(CachedFile::Adn) = FileImage(250, 28);
        sim().recordMap(CachedFile::Ext1) = RecordMap{{0, 1, 0}};
        sim().closeCard();
        if (c.otherCard) {
            auto other = standardCardWith([](emulator::SimCardData& d) { findFile(d, kEfIccid)->data[9] ^= 0x10; });
            bench->reader->slot().insert(
                std::make_unique<RecordingIcc>(std::make_unique<emulator::SimCardModel>(std::move(other))));
            prompt.answers = {std::string("1234")};
        }
        ASSERT_TRUE(sim().openCard(true, false, true, false));
        EXPECT_EQ(sim().image(CachedFile::Adn).has_value(), c.kept) << c.enCache << c.otherCard;
        EXPECT_EQ(sim().recordMap(CachedFile::Ext1).has_value(), c.kept);
        // Codes of one card are never tried on another.
        EXPECT_EQ(prompt.asked.size(), c.otherCard ? 2u : 1u);
        EXPECT_EQ(sim().rememberedPin(2).empty(), c.otherCard);
        sim().flushCaches();
        EXPECT_FALSE(sim().image(CachedFile::Adn).has_value());
        EXPECT_TRUE(sim().serviceTable().empty());
        prompt.asked.clear();
    }
}

// A card exchanged while it stayed open is noticed by the next opening.
TEST_F(SimCardTest, CardExchangedWhileOpen)
{
    prompt.answers = {std::string("1234")};
    ASSERT_TRUE(sim().openCard(true, false, true, false));
    sim().image(CachedFile::Sms) = FileImage(20, 176);
    auto other = standardCardWith([](emulator::SimCardData& d) { findFile(d, kEfIccid)->data[0] ^= 0x01; });
    bench->reader->slot().insert(std::make_unique<emulator::SimCardModel>(std::move(other)));
    prompt.answers = {std::string("1234")};
    // The reader still thinks the old card is powered; the ICCID read fails or differs, and the
    // card is opened afresh.
    ASSERT_TRUE(sim().openCard(true, false, true, false)) << toInt(sim().lastStatus());
    EXPECT_FALSE(sim().image(CachedFile::Sms).has_value());
    EXPECT_EQ(prompt.asked, (std::vector<int>{1, 1})); // the PIN of the first card is not offered
}

TEST_F(SimCardTest, PulledCardGivesCardNotInserted)
{
    // Commands of an opening with a remembered PIN: 21 without the toolkit; the first record takes
    // seven more; the card leaves the reader at the second READ RECORD.
    emulator::FaultPlan plan;
    plan.pullAtCommand = 21 + 7 + 1;
    use(emulator::StandardCard::simCard(), &plan);
    prompt.answers = {std::string("1234")};
    ASSERT_TRUE(sim().openCard(true, false, true, false));
    std::array<uint8_t, 28> record{};
    int length = 28;
    ASSERT_TRUE(sim().readFile(kDfTelecom, kEfAdn, record, length, 1));
    EXPECT_FALSE(sim().readFile(kDfTelecom, kEfAdn, record, length, 2));
    EXPECT_EQ(sim().lastStatus(), CardStatus::CardNotInserted);
    EXPECT_EQ(sim().statusMessage(), QStringLiteral("Communication error:\r\nCard not inserted"));
    sim().closeCard();
    EXPECT_FALSE(sim().openCard(true, false, true, false));
    EXPECT_EQ(sim().lastStatus(), CardStatus::CardNotInserted);
}

TEST_F(SimCardTest, RunGsmAlgorithm)
{
    struct Case
    {
        bool exhausted;
        uint16_t wrongStatus; // 0: none
        CardStatus status;
    };
    for (const Case c : {Case{false, 0, CardStatus::Ok}, Case{true, 0, CardStatus::AuthenticationBlocked},
                         Case{false, 0x6F00, CardStatus::AuthenticationBlocked},
                         Case{false, 0x9804, CardStatus::WrongPin}, Case{false, 0x6D00, CardStatus::BadCardResponse}}) {
        emulator::FaultPlan plan;
        if (c.wrongStatus) {
            plan.wrongStatusAtCommand = 22; // the command after an opening of 21
            plan.wrongStatus = c.wrongStatus;
        }
        use(standardCardWith([&](emulator::SimCardData& d) { d.options.authenticationExhausted = c.exhausted; }),
            &plan);
        prompt.answers = {std::string("1234")};
        ASSERT_TRUE(sim().openCard(true, false, true, false));
        std::array<uint8_t, 16> rand{};
        for (std::size_t i = 0; i < rand.size(); ++i)
            rand[i] = static_cast<uint8_t>(i);
        std::array<uint8_t, 12> response{};
        uint16_t sw = 0;
        EXPECT_EQ(sim().runGsmAlgorithm(rand, response, sw), c.status == CardStatus::Ok);
        EXPECT_EQ(sim().lastStatus(), c.status) << c.exhausted << std::hex << c.wrongStatus;
        if (c.status == CardStatus::Ok) {
            EXPECT_EQ(rec().count("A0 C0 00 00 0C"), 1);
            EXPECT_EQ(response, emulator::SimCardModel::gsmAlgorithm(bench->model->data().ki,
                                                                     std::span<const uint8_t, 16>(rand)));
        }
    }
}

TEST_F(SimCardTest, InvalidateAndRehabilitate)
{
    prompt.answers = {std::string("1234"), std::string("5678")};
    ASSERT_TRUE(sim().openCard(true, true, true, false));
    ASSERT_TRUE(sim().invalidateFile(kDfTelecom, kEfAdn));
    EXPECT_TRUE(findFile(bench->model->data(), kEfAdn)->invalidated);
    EXPECT_EQ(rec().count("A0 04"), 1);
    // Already invalidated: nothing sent.
    FileInfo info;
    ASSERT_TRUE(sim().selectFile(kDfTelecom, kEfAdn, nullptr, &info));
    EXPECT_TRUE(info.invalidated);
    ASSERT_TRUE(sim().invalidateFile(kDfTelecom, kEfAdn));
    EXPECT_EQ(rec().count("A0 04"), 1);
    ASSERT_TRUE(sim().rehabilitateFile(kDfTelecom, kEfAdn));
    EXPECT_FALSE(findFile(bench->model->data(), kEfAdn)->invalidated);
    // EF_IMSI can be invalidated only by the operator (ADM): 98 04 is a failure (132).
    EXPECT_FALSE(sim().invalidateFile(kDfGsm, kEfImsi));
    EXPECT_EQ(sim().lastStatus(), CardStatus::BadCardResponse);
}

TEST_F(SimCardTest, NoReader)
{
    SimCard lonely([] { return nullptr; });
    EXPECT_FALSE(lonely.openCard(true, false, true, false));
    EXPECT_EQ(lonely.lastStatus(), CardStatus::ReaderInaccessible);
    EXPECT_EQ(lonely.statusMessage(),
              QStringLiteral("Communication error:\r\nReader inaccessible (use menu Other->Setup) via "));
    EXPECT_FALSE(lonely.selectFile(kMf, 0));
    EXPECT_EQ(lonely.lastStatus(), CardStatus::ReaderInaccessible);
    uint16_t sw = 0;
    std::array<uint8_t, 1> data{};
    EXPECT_FALSE(lonely.sendCommand(0xA0, 0xF2, 0, 0, 1, data, false, sw));
    EXPECT_EQ(lonely.lastStatus(), CardStatus::NonSpecificError);
    EXPECT_FALSE(lonely.unblockCard(SecretText("12345678"), SecretText("1111"), 1));
    EXPECT_EQ(lonely.lastStatus(), CardStatus::ReaderInaccessible);
    lonely.closeCard();
}

// Abort is seen at the next progress update of a loop: 146, and the window stays until the end.
TEST_F(SimCardTest, AbortStopsALoopWith146)
{
    struct Sink final : ProgressSink
    {
        bool open() override { return true; }
        void close() override { closed = true; }
        void setCaption(const QString&) override {}
        void setText(const QString&) override {}
        void setPercent(int) override {}
        bool processEvents() override { return ++updates == 4; } // the opening text is the first
        int updates = 0;
        bool closed = false;
    } sink;
    prompt.answers = {std::string("1234")};
    ASSERT_TRUE(sim().beginProgress(&sink, 5000, 5100));
    ASSERT_TRUE(sim().openCard(true, false, true, false));
    int read = 0;
    for (unsigned i = 1; i <= 10; ++i) {
        if (!sim().showProgressItem(5001, i, 10, false))
            break;
        std::array<uint8_t, 28> record{};
        int length = 28;
        ASSERT_TRUE(sim().readFile(kDfTelecom, kEfAdn, record, length, static_cast<int>(i)));
        ++read;
    }
    EXPECT_EQ(read, 2);
    EXPECT_EQ(sim().lastStatus(), CardStatus::CancelledByUser);
    EXPECT_EQ(rec().count("A0 B2"), 2);
    EXPECT_FALSE(sink.closed);
    sim().closeCard();
    sim().endProgress(false);
    EXPECT_TRUE(sink.closed);
}
