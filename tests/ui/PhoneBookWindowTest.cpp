#include "ModalDriver.h"
#include "PhoneBookWindowFixture.h"

#include <QProcess>

namespace kestrel {
namespace {

TEST_F(PhoneBookWindowTest, RowTextsShowTheModifiedMarkThePlusAndFreeRows)
{
    CSezEdDlg* w = open<CSezEdDlg>(0, -1);
    PhoneBookModel& m = w->model();
    putEntry(m, 0, "Mother", "420602111222", 1);
    m.entry(0).modified = 1;
    putEntry(m, 9, "Office", "224123456", 0);
    // Any type of number but unknown shows the "+"; Windows-1250 names come out as Unicode.
    putEntry(m, 249, "Šef", "*77#", 2);
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
        {8, QStringLiteral("Jens Weber"), QStringLiteral("4930123456"), 1},
        {9, QStringLiteral("Frau Grossmann"), QStringLiteral("4315121234"), 1},
        {10, QStringLiteral("Dr. Strauss"), QStringLiteral("4989765432"), 1},
        {11, QStringLiteral("Taxi"), QStringLiteral("14014"), 0},
        {12, QStringLiteral("Anne Marie"), QStringLiteral("33145678901"), 1},
        {13, QStringLiteral("Dentist"), QStringLiteral("241012345"), 0},
    };
    EXPECT_EQ(keptEntries(w->model()), expected);

    CSezEdDlg* again = open<CSezEdDlg>(1, 1);
    EXPECT_EQ(keptEntries(again->model()), expected);
    EXPECT_FALSE(again->model().anyModified());

    const test::CliOutput cli = test::runCliCommand(test::onCardFile(cardPath) +
                                                    QStringList{QStringLiteral("phonebook"), QStringLiteral("read"),
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
    auto pickFile = [file](QWidget* d) { test::pickFile(d, file); };
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
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts, (QStringList{QStringLiteral("&Edit"), QStringLiteral("Clea&r"), QStringLiteral("&Copy"),
                                  QStringLiteral("Cu&t"), QStringLiteral("&Paste"), QStringLiteral("-"),
                                  QStringLiteral("&Undo"), QStringLiteral("&Redo")}));

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

// A card made by the real `kestrel-sim new --adn 254 --name-length 16`: the window holds the
// first 250 of its 254 records, with names of up to 16 characters, and writes one back whole.
TEST_F(PhoneBookWindowTest, ReadsAndWritesTheSixteenCharacterNamesOfAShapedCard)
{
    cardPath = tempPath(QStringLiteral("shaped.json"));
    QProcess sim;
    sim.start(QString::fromUtf8(KESTREL_SIM_TOOL),
              {QStringLiteral("new"), cardPath, QStringLiteral("--adn"), QStringLiteral("254"),
               QStringLiteral("--name-length"), QStringLiteral("16")});
    ASSERT_TRUE(sim.waitForFinished(60000));
    ASSERT_EQ(sim.exitCode(), 0) << sim.readAllStandardError().toStdString();
    ASSERT_EQ(host->app.openReader(QStringLiteral("VIRTUAL:") + cardPath), CardStatus::Ok);
    host->app.createSimCard();
    host->prompts.pins = {std::string("1234")};

    CSezEdDlg* w = open<CSezEdDlg>(0, 1);
    EXPECT_TRUE(host->prompts.errors.empty());
    ASSERT_EQ(w->model().capacity(), 250);
    ASSERT_EQ(w->list()->model()->rowCount(), 250);
    EXPECT_EQ(host->app.maxAlphaLength(), 16);
    EXPECT_EQ(cell(w, 3, 1), QStringLiteral("Conference bridg"));
    EXPECT_EQ(cell(w, 7, 1), QStringLiteral("Jens Weber"));
    EXPECT_EQ(keptEntries(w->model()).size(), 12u);

    putEntry(w->model(), 4, "Sixteen letters!", "5551234", 0);
    w->model().entry(4).modified = 1;
    host->prompts.answers = {PromptAnswer::Yes};
    child<QPushButton>(w, "writeButton")->click();
    EXPECT_TRUE(host->prompts.errors.empty());
    const emulator::CardFileResult card = emulator::CardFile::load(cardPath);
    ASSERT_TRUE(card.ok);
    for (const emulator::SimFile& f : card.card.files) {
        if (f.id() != kEfAdn)
            continue;
        ASSERT_EQ(f.recordCount(), 254);
        const auto record5 = std::span<const uint8_t>(f.data).subspan(4 * 30, 30);
        EXPECT_EQ(std::string(record5.begin(), record5.begin() + 16), "Sixteen letters!");
    }
}

} // namespace
} // namespace kestrel
