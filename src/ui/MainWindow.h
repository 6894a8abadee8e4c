#pragma once

#include <functional>
#include <map>
#include <vector>

#include <QMainWindow>
#include <QPointer>

#include "app/EditorDesk.h"
#include "app/MainCommands.h"
#include "ui/EditorWindow.h"
#include "ui/ProgressDialog.h"

class QAction;
class QLabel;
class QSessionManager;
class QToolBar;

namespace kestrel {

class BannerWidget;
class StatePanel;

// The program's frame: menu bar, button bar (2001-2020), the accelerators, the painted banner with
// the state of things below it (StatePanel) and a status line, and the editor windows it owns.
// Commands open, cycle or create editor windows, forward to the active editor, run the PIN
// commands or call the hooks the rest of the program plugs in. Every action has
// the object name "cmd<id>", every bar button "button<id>".
class MainWindow final : public QMainWindow, public EditorHost
{
    Q_OBJECT

public:
    // Makes the editor windows of a kind; the window is created hidden, MainWindow registers it and
    // then calls EditorWindow::create(number, readMode).
    using EditorFactory = std::function<EditorWindow*(EditorKind, EditorHost&, QWidget*)>;
    // A command carried out by another part of the program (Setup, Country Codes, Telephone Card,
    // SIM information ...). Commands without a hook are shown disabled.
    using CommandHook = std::function<void(MainWindow&)>;

    MainWindow(AppState& state, Prompter& prompter, QWidget* parent = nullptr);
    ~MainWindow() override;

    void setEditorFactory(EditorKind kind, EditorFactory factory);
    void setCommandHook(int id, CommandHook hook);

    // EditorHost
    AppState& state() override { return m_state; }
    Prompter& prompter() override { return m_prompter; }
    ProgressSink* progress() override { return &m_progress; }
    void OnEditorActivated(EditorWindow* window) override;
    void OnEditorClosed(EditorWindow* window) override;
    void OnEditorHistoryChanged(EditorWindow* window) override;

    ProgressDialog& progressDialog() { return m_progress; }

    // Carries out a command of the menu, the button bar or an accelerator.
    void runCommand(int id);
    // Asks the open editor windows to close (one question when any holds unsaved changes). True
    // when none is left open.
    bool CloseAllEditors();
    // Exit: as CloseAllEditors, then the main window closes; a refusal keeps every window open.
    void exitProgram();
    // The menu and button state.
    void updateCommandState();

    // Shrinks the window to its menu and button bar; the mode ends when the user gives the window
    // another height.
    void enterToolbarMode();
    bool inToolbarMode() const { return m_toolbarMode; }
    int toolbarModeHeight() const;

    // The editor windows.
    EditorWindow* activeEditor() const;
    EditorWindow* currentEditor(EditorKind kind) const override;
    std::vector<EditorWindow*> editors(EditorKind kind) const;
    const EditorDesk& desk() const { return m_desk; }
    // Opens, cycles to or creates the editor a request names; the window now current, or null.
    EditorWindow* openEditor(const EditorRequest& request);

    QAction* action(int id) const;
    QToolBar* buttonBar() const { return m_buttons; }
    BannerWidget* banner() const { return m_banner; }
    // The state of things under the banner, and the status bar's line.
    StatePanel* statePanel() const { return m_panel; }
    QLabel* statusLine() const { return m_statusLine; }

    // The program information dialog, modal.
    void showAbout();

protected:
    void closeEvent(QCloseEvent* event) override;
    // The application's quit (QApplication::quit, the session manager's end of the session) asks
    // the one question of CloseAllEditors before Qt closes the windows one by one.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildMainArea();
    void refreshState();
    void buildMenus();
    void buildButtonBar();
    QAction* makeAction(int id, const QString& text);
    DeskSnapshot snapshot() const;
    EditorWindow* windowOf(EditorHandle handle) const;
    void activate(EditorWindow* window);
    // A new editor window goes one step on from the last one opened, never onto an open one.
    void placeNewEditor(EditorWindow& window);
    // The accelerators work in the editor window too.
    void shareAccelerators(EditorWindow& window);
    void forward(int id);
    void openFileButton();
    void runPinCommand(int id);
    void layoutBanner();
    // The one question of CloseAllEditors (asked only when a window holds unwritten changes).
    bool mayCloseEditors();
    void closeEditorsWithoutAsking();
    // The session manager asks before logging out: the one question, a refusal cancels the logout.
    void commitSessionData(QSessionManager& manager);

    AppState& m_state;
    Prompter& m_prompter;
    ProgressDialog m_progress;
    EditorDesk m_desk;
    std::vector<EditorWindow*> m_windows;
    std::map<EditorKind, EditorFactory> m_factories;
    std::map<int, CommandHook> m_hooks;
    std::map<int, QAction*> m_actions;
    QToolBar* m_buttons = nullptr;
    BannerWidget* m_banner = nullptr;
    StatePanel* m_panel = nullptr;
    QLabel* m_statusLine = nullptr;
    bool m_toolbarMode = false;
    bool m_exiting = false;
    // The session manager's question was answered Yes: its quit closes without asking again.
    bool m_sessionEndApproved = false;
    bool m_destroying = false;
};

} // namespace kestrel
