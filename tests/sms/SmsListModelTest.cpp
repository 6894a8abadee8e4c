// The rows of an SMS window: insert, delete, clear, paste, the clipboard payload, drag and drop,
// and reading and writing EF_SMS.

#include "sms/SmsListModel.h"

#include <gtest/gtest.h>

#include "HexBytes.h"
#include "SmsListFixture.h"
#include "codec/FixedText.h"
#include "codec/SmsCodec.h"
#include "base/StringTable.h"
#include "sim/SimCard.h"
#include "sms/SmsClipboard.h"

using namespace kestrel;
using namespace kestrel::test;

namespace {

using SmsListModelTest = SmsListFixture;

TEST_F(SmsListModelTest, RowTextsShowMarksPlusAndFreeRows)
{
    put(0, "Hi", "+420777000111", 1).numberTon = 1;
    model->entry(0).scTon = 1;
    std::strcpy(model->entry(0).scNumber, "420602909909");
    const auto texts = model->rowTexts(0);
    EXPECT_EQ(texts[0], QStringLiteral("  1 *"));
    EXPECT_EQ(texts[2], QStringLiteral("To send"));
    EXPECT_EQ(texts[3], QStringLiteral("+420777000111"));
    EXPECT_EQ(model->detailTexts(0)[4], QStringLiteral("+420602909909"));
    EXPECT_EQ(model->rowTexts(1)[4], QStringLiteral("----"));
    EXPECT_TRUE(model->detailTexts(1)[0].isEmpty());
}

TEST_F(SmsListModelTest, InsertIsRefusedUnlessOneRowIsSelectedAndTheLastRowIsFree)
{
    model->setRowCount(5);
    put(0, "a");
    put(1, "b");
    select({0, 1});
    EXPECT_EQ(model->insertEntry(), -1);
    select({});
    EXPECT_EQ(model->insertEntry(), -1);
    put(4, "last");
    select({1});
    EXPECT_EQ(model->insertEntry(), -1);
    EXPECT_EQ(prompter.messages, (std::vector<int>{57694, 57694, 57695}));
    EXPECT_EQ(text(1), "b");
    EXPECT_EQ(text(4), "last");

    model->entry(4).valid = 0;
    EXPECT_EQ(model->insertEntry(), 1);
    EXPECT_FALSE(used(1));
    EXPECT_EQ(text(2), "b");
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(position(row), row);
    EXPECT_TRUE(modified(2)); // moved to another record
    EXPECT_FALSE(modified(0));
}

TEST_F(SmsListModelTest, DeletingTheThirdOfTenRowsMovesTheRestUp)
{
    setConfirm(true);
    model->setRowCount(10);
    for (int row = 0; row < 10; ++row)
        put(row, "m" + std::to_string(row));
    select({2});
    prompter.answers = {PromptAnswer::Yes};
    model->deleteSelected();
    EXPECT_EQ(prompter.questions, std::vector<int>{57697});
    for (int row = 2; row < 9; ++row) {
        EXPECT_EQ(text(row), "m" + std::to_string(row + 1));
        EXPECT_EQ(position(row), row);
        EXPECT_TRUE(modified(row));
    }
    EXPECT_FALSE(used(9));
    EXPECT_EQ(position(9), 9);
    EXPECT_FALSE(modified(1));

    // Declined: nothing goes; free rows go without a question.
    select({0});
    prompter.answers = {PromptAnswer::No};
    model->deleteSelected();
    EXPECT_EQ(text(0), "m0");
    select({9});
    model->deleteSelected();
    EXPECT_EQ(prompter.questions.size(), 2u);
}

TEST_F(SmsListModelTest, ClearAndItsMessages)
{
    setConfirm(true);
    model->clearSelected();
    put(3, "x");
    select({2});
    model->clearSelected();
    select({2, 3});
    prompter.answers = {PromptAnswer::Yes};
    model->clearSelected();
    EXPECT_EQ(prompter.messages, (std::vector<int>{57681, 57683}));
    EXPECT_EQ(prompter.questions, std::vector<int>{57682});
    EXPECT_FALSE(used(3));
    EXPECT_TRUE(modified(3));
    EXPECT_EQ(text(3), "x"); // nothing moved or erased but the flag

    setConfirm(false);
    select({});
    model->clearSelected();
    EXPECT_EQ(prompter.messages.size(), 2u);
}

TEST_F(SmsListModelTest, PastedLinesBecomeNewMessagesUpToTheLastRow)
{
    app->settings().servCenter = QStringLiteral("+420602909909");
    app->settings().validPer = 173;
    setConfirm(false);
    put(98, "old");
    model->setFocusedRow(97);
    prompter.answers = {PromptAnswer::Yes};
    const std::string longLine(170, 'L');
    model->pasteText("  \tfirst \xC4\x8D\xC5\x99 line\r\n\r\n" + longLine + "\nthird\n");
    // The overwrite is asked whatever the confirm setting; the third line has no row.
    EXPECT_EQ(prompter.questions, std::vector<int>{57586});
    EXPECT_EQ(prompter.messages, std::vector<int>{5505});
    EXPECT_EQ(text(97), "first cr line");
    EXPECT_EQ(text(98), longLine.substr(0, 159));
    const SmsEntry& e = model->entry(97);
    EXPECT_EQ(std::string(e.scNumber), "420602909909");
    EXPECT_EQ(e.scTon, 1);
    EXPECT_EQ(std::string(e.when), "7 days");
    EXPECT_EQ(e.status, static_cast<int32_t>(SmsStatus::ToBeSent));
    EXPECT_EQ(e.modified, 1);
    EXPECT_EQ(e.position, 97);
}

TEST_F(SmsListModelTest, PayloadOfAKnownSelectionByteForByte)
{
    SmsEntry& e = put(4, "Hi", "+4912");
    std::strcpy(e.scNumber, "49");
    e.scTon = 1;
    e.scNpi = 1;
    e.numberNpi = 1;
    e.messageRef = 7; // not carried
    e.modified = 1;
    select({4, 5});
    const std::optional<SmsClip> clip = model->copySelection(false);
    ASSERT_TRUE(clip);
    const int32_t h = model->listHandle();
    QByteArray expected;
    auto i32 = [&expected](int32_t v) {
        for (int b = 0; b < 4; ++b)
            expected.append(static_cast<char>((static_cast<uint32_t>(v) >> (8 * b)) & 0xFF));
    };
    auto str = [&expected](const char* s) {
        expected.append(static_cast<char>(std::strlen(s)));
        expected.append(s);
    };
    i32(h);
    i32(4), i32(1), str("Hi"), str("49"), str("4912");
    expected.append("\x01\x01\x01\x01", 4);
    str("7 days"), i32(3), i32(1);
    i32(5), i32(0), str(""), str(""), str("");
    expected.append(QByteArray(4, '\0'));
    str(""), i32(0), i32(0);
    i32(-1);
    // The trailer older copies do not read: UTF-8 texts and kept records (none here).
    expected.append("KSMSU8\x01", 7);
    i32(2), str("Hi"), expected.append(QByteArray(2, '\0'));
    str(""), expected.append(QByteArray(2, '\0'));
    EXPECT_EQ(clip->payload.toHex().toStdString(), expected.toHex().toStdString());
    EXPECT_EQ(clip->text, "Hi\r\n");

    // Nothing used selected: the clipboard keeps what it holds.
    select({5});
    EXPECT_FALSE(model->copySelection(true));
}

TEST_F(SmsListModelTest, BrokenPayloadsAreRefused)
{
    put(0, "ok");
    select({0});
    const QByteArray good = model->copySelection(false)->payload;
    ASSERT_TRUE(decodeSmsPayload(good));
    const qsizetype end = good.indexOf("KSMSU8");       // the trailer after the end mark
    EXPECT_FALSE(decodeSmsPayload(good.left(end - 1))); // no end mark
    EXPECT_FALSE(decodeSmsPayload(good.left(3)));
    QByteArray badStatus = good;
    badStatus[end - 12] = 4; // status of the only message
    EXPECT_FALSE(decodeSmsPayload(badStatus));
    QByteArray badDigit = good;
    badDigit[4 + 4 + 4 + 1 + 2 + 1 + 1] = 'x'; // first digit of the number
    EXPECT_FALSE(decodeSmsPayload(badDigit));
    EXPECT_FALSE(model->drop(badDigit, 3));
    EXPECT_FALSE(used(3));
}

TEST_F(SmsListModelTest, DragWithinTheWindowMovesAndDropsAskOnlyForForeignRows)
{
    setConfirm(true);
    put(0, "a");
    put(1, "b");
    put(3, "keep");
    select({0, 1});
    const std::optional<QByteArray> payload = model->startDrag();
    ASSERT_TRUE(payload);
    EXPECT_EQ(model->dropEffect(&*payload, 1, false), DropEffect::Move);
    EXPECT_EQ(model->dropEffect(&*payload, 1, true), DropEffect::Copy);
    EXPECT_EQ(model->dropEffect(&*payload, -1, false), DropEffect::None);
    // Rows 1 and 2 are filled; row 1 was a source, so nothing is asked.
    ASSERT_TRUE(model->drop(*payload, 1));
    model->endDrag(DropEffect::Move);
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_FALSE(used(0));
    EXPECT_EQ(text(1), "a");
    EXPECT_EQ(text(2), "b");
    EXPECT_EQ(position(2), 2);
    EXPECT_FALSE(model->dragMarked(1));

    // A drop that would cover "keep" asks once; No drops nothing.
    SmsListModel other(*app, prompter);
    EXPECT_EQ(other.dropEffect(&*payload, 0, false), DropEffect::Copy);
    prompter.answers = {PromptAnswer::No};
    EXPECT_FALSE(model->drop(*payload, 2));
    EXPECT_EQ(prompter.questions, std::vector<int>{57693});
    EXPECT_EQ(text(3), "keep");

    // Items beyond the last row are left out with 57698.
    model->setRowCount(10);
    prompter.answers = {PromptAnswer::Yes};
    EXPECT_TRUE(model->drop(*payload, 9));
    EXPECT_EQ(text(9), "a");
    EXPECT_EQ(prompter.messages, std::vector<int>{57698});
}

TEST_F(SmsListModelTest, CardReadAndWrite)
{
    useCard();
    setConfirm(false);
    ASSERT_TRUE(model->readFromCard());
    EXPECT_EQ(model->rowCount(), 20);
    EXPECT_EQ(text(0), "Dinner at seven?");
    EXPECT_EQ(model->usedCount(), 4);

    // A used row beyond the card's 20 records refuses the write before anything is written.
    model->setRowCount(30);
    put(25, "too far", "420777000111", 1);
    put(1, "changed", "420777000111", 1);
    EXPECT_FALSE(model->writeToCard());
    ASSERT_EQ(prompter.errors.size(), 1u);
    EXPECT_TRUE(prompter.errors[0].contains(StringTable::text(147))) << prompter.errors[0].toStdString();
    app->sim().flushCaches();
    SmsListModel fresh(*app, prompter);
    ASSERT_TRUE(fresh.readFromCard());
    EXPECT_STREQ(fresh.entry(1).text, "Your parcel is waiting at the post office.");

    model->entry(25).valid = 0;
    ASSERT_TRUE(model->writeToCard());
    EXPECT_FALSE(modified(1));
    app->sim().flushCaches();
    ASSERT_TRUE(fresh.readFromCard());
    EXPECT_STREQ(fresh.entry(1).text, "changed");

    // An empty window writes nothing.
    model->setRowCount(0);
    EXPECT_FALSE(model->writeToCard());
    EXPECT_EQ(prompter.messages.back(), 57820);
}

TEST_F(SmsListModelTest, ReadAndCloseAskAboutChanges)
{
    useCard();
    put(0, "unsaved", "1", 1);
    prompter.answers = {PromptAnswer::No, PromptAnswer::No};
    EXPECT_FALSE(model->readFromCard());
    EXPECT_FALSE(model->confirmClose());
    EXPECT_EQ(prompter.questions, (std::vector<int>{57500, 57680}));
    EXPECT_EQ(text(0), "unsaved");
    setConfirm(false);
    EXPECT_TRUE(model->confirmClose());
}

} // namespace

// The SMS window's own changes of its rows (an edit dialog's OK, a drop) are undo steps like the
// phone book's (the operations both lists share are tested there); a card read starts afresh.
TEST_F(SmsListModelTest, UndoAndRedoOfTheMessageRows)
{
    useCard();
    setConfirm(false);
    ASSERT_TRUE(model->readFromCard());
    const SmsListModel::History::Rows read = model->currentRows();
    model->replaceRow(1, model->newMessage(1));
    SmsListModel other(*app, prompter);
    other.entry(0) = model->newMessage(0);
    other.setSelected(0, true);
    ASSERT_TRUE(model->drop(other.copySelection(false)->payload, 2));
    const SmsListModel::History::Rows changed = model->currentRows();
    EXPECT_EQ(model->history().undoSteps(), 2u);
    ASSERT_TRUE(model->undo() && model->undo());
    EXPECT_TRUE(SmsListModel::History::same(model->currentRows(), read));
    ASSERT_TRUE(model->redo() && model->redo());
    EXPECT_TRUE(SmsListModel::History::same(model->currentRows(), changed));
    ASSERT_TRUE(model->readFromCard());
    EXPECT_FALSE(model->canUndo() || model->canRedo());
}

namespace {

// Part 1 of 2 (IEI 00, reference 2A) of "hi @€" in the default alphabet, a UCS2 message and a
// status report, as a card holds them.
const char* const kPartOne = "01 00 44 04 81 21 43 00 00 30 20 11 21 43 65 00 0D 05 00 03 2A 02 01 D0 69 10 60 53 06";
const char* const kUcs2 = "01 00 04 04 81 21 43 00 08 30 20 11 21 43 65 00 04 04 1F 00 41";
const char* const kReport = "01 00 06 2A 04 81 21 43 30 20 11 21 43 65 00 30 20 11 21 44 65 00 00";

SmsEntry decoded(const char* hex, uint16_t position, int patchAt = -1, uint8_t value = 0)
{
    std::vector<uint8_t> r = hexBytes(hex);
    if (patchAt >= 0)
        r[static_cast<std::size_t>(patchAt)] = value;
    r.resize(176, 0xFF);
    return DecodeSmsRecord(r, position);
}

} // namespace

TEST_F(SmsListModelTest, PartsAndStatusReportsShowAsTheyAre)
{
    model->entry(0) = decoded(kPartOne, 0);
    model->entry(3) = decoded(kPartOne, 3, 22, 0x02); // part 2
    model->entry(5) = decoded(kReport, 5);
    const QString text = QString::fromUtf8("hi @\u20AC");
    EXPECT_EQ(model->rowTexts(0)[4], QStringLiteral("[part 1 of 2] ") + text);
    EXPECT_EQ(model->detailTexts(3)[0], QStringLiteral("[part 2 of 2]\n") + text + text);
    EXPECT_EQ(model->rowTexts(5)[4], QStringLiteral("[Status report: Delivered]"));
    EXPECT_TRUE(model->detailTexts(5)[0].contains(QStringLiteral("Discharge time: 11.02.03 12:44")));
    // Another address is another message: part 2 is missing then.
    std::strcpy(model->entry(3).number, "999");
    EXPECT_EQ(model->detailTexts(0)[0], QStringLiteral("[part 1 of 2]\n") + text + QStringLiteral("[part 2 missing]"));
}

TEST_F(SmsListModelTest, ClipboardCarriesTheRecordBetweenWindows)
{
    model->entry(0) = decoded(kUcs2, 0);
    select({0});
    const QByteArray payload = model->copySelection(false)->payload;
    SmsListModel other(*app, prompter);
    other.entry(7).messageRef = 9;
    ASSERT_TRUE(other.drop(payload, 7));
    const SmsEntry& e = other.entry(7);
    EXPECT_EQ(e.position, 7);
    EXPECT_EQ(e.encoding, SmsEncoding::Ucs2);
    EXPECT_TRUE(SmsKeepsRecord(e));
    EXPECT_EQ(fixedText(e.text), "\xD0\x9F"
                                 "A");
    // What an older copy reads: the text in Windows-1250, no record.
    const std::optional<SmsPayload> old = decodeSmsPayload(payload.left(payload.indexOf("KSMSU8")));
    ASSERT_TRUE(old);
    EXPECT_EQ(old->items[0].text, "?A");
    EXPECT_TRUE(old->items[0].kept.empty());
    // A damaged trailer is no trailer.
    QByteArray broken = payload;
    broken[broken.size() - 177] = 0x7F; // high byte of the kept length: beyond 256
    ASSERT_TRUE(decodeSmsPayload(broken));
    EXPECT_TRUE(decodeSmsPayload(broken)->items[0].kept.empty());
}
