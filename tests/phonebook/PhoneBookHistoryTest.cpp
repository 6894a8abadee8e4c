// Undo and redo of the phone book list model: every change of the rows is one step back to the
// last card read or write, a refused or empty operation none.

#include <deque>
#include <functional>

#include <QFile>

#include "PhoneBookFixture.h"
#include "codec/FixedText.h"
#include "phonebook/DialClipboard.h"
#include "phonebook/FindReplace.h"
#include "phonebook/PhoneBookFiles.h"

namespace kestrel::test {
namespace {

using Rows = PhoneBookModel::History::Rows;

// Find and replace answered with "Replace" on the first dialog and "All" on the question.
class ReplaceAllUi final : public FindReplaceUi
{
public:
    FindAction runDialog(FindRequest& request) override
    {
        request = {QStringLiteral("o"), QStringLiteral("0"), 0};
        return FindAction::Replace;
    }
    ReplaceAnswer askReplace() override { return ReplaceAnswer::All; }
};

class PhoneBookHistoryTest : public PhoneBookFixture
{
public:
    // Capacity 8: Dave, Bob, Carol, Alice in rows 0-3, rows 4-7 free; rows 1 and 2 selected.
    void fill()
    {
        model->setCapacity(8);
        put(0, "Dave", "+100");
        put(1, "Bob", "101");
        put(2, "Carol", "102");
        put(3, "Alice", "103");
        select({1, 2});
        model->setFocusedRow(1);
    }
    Rows rows() const { return model->currentRows(); }
    void edit(const QString& item) { model->acceptEdit(1, item, QStringLiteral("Bobby"), QStringLiteral("7")); }
    // One valid entry ("Zed") from another list.
    static QByteArray otherListPayload()
    {
        DialEntry zed;
        zed.valid = 1;
        setFixedText(zed.name, "Zed");
        setFixedText(zed.number, "999");
        const DialEntry* rows[] = {&zed};
        return encodeDialPayload(newEditorListHandle(), rows);
    }
    QString diaFile()
    {
        const QString path = tempPath(QStringLiteral("in.dia"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("1\tYves\t555\r\n3\tZoe\t+556\r\n");
        return path;
    }
};

struct HistoryCase
{
    const char* name;
    std::function<void(PhoneBookHistoryTest&)> run;
    std::deque<PromptAnswer> answers; // to the questions the operation asks
    bool recorded;
};

TEST_F(PhoneBookHistoryTest, EachOperationIsOneStepThatUndoAndRedoWalk)
{
    using T = PhoneBookHistoryTest;
    const HistoryCase cases[] = {
        {"edit", [](T& t) { t.edit(QStringLiteral("2")); }, {}, true},
        {"edit onto a used item, declined", [](T& t) { t.edit(QStringLiteral("1")); }, {PromptAnswer::No}, false},
        {"insert", [](T& t) { t.model->insertEntry(); }, {}, true},
        {"delete", [](T& t) { t.model->deleteSelected(); }, {PromptAnswer::Yes}, true},
        {"delete, declined", [](T& t) { t.model->deleteSelected(); }, {PromptAnswer::Cancel}, false},
        {"clear", [](T& t) { t.model->clearSelected(); }, {PromptAnswer::Yes}, true},
        {"clear all", [](T& t) { t.model->clearAll(); }, {PromptAnswer::Yes}, true},
        {"clear all, declined", [](T& t) { t.model->clearAll(); }, {PromptAnswer::No}, false},
        {"cut", [](T& t) { t.model->copySelection(true); }, {}, true},
        {"copy", [](T& t) { t.model->copySelection(false); }, {}, false},
        {"paste text", [](T& t) { t.model->pasteText("Eve\t'+200\r\n"); }, {PromptAnswer::Yes}, true},
        {"drop from another list", [](T& t) { t.model->drop(t.otherListPayload(), 5); }, {}, true},
        {"drop, overwrite declined", [](T& t) { t.model->drop(t.otherListPayload(), 0); }, {PromptAnswer::No}, false},
        {"move within the list",
         [](T& t) {
             const QByteArray payload = *t.model->startDrag();
             t.model->drop(payload, 5);
             t.model->endDrag(DropEffect::Move);
         },
         {},
         true},
        {"header sort", [](T& t) { t.model->sortByColumn(1); }, {}, true},
        {"sort range", [](T& t) { t.model->sortRange(1, 4); }, {}, true},
        {"replace all",
         [](T& t) {
             ReplaceAllUi ui;
             FindReplace(*t.model, ui).find();
         },
         {},
         true},
        {"open file", [](T& t) { PhoneBookFiles(*t.model).openFile(t.diaFile()); }, {}, true},
        {"rows of a backup", [](T& t) { t.model->loadRows(std::array<DialEntry, 250>{}, 3); }, {}, true},
    };
    for (const HistoryCase& c : cases) {
        SCOPED_TRACE(c.name);
        model = std::make_unique<PhoneBookModel>(DialBook::Adn, *app, prompter);
        model->setView(&view);
        fill();
        setConfirm(true);
        prompter.answers = c.answers;
        const Rows before = rows();
        c.run(*this);
        const Rows after = rows();
        EXPECT_TRUE(prompter.answers.empty()) << "every answer was asked for";
        ASSERT_EQ(model->canUndo(), c.recorded);
        EXPECT_FALSE(model->canRedo());
        if (!c.recorded) {
            EXPECT_TRUE(PhoneBookModel::History::same(before, after));
            EXPECT_FALSE(model->undo());
            continue;
        }
        EXPECT_EQ(model->history().undoSteps(), 1u) << "one operation, one step";
        ASSERT_TRUE(model->undo());
        EXPECT_TRUE(PhoneBookModel::History::same(rows(), before)) << "entries, marks and capacity as they were";
        EXPECT_FALSE(model->canUndo());
        ASSERT_TRUE(model->redo());
        EXPECT_TRUE(PhoneBookModel::History::same(rows(), after));
        EXPECT_FALSE(model->canRedo());
        EXPECT_TRUE(model->canUndo());
    }
}

TEST_F(PhoneBookHistoryTest, ANewChangeEndsRedoAndTheOldestStepGoesAtTheLimit)
{
    fill();
    setConfirm(false);
    model->sortByColumn(1);
    model->clearAll();
    ASSERT_TRUE(model->undo());
    EXPECT_EQ(model->sortedColumn(), -1) << "the header's sort mark goes";
    EXPECT_EQ(model->focusedRow(), 0) << "the first row that changed is selected";
    EXPECT_TRUE(model->isSelected(0));
    EXPECT_EQ(view.redraws.back(), std::make_tuple(0, -1, -1));
    ASSERT_TRUE(model->canRedo());
    select({3});
    model->deleteSelected();
    EXPECT_FALSE(model->canRedo()) << "the undone Clear All cannot come back over the Delete";
    ASSERT_TRUE(model->undo());
    EXPECT_EQ(name(3), "Dave");

    for (int i = 0; i < 105; ++i)
        model->acceptEdit(0, QString::number(position(0) + 1), QStringLiteral("Name %1").arg(i), QStringLiteral("1"));
    EXPECT_EQ(model->history().undoSteps(), PhoneBookModel::History::kMaxSteps);
    while (model->undo()) {
    }
    EXPECT_EQ(name(0), "Name 4") << "the five oldest steps went";
}

} // namespace
} // namespace kestrel::test
