#include "sim/NetworkFiles.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CardFileDoubles.h"
#include "SimBench.h"
#include "codec/PlmnCodec.h"

using namespace kestrel;
using namespace kestrel::test;
using namespace kestrel::gsm::fid;

namespace {

class NetworkFilesTest : public ::testing::Test
{
protected:
    void use(emulator::SimCardData data)
    {
        bench = std::make_unique<SimBench>(std::move(data));
        bench->sim->setPinPrompt(&prompt);
    }
    void SetUp() override { use(emulator::StandardCard::simCard()); }
    void open()
    {
        prompt.answers = {std::string("1234")};
        ASSERT_TRUE(sim().openCard(true, false, true, false)) << toInt(sim().lastStatus());
        bench->clearLog();
    }

    SimCard& sim() { return *bench->sim; }
    RecordingIcc& rec() { return *bench->recorder; }
    const std::vector<uint8_t>& cardFile(bool forbidden)
    {
        return findFile(bench->model->data(), forbidden ? kEfFplmn : kEfPlmnSel)->data;
    }

    QueuedPinPrompt prompt;
    std::unique_ptr<SimBench> bench;
};

// "MCC-MNC" of every slot, "-" for a free one.
std::vector<std::string> slotTexts(const std::vector<PlmnEntry>& list)
{
    std::vector<std::string> out;
    for (const PlmnEntry& e : list)
        out.push_back(e.used ? formatPlmn(e.mcc, e.mnc) : "-");
    return out;
}

PlmnEntry network(uint32_t mcc, uint32_t mnc)
{
    return PlmnEntry{1, 1, mcc, mnc};
}

} // namespace

TEST_F(NetworkFilesTest, ReadsTheStandardCardsLists)
{
    struct Case
    {
        bool forbidden;
        std::vector<std::string> expected;
        const char* select;
        const char* read;
    };
    const Case cases[] = {
        {false, {"230-02", "262-01", "-", "-", "-", "-", "-", "-"}, "A0 A4 00 00 02 6F 30", "A0 B0 00 00 18"},
        {true, {"230-03", "-", "-", "-"}, "A0 A4 00 00 02 6F 7B", "A0 B0 00 00 0C"},
    };
    open();
    for (const Case& c : cases) {
        bench->clearLog();
        std::vector<PlmnEntry> list = {network(1, 1)}; // replaced, not appended to
        ASSERT_TRUE(NetworkFiles(sim()).readPlmnList(list, c.forbidden)) << toInt(sim().lastStatus());
        EXPECT_EQ(slotTexts(list), c.expected) << c.forbidden;
        for (const PlmnEntry& e : list)
            EXPECT_EQ(e.modified, 0);
        EXPECT_EQ(rec().count(c.select), 1);
        EXPECT_EQ(rec().count(c.read), 1);
    }
}

// The whole file goes in one UPDATE BINARY: entry i to slot i, free entries and slots beyond the
// list FF FF FF, entries beyond the file's last slot left out.
TEST_F(NetworkFilesTest, WriteAndReadBack)
{
    struct Case
    {
        bool forbidden;
        std::vector<PlmnEntry> list;
        std::vector<std::string> expected;
        const char* update;
    };
    const Case cases[] = {
        {false,
         {network(310, 260), PlmnEntry{}, network(232, 1)},
         {"310-60", "-", "232-01", "-", "-", "-", "-", "-"},
         "A0 D6 00 00 18"},
        {true,
         {network(230, 1), network(230, 2), network(230, 3), network(231, 6), network(262, 7)},
         {"230-01", "230-02", "230-03", "231-06"},
         "A0 D6 00 00 0C"},
        {true, {}, {"-", "-", "-", "-"}, "A0 D6 00 00 0C"},
    };
    for (const Case& c : cases) {
        use(emulator::StandardCard::simCard());
        open();
        ASSERT_TRUE(NetworkFiles(sim()).writePlmnList(c.list, c.forbidden)) << toInt(sim().lastStatus());
        EXPECT_EQ(rec().count("A0 D6"), 1);
        EXPECT_EQ(rec().count(c.update), 1);
        EXPECT_EQ(cardFile(c.forbidden).size(), c.expected.size() * 3); // the file keeps its size
        std::vector<PlmnEntry> back;
        ASSERT_TRUE(NetworkFiles(sim()).readPlmnList(back, c.forbidden));
        EXPECT_EQ(slotTexts(back), c.expected) << c.forbidden << c.list.size();
        // The other list is not touched.
        std::vector<PlmnEntry> other;
        ASSERT_TRUE(NetworkFiles(sim()).readPlmnList(other, !c.forbidden));
        EXPECT_EQ(slotTexts(other)[0], c.forbidden ? "230-02" : "230-03");
    }
}

// A card that is not open (not identified) gives 140 without a command, no reader 142; a read
// that fails leaves the list empty; the card's access conditions come back as its status, and a
// failure drops the images.
TEST_F(NetworkFilesTest, Failures)
{
    std::vector<PlmnEntry> list = {network(230, 1)};
    EXPECT_FALSE(NetworkFiles(sim()).readPlmnList(list, false));
    EXPECT_EQ(sim().lastStatus(), CardStatus::NonSpecificError);
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(NetworkFiles(sim()).writePlmnList(std::vector<PlmnEntry>{network(230, 1)}, true));
    EXPECT_EQ(sim().lastStatus(), CardStatus::NonSpecificError);
    EXPECT_TRUE(rec().log.empty());

    SimCard lonely([] { return nullptr; });
    EXPECT_FALSE(NetworkFiles(lonely).readPlmnList(list, true));
    EXPECT_EQ(lonely.lastStatus(), CardStatus::ReaderInaccessible);

    // A card without EF_FPLMN: SELECT answers 94 04.
    use(standardCardWith([](emulator::SimCardData& d) {
        std::erase_if(d.files, [](const emulator::SimFile& f) { return f.id() == kEfFplmn; });
    }));
    open();
    list = {network(230, 1)};
    EXPECT_FALSE(NetworkFiles(sim()).readPlmnList(list, true));
    EXPECT_EQ(sim().lastStatus(), CardStatus::BadCardResponse);
    EXPECT_TRUE(list.empty());
    sim().closeCard();

    // Opened without CHV1 (prompt closed, not strict): the card refuses with 98 04.
    use(emulator::StandardCard::simCard());
    ASSERT_TRUE(sim().openCard(true, false, false, false));
    const std::vector<uint8_t> before = cardFile(false);
    sim().image(CachedFile::Sms) = FileImage(20, 176);
    EXPECT_FALSE(NetworkFiles(sim()).writePlmnList(std::vector<PlmnEntry>{network(230, 1)}, false));
    EXPECT_EQ(sim().lastStatus(), CardStatus::NoValidPin);
    EXPECT_EQ(cardFile(false), before);
    EXPECT_FALSE(sim().image(CachedFile::Sms).has_value()); // a failed transfer keeps no image
    EXPECT_FALSE(NetworkFiles(sim()).readPlmnList(list, false));
    EXPECT_EQ(sim().lastStatus(), CardStatus::NoValidPin);
    EXPECT_TRUE(list.empty());
}
