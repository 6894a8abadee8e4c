// The phone book list model without a card: insert, delete, clear, select, sort and the edit
// dialog's checks.

#include "phonebook/PhoneBookModel.h"

#include <functional>

#include <gtest/gtest.h>

#include "PhoneBookFixture.h"
#include "base/StringTable.h"

using namespace kestrel;
using namespace kestrel::test;

namespace {

class PhoneBookModelTest : public PhoneBookFixture
{
public:
    // A small list: capacity 5, rows 0-3 valid (A, B, C, D), row 4 free.
    void smallList()
    {
        model->setCapacity(5);
        put(0, "A", "100");
        put(1, "B", "101");
        put(2, "C", "102");
        put(3, "D", "103");
    }
};

TEST_F(PhoneBookModelTest, RowTexts)
{
    smallList();
    put(0, "Škoda", "+420123", 1);
    model->entry(1).ton = 2;
    model->entry(3).position = 122;
    const std::string hyphens(31, '-');
    const std::vector<std::array<const char*, 3>> expected = {
        {"  1 *", "Škoda", "+420123"},
        {"  2  ", "B", "+101"},
        {"  3  ", "C", "102"},
        {"123  ", "D", "103"},
        {"  5  ", hyphens.c_str(), hyphens.c_str()},
    };
    for (int row = 0; row < 5; ++row) {
        const auto texts = model->rowTexts(row);
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(texts[column], QString::fromUtf8(expected[row][column])) << row << "/" << column;
    }
    EXPECT_EQ(StringTable::text(PhoneBookModel::columnTitleId(2)), QStringLiteral("Tel. number"));
}

// ---- insert -------------------------------------------------------------------------------------

TEST_F(PhoneBookModelTest, InsertMovesTheRowsBelowAndRenumbers)
{
    smallList();
    select({1});
    EXPECT_EQ(model->insertEntry(), 1);
    EXPECT_TRUE(prompter.messages.empty());
    const std::vector<std::tuple<std::string, int, bool, bool>> expected = {
        {"A", 0, true, false}, {"", 1, false, true}, {"B", 2, true, true}, {"C", 3, true, true}, {"D", 4, true, true},
    };
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(name(row), std::get<0>(expected[row]));
        EXPECT_EQ(position(row), std::get<1>(expected[row]));
        EXPECT_EQ(valid(row), std::get<2>(expected[row]));
        EXPECT_EQ(modified(row), std::get<3>(expected[row]));
    }
    EXPECT_EQ(model->selectedRows(), std::vector<int>{1});
    ASSERT_FALSE(view.redraws.empty());
    EXPECT_EQ(view.redraws.back(), std::make_tuple(1, -1, -1));
}

TEST_F(PhoneBookModelTest, InsertAtTheFreeLastRowItself)
{
    smallList();
    select({4});
    EXPECT_EQ(model->insertEntry(), 4);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_FALSE(valid(4));
    EXPECT_EQ(position(4), 4);
    EXPECT_TRUE(modified(4));
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(position(row), row);
        EXPECT_FALSE(modified(row)) << row;
    }
}

TEST_F(PhoneBookModelTest, InsertRefusals)
{
    struct Case
    {
        const char* what;
        std::function<void(PhoneBookModelTest&)> prepare;
        int message;
        PromptIcon icon;
    };
    const std::vector<Case> cases = {
        {"nothing selected", [](PhoneBookModelTest&) {}, 57587, PromptIcon::Exclamation},
        {"last position in use", [](PhoneBookModelTest& t) { t.put(4, "E", "104"); }, 57588, PromptIcon::Stop},
        // After a header sort the free entry at the end is not the last position.
        {"last row free but another position",
         [](PhoneBookModelTest& t) {
             t.model->entry(4).position = 0;
             t.model->entry(0).position = 4;
         },
         57588, PromptIcon::Stop},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        smallList();
        c.prepare(*this);
        if (c.message != 57587)
            select({1});
        const auto before = model->entries();
        EXPECT_EQ(model->insertEntry(), -1);
        EXPECT_EQ(prompter.messages, std::vector<int>{c.message});
        EXPECT_EQ(prompter.icons, std::vector<PromptIcon>{c.icon});
        EXPECT_EQ(std::memcmp(&before, &model->entries(), sizeof before), 0);
        prompter.messages.clear();
        prompter.icons.clear();
    }
}

// ---- delete -------------------------------------------------------------------------------------

TEST_F(PhoneBookModelTest, DeletingTheOnlyValidEntryOfAFullList)
{
    ASSERT_EQ(model->capacity(), 250);
    put(249, "Last", "999");
    select({249});
    prompter.answers = {PromptAnswer::Yes};
    model->deleteSelected();
    EXPECT_EQ(prompter.questions, std::vector<int>{57590});
    EXPECT_EQ(model->capacity(), 250);
    EXPECT_FALSE(valid(249));
    EXPECT_EQ(position(249), 249);
    EXPECT_TRUE(modified(249));
    EXPECT_EQ(view.redraws.back(), std::make_tuple(249, -1, -1));
}

TEST_F(PhoneBookModelTest, DeleteMovesUpAndAsksOnceBeforeTheFirstValidEntry)
{
    smallList();
    select({0, 2, 4}); // A (valid), C (valid), the free last row
    prompter.answers = {PromptAnswer::Yes};
    model->deleteSelected();
    EXPECT_EQ(prompter.questions, std::vector<int>{57590});
    EXPECT_EQ(name(0), "B");
    EXPECT_EQ(name(1), "D");
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(position(row), row) << row;
    EXPECT_TRUE(valid(0) && valid(1));
    EXPECT_FALSE(valid(2) || valid(3) || valid(4));
    EXPECT_EQ(model->selectedRows(), std::vector<int>{0});
}

TEST_F(PhoneBookModelTest, DeleteStopsAtTheAnswerAndKeepsWhatWasDeleted)
{
    smallList();
    model->entry(1).valid = 0;
    select({1, 2}); // a free row, then C
    prompter.answers = {PromptAnswer::No};
    model->deleteSelected();
    EXPECT_EQ(prompter.questions, std::vector<int>{57590});
    // The free row went without a question; C moved up to row 1 and was then kept.
    EXPECT_EQ(name(1), "C");
    EXPECT_TRUE(valid(1));
    EXPECT_EQ(position(1), 1);
    EXPECT_EQ(model->selectedRows(), std::vector<int>{1});
}

TEST_F(PhoneBookModelTest, DeleteWithoutConfirmationOrSelection)
{
    smallList();
    setConfirm(false);
    select({0});
    model->deleteSelected();
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(name(0), "B");

    model->clearSelection();
    model->deleteSelected();
    EXPECT_TRUE(prompter.messages.empty()); // nothing said without confirmations
    setConfirm(true);
    model->deleteSelected();
    EXPECT_EQ(prompter.messages, std::vector<int>{57589});
}

// ---- clear --------------------------------------------------------------------------------------

TEST_F(PhoneBookModelTest, ClearSelected)
{
    struct Case
    {
        const char* what;
        bool confirm;
        std::vector<int> rows;
        std::deque<PromptAnswer> answers;
        std::vector<int> questions;
        std::vector<int> messages;
        std::vector<bool> validAfter; // rows 0-4
    };
    const std::vector<Case> cases = {
        {"asked, yes", true, {1, 3, 4}, {PromptAnswer::Yes}, {57583}, {}, {true, false, true, false, false}},
        {"asked, no", true, {1, 3}, {PromptAnswer::No}, {57583}, {}, {true, true, true, true, false}},
        {"not asked", false, {0, 1}, {}, {}, {}, {false, false, true, true, false}},
        {"nothing selected", true, {}, {}, {}, {57582}, {true, true, true, true, false}},
        {"nothing selected, quiet", false, {}, {}, {}, {}, {true, true, true, true, false}},
        {"only free rows", true, {4}, {}, {}, {57584}, {true, true, true, true, false}},
        {"only free rows, quiet", false, {4}, {}, {}, {57584}, {true, true, true, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        smallList();
        setConfirm(c.confirm);
        model->clearSelection();
        for (int r : c.rows)
            model->setSelected(r, true);
        prompter.answers = c.answers;
        model->clearSelected();
        EXPECT_EQ(prompter.questions, c.questions);
        EXPECT_EQ(prompter.messages, c.messages);
        for (int row = 0; row < 5; ++row) {
            EXPECT_EQ(valid(row), c.validAfter[row]) << row;
            EXPECT_EQ(position(row), row);
        }
        prompter = ScriptedPrompter();
    }
}

TEST_F(PhoneBookModelTest, ClearAll)
{
    smallList();
    prompter.answers = {PromptAnswer::Cancel};
    model->clearAll();
    EXPECT_TRUE(valid(0));

    prompter.answers = {PromptAnswer::Yes};
    model->clearAll();
    EXPECT_EQ(prompter.questions, (std::vector<int>{57581, 57581}));
    for (int row = 0; row < 5; ++row)
        EXPECT_TRUE(!valid(row) && modified(row)) << row;
    EXPECT_FALSE(modified(5)); // beyond the capacity

    // Nothing valid left: not asked.
    model->clearAll();
    EXPECT_EQ(prompter.questions.size(), 2u);
}

// ---- select -------------------------------------------------------------------------------------

TEST_F(PhoneBookModelTest, SelectAllAndRanges)
{
    smallList();
    model->entry(1).valid = 0;
    model->selectAllValid();
    EXPECT_EQ(model->selectedRows(), (std::vector<int>{0, 2, 3}));

    EXPECT_TRUE(model->selectRange(2, 5, false));
    EXPECT_EQ(model->selectedRows(), (std::vector<int>{2, 3}));
    EXPECT_TRUE(model->selectRange(2, 5, true));
    EXPECT_EQ(model->selectedRows(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(model->defaultInterval(), std::make_pair(2, 5));
    EXPECT_TRUE(model->selectRange(3, 3, true));
    EXPECT_EQ(model->defaultInterval(), std::make_pair(1, 5));
    EXPECT_TRUE(prompter.messages.empty());

    for (auto [from, to] : {std::pair{0, 3}, {4, 3}, {1, 6}, {-1, 2}}) {
        EXPECT_FALSE(model->selectRange(from, to, true)) << from << "-" << to;
        EXPECT_EQ(model->selectedRows(), std::vector<int>{2}) << "a refusal keeps the selection";
    }
    EXPECT_EQ(prompter.messages, (std::vector<int>{57540, 57540, 57540, 57540}));
    EXPECT_GE(view.selectionChanges, 4);
}

// ---- sort ---------------------------------------------------------------------------------------

TEST_F(PhoneBookModelTest, HeaderSortKeepsPositions)
{
    smallList();
    put(0, "delta", "4");
    put(1, "Alpha", "3");
    model->entry(2).valid = 0; // a free entry sinks behind the valid ones
    put(3, "charlie", "1");
    put(4, "Bravo", "2");
    model->sortByColumn(1);
    EXPECT_EQ(model->sortedColumn(), 1);
    const std::vector<std::pair<std::string, int>> byName = {{"Alpha", 1}, {"Bravo", 4}, {"charlie", 3}, {"delta", 0}};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(name(row), byName[row].first);
        EXPECT_EQ(position(row), byName[row].second);
        EXPECT_FALSE(modified(row));
    }
    EXPECT_FALSE(valid(4));
    model->sortByColumn(2);
    EXPECT_EQ(name(0), "charlie");
    model->sortByColumn(0);
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(position(row), row);
    EXPECT_EQ(model->sortedColumn(), 0);
    EXPECT_EQ(view.redraws.back(), std::make_tuple(-1, -1, -1));
}

TEST_F(PhoneBookModelTest, SortDialogRefusesAnEmptyOrBadRange)
{
    smallList();
    for (auto [from, to] : {std::pair{3, 3}, {0, 2}, {4, 2}, {1, 6}})
        EXPECT_FALSE(model->sortRange(from, to)) << from << "-" << to;
    EXPECT_EQ(prompter.messages, (std::vector<int>{57580, 57580, 57580, 57580}));
    EXPECT_EQ(name(0), "A");
}

TEST_F(PhoneBookModelTest, SortDialogRestoresCardOrderSortsTheRangeAndRenumbers)
{
    smallList();
    put(0, "Zed", "1");
    put(1, "yak", "2");
    put(2, "Xen", "3");
    put(3, "wolf", "4");
    model->sortByColumn(1); // rows now w, X, y, Z with positions 3, 2, 1, 0
    EXPECT_TRUE(model->sortRange(2, 4));
    // Card order restored (Zed yak Xen wolf), rows 1-3 sorted by name, everything renumbered.
    const std::vector<std::string> names = {"Zed", "wolf", "Xen", "yak", ""};
    for (int row = 0; row < 5; ++row) {
        EXPECT_EQ(name(row), names[row]) << row;
        EXPECT_EQ(position(row), row);
        EXPECT_EQ(modified(row), row >= 1 && row <= 3) << row;
    }
    EXPECT_EQ(view.redraws.back(), std::make_tuple(1, -1, -1));
}

// ---- edit dialog --------------------------------------------------------------------------------

TEST_F(PhoneBookModelTest, WhichRowTheEditDialogEdits)
{
    smallList();
    EXPECT_FALSE(model->editRow().has_value());
    EXPECT_TRUE(prompter.messages.empty());
    select({2});
    EXPECT_EQ(model->editRow().value_or(-1), 2);
    select({2, 3});
    EXPECT_FALSE(model->editRow().has_value());
    EXPECT_EQ(prompter.messages, std::vector<int>{57624});
}

TEST_F(PhoneBookModelTest, EditFieldsOfAnEntry)
{
    smallList();
    std::strcpy(model->entry(0).name, "Škoda Octavia ABCDEFGH");
    model->entry(0).ton = 1;
    model->entry(1).ton = 3; // any type but 0 shows a "+"
    app->setMaxAlphaLength(14);
    const EditFields a = model->editFields(0);
    EXPECT_EQ(a.itemNumber, QStringLiteral("1"));
    EXPECT_EQ(a.name, QStringLiteral("Škoda Octavia "));
    EXPECT_EQ(a.number, QStringLiteral("+100"));
    EXPECT_EQ(a.maxNameLength, 14);
    EXPECT_EQ(model->editFields(1).number, QStringLiteral("+101"));
    const EditFields free = model->editFields(4);
    EXPECT_EQ(free.itemNumber, QStringLiteral("5"));
    EXPECT_TRUE(free.name.isEmpty() && free.number.isEmpty());
}

TEST_F(PhoneBookModelTest, EditChecksInOrderAndKeepsTheDialogOpen)
{
    struct Case
    {
        const char* item;
        const char* name;
        const char* number;
        int message;
    };
    const std::vector<Case> cases = {
        {"0", "012345678901234567890", "", 57620},  // the number comes first
        {"1", "N", "12a", 57620},                   // no dialling number
        {"1", "N", "+1+2", 57620},                  // two "+"
        {"0", "012345678901234567890", "1", 57621}, // then the item number
        {"6", "N", "1", 57621},                     // beyond the capacity
        {"x", "N", "1", 57621},                     // no number at all
        {"1", "012345678901234567890", "1", 57622}, // 21 characters
    };
    smallList();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = model->entries();
        const EditOutcome out = model->acceptEdit(0, QString::fromLatin1(c.item), QString::fromLatin1(c.name),
                                                  QString::fromLatin1(c.number));
        EXPECT_FALSE(out.close);
        ASSERT_EQ(prompter.messages, std::vector<int>{c.message});
        EXPECT_EQ(prompter.icons, std::vector<PromptIcon>{PromptIcon::Stop});
        EXPECT_EQ(std::memcmp(&before, &model->entries(), sizeof before), 0);
        prompter.messages.clear();
        prompter.icons.clear();
    }
}

TEST_F(PhoneBookModelTest, EditInPlaceTakesTheNumberThroughSplitPlus)
{
    smallList();
    model->entry(1).npi = 9;
    select({1});
    // 20 characters, accented: the limit is in characters, not UTF-8 bytes.
    const QString twenty = QStringLiteral("Žluťoučký kůň úpěl d");
    ASSERT_EQ(twenty.size(), 20);
    const EditOutcome out = model->acceptEdit(1, QStringLiteral(" 2 "), twenty, QStringLiteral("12+34"));
    EXPECT_TRUE(out.close);
    EXPECT_EQ(out.selectedRow, 1);
    EXPECT_EQ(model->entry(1).name, twenty.toStdString());
    EXPECT_EQ(number(1), "1234");
    EXPECT_EQ(model->entry(1).ton, 1);
    EXPECT_EQ(model->entry(1).npi, 9); // kept
    EXPECT_TRUE(modified(1));
    EXPECT_TRUE(prompter.questions.empty());
}

TEST_F(PhoneBookModelTest, EditToAnotherItemNumber)
{
    smallList();
    setConfirm(false); // the overwrite question is asked all the same
    model->entry(0).ccpId = 0x11;
    model->entry(0).extId = 0x22;
    model->entry(3).ccpId = 0x33;
    model->entry(3).extId = 0xFF;
    model->entry(3).npi = 1;
    select({0});

    prompter.answers = {PromptAnswer::No};
    EditOutcome out = model->acceptEdit(0, QStringLiteral("4"), std::string("Moved"), QStringLiteral("+555"));
    EXPECT_FALSE(out.close);
    EXPECT_EQ(prompter.questions, std::vector<int>{57623});
    EXPECT_EQ(name(3), "D");
    EXPECT_TRUE(valid(0));

    prompter.answers = {PromptAnswer::Yes};
    out = model->acceptEdit(0, QStringLiteral("4"), std::string("Moved"), QStringLiteral("+555"));
    EXPECT_TRUE(out.close);
    EXPECT_EQ(out.selectedRow, 3);
    EXPECT_EQ(name(3), "Moved");
    EXPECT_EQ(number(3), "555");
    EXPECT_EQ(model->entry(3).ton, 1);
    EXPECT_EQ(model->entry(3).npi, 1);
    EXPECT_EQ(model->entry(3).ccpId, 0x11);
    EXPECT_EQ(model->entry(3).extId, 0x22);
    EXPECT_FALSE(valid(0));
    EXPECT_TRUE(modified(0));
    EXPECT_EQ(model->entry(0).ccpId, 0x33);
    EXPECT_EQ(model->entry(0).extId, 0xFF);
    EXPECT_EQ(model->selectedRows(), std::vector<int>{3});

    // A free target is taken without a question.
    prompter.questions.clear();
    out = model->acceptEdit(3, QStringLiteral("5"), std::string("Free"), QStringLiteral("1"));
    EXPECT_TRUE(out.close);
    EXPECT_EQ(out.selectedRow, 4);
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(name(4), "Free");
}

TEST_F(PhoneBookModelTest, DialingCodeGoesInFrontOfTheNumber)
{
    EXPECT_EQ(PhoneBookModel::withDialingCode(QStringLiteral("602+123"), QStringLiteral("+420")),
              QStringLiteral("+420602123"));
    EXPECT_EQ(PhoneBookModel::withDialingCode(QStringLiteral("+49123"), QStringLiteral("+43")),
              QStringLiteral("+4349123"));
    EXPECT_EQ(PhoneBookModel::withDialingCode(QString(), QStringLiteral("+1")), QStringLiteral("+1"));
}

TEST_F(PhoneBookModelTest, ClosePrompt)
{
    EXPECT_TRUE(model->confirmClose());
    put(0, "A", "1", 1);
    prompter.answers = {PromptAnswer::No, PromptAnswer::Yes};
    EXPECT_FALSE(model->confirmClose());
    EXPECT_TRUE(model->confirmClose());
    setConfirm(false);
    EXPECT_TRUE(model->confirmClose());
    EXPECT_EQ(prompter.questions, (std::vector<int>{57585, 57585}));
}

} // namespace

// The note beside the name in the edit dialog: what the card will hold with Unicode names off,
// how many characters fit with them on.
TEST(PhoneBookModelNameNote, SaysWhatTheCardHolds)
{
    struct Case
    {
        const char* name;
        int alpha;
        bool unicode;
        const char* note;
    };
    const Case cases[] = {
        {"Anna", 14, false, ""},      {"Jiří Novák", 14, false, "stored as: Jiri Novak"},
        {"Jiří Novák", 14, true, ""}, {"Jiří Novák", 12, true, "8 of 10 characters fit on the card"},
        {"José", 14, true, ""},       {"Emoji 😀", 14, true, "stored as: Emoji ?"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PhoneBookModel::nameNote(QString::fromUtf8(c.name), c.alpha, c.unicode).toStdString(), c.note)
            << c.name;
}
