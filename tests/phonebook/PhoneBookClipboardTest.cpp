// Cut, copy, paste, drag and drop on the phone book list model.

#include "phonebook/PhoneBookModel.h"

#include <gtest/gtest.h>

#include "PhoneBookFixture.h"
#include "phonebook/DialClipboard.h"

using namespace kestrel;
using namespace kestrel::test;

namespace {

class PhoneBookClipboardTest : public PhoneBookFixture
{
public:
    // Capacity 6: rows 0-2 valid (A, B, C), rows 3-5 free.
    void smallList()
    {
        model->setCapacity(6);
        put(0, "A", "+100");
        put(1, "B", "101");
        put(2, "C", "102");
    }
    bool same(const std::array<DialEntry, PhoneBookModel::kMaxEntries>& before) const
    {
        return std::memcmp(&before, &model->entries(), sizeof before) == 0;
    }
};

// ---- copy and cut -------------------------------------------------------------------------------

TEST_F(PhoneBookClipboardTest, CopyAndCutOfOnlyFreeRowsDoNothing)
{
    smallList();
    select({3, 4});
    const auto before = model->entries();
    EXPECT_FALSE(model->copySelection(false).has_value());
    EXPECT_FALSE(model->copySelection(true).has_value());
    EXPECT_TRUE(same(before));
    EXPECT_TRUE(view.redraws.empty());
}

TEST_F(PhoneBookClipboardTest, CutSerialisesThenClears)
{
    smallList();
    select({0, 2, 3}); // list order
    const std::optional<DialClip> clip = model->copySelection(true);
    ASSERT_TRUE(clip.has_value());
    EXPECT_EQ(clip->text, "A\t'+100\r\nC\t'102\r\n");
    const std::optional<DialPayload> p = decodeDialPayload(clip->payload);
    ASSERT_TRUE(p.has_value());
    EXPECT_EQ(p->sourceList, model->listHandle());
    ASSERT_EQ(p->records.size(), 3u);  // free rows travel in the payload too
    EXPECT_EQ(p->records[0].valid, 1); // as it was before the cut
    EXPECT_EQ(p->records[1].name, "C");
    EXPECT_EQ(p->records[2].valid, 0);

    EXPECT_FALSE(valid(0) || valid(2));
    EXPECT_TRUE(modified(0) && modified(2));
    EXPECT_TRUE(valid(1));
    EXPECT_FALSE(modified(3)); // free rows are left alone
    EXPECT_EQ(view.redraws.back(), std::make_tuple(-1, 0, 3));
}

// ---- paste text ---------------------------------------------------------------------------------

TEST_F(PhoneBookClipboardTest, PasteTextLine)
{
    smallList();
    model->setFocusedRow(4);
    model->entry(4).ccpId = 7;
    model->pasteText("Name\t'+420123\r\n");
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(name(4), "Name");
    EXPECT_EQ(number(4), "420123");
    EXPECT_EQ(model->entry(4).ton, 1);
    EXPECT_EQ(model->entry(4).ccpId, 0);
    EXPECT_EQ(position(4), 4);
    EXPECT_TRUE(valid(4) && modified(4));
    EXPECT_EQ(view.redraws.back(), std::make_tuple(-1, 4, 4));
}

TEST_F(PhoneBookClipboardTest, PasteTextRefusals)
{
    struct Case
    {
        const char* what;
        int focus;
        const char* text;
        std::deque<PromptAnswer> answers;
        std::vector<int> questions;
        std::vector<int> messages;
        int pasted; // rows filled from the focus
    };
    const std::vector<Case> cases = {
        {"line without a TAB", 3, "Name '123\r\n", {}, {}, {5501}, 0},
        {"second line broken: first stays", 3, "X\t1\r\nY\t12a\r\n", {}, {}, {5504}, 1},
        {"beyond the free rows", 4, "X\t1\r\nY\t2\r\nZ\t3\r\n", {}, {}, {5505}, 2},
        {"overwrite declined", 2, "X\t1\r\n", {PromptAnswer::Cancel}, {57586}, {}, 0},
        {"overwrite asked once", 1, "X\t1\r\nY\t2\r\nZ\t3\r\n", {PromptAnswer::Yes}, {57586}, {}, 3},
        {"no focused row", -1, "X\t1\r\n", {}, {}, {}, 0},
        {"name longer than the card's", 3, "Fifteen letters\t1", {}, {}, {5500}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        setConfirm(false); // the overwrite question does not depend on it
        app->setMaxAlphaLength(14);
        smallList();
        model->setFocusedRow(c.focus);
        prompter.answers = c.answers;
        model->pasteText(c.text);
        EXPECT_EQ(prompter.questions, c.questions);
        EXPECT_EQ(prompter.messages, c.messages);
        for (PromptIcon icon : prompter.icons)
            EXPECT_EQ(icon, PromptIcon::Stop);
        for (int i = 0; i < c.pasted; ++i) {
            EXPECT_TRUE(modified(c.focus + i));
            EXPECT_EQ(name(c.focus + i).size(), 1u);
            EXPECT_TRUE(std::string("XYZ").find(name(c.focus + i)) != std::string::npos);
        }
        if (c.focus >= 0 && c.focus + c.pasted < 6) {
            EXPECT_FALSE(modified(c.focus + c.pasted));
        }
        prompter = ScriptedPrompter();
    }
}

// ---- drag and drop ------------------------------------------------------------------------------

TEST_F(PhoneBookClipboardTest, DropOnTheFirstRowOfItsOwnSelection)
{
    smallList();
    select({1, 2});
    const std::optional<QByteArray> payload = model->startDrag();
    ASSERT_TRUE(payload.has_value());
    EXPECT_TRUE(model->entry(1).dragMark && model->entry(2).dragMark);
    EXPECT_EQ(model->dropEffect(&*payload, 1, false), DropEffect::Move);
    model->drop(*payload, 1);
    model->endDrag(DropEffect::Move);
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(name(1), "B");
    EXPECT_EQ(name(2), "C");
    EXPECT_TRUE(valid(1) && valid(2) && modified(1) && modified(2));
    for (const DialEntry& e : model->entries())
        EXPECT_EQ(e.dragMark, 0);
}

TEST_F(PhoneBookClipboardTest, MoveDownByOneRowWithinTheList)
{
    smallList();
    select({1, 2});
    const QByteArray payload = model->startDrag().value();
    model->drop(payload, 2); // overlaps the selection: C's row is a drag source, not asked
    model->endDrag(DropEffect::Move);
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_FALSE(valid(1));
    EXPECT_EQ(name(2), "B");
    EXPECT_EQ(name(3), "C");
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(position(row), row);
}

TEST_F(PhoneBookClipboardTest, DropOverValidEntriesAsksWhenConfirming)
{
    smallList();
    select({2});
    const QByteArray payload = model->startDrag().value();
    const auto before = model->entries();

    prompter.answers = {PromptAnswer::No};
    EXPECT_FALSE(model->drop(payload, 0));
    EXPECT_EQ(prompter.questions, std::vector<int>{57586});
    EXPECT_TRUE(same(before));

    setConfirm(false);
    EXPECT_TRUE(model->drop(payload, 0));
    EXPECT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(name(0), "C");
    EXPECT_EQ(position(0), 0);
    model->endDrag(DropEffect::Copy);
    EXPECT_TRUE(valid(2)); // a copy frees nothing
}

// A refused drop is ignored by the window, so a move from this list ends as none and keeps the
// entries it offered.
TEST_F(PhoneBookClipboardTest, RefusedMoveWithinTheListLosesNothing)
{
    smallList();
    select({0});
    const QByteArray payload = model->startDrag().value();
    prompter.answers = {PromptAnswer::No};
    const bool dropped = model->drop(payload, 1);
    EXPECT_FALSE(dropped);
    model->endDrag(dropped ? DropEffect::Move : DropEffect::None);
    EXPECT_EQ(name(0), "A");
    EXPECT_EQ(name(1), "B");
    EXPECT_TRUE(valid(0) && valid(1));
}

TEST_F(PhoneBookClipboardTest, DropBeyondTheCapacity)
{
    smallList();
    select({0, 1, 2});
    const QByteArray payload = model->copySelection(false)->payload;
    model->drop(payload, 4);
    EXPECT_EQ(name(4), "A");
    EXPECT_EQ(model->entry(4).ton, 1);
    EXPECT_EQ(name(5), "B");
    EXPECT_EQ(prompter.messages, std::vector<int>{57594});
    EXPECT_EQ(prompter.icons, std::vector<PromptIcon>{PromptIcon::Exclamation});
    EXPECT_EQ(view.redraws.back(), std::make_tuple(-1, 4, 5));
}

TEST_F(PhoneBookClipboardTest, PasteAPayloadFromAnotherListAtTheFocusedRow)
{
    PhoneBookModel other(DialBook::Fdn, *app, prompter);
    ASSERT_NE(other.listHandle(), model->listHandle());
    other.setCapacity(3);
    DialEntry& e = other.entry(0);
    e.valid = 1;
    std::strcpy(e.name, "Emergency");
    std::strcpy(e.number, "112");
    e.npi = 1;
    other.setSelected(0, true);
    const QByteArray payload = other.copySelection(false)->payload;

    smallList();
    EXPECT_EQ(model->dropEffect(&payload, 3, false), DropEffect::Copy);
    EXPECT_EQ(model->dropEffect(&payload, 3, true), DropEffect::Copy);
    model->pastePayload(payload); // no focused row
    EXPECT_FALSE(valid(3));
    model->setFocusedRow(3);
    model->pastePayload(payload);
    EXPECT_EQ(name(3), "Emergency");
    EXPECT_EQ(model->entry(3).npi, 1);
    EXPECT_EQ(position(3), 3);
}

TEST_F(PhoneBookClipboardTest, BrokenPayloadsDropNothing)
{
    smallList();
    select({0, 1});
    const QByteArray payload = model->copySelection(false)->payload;
    const auto before = model->entries();
    // Cut before the end mark of the rows (the trailer after it holds 12 + 4 bytes, then the rows').
    const qsizetype rowsEnd = payload.indexOf(QByteArray("\x0C"
                                                         "Kestrel-UTF8",
                                                         13));
    ASSERT_GT(rowsEnd, 0);
    for (qsizetype n : {qsizetype(0), qsizetype(3), qsizetype(9), rowsEnd - 1}) {
        EXPECT_FALSE(model->drop(payload.left(n), 3));
        EXPECT_TRUE(same(before)) << n;
    }
    EXPECT_TRUE(prompter.questions.empty() && prompter.messages.empty());
}

TEST_F(PhoneBookClipboardTest, DragEffectsAndDragStart)
{
    smallList();
    select({3, 4});
    EXPECT_FALSE(model->startDrag().has_value()); // only free rows: no drag, no marks
    for (const DialEntry& e : model->entries())
        EXPECT_EQ(e.dragMark, 0);

    select({0});
    const QByteArray payload = model->startDrag().value();
    const QByteArray shortOne = payload.left(3);
    EXPECT_EQ(model->dropEffect(&payload, 2, true), DropEffect::Copy);
    EXPECT_EQ(model->dropEffect(&payload, 2, false), DropEffect::Move);
    EXPECT_EQ(model->dropEffect(nullptr, 2, false), DropEffect::None);
    EXPECT_EQ(model->dropEffect(&payload, -1, false), DropEffect::None);
    EXPECT_EQ(model->dropEffect(&payload, 6, false), DropEffect::None);
    EXPECT_EQ(model->dropEffect(&shortOne, 2, false), DropEffect::None);
    model->endDrag(DropEffect::Move); // dropped in another list: the entry leaves
    EXPECT_FALSE(valid(0));
    EXPECT_TRUE(modified(0));
}

TEST(PhoneBookDragScroll, Targets)
{
    // List client area from 0 to 200; 10 rows per page; 100 rows.
    struct Case
    {
        int y;
        int topRow;
        std::optional<int> target;
    };
    const std::vector<Case> cases = {
        {5, 20, 15},
        {5, 3, 0},
        {15, 20, 19},
        {5, 0, std::nullopt},
        {15, 0, std::nullopt},
        {100, 20, std::nullopt},
        {195, 20, 35},
        {185, 20, 31},
        {195, 87, 99},
        {195, 90, std::nullopt},
        {185, 89, 99},
        {20, 20, std::nullopt},
        {180, 20, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PhoneBookModel::dragScrollTarget(c.y, 0, 200, c.topRow, 10, 100), c.target)
            << "y " << c.y << " top " << c.topRow;
    EXPECT_EQ(PhoneBookModel::dragScrollTarget(5, 0, 200, 0, 10, 0), std::nullopt);
}

} // namespace
