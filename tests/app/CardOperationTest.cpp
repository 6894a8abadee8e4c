#include "app/CardOperation.h"

#include <gtest/gtest.h>

#include "CardFileDoubles.h"
#include "ScriptedPrompter.h"
#include "SimBench.h"
#include "sim/ProgressSink.h"

using namespace kestrel;
using namespace kestrel::test;
using namespace kestrel::gsm::fid;

namespace {

// Reads EF_ADN records 1..n with a progress update before each, as the bulk reads do.
bool readRecords(SimCard& sim, int n)
{
    for (int i = 1; i <= n; ++i) {
        if (!sim.showProgressItem(5001, static_cast<unsigned>(i), static_cast<unsigned>(n), false))
            return false;
        std::array<uint8_t, 28> record{};
        int length = 28;
        if (!sim.readFile(kDfTelecom, kEfAdn, record, length, i))
            return false;
    }
    return true;
}

OpenFlags chv1()
{
    OpenFlags f;
    f.chv1 = true;
    return f;
}

} // namespace

TEST(CardOperation, FrameOfASuccessfulOperation)
{
    SimBench bench;
    ScriptedPrompter prompter;
    prompter.pins = {std::string("1234")};
    RecordingProgress sink;
    CardOperation op(*bench.sim, prompter, &sink);
    ASSERT_TRUE(op.run(5100, chv1(), [&] {
        op.setSuccessMessage(5602);
        return readRecords(*bench.sim, 3);
    }));
    EXPECT_EQ(sink.caption, QStringLiteral("Kestrel! - Reading Phone Book"));
    ASSERT_EQ(sink.texts.size(), 4u);
    EXPECT_EQ(sink.texts[0], QStringLiteral("Initializing SIM Card"));
    EXPECT_EQ(sink.texts[3], QStringLiteral("Reading phone book from SIM\nReading item 3 (total 3)"));
    EXPECT_EQ(sink.closed, 1);
    EXPECT_EQ(prompter.messages, std::vector<int>{5602});
    EXPECT_TRUE(prompter.errors.empty());
    EXPECT_TRUE(op.errorText().isEmpty());
    EXPECT_FALSE(bench.reader->cardPowered());
    EXPECT_EQ(bench.sim->pinPrompt(), nullptr); // borrowed for the run only
}

// Abort during the 3rd of 10 records: stop before the 4th with 146, images dropped, window
// closed, the error shown.
TEST(CardOperation, AbortEndsWith146)
{
    SimBench bench;
    ScriptedPrompter prompter;
    prompter.pins = {std::string("1234")};
    RecordingProgress sink;
    sink.abortAtPoll = 4; // the opening text, records 1, 2, 3: pressed while the 3rd is read
    bench.sim->image(CachedFile::Adn) = FileImage(250, 28);
    CardOperation op(*bench.sim, prompter, &sink);
    EXPECT_FALSE(op.run(5100, chv1(), [&] { return readRecords(*bench.sim, 10); }));
    EXPECT_EQ(bench.recorder->count("A0 B2"), 2);
    EXPECT_EQ(prompter.errors,
              std::vector<QString>{QStringLiteral("Communication error:\r\nOperation cancelled by user")});
    EXPECT_FALSE(bench.sim->image(CachedFile::Adn).has_value());
    EXPECT_EQ(sink.closed, 1);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST(CardOperation, PulledCardMidOperation)
{
    emulator::FaultPlan plan;
    plan.pullAtCommand = 22 + 7 + 2; // opening with VERIFY, record 1 with its SELECTs, record 3
    SimBench bench(emulator::StandardCard::simCard(), &plan);
    ScriptedPrompter prompter;
    prompter.pins = {std::string("1234")};
    CardOperation op(*bench.sim, prompter);
    bool imageSeen = false;
    EXPECT_FALSE(op.run(5100, chv1(), [&] {
        bench.sim->image(CachedFile::Adn) = FileImage(250, 28);
        imageSeen = true;
        return readRecords(*bench.sim, 5);
    }));
    EXPECT_TRUE(imageSeen);
    EXPECT_EQ(op.errorText(), QStringLiteral("Communication error:\r\nCard not inserted"));
    EXPECT_EQ(prompter.errors.size(), 1u);
    EXPECT_FALSE(bench.sim->image(CachedFile::Adn).has_value());
    EXPECT_FALSE(bench.reader->cardPowered());
}

TEST(CardOperation, FailedOpeningSkipsTheWork)
{
    SimBench bench;
    ScriptedPrompter prompter; // the PIN prompt is closed
    bool worked = false;
    CardOperation op(*bench.sim, prompter);
    EXPECT_FALSE(op.run(5106, chv1(), [&] { return worked = true; }));
    EXPECT_FALSE(worked);
    EXPECT_EQ(prompter.errors, std::vector<QString>{QStringLiteral("Communication error:\r\nOperation cancelled")});
}

// A caller that shows its own message for some statuses gets the failure back instead.
TEST(CardOperation, FailureHandedBackWhenNotShown)
{
    SimBench bench;
    ScriptedPrompter prompter;
    prompter.pins = {std::string("1234")};
    CardOperation op(*bench.sim, prompter);
    op.setShowFailure(false);
    EXPECT_FALSE(op.run(5100, chv1(), [&] {
        bench.sim->setLastStatus(CardStatus::InaccessibleRecord);
        return false;
    }));
    EXPECT_TRUE(prompter.errors.empty());
    EXPECT_EQ(op.failureStatus(), CardStatus::InaccessibleRecord);
    EXPECT_EQ(op.errorText(), QStringLiteral("Communication error:\r\nUnaccessible card record"));
    EXPECT_FALSE(bench.reader->cardPowered());

    EXPECT_TRUE(op.run(5100, chv1(), [] { return true; }));
    EXPECT_EQ(op.failureStatus(), CardStatus::Ok);
}
