// Reading and writing the phone book and fixed-dialling-number windows on the virtual card.

#include "phonebook/PhoneBookModel.h"

#include <tuple>

#include <gtest/gtest.h>

#include "CardFileDoubles.h"
#include "PhoneBookFixture.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "sim/SimCard.h"

using namespace kestrel;
using namespace kestrel::test;

namespace {

class PhoneBookCardTest : public PhoneBookFixture
{
public:
    void useCard(emulator::SimCardData card = emulator::StandardCard::simCard())
    {
        const QString path = tempPath(QStringLiteral("card.json"));
        QString error;
        ASSERT_TRUE(emulator::CardFile::save(card, path, error)) << error.toStdString();
        ASSERT_EQ(app->openReader(QStringLiteral("VIRTUAL:") + path), CardStatus::Ok);
        app->createSimCard();
        prompter.pins = {std::string("1234")};
    }

    static emulator::SimCardData withAdnInvalidated()
    {
        emulator::SimCardData card = emulator::StandardCard::simCard();
        for (auto& f : card.files)
            if (f.id() == gsm::fid::kEfAdn)
                f.invalidated = true;
        return card;
    }

    // A window of the same kind that reads the card afresh (the SimCard's images dropped first).
    std::unique_ptr<PhoneBookModel> readBack(DialBook book = DialBook::Adn)
    {
        app->sim().flushCaches();
        auto fresh = std::make_unique<PhoneBookModel>(book, *app, prompter);
        EXPECT_TRUE(fresh->readFromCard());
        return fresh;
    }

    // What the card stores of an entry.
    static std::string stored(const DialEntry& e)
    {
        if (e.valid == 0)
            return "free@" + std::to_string(e.position);
        return std::string(e.name) + "|" + std::to_string(e.ton) + "|" + e.number + "@" + std::to_string(e.position);
    }
};

TEST_F(PhoneBookCardTest, ReadEditInsertWriteAndReadAgain)
{
    useCard();
    ASSERT_TRUE(model->readFromCard());
    EXPECT_EQ(prompter.pinPrompts, std::vector<int>{1});
    EXPECT_TRUE(prompter.errors.empty());
    EXPECT_EQ(model->capacity(), 250);
    EXPECT_EQ(app->maxAlphaLength(), 14); // 28-byte records
    EXPECT_EQ(stored(model->entry(0)), "Mother|1|420602111222@0");
    EXPECT_EQ(stored(model->entry(3)), "Conference bri|0|123456789012345678901234@3");
    EXPECT_EQ(stored(model->entry(4)), "free@4");
    EXPECT_FALSE(model->anyModified());
    EXPECT_EQ(view.redraws.back(), std::make_tuple(-1, -1, -1));

    select({1});
    EXPECT_TRUE(
        model->acceptEdit(1, QStringLiteral("2"), QStringLiteral("Office Prague"), QStringLiteral("+420224123456"))
            .close);
    select({2});
    ASSERT_EQ(model->insertEntry(), 2);
    EXPECT_TRUE(model->acceptEdit(2, QStringLiteral("3"), QStringLiteral("New"), QStringLiteral("777")).close);

    prompter.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(model->writeToCard());
    EXPECT_EQ(prompter.questions, std::vector<int>{57801});
    EXPECT_EQ(prompter.pinPrompts, std::vector<int>{1}); // remembered since the read
    EXPECT_TRUE(prompter.errors.empty());
    EXPECT_FALSE(model->anyModified());

    const auto again = readBack();
    const std::vector<std::string> expected = {
        "Mother|1|420602111222@0",
        "Office Prague|1|420224123456@1",
        "New|0|777@2",
        "Voicemail|0|*77#@3",
        "Conference bri|0|123456789012345678901234@4",
        "free@5",
        "Pizza|0|777888999@6",
        "Hotel Vienna|1|43153163001@7",
        "Jens Weber|1|4930123456@8",
        "Frau Grossmann|1|4315121234@9",
        "Dr. Strauss|1|4989765432@10",
        "Taxi|0|14014@11",
        "Anne Marie|1|33145678901@12",
        "Dentist|0|241012345@13",
        "free@14",
    };
    for (int row = 0; row < 250; ++row) {
        EXPECT_EQ(stored(again->entry(row)), stored(model->entry(row))) << row;
        if (row < static_cast<int>(expected.size())) {
            EXPECT_EQ(stored(again->entry(row)), expected[static_cast<std::size_t>(row)]);
        }
    }
}

// Entries made in the window get the numbering plan phones write (TON/NPI 0x81, 0x91 when
// international); an entry read keeps its own, also when edited. After the write the rows show
// what the card holds.
TEST_F(PhoneBookCardTest, NewEntriesGetTheIsdnPlanAndRowsShowWhatTheCardHolds)
{
    useCard();
    ASSERT_TRUE(model->readFromCard());
    model->entry(0).npi = 9; // as if read so
    const std::tuple<int, const char*, const char*, int, std::string> edits[] = {
        {0, "Mum", "+420 602-111 222", 0x99, "Mum|1|420602111222@0"},
        {4, "Ji\u0159\u00ed Nov\u00e1k", "+420 603 123-456", 0x91, "Jiri Novak|1|420603123456@4"},
        {5, "Home", "(0603) 123.456", 0x81, "Home|0|0603123456@5"},
    };
    for (const auto& [row, name, number, tonNpi, card] : edits) {
        select({row});
        EXPECT_TRUE(
            model->acceptEdit(row, QString::number(row + 1), QString::fromUtf8(name), QString::fromUtf8(number)).close);
    }
    prompter.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(model->writeToCard());
    const auto again = readBack();
    for (const auto& [row, name, number, tonNpi, card] : edits) {
        const DialEntry& e = again->entry(row);
        EXPECT_EQ(0x80 | e.ton << 4 | e.npi, tonNpi) << row;
        EXPECT_EQ(stored(e), card);
        EXPECT_EQ(stored(model->entry(row)), card);
    }
}

TEST_F(PhoneBookCardTest, HeaderSortByNameThenWritePutsEveryEntryBackInItsRecord)
{
    useCard();
    setConfirm(false);
    ASSERT_TRUE(model->readFromCard());
    const auto cardOrder = model->entries();
    model->sortByColumn(1);
    ASSERT_EQ(std::string(model->entry(0).name), "Anne Marie");
    ASSERT_TRUE(model->writeToCard());

    const auto again = readBack();
    for (int row = 0; row < 250; ++row)
        EXPECT_EQ(stored(again->entry(row)), stored(cardOrder[static_cast<std::size_t>(row)])) << row;
}

TEST_F(PhoneBookCardTest, ReadAsksFirstWhenEntriesAreModified)
{
    useCard();
    put(0, "Unsaved", "1", 1);
    prompter.answers = {PromptAnswer::No};
    EXPECT_FALSE(model->readFromCard());
    EXPECT_EQ(prompter.questions, std::vector<int>{57500});
    EXPECT_TRUE(prompter.pinPrompts.empty());
    EXPECT_EQ(name(0), "Unsaved");

    setConfirm(false);
    EXPECT_TRUE(model->readFromCard());
    EXPECT_EQ(name(0), "Mother");
}

TEST_F(PhoneBookCardTest, InvalidatedPhoneBookIsPasswordProtected)
{
    useCard(withAdnInvalidated());
    model->setCapacity(100);
    put(0, "Kept", "1");
    EXPECT_FALSE(model->readFromCard());
    EXPECT_EQ(prompter.messages, std::vector<int>{5609});
    EXPECT_EQ(prompter.icons, std::vector<PromptIcon>{PromptIcon::Stop});
    EXPECT_TRUE(prompter.errors.empty());
    EXPECT_EQ(model->capacity(), 100);
    EXPECT_EQ(name(0), "Kept");
    EXPECT_EQ(view.redraws.back(), std::make_tuple(-1, -1, -1));
}

TEST_F(PhoneBookCardTest, AbortedReadKeepsTheWindowsEntries)
{
    useCard();
    RecordingProgress progress;
    progress.abortAtPoll = 5; // the opening text, then while the first records are read
    PhoneBookModel window(DialBook::Adn, *app, prompter, &progress);
    window.setCapacity(30);
    DialEntry& e = window.entry(0);
    e.valid = 1;
    std::strcpy(e.name, "Unsaved");
    e.modified = 1;
    setConfirm(false);
    EXPECT_FALSE(window.readFromCard());
    EXPECT_EQ(prompter.errors,
              std::vector<QString>{QStringLiteral("Communication error:\r\nOperation cancelled by user")});
    EXPECT_EQ(progress.caption, QStringLiteral("Kestrel! - Reading Phone Book"));
    EXPECT_EQ(std::string(window.entry(0).name), "Unsaved");
    EXPECT_EQ(window.capacity(), 30);
    EXPECT_TRUE(window.entry(0).modified);
}

// Undo goes back to the last card read or write: a successful one starts the history afresh, one
// that fails (here aborted) keeps it and is no step of its own.
TEST_F(PhoneBookCardTest, CardReadsAndWritesStartTheUndoHistory)
{
    useCard();
    setConfirm(false);
    RecordingProgress progress;
    PhoneBookModel window(DialBook::Adn, *app, prompter, &progress);
    const auto edit = [&](const char* name) {
        window.acceptEdit(0, QStringLiteral("1"), QString::fromLatin1(name), QStringLiteral("123"));
    };
    edit("Before the read");
    ASSERT_TRUE(window.canUndo());
    ASSERT_TRUE(window.readFromCard());
    EXPECT_FALSE(window.canUndo());
    edit("Written");
    ASSERT_TRUE(window.writeToCard());
    EXPECT_FALSE(window.canUndo()) << "the rows match the card";
    EXPECT_FALSE(window.undo());

    edit("Unsaved");
    progress.polls = 0;
    progress.abortAtPoll = 5;
    EXPECT_FALSE(window.readFromCard());
    EXPECT_EQ(window.history().undoSteps(), 1u);
    ASSERT_TRUE(window.undo());
    EXPECT_EQ(std::string(window.entry(0).name), "Written");
    EXPECT_FALSE(window.entry(0).modified) << "as the write left it";
}

TEST_F(PhoneBookCardTest, WriteRefusalsAndOverflow)
{
    useCard();
    model->setCapacity(0);
    EXPECT_FALSE(model->writeToCard());
    EXPECT_EQ(prompter.messages, std::vector<int>{57800});
    EXPECT_EQ(prompter.icons, std::vector<PromptIcon>{PromptIcon::Stop});

    model->setCapacity(250);
    prompter.answers = {PromptAnswer::Cancel};
    EXPECT_FALSE(model->writeToCard());
    EXPECT_EQ(prompter.questions, std::vector<int>{57801});
    EXPECT_TRUE(prompter.pinPrompts.empty());

    // The fixed dialling numbers have 10 records; a valid entry at position 20 does not fit.
    PhoneBookModel fdn(DialBook::Fdn, *app, prompter);
    DialEntry& e = fdn.entry(20);
    e.valid = 1;
    std::strcpy(e.name, "Far");
    std::strcpy(e.number, "1");
    prompter.pins = {std::string("1234"), std::string("5678")};
    setConfirm(false);
    EXPECT_FALSE(fdn.writeToCard());
    EXPECT_EQ(prompter.pinPrompts, (std::vector<int>{1, 2})); // EF_FDN needs PIN2 too
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_EQ(prompter.errors[0], QStringLiteral("Communication error:\r\nCard positions number overflow"));
}

TEST_F(PhoneBookCardTest, FixedDiallingNumbers)
{
    useCard();
    setConfirm(false);
    PhoneBookModel fdn(DialBook::Fdn, *app, prompter);
    app->setMaxAlphaLength(10);
    ASSERT_TRUE(fdn.readFromCard());
    EXPECT_EQ(fdn.capacity(), 10);
    EXPECT_EQ(app->maxAlphaLength(), 10); // never above the limit it had
    EXPECT_FALSE(fdn.fdnActive());
    EXPECT_EQ(stored(fdn.entry(1)), "Mother|1|420602111222@1");

    fdn.setSelected(2, true);
    ASSERT_TRUE(fdn.acceptEdit(2, QStringLiteral("3"), QStringLiteral("Police"), QStringLiteral("158")).close);
    prompter.pins = {std::string("5678")};
    ASSERT_TRUE(fdn.writeToCard());
    EXPECT_EQ(prompter.pinPrompts, (std::vector<int>{1, 2}));
    EXPECT_TRUE(prompter.errors.empty());
    // The write leaves EF_ADN selected.
    EXPECT_EQ(app->sim().efInfo().fileId, gsm::fid::kEfAdn);

    const auto again = readBack(DialBook::Fdn);
    EXPECT_EQ(stored(again->entry(2)), "Police|0|158@2");
    EXPECT_EQ(again->capacity(), 10);
}

TEST_F(PhoneBookCardTest, FixedDiallingInForce)
{
    useCard(withAdnInvalidated());
    PhoneBookModel fdn(DialBook::Fdn, *app, prompter);
    ASSERT_TRUE(fdn.readFromCard());
    EXPECT_TRUE(fdn.fdnActive());
    EXPECT_EQ(app->maxAlphaLength(), 14);
    EXPECT_EQ(stored(fdn.entry(0)), "Emergency|0|112@0");
}

} // namespace
