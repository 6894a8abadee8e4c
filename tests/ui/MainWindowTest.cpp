#include "ui/MainWindow.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QMessageBox>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "GuiStateTest.h"
#include "ModalDriver.h"
#include "TestEditor.h"
#include "app/AppState.h"
#include "ui/BannerWidget.h"
#include "ui/QtPrompter.h"
#include "ui/UiText.h"
#include "ui/phonebook/CSezEdDlg.h"

namespace kestrel {
namespace {

using namespace CommandId;
using test::ModalDriver;
using test::TestEditor;

class MainWindowTest : public test::GuiStateTest
{
protected:
    void SetUp() override
    {
        GuiStateTest::SetUp();
        makeWindow();
    }
    void TearDown() override
    {
        window.reset();
        prompter.reset();
        state.reset();
    }
    void makeWindow()
    {
        prompter->setParent(nullptr);
        window.reset();
        window = std::make_unique<MainWindow>(*state, *prompter);
        prompter->setParent(window.get());
        window->setEditorFactory(EditorKind::PhoneBook, books.function());
        window->setEditorFactory(EditorKind::Fdn, fdn.function());
        window->setEditorFactory(EditorKind::Sms, sms.function());
        window->show();
    }
    int editorsAlive() const { return books.alive() + fdn.alive() + sms.alive(); }
    static void flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    bool enabled(int id) const
    {
        QAction* a = window->action(id);
        EXPECT_NE(a, nullptr) << id;
        return a && a->isEnabled();
    }
    TestEditor* active() const { return dynamic_cast<TestEditor*>(window->activeEditor()); }
    int numberOf(int i) const { return books.made.at(static_cast<std::size_t>(i))->windowNumber(); }

    test::TestEditorFactory books;
    test::TestEditorFactory fdn;
    test::TestEditorFactory sms;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, ThreePhoneBooksThenNewPhoneBookOnlyActivatesTheCurrentOne)
{
    window->runCommand(kEditPhoneBook);
    window->runCommand(kNewPhoneBook);
    window->runCommand(kAnotherPhoneBook);
    ASSERT_EQ(books.alive(), 3);
    EXPECT_EQ(numberOf(0), 0);
    EXPECT_EQ(numberOf(1), 1);
    EXPECT_EQ(numberOf(2), 2);
    EXPECT_EQ(books.made[0]->readMode, 1) << "the first one reads the card (autoRead)";
    EXPECT_EQ(books.made[1]->readMode, -1);
    EXPECT_EQ(active(), books.made[2]);

    EXPECT_FALSE(enabled(kNewPhoneBook));
    EXPECT_FALSE(enabled(kAnotherPhoneBook));
    // Even asked directly, the request only brings the current window forward.
    window->OnEditorActivated(books.made[1]);
    EditorWindow* w = window->openEditor(*MainCommands::editorRequest(kNewPhoneBook, {}, 1));
    EXPECT_EQ(w, books.made[1]);
    EXPECT_EQ(books.made.size(), 3U);
    EXPECT_EQ(active(), books.made[1]);

    // Edit Phone Book cycles: the active current window goes behind the others.
    window->runCommand(kEditPhoneBook);
    EXPECT_EQ(active(), books.made[2]);
    window->runCommand(kPhoneBookNext);
    EXPECT_EQ(active(), books.made[0]);
}

TEST_F(MainWindowTest, ClosingWindowTwoAndChoosingItAgainMakesANewWindowNumberedOne)
{
    for (int i = 0; i < 3; ++i)
        window->runCommand(kNewPhoneBook);
    ASSERT_EQ(books.alive(), 3);
    books.made[1]->close();
    flush();
    EXPECT_EQ(books.alive(), 2);
    EXPECT_TRUE(enabled(kNewPhoneBook));

    window->runCommand(kPhoneBookWindow1 + 1);
    ASSERT_EQ(books.made.size(), 4U);
    EXPECT_EQ(books.made[3]->windowNumber(), 1);
    EXPECT_EQ(books.made[3]->windowTitle(), QStringLiteral("Test - [2]"));
    EXPECT_EQ(books.made[3]->readMode, -1);
    EXPECT_EQ(active(), books.made[3]);

    // Window 1 open: chosen, it becomes active without a new window.
    window->runCommand(kPhoneBookWindow1);
    EXPECT_EQ(active(), books.made[0]);
    EXPECT_EQ(books.made.size(), 4U);
}

TEST_F(MainWindowTest, ClosingTheActiveEditorActivatesAnotherOfItsKind)
{
    window->runCommand(kNewPhoneBook);
    window->runCommand(kNewPhoneBook);
    ASSERT_EQ(active(), books.made[1]);
    books.made[1]->close();
    flush();
    EXPECT_EQ(active(), books.made[0]);
    books.made[0]->close();
    flush();
    EXPECT_EQ(window->activeEditor(), nullptr);
    EXPECT_FALSE(enabled(kCloseAll));
}

TEST_F(MainWindowTest, CloseAllAsksOnceAndNoLeavesEveryWindowOpen)
{
    window->runCommand(kNewPhoneBook);
    window->runCommand(kNewPhoneBook);
    window->runCommand(kFixedDialing);
    books.made[0]->unsaved = true;
    books.made[1]->unsaved = true;

    QString asked;
    ModalDriver driver;
    driver.expect(QStringLiteral("messageBox"), test::answerBox(QMessageBox::No, &asked));
    window->runCommand(kCloseAll);
    flush();
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(asked, uiText(57840));
    EXPECT_EQ(books.alive() + fdn.alive(), 3);

    driver.expect(QStringLiteral("messageBox"), test::answerBox(QMessageBox::Yes));
    window->runCommand(kCloseAll);
    flush();
    EXPECT_TRUE(driver.done());
    EXPECT_EQ(driver.seen().size(), 2U) << "one question per Close All";
    EXPECT_EQ(books.alive() + fdn.alive(), 0);
    EXPECT_EQ(window->desk().openCount(), 0);
}

// Answers every message box shown while it lives with one button, and keeps their texts.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(QMessageBox::StandardButton button) : m_button(button) { qApp->installEventFilter(this); }
    std::vector<std::string> texts;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (auto* box = qobject_cast<QMessageBox*>(watched); box && event->type() == QEvent::Show) {
            texts.push_back(box->text().toStdString());
            QTimer::singleShot(0, box, [box, button = m_button] {
                if (QAbstractButton* b = box->button(button))
                    b->click();
                else
                    box->reject();
            });
        }
        return false;
    }

private:
    QMessageBox::StandardButton m_button;
};

// The application's quit, as QApplication::quit or the session manager's end of the session sends
// it: inside the running event loop, which a refused quit leaves running until the test ends it.
void quitApplication(MainWindow&)
{
    const bool quitOnLastWindow = QGuiApplication::quitOnLastWindowClosed();
    QGuiApplication::setQuitOnLastWindowClosed(false);
    QTimer::singleShot(0, [] {
        QCoreApplication::quit();
        QCoreApplication::exit(0);
    });
    QCoreApplication::exec();
    QGuiApplication::setQuitOnLastWindowClosed(quitOnLastWindow);
}

struct WayOut
{
    const char* name;
    void (*leave)(MainWindow&);
    bool mainWindowGoes; // Close All leaves the main window open
};

const WayOut kWaysOut[] = {
    {"Exit", [](MainWindow& w) { w.runCommand(kExit); }, true},
    {"Close All", [](MainWindow& w) { w.runCommand(kCloseAll); }, false},
    {"close box", [](MainWindow& w) { w.close(); }, true},
    {"application quit", quitApplication, true},
};

// Unwritten changes are never lost without the one question, whichever way the program is left:
// asked once however many windows hold changes, No keeps every window, Yes closes them all; with no
// changed window nothing is asked.
TEST_F(MainWindowTest, EveryWayOutAsksOnceWhenAWindowHoldsChanges)
{
    using Answer = std::optional<QMessageBox::StandardButton>;
    for (const WayOut& way : kWaysOut) {
        for (const Answer answer : {Answer{}, Answer{QMessageBox::No}, Answer{QMessageBox::Yes}}) {
            SCOPED_TRACE(std::string(way.name) + (!answer ? "" : *answer == QMessageBox::Yes ? " / Yes" : " / No"));
            makeWindow();
            window->runCommand(kNewPhoneBook);
            window->runCommand(kNewPhoneBook);
            window->runCommand(kEditSms);
            if (answer) {
                books.made.back()->unsaved = true;
                sms.made.back()->unsaved = true;
            }
            BoxAnswerer boxes(answer.value_or(QMessageBox::No));
            way.leave(*window);
            flush();
            const std::vector<std::string> asked = {uiText(57840).toStdString()};
            EXPECT_EQ(boxes.texts, answer ? asked : std::vector<std::string>{});
            const bool kept = answer == QMessageBox::No;
            EXPECT_EQ(editorsAlive(), kept ? 3 : 0);
            EXPECT_EQ(window->desk().openCount(), kept ? 3 : 0);
            EXPECT_EQ(window->isVisible(), kept || !way.mainWindowGoes);
        }
    }
}

TEST_F(MainWindowTest, MenuAndButtonStatesFollowTheActiveEditor)
{
    const std::vector<int> listButtons = {kSaveFileButton, kPrintButton,  kFindButton,  kFindNextButton,
                                          kInsertButton,   kDeleteButton, kClearButton, kInternationalizeButton};
    for (const int id : listButtons)
        EXPECT_FALSE(enabled(id)) << id;
    for (const int id : {kPhoneBookSaveFile, kSmsSaveFile, kSmsAddToFile, kInsertItem, kDeleteItem, kPaste,
                         kInternationalization, kCloseAll})
        EXPECT_FALSE(enabled(id)) << id;

    window->runCommand(kEditPhoneBook);
    for (const int id : listButtons)
        EXPECT_TRUE(enabled(id)) << id;
    EXPECT_TRUE(enabled(kPhoneBookSaveFile));
    EXPECT_FALSE(enabled(kSmsSaveFile));
    EXPECT_TRUE(enabled(kCloseAll));

    window->runCommand(kEditSms);
    for (const int id : {kSaveFileButton, kPrintButton, kInsertButton, kDeleteButton, kClearButton})
        EXPECT_TRUE(enabled(id)) << id;
    for (const int id : {kFindButton, kFindNextButton, kInternationalizeButton, kPhoneBookSaveFile})
        EXPECT_FALSE(enabled(id)) << id;
    EXPECT_TRUE(enabled(kSmsSaveFile));
    EXPECT_TRUE(enabled(kSmsAddToFile));

    // Activating the phone book window again switches the rules back.
    books.made[0]->activateWindow();
    window->OnEditorActivated(books.made[0]);
    EXPECT_TRUE(enabled(kFindButton));
    EXPECT_FALSE(enabled(kSmsSaveFile));
}

TEST_F(MainWindowTest, CommandsOfPartsNotPluggedInAreDisabledUntilAHookIsSet)
{
    for (const int id : {kSetup, kCountryCodes, kTelephoneCard, kBackupCard, kRestoreCard, kOpenBackupFile,
                         kSimInformation, kInfoButton, kCheckAndRepair, kCheckButton, kPreferredNetworks,
                         kForbiddenNetworks, kSmsParameters, kReportHeader, kPrintFont})
        EXPECT_FALSE(enabled(id)) << id;
    // No SimCard yet: the PIN menu waits for it.
    EXPECT_FALSE(enabled(kEnterPin));

    int calls = 0;
    window->setCommandHook(kSimInformation, [&](MainWindow& w) {
        EXPECT_EQ(&w, window.get());
        ++calls;
    });
    EXPECT_TRUE(enabled(kSimInformation));
    EXPECT_TRUE(enabled(kInfoButton)) << "the button shares the menu command's hook";
    window->runCommand(kInfoButton);
    window->runCommand(kSimInformation);
    EXPECT_EQ(calls, 2);

    state->createSimCard();
    window->updateCommandState();
    EXPECT_TRUE(enabled(kEnterPin));
    EXPECT_TRUE(enabled(kEnterPinButton));
}

TEST_F(MainWindowTest, AcceleratorsAndButtonsForwardToTheActiveEditor)
{
    window->runCommand(kEditPhoneBook);
    TestEditor* book = books.made[0];
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    struct Key
    {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int forwarded;
    };
    for (const Key k : {Key{Qt::Key_A, Qt::ControlModifier, kEditorSelectAll}, Key{Qt::Key_Delete, {}, kEditorDelete},
                        Key{Qt::Key_Delete, Qt::ControlModifier, kEditorClearSelected},
                        Key{Qt::Key_F7, {}, kEditorFind}, Key{Qt::Key_Insert, {}, kEditorInsert}}) {
        book->commands.clear();
        QTest::keyClick(window.get(), k.key, k.modifiers);
        EXPECT_EQ(book->commands, std::vector<int>{k.forwarded}) << k.key;
    }

    book->commands.clear();
    for (const int id : {kFindNextButton, kSaveFileButton, kOpenFileButton, kPaste, kCut, kCopy, kSelect})
        window->runCommand(id);
    EXPECT_EQ(book->commands, (std::vector<int>{kEditorFindNext, kPhoneBookSaveFile, kPhoneBookOpenFile, kEditorPaste,
                                                kEditorCut, kEditorCopy, kEditorSelect}));
    window->runCommand(kPrintPhoneBook);
    window->runCommand(kPrintButton);
    EXPECT_EQ(book->prints, 2);

    // SMS save goes to the SMS window as its own command, created empty when there is none.
    window->runCommand(kSmsOpenFile);
    ASSERT_EQ(sms.made.size(), 1U);
    EXPECT_EQ(sms.made[0]->readMode, -1);
    EXPECT_EQ(sms.made[0]->commands, std::vector<int>{kSmsOpenFile});
    window->runCommand(kSaveFileButton);
    EXPECT_EQ(sms.made[0]->commands, (std::vector<int>{kSmsOpenFile, kSmsSaveFile}));
}

TEST_F(MainWindowTest, OpenFileWithoutAnEditorAsksForTheKindFirst)
{
    ModalDriver driver;
    driver.expect(QStringLiteral("openFileDialog"), [](QWidget* w) {
        auto* type = w->findChild<QComboBox*>(QStringLiteral("fileType"));
        ASSERT_NE(type, nullptr);
        ASSERT_EQ(type->count(), 2);
        type->setCurrentIndex(1); // SMS messages
        test::clickButton(QStringLiteral("okButton"))(w);
    });
    window->runCommand(kOpenFileButton);
    EXPECT_TRUE(driver.done());
    ASSERT_EQ(sms.made.size(), 1U);
    EXPECT_EQ(sms.made[0]->readMode, -1);
    EXPECT_EQ(sms.made[0]->commands, std::vector<int>{kSmsOpenFile});

    // Now an editor is active: the button goes to it without a question.
    window->runCommand(kOpenFileButton);
    EXPECT_EQ(sms.made[0]->commands, (std::vector<int>{kSmsOpenFile, kSmsOpenFile}));
}

TEST_F(MainWindowTest, ButtonBarHasTwentyPlacesWithTooltipsAndIcons)
{
    QToolBar* bar = window->buttonBar();
    ASSERT_EQ(bar->actions().size(), 20);
    int separators = 0;
    for (int i = 0; i < 20; ++i) {
        QAction* a = bar->actions().at(i);
        const int id = kFirstButton + i;
        if (a->isSeparator()) {
            ++separators;
            EXPECT_TRUE(MainCommands::isSeparator(id)) << id;
            continue;
        }
        EXPECT_EQ(a->objectName(), QStringLiteral("cmd%1").arg(id));
        EXPECT_EQ(a->toolTip(), StringTable::text(id));
        EXPECT_FALSE(a->icon().isNull()) << id;
        EXPECT_NE(bar->findChild<QToolButton*>(QStringLiteral("button%1").arg(id)), nullptr) << id;
    }
    EXPECT_EQ(separators, 4);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Kestrel!"));
    EXPECT_FALSE(window->windowIcon().isNull());
    // Every menu command the frame knows is in a menu, with its table text.
    EXPECT_EQ(window->action(kEditPhoneBook)->text(), QStringLiteral("&Edit Phone Book"));
    EXPECT_EQ(window->action(kExit)->text(), QStringLiteral("E&xit"));
    EXPECT_EQ(window->action(kPhoneBookWindow1)->text(), QStringLiteral("Window  &1"));
}

TEST_F(MainWindowTest, BannerShowsOnlyOnALargeEnoughClientArea)
{
    struct Case
    {
        QSize client;
        std::optional<QPoint> anchor;
    };
    for (const Case& c : {Case{{450, 150}, QPoint(225, 113)}, Case{{449, 400}, std::nullopt},
                          Case{{800, 149}, std::nullopt}, Case{{800, 577}, QPoint(400, 327)}})
        EXPECT_EQ(BannerWidget::bannerAnchor(c.client), c.anchor) << c.client.width() << "x" << c.client.height();

    window->resize(700, 450);
    window->banner()->grab();
    EXPECT_TRUE(window->banner()->textShown());
    const QImage shot = window->banner()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, shot.height() - 2), QColor(128, 128, 128));
    window->resize(400, 450);
    window->banner()->grab();
    EXPECT_FALSE(window->banner()->textShown());
}

TEST_F(MainWindowTest, ToolbarModeShowsMenuAndButtonsOnlyUntilTheUserResizes)
{
    window->enterToolbarMode();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->inToolbarMode());
    EXPECT_EQ(window->height(), window->menuBar()->height() + window->buttonBar()->height());
    // Nothing of the client area below the button bar is left to see.
    const QRect banner(window->banner()->mapTo(window.get(), QPoint(0, 0)), window->banner()->size());
    EXPECT_FALSE(banner.intersects(window->rect()) && banner.height() > 0) << banner.y() << " " << banner.height();
    EXPECT_FALSE(window->statusBar()->isVisible());
    window->resize(window->width(), 400);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->inToolbarMode());
    EXPECT_TRUE(window->statusBar()->isVisible());
}

TEST_F(MainWindowTest, DestroyingTheMainWindowTakesItsEditorsAlong)
{
    window->runCommand(kNewPhoneBook);
    window->runCommand(kEditSms);
    books.made[0]->unsaved = true;
    window.reset();
    EXPECT_EQ(books.alive() + sms.alive(), 0);
}

// The keyboard in a phone book window of the main window: Alpha, Beta and Gamma in rows 0-2, row 1
// selected, the window active with the list's focus.
class EditorKeysTest : public MainWindowTest
{
protected:
    PhoneBookWindow* bookWindow()
    {
        state->settings().autoRead = 0;
        state->settings().confirm = 0;
        window->setEditorFactory(EditorKind::PhoneBook, [](EditorKind, EditorHost& host, QWidget* parent) {
            return new CSezEdDlg(host, parent);
        });
        window->runCommand(kEditPhoneBook);
        auto* w = dynamic_cast<PhoneBookWindow*>(window->activeEditor());
        if (!w)
            return nullptr;
        for (const char* name : {"Alpha", "Beta", "Gamma"}) {
            DialEntry& e = w->model().entry(usedRows(w));
            e.valid = 1;
            std::strcpy(e.name, name);
        }
        w->model().redraw(1);
        w->activateWindow();
        QApplication::setActiveWindow(w);
        EXPECT_TRUE(QTest::qWaitForWindowActive(w));
        w->list()->setFocus();
        return w;
    }
    static int usedRows(PhoneBookWindow* w)
    {
        return static_cast<int>(std::count_if(w->model().entries().begin(), w->model().entries().end(),
                                              [](const DialEntry& e) { return e.valid != 0; }));
    }
};

TEST_F(EditorKeysTest, TheMainWindowsKeysWorkInAPhoneBookWindowOnceEachAndTheMenusShowThem)
{
    PhoneBookWindow* w = bookWindow();
    ASSERT_NE(w, nullptr);
    auto* menu = w->findChild<QMenu*>(QStringLiteral("contextMenu"));
    const std::pair<int, const char*> shown[] = {{kCopy, "copyAction"},   {kCut, "cutAction"},
                                                 {kPaste, "pasteAction"}, {kUndo, "undoAction"},
                                                 {kRedo, "redoAction"},   {kClearSelected, "clearAction"}};
    for (const auto& [id, name] : shown) {
        QAction* a = menu->findChild<QAction*>(QLatin1String(name));
        EXPECT_EQ(a->shortcut(), window->action(id)->shortcut()) << name;
        EXPECT_EQ(a->shortcutContext(), Qt::WidgetShortcut) << "shown only: the menu takes no key of its own";
    }
    EXPECT_EQ(window->action(kCopy)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_TRUE(window->action(kRedo)->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));

    ModalDriver find;
    find.expect(QStringLiteral("findReplaceDialog"), test::clickButton(QStringLiteral("closeButton")));
    QTest::keyClick(w->list(), Qt::Key_F7);
    EXPECT_TRUE(find.done()) << "F7 is the main window's accelerator, not the list's";

    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_F2}) {
        QString edited;
        ModalDriver driver;
        driver.expect(QStringLiteral("editEntryDialog"), [&](QWidget* d) {
            edited = d->findChild<QLineEdit*>(QStringLiteral("name"))->text();
            test::clickButton(QStringLiteral("cancelButton"))(d);
        });
        w->model().redraw(2);
        QTest::keyClick(w->list(), key);
        EXPECT_EQ(edited, QStringLiteral("Gamma")) << "the focused row; key " << key;
    }

    QTest::keyClick(w->list(), Qt::Key_Delete);
    EXPECT_EQ(usedRows(w), 2) << "one key, one Delete";
}

TEST_F(EditorKeysTest, UndoAndRedoByKeysAfterDeleteAndClearAll)
{
    PhoneBookWindow* w = bookWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(window->action(kUndo)->isEnabled());
    const struct
    {
        const char* name;
        std::function<void()> change;
        int usedAfter;
        QKeySequence redo;
    } cases[] = {
        {"Delete", [&] { QTest::keyClick(w->list(), Qt::Key_Delete); }, 2,
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
        {"Clear All", [&] { w->findChild<QPushButton*>(QStringLiteral("clearAllButton"))->click(); }, 0,
         QKeySequence(Qt::CTRL | Qt::Key_Y)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.change();
        ASSERT_EQ(usedRows(w), c.usedAfter);
        EXPECT_TRUE(window->action(kUndo)->isEnabled());
        auto* menu = w->findChild<QMenu*>(QStringLiteral("contextMenu"));
        menu->popup(QPoint());
        EXPECT_TRUE(menu->findChild<QAction*>(QStringLiteral("undoAction"))->isEnabled());
        EXPECT_FALSE(menu->findChild<QAction*>(QStringLiteral("redoAction"))->isEnabled());
        menu->hide();
        QTest::keySequence(w->list(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        EXPECT_EQ(usedRows(w), 3) << "the rows are back";
        EXPECT_FALSE(w->model().entry(1).modified) << "Beta, with its mark as it was";
        EXPECT_FALSE(window->action(kUndo)->isEnabled());
        EXPECT_TRUE(window->action(kRedo)->isEnabled());
        QTest::keySequence(w->list(), c.redo);
        EXPECT_EQ(usedRows(w), c.usedAfter) << "and go again";
        QTest::keySequence(w->list(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        ASSERT_EQ(usedRows(w), 3);
    }
}

} // namespace
} // namespace kestrel
