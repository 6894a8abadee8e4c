#include "ui/phonebook/CFdnEdDlg.h"
#include "ui/phonebook/CSezEdDlg.h"

#include <cstring>
#include <tuple>
#include <vector>

#include <QCheckBox>
#include <QFileDialog>
#include <QClipboard>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonObject>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "CliRun.h"
#include "GuiTest.h"
#include "ModalScript.h"
#include "TestEditorHost.h"
#include "base/StringTable.h"
#include "codec/PcText.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "phonebook/DialClipboard.h"
#include "ui/phonebook/PhoneBookHooks.h"

namespace kestrel {
namespace {

using test::child;
using test::ModalScript;
using test::TestEditorHost;

constexpr uint16_t kEfAdn = 0x6F3A;

// What a card write keeps of an entry: its record, name, digits and type of number.
using Kept = std::tuple<int, QString, QString, int>;

std::vector<Kept> keptEntries(const PhoneBookModel& model)
{
    std::vector<Kept> kept;
    for (int row = 0; row < model.capacity(); ++row) {
        const DialEntry& e = model.entry(row);
        if (e.valid != 0)
            kept.emplace_back(e.position, pcTextToUnicode(e.name), QString::fromLatin1(e.number), e.ton);
    }
    std::sort(kept.begin(), kept.end());
    return kept;
}

std::vector<Kept> keptEntries(const QJsonArray& list)
{
    std::vector<Kept> kept;
    for (const QJsonValue& v : list) {
        const QJsonObject o = v.toObject();
        kept.emplace_back(o.value(QLatin1String("position")).toInt(), o.value(QLatin1String("name")).toString(),
                          o.value(QLatin1String("number")).toString(), o.value(QLatin1String("ton")).toInt());
    }
    std::sort(kept.begin(), kept.end());
    return kept;
}

void putEntry(PhoneBookModel& model, int row, const char* pcName, const char* number, uint8_t ton)
{
    DialEntry& e = model.entry(row);
    e.valid = 1;
    std::strncpy(e.name, pcName, sizeof e.name - 1);
    std::strncpy(e.number, number, sizeof e.number - 1);
    e.ton = ton;
}

class PhoneBookWindowTest : public test::GuiTest
{
protected:
    void SetUp() override
    {
        test::GuiTest::SetUp();
        host = std::make_unique<TestEditorHost>(tempPath(QStringLiteral("settings.ini")));
    }

    // A card file from the standard card (changed by f), opened as the host's reader.
    template <class F>
    void useCard(F f)
    {
        emulator::SimCardData data = emulator::StandardCard::simCard();
        f(data);
        cardPath = tempPath(QStringLiteral("card.json"));
        QString error;
        ASSERT_TRUE(emulator::CardFile::save(data, cardPath, error)) << error.toStdString();
        ASSERT_EQ(host->app.openReader(QStringLiteral("VIRTUAL:") + cardPath), CardStatus::Ok);
        host->app.createSimCard();
        host->prompts.pins = {std::string("1234")};
    }
    void useCard()
    {
        useCard([](emulator::SimCardData&) {});
    }

    template <class W>
    W* open(int number, int readMode)
    {
        auto* w = new W(*host);
        windows.emplace_back(w);
        w->create(number, readMode);
        return w;
    }

    static QString cell(PhoneBookWindow* w, int row, int column)
    {
        QAbstractItemModel* m = w->list()->model();
        return m->data(m->index(row, column)).toString();
    }

    static void clickRow(PhoneBookWindow* w, int row, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QTreeView* list = w->list();
        const QRect rect = list->visualRect(list->model()->index(row, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, keys, rect.center());
    }

    static std::vector<int> viewRows(PhoneBookWindow* w)
    {
        std::vector<int> rows;
        for (const QModelIndex& i : w->list()->selectionModel()->selectedRows())
            rows.push_back(i.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    static void fillEditDialog(QWidget* dialog, const QString& name, const QString& number)
    {
        child<QLineEdit>(dialog, "name")->setText(name);
        child<QLineEdit>(dialog, "number")->setText(number);
        child<QPushButton>(dialog, "okButton")->click();
    }

    void TearDown() override
    {
        for (auto& w : windows)
            if (w)
                w->closeWithoutAsking();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        windows.clear();
    }

    std::unique_ptr<TestEditorHost> host;
    std::vector<QPointer<PhoneBookWindow>> windows;
    QString cardPath;
};

TEST_F(PhoneBookWindowTest, RowTextsShowTheModifiedMarkThePlusAndFreeRows)
{
    CSezEdDlg* w = open<CSezEdDlg>(0, -1);
    PhoneBookModel& m = w->model();
    putEntry(m, 0, "Mother", "420602111222", 1);
    m.entry(0).modified = 1;
    putEntry(m, 9, "Office", "224123456", 0);
    // Any type of number but unknown shows the "+"; Windows-1250 names come out as Unicode.
    putEntry(m, 249, "\x8A\x65\x66", "*77#", 2);
    putEntry(m, 4, "gone", "123", 1);
    m.entry(4).valid = 0;
    m.entry(4).modified = 1;
    m.redraw();

    const QString free(31, u'-');
    const struct
    {
        int row;
        QString item, name, number;
    } cases[] = {
        {0, QStringLiteral("  1 *"), QStringLiteral("Mother"), QStringLiteral("+420602111222")},
        {9, QStringLiteral(" 10  "), QStringLiteral("Office"), QStringLiteral("224123456")},
        {249, QStringLiteral("250  "), QStringLiteral("Šef"), QStringLiteral("+*77#")},
        {4, QStringLiteral("  5 *"), free, free},
        {5, QStringLiteral("  6  "), free, free},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cell(w, c.row, 0), c.item) << c.row;
        EXPECT_EQ(cell(w, c.row, 1), c.name) << c.row;
        EXPECT_EQ(cell(w, c.row, 2), c.number) << c.row;
    }
    QAbstractItemModel* table = w->list()->model();
    EXPECT_EQ(table->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Item nr"));
    EXPECT_EQ(table->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Tel. number"));
    EXPECT_EQ(w->list()->columnWidth(0), 75);
    EXPECT_EQ(w->list()->columnWidth(1), 150);

    // A smaller capacity shows fewer rows.
    m.setCapacity(8);
    m.redraw();
    EXPECT_EQ(table->rowCount(), 8);
}

TEST_F(PhoneBookWindowTest, CardReadEditInsertWriteAndReadBackAgreeWithTheCommandLine)
{
    useCard();
    CSezEdDlg* w = open<CSezEdDlg>(0, 1);
    EXPECT_TRUE(host->prompts.errors.empty());
    ASSERT_EQ(w->model().capacity(), 250);
    ASSERT_EQ(w->list()->model()->rowCount(), 250);
    EXPECT_EQ(cell(w, 0, 1), QStringLiteral("Mother"));
    EXPECT_EQ(cell(w, 0, 2), QStringLiteral("+420602111222"));
    EXPECT_EQ(cell(w, 4, 1), QString(31, u'-'));
    EXPECT_EQ(host->app.maxAlphaLength(), 14);

    // Dialog 113 on "Office": a bad number keeps it open with 57620, then the good one is taken.
    clickRow(w, 1);
    ModalScript script;
    script.then([](QWidget* d) {
        EXPECT_EQ(child<QLineEdit>(d, "itemNumber")->text(), QStringLiteral("2"));
        EXPECT_EQ(child<QLineEdit>(d, "name")->text(), QStringLiteral("Office"));
        EXPECT_EQ(child<QLineEdit>(d, "name")->maxLength(), 14);
        fillEditDialog(d, QStringLiteral("Office Prague"), QStringLiteral("22412x"));
    });
    script.then(
        [](QWidget* d) { fillEditDialog(d, QStringLiteral("Office Prague"), QStringLiteral("+420224123456")); });
    child<QPushButton>(w, "editButton")->click();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(host->prompts.messages, std::vector<int>{57620});
    EXPECT_EQ(cell(w, 1, 0), QStringLiteral("  2 *"));
    EXPECT_EQ(cell(w, 1, 1), QStringLiteral("Office Prague"));
    EXPECT_EQ(cell(w, 1, 2), QStringLiteral("+420224123456"));

    // Ins on "Voicemail": a free position there, filled through the edit dialog that follows.
    clickRow(w, 2);
    script.then([](QWidget* d) {
        EXPECT_EQ(child<QLineEdit>(d, "name")->text(), QString());
        fillEditDialog(d, QStringLiteral("Inserted"), QStringLiteral("5551234"));
    });
    QTest::keyClick(w->list(), Qt::Key_Insert);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(cell(w, 2, 1), QStringLiteral("Inserted"));
    EXPECT_EQ(cell(w, 3, 1), QStringLiteral("Voicemail"));
    EXPECT_EQ(cell(w, 3, 0), QStringLiteral("  4 *"));
    EXPECT_TRUE(w->hasUnsavedChanges());

    host->prompts.answers = {PromptAnswer::Yes};
    child<QPushButton>(w, "writeButton")->click();
    EXPECT_EQ(host->prompts.questions, std::vector<int>{57801});
    EXPECT_TRUE(host->prompts.errors.empty());
    EXPECT_FALSE(w->hasUnsavedChanges());
    EXPECT_EQ(cell(w, 3, 0), QStringLiteral("  4  "));

    const std::vector<Kept> expected = {
        {0, QStringLiteral("Mother"), QStringLiteral("420602111222"), 1},
        {1, QStringLiteral("Office Prague"), QStringLiteral("420224123456"), 1},
        {2, QStringLiteral("Inserted"), QStringLiteral("5551234"), 0},
        {3, QStringLiteral("Voicemail"), QStringLiteral("*77#"), 0},
        {4, QStringLiteral("Conference bri"), QStringLiteral("123456789012345678901234"), 0},
        {6, QStringLiteral("Pizza"), QStringLiteral("777888999"), 0},
        {7, QStringLiteral("Hotel Vienna"), QStringLiteral("43153163001"), 1},
    };
    EXPECT_EQ(keptEntries(w->model()), expected);

    CSezEdDlg* again = open<CSezEdDlg>(1, 1);
    EXPECT_EQ(keptEntries(again->model()), expected);
    EXPECT_FALSE(again->model().anyModified());

    const test::CliOutput cli = test::runCliCommand({QStringLiteral("--device"), QStringLiteral("VIRTUAL:") + cardPath,
                                                     QStringLiteral("phonebook"), QStringLiteral("read"),
                                                     QStringLiteral("--pin"), QStringLiteral("1234")});
    ASSERT_EQ(cli.code, 0) << cli.err.toStdString();
    EXPECT_EQ(keptEntries(cli.array()), expected);
}

TEST_F(PhoneBookWindowTest, FixedDialingWindowShowsTheCardsStateAndItsOwnCaptions)
{
    CSezEdDlg* book = open<CSezEdDlg>(1, -1);
    EXPECT_EQ(book->windowTitle(), QStringLiteral("Kestrel! - Phone Book - [2]"));
    EXPECT_EQ(child<QPushButton>(book, "clearAllButton")->text(), QStringLiteral("Clear All"));
    EXPECT_EQ(book->findChild<QCheckBox*>(QStringLiteral("fdnActive")), nullptr);
    EXPECT_EQ(book->kind(), EditorKind::PhoneBook);

    for (const bool invalidated : {false, true}) {
        SCOPED_TRACE(invalidated);
        TearDown();
        SetUp();
        useCard([invalidated](emulator::SimCardData& d) {
            for (auto& f : d.files)
                if (f.id() == kEfAdn) {
                    f.invalidated = invalidated;
                    f.readableWhenInvalidated = true;
                }
        });
        CFdnEdDlg* fdn = open<CFdnEdDlg>(0, 1);
        EXPECT_EQ(fdn->windowTitle(), QStringLiteral("Kestrel! - Fixed Dialing Numbers - Phone Book - [1]"));
        EXPECT_EQ(fdn->kind(), EditorKind::Fdn);
        EXPECT_EQ(child<QPushButton>(fdn, "clearAllButton")->text(), QStringLiteral("&Delete All"));
        auto* box = child<QCheckBox>(fdn, "fdnActive");
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->isEnabled());
        EXPECT_EQ(box->isChecked(), invalidated);
        EXPECT_TRUE(host->prompts.errors.empty());
        EXPECT_EQ(cell(fdn, 1, 1), QStringLiteral("Mother"));
    }
}

TEST_F(PhoneBookWindowTest, CopyPutsBothFormsOnTheClipboardAndPasteReproducesTheEntries)
{
    CSezEdDlg* from = open<CSezEdDlg>(0, -1);
    putEntry(from->model(), 0, "Mother", "420602111222", 1);
    putEntry(from->model(), 2, "\x8A\x65\x66", "123", 0);
    from->model().redraw();

    // Only free rows selected: the clipboard keeps what it had.
    QApplication::clipboard()->setText(QStringLiteral("before"));
    clickRow(from, 1);
    QTest::keyClick(from->list(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));

    clickRow(from, 0);
    clickRow(from, 2, Qt::ShiftModifier);
    EXPECT_EQ(from->model().selectedRows(), (std::vector<int>{0, 1, 2}));
    QTest::keyClick(from->list(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QString format = QLatin1String(kDialClipFormat);
    ASSERT_TRUE(data->hasFormat(format));
    const PhoneBookModel& m = from->model();
    const DialEntry* rows[] = {&m.entry(0), &m.entry(1), &m.entry(2)};
    EXPECT_EQ(data->data(format), encodeDialPayload(m.listHandle(), rows));
    EXPECT_EQ(data->data(QStringLiteral("text/plain")), QByteArray("Mother\t'+420602111222\r\n\xC5\xA0"
                                                                   "ef\t'123\r\n"));

    CSezEdDlg* to = open<CSezEdDlg>(1, -1);
    clickRow(to, 5);
    QTest::keyClick(to->list(), Qt::Key_V, Qt::ControlModifier);
    for (int i = 0; i < 3; ++i) {
        const DialEntry& a = m.entry(i);
        const DialEntry& b = to->model().entry(5 + i);
        EXPECT_EQ(b.valid, a.valid) << i;
        EXPECT_STREQ(b.name, a.name) << i;
        EXPECT_STREQ(b.number, a.number) << i;
        EXPECT_EQ(b.ton, a.ton) << i;
        EXPECT_EQ(b.position, 5 + i);
    }
    EXPECT_EQ(cell(to, 5, 0), QStringLiteral("  6 *"));
    EXPECT_EQ(cell(to, 7, 1), QStringLiteral("Šef"));

    // Plain text from elsewhere: one entry a line from the focused row, the name folded to ASCII.
    QApplication::clipboard()->setText(QStringLiteral("Žofie\t'+49301234\r\nPizza\t777888999\r\n"));
    clickRow(to, 20);
    QTest::keyClick(to->list(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(cell(to, 20, 1), QStringLiteral("Zofie"));
    EXPECT_EQ(cell(to, 20, 2), QStringLiteral("+49301234"));
    EXPECT_EQ(cell(to, 21, 1), QStringLiteral("Pizza"));

    // Cut from the context menu's command clears the copied entries in the source.
    clickRow(to, 20);
    to->handleCommand(2057);
    EXPECT_EQ(cell(to, 20, 1), QString(31, u'-'));
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(format));
}

TEST_F(PhoneBookWindowTest, DropsFromAnotherListAndFromItsOwn)
{
    CSezEdDlg* source = open<CSezEdDlg>(0, -1);
    putEntry(source->model(), 0, "Mother", "420602111222", 1);
    putEntry(source->model(), 1, "Office", "224123456", 0);
    source->model().redraw();
    clickRow(source, 0);
    clickRow(source, 1, Qt::ShiftModifier);
    const std::optional<DialClip> clip = source->model().copySelection(false);
    ASSERT_TRUE(clip);
    QMimeData data;
    data.setData(QLatin1String(kDialClipFormat), clip->payload);
    QMimeData foreign;
    foreign.setText(QStringLiteral("not entries"));

    CSezEdDlg* target = open<CSezEdDlg>(1, -1);
    QTreeView* list = target->list();
    auto at = [list](int row) { return list->visualRect(list->model()->index(row, 0)).center(); };
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

    QDragEnterEvent enterForeign(at(3), offered, &foreign, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enterForeign);
    EXPECT_FALSE(enterForeign.isAccepted());

    QDragEnterEvent enter(at(3), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction); // from another list: copy
    QDragMoveEvent move(at(4), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
    EXPECT_EQ(target->list()->dropRow(), 4);
    QDropEvent drop(QPointF(at(4)), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    // A copy, though Qt proposes Move: the source's drag must not free its entries.
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    EXPECT_EQ(target->list()->dropRow(), -1);
    EXPECT_EQ(cell(target, 4, 1), QStringLiteral("Mother"));
    EXPECT_EQ(cell(target, 5, 1), QStringLiteral("Office"));

    // Onto valid entries: declining the overwrite drops nothing and reports no effect, so a moving
    // source keeps its entries.
    host->prompts.answers = {PromptAnswer::No};
    // Qt delivers moves and the drop to the widget that accepted the last enter.
    QDragEnterEvent again(at(5), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &again);
    QDropEvent declined(QPointF(at(5)), offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &declined);
    EXPECT_EQ(host->prompts.questions, std::vector<int>{57586});
    EXPECT_FALSE(declined.isAccepted() && declined.dropAction() != Qt::IgnoreAction);
    EXPECT_EQ(cell(target, 6, 1), QString(31, u'-'));

    // Resting near the bottom edge scrolls the list down.
    ASSERT_EQ(target->list()->topRow(), 0);
    const QPoint bottom(10, list->viewport()->height() - 3);
    QDragEnterEvent enterBottom(bottom, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &enterBottom);
    EXPECT_GT(target->list()->topRow(), 0);
    QDragLeaveEvent leaveBottom;
    QApplication::sendEvent(list->viewport(), &leaveBottom);

    // Within its own list: move, or copy with Ctrl.
    QTreeView* own = source->list();
    const QPoint ownRow = own->visualRect(own->model()->index(6, 0)).center();
    for (const auto& [keys, action] :
         {std::pair{Qt::NoModifier, Qt::MoveAction}, std::pair{Qt::ControlModifier, Qt::CopyAction}}) {
        QDragEnterEvent enterOwn(ownRow, offered, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(own->viewport(), &enterOwn);
        QDragMoveEvent over(ownRow, offered, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(own->viewport(), &over);
        EXPECT_TRUE(over.isAccepted());
        EXPECT_EQ(over.dropAction(), action);
        EXPECT_EQ(source->list()->dropRow(), 6);
        QDragLeaveEvent leave;
        QApplication::sendEvent(own->viewport(), &leave);
        EXPECT_EQ(source->list()->dropRow(), -1);
    }
}

TEST_F(PhoneBookWindowTest, SelectionHeaderSortAndColumnFit)
{
    CSezEdDlg* w = open<CSezEdDlg>(0, -1);
    putEntry(w->model(), 1, "zeta", "1", 0);
    putEntry(w->model(), 3, "Alpha", "2", 0);
    putEntry(w->model(), 5, "A rather long name for a column", "3", 0);
    w->model().redraw();

    QTest::keyClick(w->list(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(viewRows(w), (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(w->model().selectedRows(), (std::vector<int>{1, 3, 5}));
    clickRow(w, 7);
    EXPECT_EQ(w->model().selectedRows(), std::vector<int>{7});
    EXPECT_EQ(w->model().focusedRow(), 7);

    QHeaderView* header = w->list()->header();
    for (int click = 0; click < 2; ++click) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(header->sectionViewportPosition(1) + 10, header->height() / 2));
        EXPECT_EQ(w->model().sortedColumn(), 1);
        EXPECT_TRUE(header->isSortIndicatorShown());
        EXPECT_EQ(header->sortIndicatorSection(), 1);
        EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    }
    EXPECT_EQ(cell(w, 0, 1), QStringLiteral("A rather long name for a column"));
    EXPECT_EQ(cell(w, 1, 1), QStringLiteral("Alpha"));
    EXPECT_EQ(cell(w, 2, 1), QStringLiteral("zeta"));
    EXPECT_EQ(cell(w, 2, 0), QStringLiteral("  2  ")); // positions stay with their entries

    emit header->sectionHandleDoubleClicked(1);
    const int textWidth = w->list()->fontMetrics().horizontalAdvance(QStringLiteral("A rather long name for a column"));
    EXPECT_GE(w->list()->columnWidth(1), textWidth + 20);
}

TEST_F(PhoneBookWindowTest, ClosingWithUnsavedChangesAsks)
{
    const struct
    {
        int confirm;
        std::deque<PromptAnswer> answers;
        std::vector<int> asked;
        bool closes;
    } cases[] = {
        {1, {PromptAnswer::No}, {57585}, false},
        {1, {PromptAnswer::Cancel}, {57585}, false},
        {1, {PromptAnswer::Yes}, {57585}, true},
        {0, {}, {}, true},
    };
    for (const auto& c : cases) {
        host->app.settings().confirm = c.confirm;
        host->prompts.questions.clear();
        host->prompts.answers = c.answers;
        CSezEdDlg* w = open<CSezEdDlg>(0, -1);
        putEntry(w->model(), 0, "Mother", "420602111222", 1);
        w->model().entry(0).modified = 1;
        EXPECT_TRUE(w->hasUnsavedChanges());
        child<QPushButton>(w, "closeButton")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(host->prompts.questions, c.asked);
        EXPECT_EQ(windows.back().isNull(), c.closes);
    }
    // Nothing changed: closes without a question.
    host->app.settings().confirm = 1;
    host->prompts.questions.clear();
    CSezEdDlg* clean = open<CSezEdDlg>(0, -1);
    clean->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(host->prompts.questions.empty());
    EXPECT_TRUE(windows.back().isNull());
}

TEST_F(PhoneBookWindowTest, FindAndReplaceThroughTheirDialogs)
{
    CSezEdDlg* w = open<CSezEdDlg>(0, -1);
    putEntry(w->model(), 2, "Pizza", "777888999", 0);
    putEntry(w->model(), 6, "Pizza Roma", "777000111", 0);
    w->model().redraw();

    ModalScript script;
    script.then([](QWidget* d) {
        child<QLineEdit>(d, "findText")->setText(QStringLiteral("pizza"));
        child<QRadioButton>(d, "searchName")->setChecked(true);
        child<QPushButton>(d, "findButton")->click();
    });
    child<QPushButton>(w, "findButton")->click();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(w->model().selectedRows(), std::vector<int>{2});
    EXPECT_EQ(viewRows(w), std::vector<int>{2});
    EXPECT_EQ(host->app.settings().findStr, QStringLiteral("pizza"));

    w->handleCommand(2100); // find next repeats without the dialog
    EXPECT_EQ(viewRows(w), std::vector<int>{6});

    // Replace from the first row: "No" on the first match, "All" on the second.
    clickRow(w, 0);
    script.then([](QWidget* d) {
        child<QLineEdit>(d, "replaceText")->setText(QStringLiteral("Pasta"));
        child<QPushButton>(d, "replaceButton")->click();
    });
    script.then([](QWidget* d) { child<QPushButton>(d, "noButton")->click(); });
    script.then([](QWidget* d) { child<QPushButton>(d, "allButton")->click(); });
    w->handleCommand(1005);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(cell(w, 2, 1), QStringLiteral("Pizza"));
    EXPECT_EQ(cell(w, 6, 1), QStringLiteral("Pasta Roma"));
}

TEST_F(PhoneBookWindowTest, SortSelectAndFileCommandsRunTheirDialogs)
{
    CSezEdDlg* w = open<CSezEdDlg>(0, -1);
    putEntry(w->model(), 0, "Zeta", "1", 0);
    putEntry(w->model(), 1, "Beta", "2", 0);
    putEntry(w->model(), 3, "Alpha", "3", 1);
    w->model().redraw();

    // Sort 117: From equal to To is refused with the dialog kept open.
    ModalScript script;
    script.then([](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Kestrel! - Sort"));
        child<QLineEdit>(d, "fromItem")->setText(QStringLiteral("2"));
        child<QLineEdit>(d, "toItem")->setText(QStringLiteral("2"));
        child<QPushButton>(d, "okButton")->click();
    });
    script.then([](QWidget* d) {
        child<QLineEdit>(d, "fromItem")->setText(QStringLiteral("1"));
        child<QLineEdit>(d, "toItem")->setText(QStringLiteral("4"));
        child<QPushButton>(d, "okButton")->click();
    });
    child<QPushButton>(w, "sortButton")->click();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(host->prompts.messages, std::vector<int>{57580});
    EXPECT_EQ(cell(w, 0, 1), QStringLiteral("Alpha"));
    EXPECT_EQ(cell(w, 2, 1), QStringLiteral("Zeta"));

    // Select Items 160 with empty entries included.
    script.then([](QWidget* d) {
        child<QLineEdit>(d, "fromItem")->setText(QStringLiteral("2"));
        child<QLineEdit>(d, "toItem")->setText(QStringLiteral("4"));
        child<QCheckBox>(d, "includeEmpty")->setChecked(true);
        child<QPushButton>(d, "okButton")->click();
    });
    w->handleCommand(2062);
    EXPECT_EQ(viewRows(w), (std::vector<int>{1, 2, 3}));

    // Save File 140 and Open File in another window through the file dialog.
    const QString file = tempPath(QStringLiteral("book.dia"));
    auto pickFile = [file](QWidget* d) {
        auto* dialog = qobject_cast<QFileDialog*>(d);
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(file);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog keeps its override protected
    };
    script.then([](QWidget* d) {
        child<QLineEdit>(d, "fromItem")->setText(QStringLiteral("1"));
        child<QLineEdit>(d, "toItem")->setText(QStringLiteral("250"));
        child<QPushButton>(d, "okButton")->click();
    });
    script.then(pickFile);
    w->handleCommand(40005);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(host->prompts.messages.back(), 57782);

    CSezEdDlg* other = open<CSezEdDlg>(1, -1);
    script.then(pickFile);
    other->handleCommand(40002);
    EXPECT_TRUE(script.done());
    EXPECT_EQ(cell(other, 0, 1), QStringLiteral("Alpha"));
    EXPECT_EQ(cell(other, 0, 2), QStringLiteral("+3"));
    EXPECT_EQ(cell(other, 2, 1), QStringLiteral("Zeta"));
    EXPECT_EQ(cell(other, 3, 1), QString(31, u'-'));
}

TEST_F(PhoneBookWindowTest, ContextMenuOnARowRunsItsCommands)
{
    CSezEdDlg* w = open<CSezEdDlg>(0, -1);
    putEntry(w->model(), 3, "Pizza", "777888999", 0);
    w->model().redraw();
    auto* menu = w->findChild<QMenu*>(QStringLiteral("contextMenu"));
    ASSERT_NE(menu, nullptr);
    QStringList texts;
    for (QAction* a : menu->actions())
        texts << a->text();
    EXPECT_EQ(texts, (QStringList{QStringLiteral("&Edit"), QStringLiteral("Clea&r"), QStringLiteral("&Copy"),
                                  QStringLiteral("Cu&t"), QStringLiteral("&Paste")}));

    clickRow(w, 3);
    QTreeView* list = w->list();
    emit list->customContextMenuRequested(list->visualRect(list->model()->index(3, 0)).center());
    EXPECT_TRUE(menu->isVisible());
    host->prompts.answers = {PromptAnswer::Yes};
    menu->findChild<QAction*>(QStringLiteral("clearAction"))->trigger();
    menu->hide();
    EXPECT_EQ(host->prompts.questions, std::vector<int>{57583});
    EXPECT_EQ(cell(w, 3, 1), QString(31, u'-'));
    EXPECT_EQ(cell(w, 3, 0), QStringLiteral("  4 *"));
}

TEST_F(PhoneBookWindowTest, PrintListHandsTheRowsOfTheCapacityToThePrinter)
{
    CSezEdDlg* w = open<CSezEdDlg>(0, -1);
    putEntry(w->model(), 2, "Pizza", "777888999", 0);
    w->model().setCapacity(10);
    w->model().redraw();

    // Without a printer of the program's own: the system print dialog, here cancelled.
    ModalScript script;
    script.then([](QWidget* d) { static_cast<QDialog*>(d)->reject(); });
    w->printList();
    EXPECT_TRUE(script.done());

    QList<DialEntry> printed;
    setPhoneBookPrintFunction([&](AppState&, const QList<DialEntry>& rows, QWidget*) {
        printed = rows;
        return 1;
    });
    w->printList();
    setPhoneBookPrintFunction({});
    ASSERT_EQ(printed.size(), 10);
    EXPECT_STREQ(printed[2].name, "Pizza");
    EXPECT_EQ(printed[3].valid, 0);
}

} // namespace
} // namespace kestrel
