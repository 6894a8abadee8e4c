#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>
#include <QDrag>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QPoint>
#include <QPointer>
#include <QString>

#include "phonebook/ListRows.h"
#include "ui/ListTableModel.h"
#include "ui/phonebook/PhoneBookCommands.h"
#include "ui/phonebook/PhoneBookListView.h"

class QMenu;
class QPushButton;
class QTimer;
class QWidget;

namespace kestrel {

// The Qt action of a drop effect, and back.
Qt::DropAction toQtDropAction(DropEffect effect);
DropEffect fromQtDropAction(Qt::DropAction action);

// One entry of a list's context menu; a null name makes a separator.
struct ListMenuItem
{
    int textId = 0;
    const char* name = nullptr;
    int command = 0;
};

// A command of an editor window and what it does.
struct ListCommand
{
    int id = 0;
    std::function<void()> run;
};

// What an editor window (phone book or SMS) tells the driver of its list.
struct EditorListSetup
{
    QString format; // the MIME format of the clipboard payload and of drags
    int columns = 0;
    std::function<int()> rows;                        // the rows in use
    std::function<QString(int row, int column)> text; // a cell's text (the driver sets it)
    int (*titleId)(int column) = nullptr;             // the string-table number of a column's header
    Qt::DropActions dragActions;                      // what a drag from the list offers
    std::vector<ListMenuItem> menu;                   // the context menu over a row
    int editCommand = 0;                              // what a double click runs
    std::function<void(int)> run;                     // runs a command of the window (handleCommand)
    std::vector<ListCommand> commands;                // the window's own commands (see runCommand)
    int readCommand = 0;                              // what create's read mode 1 runs
    int openCommand = 0;                              // what create's read mode 2 runs
    // After the list's own change of the focused row, a drag, a drop or a command (may be empty).
    std::function<void()> changed;
};

// The parts of the list plumbing that do not depend on the row model: the Qt list and its table,
// the context menu, the drag auto-scroll timer and the window's command buttons.
class EditorListParts : protected PhoneBookListHandler
{
public:
    PhoneBookListView* list() const { return m_list; }
    ListTableModel* table() const { return m_table; }
    // While set, changes of the Qt selection are not taken over by the model (the window is
    // showing the model's own).
    bool syncing() const { return m_syncing; }
    // A push button of the window that runs `command` (not the default button).
    QPushButton* commandButton(int textId, const char* name, int command);
    // readMode of EditorWindow::create: 1 runs the read command, 2 the open command, anything
    // else nothing.
    void runStartCommand(int readMode);

protected:
    EditorListParts(QWidget* window, EditorListSetup setup);
    ~EditorListParts() override;

    // The window's own command of this id, if it has one; false when not.
    bool runOwnCommand(int id) const;
    // Closing the window asks once: a close that has begun is not asked again.
    bool confirmCloseOnce(const std::function<bool()>& ask);

    void listCommand(int id) override { m_setup.run(id); }
    // Enter or F2: the focused row alone selected, then the edit command, as a double click.
    void listEdit() override;
    void changed();
    // The context menu's entry that runs `command`; null when it has none.
    QAction* menuAction(int command) const;
    // Before the context menu shows: the state of its Undo and Redo.
    virtual void showHistoryState() {}
    // The payload of the list's own format in drag or clipboard data; none without it.
    std::optional<QByteArray> payloadOf(const QMimeData* data) const;
    QMimeData* mimeData(const QByteArray& payload) const;
    // Copy / Cut: the payload and its text form (PC text, carried as UTF-8 text/plain).
    void setClipboard(const QByteArray& payload, std::string_view pcText) const;
    // What Paste finds on the clipboard: the payload, else (clipboardText) the text as PC text.
    std::optional<QByteArray> clipboardPayload() const;
    std::optional<std::string> clipboardText() const;
    // The Qt list shows these selected rows and this focused row (-1: none).
    void showSelection(const std::vector<int>& rows, int focused);
    // A drag rests at m_dragPoint: the list scrolls near its top or bottom edge.
    void dragScroll();
    void startScrolling();
    void stopScrolling();

    QWidget* m_window;
    EditorListSetup m_setup;
    ListTableModel* m_table;
    PhoneBookListView* m_list;
    QMenu* m_menu = nullptr;
    std::map<int, QAction*> m_menuActions;
    QTimer* m_scrollTimer = nullptr;
    QPoint m_dragPoint;
    DropEffect m_dragEffect = DropEffect::None; // what the last drag-over showed
    bool m_syncing = false;
    bool m_closing = false;
};

// What the list of an editor window does between the Qt list and the row model: the selection
// both ways, the rows' commands of the list keys and context menu, the clipboard with the list's
// own format and UTF-8 text, and drag and drop with auto-scroll. Model is a PhoneBookModel or an
// SmsListModel (an EditorRows with rowTexts, copySelection, pastePayload, pasteText, startDrag,
// dropEffect and drop).
template <typename Model>
class EditorListDriver final : public EditorListParts
{
public:
    EditorListDriver(Model& model, QWidget* window, EditorListSetup setup)
        : EditorListParts(window, withTexts(model, std::move(setup))), m_model(model)
    {
        connectSelection();
    }

    // The model's redraw request (see EditorListView::redraw): rows first..last shown again, row
    // `select` (unless -1) selected, focused and scrolled into view.
    void redraw(int select, int first, int last)
    {
        m_syncing = true;
        m_table->refresh(first, last);
        m_syncing = false;
        if (select >= 0 && select < m_table->rowCount()) {
            m_model.clearSelection();
            m_model.setSelected(select, true);
            m_model.setFocusedRow(select);
        }
        selectionFromModel();
        if (select >= 0)
            m_list->scrollRowIntoView(select);
    }

    // The Qt list shows the model's selection and focused row.
    void selectionFromModel()
    {
        if (m_syncing)
            return;
        m_syncing = true;
        showSelection(m_model.selectedRows(), m_model.focusedRow());
        m_syncing = false;
    }

    // A command of the window: one of its own, else one both kinds of list run alike; then the list
    // shows the model's selection, whatever the command did to it. Unknown ids are ignored.
    // Whatever one command changes of the rows (Insert with the edit dialog after it, a whole
    // replace, a file load) is one undo step; a card read or write is none.
    void runCommand(int id)
    {
        const typename Model::Change change(m_model);
        if (!runOwnCommand(id) && !runRowCommand(id))
            return;
        selectionFromModel();
        changed();
    }

    // Closing the window: the model's question, asked once.
    bool confirmClose()
    {
        return confirmCloseOnce([this] { return m_model.confirmClose(); });
    }

    // The context menu's Undo and Redo are enabled when there is a step to take.
    void showHistoryState() override
    {
        if (QAction* undo = menuAction(PhoneBookCommand::kUndo))
            undo->setEnabled(m_model.canUndo());
        if (QAction* redo = menuAction(PhoneBookCommand::kRedo))
            redo->setEnabled(m_model.canRedo());
    }

private:
    // The commands both kinds of list run alike (the list keys' ids, 2054-2061): Delete, Clear,
    // Select all, Cut, Copy and Paste. False for any other command.
    bool runRowCommand(int id)
    {
        using namespace PhoneBookCommand;
        switch (id) {
        case kDelete:
            m_model.deleteSelected();
            return true;
        case kClearSelected:
        case kClear:
            m_model.clearSelected();
            return true;
        case kSelectAll:
            m_model.selectAllUsed();
            return true;
        case kCut:
        case kCopy:
            if (const auto clip = m_model.copySelection(id == kCut))
                setClipboard(clip->payload, clip->text);
            return true;
        case kPaste:
            paste();
            return true;
        case kUndo:
            m_model.undo();
            return true;
        case kRedo:
            m_model.redo();
            return true;
        default:
            return false;
        }
    }

    static EditorListSetup withTexts(Model& model, EditorListSetup setup)
    {
        setup.text = [&model](int row, int column) { return model.rowTexts(row)[static_cast<std::size_t>(column)]; };
        return setup;
    }

    // The model follows the Qt list's selection and current row.
    void connectSelection()
    {
        QItemSelectionModel* sm = m_list->selectionModel();
        QObject::connect(sm, &QItemSelectionModel::selectionChanged, m_window, [this] {
            if (m_syncing)
                return;
            m_model.clearSelection();
            for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
                m_model.setSelected(index.row(), true);
        });
        QObject::connect(sm, &QItemSelectionModel::currentRowChanged, m_window, [this](const QModelIndex& current) {
            if (m_syncing)
                return;
            m_model.setFocusedRow(current.isValid() ? current.row() : -1);
            changed();
        });
    }

    void paste()
    {
        if (const std::optional<QByteArray> payload = clipboardPayload())
            m_model.pastePayload(*payload);
        else if (const std::optional<std::string> text = clipboardText())
            m_model.pasteText(*text);
    }

    void listStartDrag() override
    {
        const std::optional<QByteArray> payload = m_model.startDrag();
        if (!payload)
            return;
        auto* drag = new QDrag(m_list);
        drag->setMimeData(mimeData(*payload));
        const QPointer<QWidget> alive(m_window);
        const Qt::DropAction done = drag->exec(m_setup.dragActions, Qt::MoveAction);
        if (!alive)
            return;
        m_model.endDrag(fromQtDropAction(done));
        selectionFromModel();
        changed();
    }
    Qt::DropAction listDragOver(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint pos) override
    {
        const std::optional<QByteArray> payload = payloadOf(data);
        const int row = m_list->rowAtPoint(pos);
        const DropEffect effect =
            m_model.dropEffect(payload ? &*payload : nullptr, row, keys.testFlag(Qt::ControlModifier));
        m_list->setDropRow(effect != DropEffect::None ? row : -1);
        m_dragEffect = effect;
        m_dragPoint = pos;
        if (payload)
            startScrolling();
        return toQtDropAction(effect);
    }
    void listDragLeave() override { stopScrolling(); }
    // The drop ends with the effect the last drag-over showed, not the drag's proposed action
    // (Qt proposes Move whatever the target showed): a drop from another window is a copy and must
    // not free the source's rows. Nothing dropped (the overwrite declined, broken data) must not
    // count as a move either, or the source would free rows that never arrived.
    Qt::DropAction listDrop(const QMimeData* data, QPoint pos, Qt::DropAction) override
    {
        const DropEffect effect = m_dragEffect;
        stopScrolling();
        const std::optional<QByteArray> payload = payloadOf(data);
        const int row = m_list->rowAtPoint(pos);
        if (!payload || effect == DropEffect::None || row < 0)
            return Qt::IgnoreAction;
        const bool dropped = m_model.drop(*payload, row);
        selectionFromModel();
        changed();
        return dropped ? toQtDropAction(effect) : Qt::IgnoreAction;
    }

    Model& m_model;
};

} // namespace kestrel
