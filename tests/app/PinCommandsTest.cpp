#include "app/PinCommands.h"

#include <gtest/gtest.h>

#include "ScriptedPrompter.h"
#include "SimBench.h"
#include "app/CardOpening.h"
#include "base/StringTable.h"

using namespace kestrel;
using namespace kestrel::test;
using namespace kestrel::gsm::fid;

namespace {

class PinCommandsTest : public ::testing::Test
{
protected:
    void use(emulator::SimCardData data) { bench = std::make_unique<SimBench>(std::move(data)); }
    void SetUp() override { use(emulator::StandardCard::simCard()); }

    SimCard& sim() { return *bench->sim; }
    RecordingIcc& rec() { return *bench->recorder; }
    const emulator::SimCardData& card() { return bench->model->data(); }
    PinCommands commands() { return PinCommands(sim(), prompter); }

    ScriptedPrompter prompter;
    std::unique_ptr<SimBench> bench;
};

const QString kWrongPin = QStringLiteral("Communication error:\r\nWrong PIN!");
const QString kNoValidPin = QStringLiteral("Communication error:\r\nNo valid PIN entered");

// The card's refusal of a code with the tries its counter has left.
QString refusedWith(const char* triesLeft)
{
    return kNoValidPin + QStringLiteral("\r\n") + QString::fromUtf8(triesLeft);
}

// A card without PIN2: CHV2 and UNBLOCK CHV2 status (bytes 21 and 22 of every MF/DF response) 00,
// not initialised.
void withoutPin2(RecordingIcc& card)
{
    card.alter = [](const emulator::Apdu& apdu, emulator::CardResponse& r) {
        const bool directory = r.data.size() > 21 && (r.data[6] == 0x01 || r.data[6] == 0x02);
        if (apdu.ins == 0xC0 && directory)
            r.data[20] = r.data[21] = 0x00;
    };
}

} // namespace

TEST(PinChecks, ChangeAndUnblockDialogChecks)
{
    struct Case
    {
        std::string first, newPin, again;
        int change;  // message of the change check, 0 = passes
        int unblock; // message of the unblock check
    };
    const Case cases[] = {
        {"1234", "4321", "4321", 0, 0},      {"1234", "4321", "4322", 5600, 59025},  {"123", "4321", "4321", 5601, 0},
        {"1234", "432", "432", 5601, 59025}, {"1234", "12345678", "12345678", 0, 0}, {"", "", "", 5601, 59025},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Prompter::pinChangeCheck(SecretText(c.first), SecretText(c.newPin), SecretText(c.again)), c.change)
            << c.first << "/" << c.newPin << "/" << c.again;
        EXPECT_EQ(Prompter::unblockCheck(SecretText(c.newPin), SecretText(c.again)), c.unblock);
    }
}

TEST_F(PinCommandsTest, EnterPinForgetsAndAsksAgain)
{
    prompter.pins = {std::string("1234"), std::string("1234")};
    EXPECT_EQ(commands().enterPin(), CommandResult::Done);
    EXPECT_EQ(sim().rememberedPin(1).view(), "1234");
    EXPECT_EQ(commands().enterPin(), CommandResult::Done);
    EXPECT_EQ(prompter.pinPrompts, (std::vector<int>{1, 1}));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(prompter.errors.empty());
    EXPECT_FALSE(bench->reader->cardPowered());

    prompter.pins = {std::string("5678")};
    EXPECT_EQ(commands().enterPin2(), CommandResult::Done);
    EXPECT_EQ(prompter.pinPrompts, (std::vector<int>{1, 1, 2}));
    EXPECT_EQ(sim().rememberedPin(2).view(), "5678");

    prompter.pins = {std::string("0000")};
    EXPECT_EQ(commands().enterPin2(), CommandResult::Failed);
    EXPECT_EQ(prompter.errors, std::vector<QString>{refusedWith("2 tries left.")});
    EXPECT_TRUE(sim().rememberedPin(2).empty());
}

TEST_F(PinCommandsTest, EnterPinWithChv1DisabledAsksNothing)
{
    use(standardCardWith([](emulator::SimCardData& d) { d.chv1.enabled = false; }));
    EXPECT_EQ(commands().enterPin(), CommandResult::Done);
    EXPECT_TRUE(prompter.pinPrompts.empty());
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(prompter.errors.empty());
    EXPECT_TRUE(sim().rememberedPin(1).empty());
}

TEST_F(PinCommandsTest, ChangePinOnADisabledPinEnablesItFirst)
{
    use(standardCardWith([](emulator::SimCardData& d) { d.chv1.enabled = false; }));
    prompter.changeFields = {ScriptedPrompter::Fields{"1234", "4321", "4321"}};
    EXPECT_EQ(commands().changePin(1), CommandResult::Done);
    EXPECT_EQ(rec().count("A0 28 00 01 08"), 1);
    EXPECT_EQ(rec().count("A0 24 00 01 10"), 1);
    EXPECT_TRUE(card().chv1.enabled);
    EXPECT_EQ(card().chv1.code, "4321");
    EXPECT_EQ(prompter.messages, std::vector<int>{5602});
    EXPECT_EQ(prompter.icons, std::vector<PromptIcon>{PromptIcon::Information});
}

TEST_F(PinCommandsTest, ChangeDialogIsAskedAgainUntilItsCheckPasses)
{
    using F = ScriptedPrompter::Fields;
    prompter.changeFields = {F{"5678", "1111", "2222"}, F{"5678", "111", "111"}, F{"5678", "1111", "1111"}};
    EXPECT_EQ(commands().changePin(2), CommandResult::Done);
    EXPECT_EQ(prompter.changeDialogs, (std::vector<int>{2, 2, 2}));
    EXPECT_EQ(prompter.messages, (std::vector<int>{5600, 5601, 5602}));
    EXPECT_EQ(card().chv2.code, "1111");

    // Closed: nothing happens at all.
    rec().log.clear();
    EXPECT_EQ(commands().changePin(1), CommandResult::NotDone);
    EXPECT_TRUE(rec().log.empty());
}

TEST_F(PinCommandsTest, ChangeWithAWrongOldPin)
{
    prompter.pins = {std::string("5678")};
    ASSERT_EQ(commands().enterPin2(), CommandResult::Done);
    prompter.changeFields = {ScriptedPrompter::Fields{"0000", "1111", "1111"}};
    EXPECT_EQ(commands().changePin(2), CommandResult::Failed);
    EXPECT_EQ(prompter.errors, std::vector<QString>{refusedWith("2 tries left.")});
    EXPECT_EQ(card().chv2.code, "5678");
    EXPECT_EQ(card().chv2.attemptsLeft, 2);

    // After a successful change the remembered old code would cost an attempt: it is forgotten.
    prompter.changeFields = {ScriptedPrompter::Fields{"5678", "1111", "1111"}};
    sim().rememberPin(2, SecretText("5678"));
    EXPECT_EQ(commands().changePin(2), CommandResult::Done);
    EXPECT_TRUE(sim().rememberedPin(2).empty());
}

TEST_F(PinCommandsTest, EnableDisablePin)
{
    // Prompt closed: "Wrong PIN!" and no command; the card keeps its state.
    prompter.answers = {PromptAnswer::Yes};
    EXPECT_EQ(commands().enableDisablePin(), CommandResult::Failed);
    EXPECT_EQ(prompter.questions, std::vector<int>{5607});
    EXPECT_EQ(prompter.errors, std::vector<QString>{kWrongPin});
    EXPECT_EQ(rec().count("A0 26"), 0);
    EXPECT_TRUE(card().chv1.enabled);

    // No: nothing asked beyond the question.
    prompter.pinPrompts.clear();
    EXPECT_EQ(commands().enableDisablePin(), CommandResult::NotDone);
    EXPECT_TRUE(prompter.pinPrompts.empty());

    prompter.answers = {PromptAnswer::Yes};
    prompter.pins = {std::string("1234")};
    EXPECT_EQ(commands().enableDisablePin(), CommandResult::Done);
    EXPECT_FALSE(card().chv1.enabled);
    EXPECT_EQ(prompter.messages.back(), 5611);

    prompter.answers = {PromptAnswer::Yes};
    prompter.pins = {std::string("1234")};
    EXPECT_EQ(commands().enableDisablePin(), CommandResult::Done);
    EXPECT_EQ(prompter.questions.back(), 5608);
    EXPECT_TRUE(card().chv1.enabled);
    EXPECT_EQ(prompter.messages.back(), 5612);

    // Asked for the state the card is in: no question, nothing sent.
    const auto questions = prompter.questions.size();
    EXPECT_EQ(commands().enableDisablePin(true), CommandResult::Done);
    EXPECT_EQ(prompter.questions.size(), questions);
    EXPECT_EQ(rec().count("A0 28"), 1);
}

TEST_F(PinCommandsTest, UnblockCardFollowsTheChvStates)
{
    // Nothing blocked and the question answered No: nothing sent, nothing shown.
    EXPECT_EQ(commands().unblockCard(), CommandResult::NotDone);
    EXPECT_EQ(prompter.questions, std::vector<int>{6220});
    EXPECT_EQ(rec().count("A0 2C"), 0);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(prompter.errors.empty());

    // A zero attempt count of CHV2 (low nibble of byte 21) takes the PUK2 step alone.
    use(standardCardWith([](emulator::SimCardData& d) { d.chv2.attemptsLeft = 0; }));
    prompter = ScriptedPrompter();
    prompter.unblockFields = {ScriptedPrompter::Fields{"87654321", "1111", "1111"}};
    EXPECT_EQ(commands().unblockCard(), CommandResult::Done);
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(prompter.unblockDialogs, std::vector<int>{2});
    EXPECT_EQ(rec().count("A0 2C 00 02 10"), 1);
    EXPECT_EQ(card().chv2.code, "1111");
    EXPECT_EQ(card().chv2.attemptsLeft, 3);
    EXPECT_EQ(prompter.messages, std::vector<int>{5604});

    // Both blocked: PUK1, then PUK2; a wrong PUK ends it with 135.
    use(standardCardWith([](emulator::SimCardData& d) {
        d.chv1.attemptsLeft = 0;
        d.chv2.attemptsLeft = 0;
    }));
    prompter = ScriptedPrompter();
    prompter.unblockFields = {ScriptedPrompter::Fields{"11111111", "2222", "2222"}};
    EXPECT_EQ(commands().unblockCard(), CommandResult::Failed);
    EXPECT_EQ(prompter.errors, std::vector<QString>{refusedWith("9 tries left.")});
    EXPECT_EQ(card().chv1.unblockAttemptsLeft, 9);
    EXPECT_EQ(prompter.unblockDialogs, std::vector<int>{1});
}

// Unblock Card on a card without PIN2: nothing is blocked, so it asks before taking the PUK1 step
// and never offers PUK2.
TEST_F(PinCommandsTest, UnblockCardWithoutPin2)
{
    withoutPin2(rec());
    EXPECT_EQ(commands().unblockCard(), CommandResult::NotDone);
    EXPECT_EQ(prompter.questions, std::vector<int>{6220});
    EXPECT_TRUE(prompter.unblockDialogs.empty());
    EXPECT_EQ(rec().count("A0 2C"), 0);
}

// After PIN1 is unblocked by the offer the card opens for PIN1 work: PUK2 is asked only for an
// initialised, blocked PIN2, and closing that dialog does not undo the PIN1 success.
TEST_F(PinCommandsTest, UnblockOfferAsksPuk2OnlyForABlockedPin2)
{
    using F = ScriptedPrompter::Fields;
    struct Case
    {
        bool pin2; // initialised (and blocked) rather than absent
        std::vector<int> dialogs;
    };
    for (const Case& c : {Case{false, {1}}, Case{true, {1, 2}}}) {
        use(standardCardWith([](emulator::SimCardData& d) {
            d.chv1.attemptsLeft = 0;
            d.chv2.attemptsLeft = 0;
        }));
        if (!c.pin2)
            withoutPin2(rec());
        prompter = ScriptedPrompter();
        prompter.answers = {PromptAnswer::Yes};
        prompter.unblockFields = {F{"12345678", "2222", "2222"}, std::nullopt};
        sim().setPinPrompt(&prompter);
        EXPECT_TRUE(startCardOperation(sim(), prompter, true, false, true, false)) << toInt(sim().lastStatus());
        EXPECT_EQ(prompter.unblockDialogs, c.dialogs) << c.pin2;
        EXPECT_EQ(rec().count("A0 2C"), 1) << c.pin2;
        EXPECT_EQ(sim().rememberedPin(1).view(), "2222");
        EXPECT_EQ(card().chv2.attemptsLeft, 0);
        sim().closeCard();
    }
}

// A blocked PIN1 at the opening of a card operation: the offer, the PUK, and the card opens with
// the new PIN remembered.
TEST_F(PinCommandsTest, BlockedPinIsUnblockedByTheOffer)
{
    use(standardCardWith([](emulator::SimCardData& d) { d.chv1.attemptsLeft = 0; }));
    using F = ScriptedPrompter::Fields;
    prompter.answers = {PromptAnswer::Yes};
    prompter.unblockFields = {F{"12345678", "2222", "2223"}, F{"12345678", "2222", "2222"}};
    sim().setPinPrompt(&prompter);
    ASSERT_TRUE(startCardOperation(sim(), prompter, true, false, true, false)) << toInt(sim().lastStatus());
    EXPECT_EQ(prompter.questions, std::vector<int>{kUnblockOfferId});
    EXPECT_EQ(prompter.messages, std::vector<int>{59025});
    EXPECT_EQ(prompter.keptPuks, std::vector<std::string>{"12345678"});
    EXPECT_EQ(sim().rememberedPin(1).view(), "2222");
    EXPECT_EQ(card().chv1.code, "2222");
    EXPECT_TRUE(prompter.pinPrompts.empty());
    // The card is open with CHV1 verified: EF_SST was read.
    EXPECT_TRUE(sim().requireService(gsm::service::kAdn));
    std::array<uint8_t, 28> record{};
    int length = 28;
    EXPECT_TRUE(sim().readFile(kDfTelecom, kEfAdn, record, length, 1));
    sim().closeCard();
}

TEST_F(PinCommandsTest, UnblockOfferDeclinedOrNotNeeded)
{
    use(standardCardWith([](emulator::SimCardData& d) { d.chv1.attemptsLeft = 0; }));
    sim().setPinPrompt(&prompter);
    prompter.answers = {PromptAnswer::No};
    EXPECT_FALSE(startCardOperation(sim(), prompter, true, false, true, false));
    EXPECT_EQ(sim().lastStatus(), CardStatus::CardBlocked);
    EXPECT_EQ(rec().count("A0 2C"), 0);
    sim().closeCard();

    // Only a blocked card is offered anything.
    use(emulator::StandardCard::simCard());
    prompter = ScriptedPrompter();
    sim().setPinPrompt(&prompter);
    EXPECT_FALSE(startCardOperation(sim(), prompter, true, false, true, false));
    EXPECT_EQ(sim().lastStatus(), CardStatus::OperationCancelled);
    EXPECT_TRUE(prompter.questions.empty());
}

TEST_F(PinCommandsTest, ActivateFdn)
{
    // Answered No: no PIN2 prompt, no message.
    prompter.pins = {std::string("1234")};
    EXPECT_EQ(commands().activateFdn(), CommandResult::NotDone);
    EXPECT_EQ(prompter.questions, std::vector<int>{5606});
    EXPECT_EQ(prompter.pinPrompts, std::vector<int>{1});
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_FALSE(findFile(card(), kEfAdn)->invalidated);

    prompter.answers = {PromptAnswer::Yes};
    prompter.pins = {std::string("5678")};
    EXPECT_EQ(commands().activateFdn(), CommandResult::Done);
    EXPECT_EQ(prompter.pinPrompts, (std::vector<int>{1, 2}));
    EXPECT_TRUE(findFile(card(), kEfAdn)->invalidated);
    EXPECT_TRUE(prompter.errors.empty());

    prompter.answers = {PromptAnswer::Yes};
    EXPECT_EQ(commands().activateFdn(), CommandResult::Done);
    EXPECT_EQ(prompter.questions.back(), 5605);
    EXPECT_FALSE(findFile(card(), kEfAdn)->invalidated);

    // Switched to the state it is in: nothing asked.
    const auto questions = prompter.questions.size();
    EXPECT_EQ(commands().activateFdn(false), CommandResult::Done);
    EXPECT_EQ(prompter.questions.size(), questions);

    // A wrong PIN2: the card's refusal, and the file stays as it was.
    sim().forgetPin(2);
    prompter.pins = {std::string("0000")};
    EXPECT_EQ(commands().activateFdn(true), CommandResult::Failed);
    EXPECT_EQ(prompter.errors, std::vector<QString>{refusedWith("2 tries left.")});
    EXPECT_FALSE(findFile(card(), kEfAdn)->invalidated);
}

// A refused code says what its counter has left; with one try left it goes to the card only after
// a Yes (PIN: Enter PIN, PUK: Unblock Card on a blocked PIN1).
TEST_F(PinCommandsTest, TriesLeftAndTheLastTry)
{
    struct Case
    {
        bool puk;
        int left;
        std::deque<PromptAnswer> answers;
        int leftAfter;
        const char* detail; // nullptr: asked first, declined, nothing sent
    };
    const Case cases[] = {
        {false, 3, {}, 2, "2 tries left."},
        {false, 2, {}, 1, "One try left."},
        {false, 1, {PromptAnswer::No}, 1, nullptr},
        {false, 1, {PromptAnswer::Yes}, 0, "No tries left: the code is blocked."},
        {true, 1, {PromptAnswer::No}, 1, nullptr},
    };
    for (const Case& c : cases) {
        use(standardCardWith([&c](emulator::SimCardData& d) {
            (c.puk ? d.chv1.unblockAttemptsLeft : d.chv1.attemptsLeft) = c.left;
            d.chv1.attemptsLeft = c.puk ? 0 : c.left;
        }));
        prompter = ScriptedPrompter();
        prompter.pins = {std::string("0000")};
        prompter.unblockFields = {ScriptedPrompter::Fields{"11111111", "2222", "2222"}};
        prompter.answers = c.answers;
        EXPECT_NE(c.puk ? commands().unblockCard() : commands().enterPin(), CommandResult::Done) << c.left;
        const int last = c.puk ? 9844 : 9843;
        EXPECT_EQ(prompter.questions, c.left == 1 ? std::vector<int>{last} : std::vector<int>{}) << c.left;
        EXPECT_EQ(c.puk ? card().chv1.unblockAttemptsLeft : card().chv1.attemptsLeft, c.leftAfter) << c.left;
        EXPECT_EQ(rec().count(c.puk ? "A0 2C" : "A0 20"), c.detail ? 1 : 0) << c.left;
        if (c.detail) {
            EXPECT_EQ(prompter.errors, std::vector<QString>{refusedWith(c.detail)}) << c.left;
        }
    }
}
