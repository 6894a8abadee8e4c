#pragma once

#include <QDialog>

#include "app/EditorKind.h"

namespace kestrel {

class AppState;
class ProgressSink;
class Prompter;

// What an editor window needs of the main window.
class EditorHost
{
public:
    virtual ~EditorHost() = default;
    virtual AppState& state() = 0;
    virtual Prompter& prompter() = 0;
    // The progress window card operations of editor windows show (CardOperation's sink); null
    // when there is none (work then goes on without a window).
    virtual ProgressSink* progress() { return nullptr; }
    // The current window of a kind (slot 0 of its registry), null when none is open.
    virtual class EditorWindow* currentEditor(EditorKind /*kind*/) const { return nullptr; }
    // Called by an editor window when it becomes the active window.
    virtual void OnEditorActivated(class EditorWindow* window) = 0;
    // Called by an editor window when it goes away (closed by its own button, by CloseAllEditors
    // or by the main window's destruction).
    virtual void OnEditorClosed(class EditorWindow* window) = 0;
    // Called by an editor window when what its Undo and Redo can do has changed.
    virtual void OnEditorHistoryChanged(class EditorWindow* /*window*/) {}
};

// An editor window as the main window sees it: a modeless dialog with a kind and a window number,
// which takes the commands the main window forwards to it.
class EditorWindow : public QDialog
{
    Q_OBJECT

public:
    EditorWindow(EditorKind kind, EditorHost& host, QWidget* parent);
    ~EditorWindow() override;

    EditorKind kind() const { return m_kind; }
    int windowNumber() const { return m_number; }
    EditorHost& host() { return m_host; }

    // Sets the window number (title " - [n]" with number + 1), shows the window and then, by read
    // mode, reads the card (1), opens a file (2) or leaves it empty (any other value).
    virtual void create(int number, int readMode) = 0;
    // A command forwarded by the main window (its own ids: 2053-2063, 2100, 1005, 40002, 40005,
    // 40006, 40008-40010 ...). Unknown ids are ignored.
    virtual void handleCommand(int id) = 0;
    // Whether closing would lose changes (CloseAllEditors asks once for all windows).
    virtual bool hasUnsavedChanges() const = 0;
    // Prints the window's list (Print Phone Book / Print Messages).
    virtual void printList() = 0;
    // Whether Undo has a change of the rows to take back / Redo an undone change to make again.
    virtual bool canUndo() const { return false; }
    virtual bool canRedo() const { return false; }
    // Closes without any question (after the main window's one question: Close All, Exit, its
    // close box, the application's quit).
    void closeWithoutAsking();

protected:
    void setWindowNumber(int number) { m_number = number; }
    // Tells the host; subclasses that reimplement these call the base.
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The window's own close button: ask (subclass decides) and close. Return false to stay open.
    virtual bool confirmClose() { return true; }

private:
    EditorKind m_kind;
    EditorHost& m_host;
    int m_number = -1;
    bool m_closingWithoutAsking = false;
    bool m_reportedClosed = false;
};

} // namespace kestrel
