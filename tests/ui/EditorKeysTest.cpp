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
        int used = 0;
        for (const DialEntry& e : w->model().entries())
            used += e.valid != 0;
        return used;
    }

    std::unique_ptr<AppState> state;
    std::unique_ptr<QtPrompter> prompter;
    std::unique_ptr<MainWindow> main;
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
        EXPECT_EQ(a->shortcut(), main->action(id)->shortcut()) << name;
        EXPECT_EQ(a->shortcutContext(), Qt::WidgetShortcut) << "shown only: the menu takes no key of its own";
    }
    EXPECT_EQ(main->action(kCopy)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_TRUE(main->action(kRedo)->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));

    ModalDriver find;
    find.expect(QStringLiteral("findReplaceDialog"), clickButton(QStringLiteral("closeButton")));
    QTest::keyClick(w->list(), Qt::Key_F7);
    EXPECT_TRUE(find.done()) << "F7 is the main window's accelerator, not the list's";

    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_F2}) {
        QString edited;
        ModalDriver driver;
        driver.expect(QStringLiteral("editEntryDialog"), [&](QWidget* d) {
            edited = d->findChild<QLineEdit*>(QStringLiteral("name"))->text();
            clickButton(QStringLiteral("cancelButton"))(d);
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
        EXPECT_FALSE(w->model().entry(1).modified) << "Beta, with its mark as it was";
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
