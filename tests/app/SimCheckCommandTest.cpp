#include "app/SimCheckCommand.h"

#include <gtest/gtest.h>

#include "ScriptedPrompter.h"
#include "SimBench.h"
#include "base/StringTable.h"
#include "sim/SimCard.h"

using namespace kestrel;
using namespace kestrel::test;

namespace {

constexpr int kLinkByte = 27; // last byte of the standard card's 28-byte dialling-number records

uint8_t linkOf(const emulator::SimCardData& d, uint16_t file, int n)
{
    const emulator::SimFile* f = findFile(d, file);
    return f->data[static_cast<std::size_t>(n * f->recordLength - 1)];
}

const QString kNotice = QStringLiteral(
    "Card is blocked by authentification counter overflow.\r\nIt is not usable for calls, but some information may be "
    "accessible.");

TEST(SimCheckCommandTest, ReportTitlesAndTheCounterNotice)
{
    for (const bool exhausted : {false, true}) {
        SimBench bench(
            standardCardWith([&](emulator::SimCardData& d) { d.options.authenticationExhausted = exhausted; }));
        ScriptedPrompter prompter;
        prompter.pins = {std::string("1234")};
        SimCheckCommand command(*bench.sim, prompter);
        ASSERT_TRUE(command.check()) << exhausted;
        EXPECT_TRUE(prompter.errors.empty());
        EXPECT_EQ(bench.recorder->count("A0 88 00 00 10"), 1);
        EXPECT_EQ(command.counterExhausted(), exhausted);
        const QString notice = exhausted ? kNotice + QStringLiteral("\r\n") : QString();
        EXPECT_TRUE(command.brief().startsWith(QStringLiteral("SIM Card Report\r\n") + notice +
                                               QStringLiteral("Serial Number: 89420012345678901231\r\n\r\n")))
            << command.brief().toStdString();
        EXPECT_TRUE(command.detailed().startsWith(QStringLiteral("SIM Card Detailed Report\r\n") + notice +
                                                  QStringLiteral("Serial Number: ")));
        EXPECT_FALSE(command.errorsFound());
        EXPECT_TRUE(command.brief().endsWith(QStringLiteral("Extension 2:\r\nOK\r\n")));
    }
}

TEST(SimCheckCommandTest, CardFailureEndsTheCheckWithTheError)
{
    SimBench bench;
    ScriptedPrompter prompter; // the PIN prompt is closed
    SimCheckCommand command(*bench.sim, prompter);
    EXPECT_FALSE(command.check());
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_TRUE(prompter.errors[0].startsWith(StringTable::text(5301)));
    EXPECT_TRUE(command.brief().isEmpty());
    EXPECT_EQ(bench.recorder->count("A0 88"), 0);
}

TEST(SimCheckCommandTest, RepairAsksForPin2WhenFdnNeedsIt)
{
    struct Case
    {
        bool enCache;
        bool pin2Given;
    } const cases[] = {{true, true}, {false, true}, {true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "enCache " << c.enCache << " pin2 " << c.pin2Given);
        SimBench bench(standardCardWith([](emulator::SimCardData& d) {
            fileRecord(d, gsm::fid::kEfAdn, 7)[kLinkByte] = 0x20;
            fileRecord(d, gsm::fid::kEfFdn, 2)[kLinkByte] = 0x00;
        }));
        bench.sim->setSettings(SimCardSettings{c.enCache});
        ScriptedPrompter prompter;
        prompter.pins = {std::string("1234")};
        SimCheckCommand command(*bench.sim, prompter);
        ASSERT_TRUE(command.check());
        EXPECT_TRUE(command.errorsFound());
        EXPECT_TRUE(command.pin2Needed());
        EXPECT_TRUE(
            command.brief().contains(QStringLiteral(" 7\tLink to invalid extension->Remove Link to Extension")));

        if (c.pin2Given)
            prompter.pins = {std::string("5678")};
        const bool repaired = command.repair();
        EXPECT_EQ(repaired, c.pin2Given);
        EXPECT_EQ(prompter.pinPrompts.back(), 2);
        const emulator::SimCardData& data = bench.model->data();
        if (c.pin2Given) {
            EXPECT_TRUE(prompter.errors.empty());
            EXPECT_TRUE(command.detailed().contains(QStringLiteral(" 7\tLink to invalid extension->Repaired\r\n")));
            EXPECT_TRUE(command.detailed().contains(QStringLiteral(" 2\tLink to invalid extension->Repaired\r\n")));
            EXPECT_EQ(linkOf(data, gsm::fid::kEfAdn, 7), 0xFF);
            EXPECT_EQ(linkOf(data, gsm::fid::kEfFdn, 2), 0xFF);
            ASSERT_TRUE(command.check());
            EXPECT_FALSE(command.errorsFound());
        } else {
            // Closing the PIN2 prompt ends the repair before anything is written.
            ASSERT_EQ(prompter.errors.size(), 1u);
            EXPECT_TRUE(prompter.errors[0].contains(cardStatusMessage(CardStatus::OperationCancelled)))
                << prompter.errors[0].toStdString();
            EXPECT_EQ(linkOf(data, gsm::fid::kEfAdn, 7), 0x20);
        }
    }
}

// The card is swapped between the check and the repair: the other card gets no code and no
// write, and the user is told why.
TEST(SimCheckCommandTest, RepairTouchesOnlyTheCardThatWasChecked)
{
    auto broken = [](emulator::SimCardData& d) { fileRecord(d, gsm::fid::kEfAdn, 7)[kLinkByte] = 0x20; };
    SimBench checked(standardCardWith(broken));
    SimBench other(standardCardWith([&](emulator::SimCardData& d) {
        broken(d);
        findFile(d, gsm::fid::kEfIccid)->data[9] ^= 0x10;
    }));
    CardReader* inReader = checked.reader.get();
    SimCard card([&] { return inReader; });
    ScriptedPrompter prompter;
    prompter.pins = {std::string("1234"), std::string("1234")};
    SimCheckCommand command(card, prompter);
    ASSERT_TRUE(command.check());
    ASSERT_TRUE(command.errorsFound());

    inReader = other.reader.get();
    other.clearLog();
    EXPECT_FALSE(command.repair());
    EXPECT_EQ(prompter.messages.back(), 9402);
    EXPECT_EQ(other.recorder->count("A0 DC"), 0);
    EXPECT_EQ(other.recorder->count("A0 20"), 0); // no VERIFY CHV
    EXPECT_EQ(linkOf(other.model->data(), gsm::fid::kEfAdn, 7), 0x20);

    // Back in the reader, the checked card is repaired.
    inReader = checked.reader.get();
    EXPECT_TRUE(command.repair());
    EXPECT_EQ(linkOf(checked.model->data(), gsm::fid::kEfAdn, 7), 0xFF);
}

} // namespace
