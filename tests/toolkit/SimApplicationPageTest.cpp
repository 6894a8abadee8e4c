#include <deque>

#include <gtest/gtest.h>

#include "ScriptedPrompter.h"
#include "SimBench.h"
#include "ToolkitBytes.h"
#include "toolkit/SimApplicationPage.h"

namespace kestrel {
namespace {

using test::hexBytes;
using test::proactive;

// A card whose proactive commands come from a script: an ENVELOPE or a TERMINAL RESPONSE is
// answered 91 xx while a command is queued (xx its length, or `announce` when set), FETCH hands
// it out padded with FF to the length asked for. Everything else goes to the standard card.
class ScriptedToolkitIcc final : public emulator::Icc
{
public:
    explicit ScriptedToolkitIcc(std::unique_ptr<emulator::Icc> inner) : m_inner(std::move(inner)) {}

    bool present() const override { return m_inner->present(); }
    std::vector<uint8_t> powerOn() override { return m_inner->powerOn(); }
    void powerOff() override { m_inner->powerOff(); }
    bool readMemory(std::array<uint8_t, 32>& out) const override { return m_inner->readMemory(out); }
    emulator::CardResponse process(const emulator::Apdu& apdu) override
    {
        switch (apdu.ins) {
        case 0xC2:
            return {{}, pendingWord()};
        case 0x14:
            responses.push_back(test::toSpacedHex(apdu.data));
            return {{}, pendingWord()};
        case 0x12: {
            if (queue.empty())
                return {{}, 0x6F00};
            std::vector<uint8_t> data = queue.front();
            queue.pop_front();
            data.resize(apdu.p3 == 0 ? 256 : apdu.p3, 0xFF);
            return {data, 0x9000};
        }
        default:
            return m_inner->process(apdu);
        }
    }

    std::deque<std::vector<uint8_t>> queue;
    std::optional<uint16_t> announce;
    std::vector<std::string> responses; // TERMINAL RESPONSE data

private:
    uint16_t pendingWord()
    {
        if (queue.empty())
            return 0x9000;
        if (announce) {
            const uint16_t w = *announce;
            announce.reset();
            return w;
        }
        return static_cast<uint16_t>(0x9100 | (queue.front().size() & 0xFF));
    }

    std::unique_ptr<emulator::Icc> m_inner;
};

class ToolkitCardTest : public ::testing::Test
{
protected:
    ToolkitCardTest()
    {
        auto scripted = std::make_unique<ScriptedToolkitIcc>(
            std::make_unique<emulator::SimCardModel>(emulator::StandardCard::simCard()));
        card = scripted.get();
        auto rec = std::make_unique<test::RecordingIcc>(std::move(scripted));
        recorder = rec.get();
        reader = std::make_unique<VirtualReader>(std::move(rec));
        reader->open(QString());
        sim = std::make_unique<SimCard>([this] { return reader.get(); });
        EXPECT_TRUE(sim->openCard(false, false, false, false));
        page = std::make_unique<SimApplicationPage>(*sim, prompter);
        sim->setToolkitHandler(page.get());
    }
    ~ToolkitCardTest() override
    {
        page.reset();
        sim.reset();
    }

    // Queues the commands and sends an ENVELOPE that announces the first.
    bool deliver(std::vector<std::vector<uint8_t>> commands)
    {
        for (auto& c : commands)
            card->queue.push_back(std::move(c));
        uint16_t sw = 0;
        const uint8_t envelope[] = {0xD3, 0x07, 0x82, 0x02, 0x01, 0x81, 0x90, 0x01, 0x01};
        return sim->sendEnvelope(envelope, sw);
    }

    test::ScriptedPrompter prompter;
    ScriptedToolkitIcc* card = nullptr;
    test::RecordingIcc* recorder = nullptr;
    std::unique_ptr<VirtualReader> reader;
    std::unique_ptr<SimCard> sim;
    std::unique_ptr<SimApplicationPage> page;
};

const std::string kOk = "01 03 01 25 00 02 02 82 81 03 01 00";

// The FETCH asks for SW2 bytes, 256 for 91 00.
TEST_F(ToolkitCardTest, FetchAsksForTheAnnouncedLength)
{
    struct Case
    {
        std::optional<uint16_t> announce;
        std::string fetch;
    };
    const std::vector<uint8_t> menu = proactive("81 03 01 25 00 82 02 81 82 85 01 4D");
    for (const Case& c : {Case{0x9100, "A0 12 00 00 00"}, Case{std::nullopt, "A0 12 00 00 0E"}}) {
        recorder->log.clear();
        card->responses.clear();
        card->announce = c.announce;
        ASSERT_TRUE(deliver({menu})) << c.fetch;
        EXPECT_EQ(recorder->count(c.fetch), 1) << c.fetch;
        EXPECT_EQ(card->responses, std::vector<std::string>{kOk});
        EXPECT_EQ(page->menuTitle(), QStringLiteral("M"));
    }
}

// A broken header fails with 140 and a broken body with 105, and neither is answered: with the
// page as the handler and with none (the default answer is not given to a broken command).
TEST_F(ToolkitCardTest, UndecodableCommandsFailTheCardCommand)
{
    struct Case
    {
        std::vector<uint8_t> command;
        CardStatus status;
    };
    for (ToolkitHandler* handler : {static_cast<ToolkitHandler*>(page.get()), static_cast<ToolkitHandler*>(nullptr)}) {
        sim->setToolkitHandler(handler);
        for (const Case& c :
             {Case{hexBytes("80 09 81 03 01 25 00 82 02 81 82"), CardStatus::NonSpecificError},
              Case{proactive("81 03 01 25 00 82 02 81 82 8F 02 01 41"), CardStatus::StatusError},
              Case{proactive("81 03 01 21 00 82 02 81 02"), CardStatus::StatusError}}) { // DISPLAY TEXT, no text
            card->responses.clear();
            EXPECT_FALSE(deliver({c.command})) << (handler != nullptr);
            EXPECT_EQ(sim->lastStatus(), c.status) << (handler != nullptr);
            EXPECT_TRUE(card->responses.empty());
        }
    }
    // Without a handler a command that decodes still gets "performed successfully".
    ASSERT_TRUE(deliver({proactive("81 03 01 25 00 82 02 81 82 85 01 4D")}));
    EXPECT_EQ(card->responses, std::vector<std::string>{kOk});
    EXPECT_FALSE(page->hasMenu());
}

// Commands the page does not answer get general result 00 without asking anyone.
TEST_F(ToolkitCardTest, OtherTypesAreAnsweredPerformed)
{
    for (const uint8_t type : {0x22, 0x26, 0x13}) {
        card->responses.clear();
        std::vector<uint8_t> body = hexBytes("81 03 04 00 01 82 02 81 82");
        body[3] = type;
        ASSERT_TRUE(deliver({proactive(body)}));
        std::vector<uint8_t> expected = hexBytes("01 03 04 00 01 02 02 82 81 03 01 00");
        expected[3] = type;
        EXPECT_EQ(card->responses, std::vector<std::string>{test::toSpacedHex(expected)});
    }
    EXPECT_TRUE(prompter.itemTitles.empty());
    EXPECT_TRUE(prompter.inputPrompts.empty());
    EXPECT_TRUE(prompter.toolkitTexts.empty());
}

TEST_F(ToolkitCardTest, MenuWithoutItemsIsAnsweredAndEmpty)
{
    ASSERT_TRUE(deliver({proactive("81 03 01 25 00 82 02 81 82 85 04 4D 65 6E 75")}));
    EXPECT_EQ(card->responses, std::vector<std::string>{kOk});
    EXPECT_TRUE(page->hasMenu());
    EXPECT_TRUE(page->entries().empty());
    EXPECT_EQ(page->selectedEntry(), -1);
    EXPECT_FALSE(page->activateSelected());
}

// The user's answers to SELECT ITEM and GET INPUT, and what cancelling them tells the card.
TEST_F(ToolkitCardTest, AnswersToSelectItemAndGetInput)
{
    const std::vector<uint8_t> select = proactive("81 03 02 24 00 82 02 81 82 85 01 54 8F 02 04 41 8F 02 09 42");
    const std::vector<uint8_t> input = proactive("81 03 03 23 00 82 02 81 82 8D 02 04 50 91 02 01 08");
    struct Case
    {
        std::vector<uint8_t> command;
        std::optional<uint8_t> item;
        std::optional<QString> text;
        std::string response;
    };
    const std::vector<Case> cases = {
        {select, 9, {}, "01 03 02 24 00 02 02 82 81 03 01 00 10 01 09"},
        {select, std::nullopt, {}, "01 03 02 24 00 02 02 82 81 03 01 00 10 01 00"},
        {input, {}, QStringLiteral("Ab"), "01 03 03 23 00 02 02 82 81 03 01 00 8D 03 04 41 62"},
        {input, {}, QString(), "01 03 03 23 00 02 02 82 81 03 01 00 8D 01 04"},
        {input, {}, std::nullopt, "01 03 03 23 00 02 02 82 81 03 01 10"},
    };
    for (const Case& c : cases) {
        card->responses.clear();
        prompter.items = {c.item};
        prompter.inputs = {c.text};
        ASSERT_TRUE(deliver({c.command})) << c.response;
        EXPECT_EQ(card->responses, std::vector<std::string>{c.response});
    }
    ASSERT_EQ(prompter.itemEntries.size(), 2u);
    EXPECT_EQ(prompter.itemTitles[0], QStringLiteral("T"));
    ASSERT_EQ(prompter.itemEntries[0].size(), 2u);
    EXPECT_EQ(prompter.itemEntries[0][1].id, 9);
    EXPECT_EQ(prompter.itemEntries[0][1].text, QStringLiteral("<9>\tB"));
    EXPECT_EQ(prompter.inputPrompts[0], QStringLiteral("P <1 - 8 Length>"));
}

// The text string's length takes one byte up to 127 (126 text bytes and the coding scheme), then
// 81 and the length; a text that does not fit in one command is refused with 140, unsent.
TEST_F(ToolkitCardTest, InputTextLengthForms)
{
    const std::vector<uint8_t> input = proactive("81 03 03 23 00 82 02 81 82 8D 02 04 50 91 02 00 FF");
    struct Case
    {
        int length;
        std::string header; // after the result
        bool sent;
    };
    for (const Case& c : {Case{126, "8D 7F 04", true}, Case{127, "8D 81 80 04", true}, Case{239, "8D 81 F0 04", true},
                          Case{240, "", false}}) {
        card->responses.clear();
        prompter.inputs = {QString(c.length, QLatin1Char('x'))};
        EXPECT_EQ(deliver({input}), c.sent) << c.length;
        if (!c.sent) {
            EXPECT_EQ(sim->lastStatus(), CardStatus::NonSpecificError);
            EXPECT_TRUE(card->responses.empty());
            continue;
        }
        ASSERT_EQ(card->responses.size(), 1u);
        const std::string& r = card->responses[0];
        const std::string prefix = "01 03 03 23 00 02 02 82 81 03 01 00 " + c.header + " ";
        EXPECT_EQ(r.substr(0, prefix.size()), prefix) << c.length;
        EXPECT_EQ(r.size(), prefix.size() + 3 * static_cast<std::size_t>(c.length) - 1) << c.length;
    }
}

// A command the card sends in answer to a TERMINAL RESPONSE is handled inside that answer.
TEST_F(ToolkitCardTest, ChainedCommandsAreHandledInTurn)
{
    ASSERT_TRUE(deliver({proactive("81 03 01 25 00 82 02 81 82 85 01 4D 8F 02 01 41"),
                         proactive("81 03 02 21 80 82 02 81 02 8D 03 04 48 69")}));
    EXPECT_EQ(card->responses.size(), 2u);
    EXPECT_EQ(prompter.toolkitTexts, std::vector<QString>{QStringLiteral("SIM Aplication Text:\nHi")});
    ASSERT_EQ(page->entries().size(), 1u);
    EXPECT_EQ(page->entries()[0].text, QStringLiteral("<1>\tA"));
}

// The page on the virtual card's own toolkit application: menu, choice, follow-up dialogs.
TEST(SimApplicationPageTest, BrowsesTheVirtualCardsMenu)
{
    test::SimBench bench;
    test::ScriptedPrompter prompter;
    prompter.pins = {std::string("1234")};
    SimApplicationPage page(*bench.sim, prompter);
    ASSERT_EQ(page.refresh(), 1) << bench.sim->statusMessage().toStdString();
    EXPECT_EQ(page.menuTitle(), QStringLiteral("Kestrel SIM"));
    ASSERT_EQ(page.entries().size(), 3u);
    EXPECT_EQ(page.entries()[0].text, QStringLiteral("<1>\tServices"));
    EXPECT_EQ(page.selectedEntry(), 0);

    struct Case
    {
        int entry;
        std::optional<uint8_t> item;
        std::optional<QString> input;
        QString shown; // empty: nothing displayed
    };
    const std::vector<Case> cases = {
        {0, 2, {}, QStringLiteral("SIM Aplication Text:\nSunny, 21 C")},
        {0, std::nullopt, {}, QString()},
        {1, {}, QStringLiteral("Ann"), QStringLiteral("Ann")},
        {2, {}, {}, QStringLiteral("SIM Aplication Text:\n")},
    };
    for (const Case& c : cases) {
        prompter.toolkitTexts.clear();
        prompter.items = {c.item};
        prompter.inputs = {c.input};
        page.setSelectedEntry(c.entry);
        ASSERT_TRUE(page.activateSelected()) << c.entry << bench.sim->statusMessage().toStdString();
        if (c.shown.isEmpty()) {
            EXPECT_TRUE(prompter.toolkitTexts.empty()) << c.entry;
        } else {
            ASSERT_EQ(prompter.toolkitTexts.size(), 1u) << c.entry;
            EXPECT_TRUE(prompter.toolkitTexts[0].contains(c.shown)) << prompter.toolkitTexts[0].toStdString();
        }
    }
    EXPECT_EQ(bench.sim->toolkitHandler(), &page);
}

TEST(SimApplicationPageTest, WithoutReader)
{
    SimCard sim([] { return static_cast<CardReader*>(nullptr); });
    test::ScriptedPrompter prompter;
    SimApplicationPage page(sim, prompter);
    EXPECT_EQ(page.refresh(), 142);
    EXPECT_FALSE(page.hasMenu());
}

} // namespace
} // namespace kestrel
