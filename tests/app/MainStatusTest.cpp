#include "app/MainStatus.h"

#include <gtest/gtest.h>

#include "ScriptedPrompter.h"
#include "SimBench.h"
#include "app/SimCheckCommand.h"
#include "codec/DialEntry.h"
#include "sim/DialFiles.h"

using namespace kestrel;
using namespace kestrel::test;

namespace {

CardOperationReport seen(uint32_t flags, int tries = -1, CardStatus status = CardStatus::Ok)
{
    CardOperationReport r;
    r.captionId = 5100;
    r.status = status;
    r.identified = true;
    r.iccid = {0x98, 0x24, 0x00, 0x21, 0x43, 0x65, 0x87, 0x09, 0x21, 0xF3};
    r.phase = 2;
    r.cardFlags = flags | CardFlag::kIdentified;
    r.chv1TriesLeft = tries;
    return r;
}

CardOperationReport failed(CardStatus status, const QString& detail = {})
{
    CardOperationReport r;
    r.captionId = 5101;
    r.status = status;
    r.detail = detail;
    return r;
}

} // namespace

// Each report after the ones before it: what the panel and the status bar say then.
TEST(MainStatus, LinesFollowTheOperations)
{
    MainStatus status([] { return QStringLiteral("COM1"); });
    EXPECT_EQ(status.lines().card, QStringLiteral("Card: not read yet"));
    EXPECT_TRUE(status.lines().iccid.isEmpty());
    EXPECT_EQ(status.lines().last, QStringLiteral("Last operation: none yet"));
    EXPECT_EQ(status.statusLine(), QStringLiteral("Ready"));

    using namespace CardFlag;
    struct Step
    {
        CardOperationReport report;
        const char* card;
        const char* pin1; // "" when not shown
        const char* statusLine;
    };
    const Step steps[] = {
        {seen(kChv1Enabled, 3), "Card: in the reader", "PIN1: on, 3 tries left", "Reading Phone Book: O.K."},
        {seen(kChv1Enabled | kChv1Verified), "Card: in the reader", "PIN1: on, entered", "Reading Phone Book: O.K."},
        {failed(CardStatus::CancelledByUser), "Card: in the reader", "PIN1: on, entered",
         "Operation cancelled by user"},
        {failed(CardStatus::OperationCancelled), "Card: in the reader", "PIN1: on, entered",
         "Operation cancelled by user"},
        // A refused code moves the counter: the old number no longer holds.
        {failed(CardStatus::WrongPin, QStringLiteral("2 tries left.")), "Card: in the reader", "PIN1: on",
         "Writing Phone Book: Wrong PIN! 2 tries left."},
        {seen(kChv1Enabled, 1), "Card: in the reader", "PIN1: on, one try left", "Reading Phone Book: O.K."},
        {seen(kChv1Enabled | kChv1Blocked, 0, CardStatus::CardBlocked), "Card: in the reader",
         "PIN1: blocked - Unblock Card in the PIN menu asks for the PUK",
         "Reading Phone Book: Card blocked, PIN is not verified"},
        {seen(0), "Card: in the reader", "PIN1: off", "Reading Phone Book: O.K."},
        {failed(CardStatus::CardNotInserted), "Card: no card in the reader", "",
         "Writing Phone Book: Card not inserted"},
        {failed(CardStatus::ReaderInaccessible), "Card: not read yet", "", nullptr},
    };
    for (const Step& step : steps) {
        status.operationFinished(step.report);
        const MainStatus::Lines lines = status.lines();
        SCOPED_TRACE(::testing::PrintToString(step.statusLine ? step.statusLine : ""));
        EXPECT_EQ(lines.card, QString::fromLatin1(step.card));
        EXPECT_EQ(lines.pin1, QString::fromLatin1(step.pin1));
        EXPECT_EQ(lines.iccid.isEmpty(), !step.report.identified && step.pin1[0] == 0);
        if (step.statusLine) {
            EXPECT_EQ(status.statusLine(), QString::fromUtf8(step.statusLine));
        }
        if (step.statusLine && !CardOperation::isUserCancel(step.report.status)) {
            EXPECT_EQ(lines.last, QStringLiteral("Last operation: ") + status.statusLine());
        }
    }
}

TEST(MainStatus, NestedOperationIsToldAsPartOfTheOuterOne)
{
    MainStatus status([] { return QStringLiteral("NOTHING"); });
    int changes = 0;
    status.setOnChange([&] { ++changes; });
    EXPECT_EQ(status.lines().reader, QStringLiteral("Reader: none - choose one in Other > Setup"));
    status.operationStarted(5108);
    status.operationStarted(5100);
    EXPECT_EQ(status.statusLine(), QStringLiteral("Backing-Up SIM Card ..."));
    status.operationFinished(failed(CardStatus::InaccessibleRecord));
    EXPECT_TRUE(status.busy());
    EXPECT_EQ(status.statusLine(), QStringLiteral("Backing-Up SIM Card ..."));
    CardOperationReport outer = seen(CardFlag::kChv1Enabled | CardFlag::kChv1Verified);
    outer.captionId = 5108;
    status.operationFinished(outer);
    EXPECT_FALSE(status.busy());
    EXPECT_EQ(status.statusLine(), QStringLiteral("Backing-Up SIM Card: O.K."));
    EXPECT_EQ(changes, 4);
}

// A phone book read on the virtual card through the frame every card command runs in; a closed
// PIN prompt is no error where the front end tells a cancel in its status line.
TEST(MainStatus, PhoneBookReadOnTheVirtualCard)
{
    SimBench bench;
    MainStatus status([] { return QStringLiteral("VIRTUAL"); });
    ScriptedPrompter prompter;
    prompter.setOperationListener(&status);
    prompter.cancelInStatus = true;
    OpenFlags open;
    open.chv1 = true;
    const auto readBook = [&] {
        std::vector<DialEntry> entries(250);
        DialListSize size;
        return DialFiles(*bench.sim).readDialList(gsm::fid::kEfAdn, entries, size);
    };

    CardOperation op(*bench.sim, prompter);
    EXPECT_FALSE(op.run(5100, open, readBook)); // no PIN given: the prompt is closed
    EXPECT_TRUE(prompter.errors.empty());
    EXPECT_EQ(status.statusLine(), QStringLiteral("Operation cancelled by user"));
    EXPECT_EQ(status.lines().card, QStringLiteral("Card: not read yet"));

    prompter.pins = {std::string("1234")};
    ASSERT_TRUE(op.run(5100, open, readBook));
    const MainStatus::Lines lines = status.lines();
    EXPECT_EQ(lines.reader, QStringLiteral("Reader: VIRTUAL"));
    EXPECT_EQ(lines.card, QStringLiteral("Card: in the reader"));
    EXPECT_TRUE(lines.iccid.startsWith(QStringLiteral("ICCID: ") + QLatin1String(emulator::StandardCard::kIccidDigits)))
        << lines.iccid.toStdString();
    EXPECT_EQ(lines.iccid.size(), 7 + 20);
    EXPECT_EQ(lines.phase, QStringLiteral("SIM phase: 2+"));
    EXPECT_EQ(lines.pin1, QStringLiteral("PIN1: on, entered"));
    EXPECT_EQ(lines.last, QStringLiteral("Last operation: Reading Phone Book: O.K."));

    // The check runs in a frame of its own, told the same way.
    ASSERT_TRUE(SimCheckCommand(*bench.sim, prompter).check());
    EXPECT_EQ(status.statusLine(), QStringLiteral("Checking SIM Card: O.K."));

    // The command line shows a cancel as the failure it is.
    prompter.cancelInStatus = false;
    bench.sim->forgetPin(1);
    bench.sim->closeCard();
    prompter.pins = {std::nullopt};
    EXPECT_FALSE(op.run(5100, open, readBook));
    EXPECT_EQ(prompter.errors.size(), 1U);
}
