// The keyboard of the editor windows under the main window: its accelerators work in a phone book
// window, each key runs its command once, Enter and F2 edit, Ctrl+Z and Ctrl+Shift+Z / Ctrl+Y undo
// and redo; the menus show the keys.

#include <cstring>
#include <memory>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTest>

#include "GuiTest.h"
#include "ModalDriver.h"
#include "app/AppState.h"
#include "ui/MainWindow.h"
#include "ui/QtPrompter.h"
#include "ui/phonebook/CSezEdDlg.h"
#include "ui/phonebook/PhoneBookListView.h"

namespace kestrel {
namespace {

using namespace CommandId;
using test::clickButton;
using test::ModalDriver;

class EditorKeysTest : public test::GuiTest
{
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        state = std::make_unique<AppState>(
            std::make_unique<QSettings>(tempPath(QStringLiteral("settings.ini")), QSettings::IniFormat));
        state->settings().autoRead = 0;
        state->settings().confirm = 0;
        prompter = std::make_unique<QtPrompter>(*state);
        main = std::make_unique<MainWindow>(*state, *prompter);
        prompter->setParent(main.get());
        main->setEditorFactory(EditorKind::PhoneBook, [](EditorKind, EditorHost& host, QWidget* parent) {
            return new CSezEdDlg(host, parent);
        });
        main->show();
    }
    void TearDown() override
    {
        for (EditorWindow* w : main->editors(EditorKind::PhoneBook))
            w->closeWithoutAsking();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        prompter->setParent(nullptr);
        main.reset();
        prompter.reset();
        state.reset();
    }

    // A phone book window, active, holding Alpha, Beta and Gamma in rows 0-2 with row 1 selected.
    PhoneBookWindow* bookWindow()
    {
        main->runCommand(kEditPhoneBook);
        auto* w = dynamic_cast<PhoneBookWindow*>(main->activeEditor());
        EXPECT_NE(w, nullptr);
        if (!w)
            return nullptr;
        const char* names[] = {"Alpha", "Beta", "Gamma"};
        for (int row = 0; row < 3; ++row) {
            DialEntry& e = w->model().entry(row);
            e.valid = 1;
            std::strcpy(e.name, names[row]);
            std::strcpy(e.number, "123");
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
        int used = 0;
        for (const DialEntry& e : w->model().entries())
            used += e.valid != 0;
        return used;
    }

    std::unique_ptr<AppState> state;
    std::unique_ptr<QtPrompter> prompter;
    std::unique_ptr<MainWindow> main;
};

TEST_F(EditorKeysTest, TheMenusShowTheStandardKeys)
{
    PhoneBookWindow* w = bookWindow();
    ASSERT_NE(w, nullptr);
    auto* menu = w->findChild<QMenu*>(QStringLiteral("contextMenu"));
    ASSERT_NE(menu, nullptr);
    const struct
    {
        int mainId;
        const char* contextAction; // nullptr: not in the context menu
        QKeySequence key;
    } cases[] = {
        {kCopy, "copyAction", QKeySequence(Qt::CTRL | Qt::Key_C)},
        {kCut, "cutAction", QKeySequence(Qt::CTRL | Qt::Key_X)},
        {kPaste, "pasteAction", QKeySequence(Qt::CTRL | Qt::Key_V)},
        {kUndo, "undoAction", QKeySequence(Qt::CTRL | Qt::Key_Z)},
        {kRedo, "redoAction", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
        {kClearSelected, "clearAction", QKeySequence(Qt::CTRL | Qt::Key_Delete)},
        {kSelectAll, nullptr, QKeySequence(Qt::CTRL | Qt::Key_A)},
        {kDeleteItem, nullptr, QKeySequence(Qt::Key_Delete)},
        {kInsertItem, nullptr, QKeySequence(Qt::Key_Insert)},
        {kFindReplace, nullptr, QKeySequence(Qt::Key_F7)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mainId);
        ASSERT_NE(main->action(c.mainId), nullptr);
        EXPECT_TRUE(main->action(c.mainId)->shortcuts().contains(c.key));
        EXPECT_TRUE(w->actions().contains(main->action(c.mainId))) << "the window takes the main window's keys";
        if (c.contextAction) {
            QAction* a = menu->findChild<QAction*>(QLatin1String(c.contextAction));
            ASSERT_NE(a, nullptr);
            EXPECT_TRUE(a->shortcuts().contains(c.key));
            EXPECT_EQ(a->shortcutContext(), Qt::WidgetShortcut) << "shown only: the menu takes no key of its own";
        }
    }
    EXPECT_TRUE(main->action(kRedo)->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
    EXPECT_EQ(menu->findChild<QAction*>(QStringLiteral("editAction"))->shortcut(), QKeySequence(Qt::Key_F2));
}

TEST_F(EditorKeysTest, F7InAPhoneBookWindowOpensFindAndDeleteRunsOnce)
{
    PhoneBookWindow* w = bookWindow();
    ASSERT_NE(w, nullptr);
    ModalDriver driver;
    driver.expect(QStringLiteral("findReplaceDialog"), clickButton(QStringLiteral("closeButton")));
    QTest::keyClick(w->list(), Qt::Key_F7);
    EXPECT_TRUE(driver.done()) << "F7 is the main window's accelerator, not the list's";

    QTest::keyClick(w->list(), Qt::Key_Delete);
    EXPECT_EQ(usedRows(w), 2) << "one key, one Delete";
    EXPECT_EQ(w->model().entry(1).name, std::string("Gamma"));
}

TEST_F(EditorKeysTest, EnterAndF2EditTheFocusedRow)
{
    PhoneBookWindow* w = bookWindow();
    ASSERT_NE(w, nullptr);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_F2}) {
        SCOPED_TRACE(key);
        QString shown;
        ModalDriver driver;
        driver.expect(QStringLiteral("editEntryDialog"), [&](QWidget* d) {
            shown = d->findChild<QLineEdit*>(QStringLiteral("name"))->text();
            clickButton(QStringLiteral("cancelButton"))(d);
        });
        w->model().redraw(2);
        QTest::keyClick(w->list(), key);
        EXPECT_TRUE(driver.done());
        EXPECT_EQ(shown, QStringLiteral("Gamma"));
    }
}

TEST_F(EditorKeysTest, UndoAndRedoByKeysAfterDeleteAndClearAll)
{
    PhoneBookWindow* w = bookWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(main->action(kUndo)->isEnabled());
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
        EXPECT_TRUE(main->action(kUndo)->isEnabled());
        QTest::keySequence(w->list(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        EXPECT_EQ(usedRows(w), 3) << "the rows are back";
        EXPECT_EQ(w->model().entry(1).name, std::string("Beta"));
        EXPECT_FALSE(w->model().entry(1).modified) << "with their marks as they were";
        EXPECT_FALSE(main->action(kUndo)->isEnabled());
        EXPECT_TRUE(main->action(kRedo)->isEnabled());
        QTest::keySequence(w->list(), c.redo);
        EXPECT_EQ(usedRows(w), c.usedAfter) << "and go again";
        QTest::keySequence(w->list(), QKeySequence(Qt::CTRL | Qt::Key_Z));
        ASSERT_EQ(usedRows(w), 3);
    }
}

} // namespace
} // namespace kestrel
