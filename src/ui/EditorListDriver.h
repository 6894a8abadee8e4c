#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <vector>

#include <QApplication>
#include <QByteArray>
#include <QClipboard>
#include <QDrag>
#include <QItemSelection>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>
#include <QPoint>
#include <QPointer>
#include <QTimer>

#include "base/StringTable.h"
#include "codec/PcText.h"
#include "phonebook/ListRows.h"
#include "phonebook/PhoneBookModel.h"
#include "ui/ListTableModel.h"
#include "ui/phonebook/PhoneBookListView.h"

namespace kestrel {

// How often the list scrolls while a drag rests near its top or bottom edge.
inline constexpr int kDragScrollInterval = 100;

inline Qt::DropAction toQtDropAction(DropEffect effect)
{
    switch (effect) {
    case DropEffect::Copy:
        return Qt::CopyAction;
    case DropEffect::Move:
        return Qt::MoveAction;
    case DropEffect::None:
        break;
    }
    return Qt::IgnoreAction;
}

// One entry of a list's context menu; a null name makes a separator.
struct ListMenuItem
{
    int textId = 0;
    const char* name = nullptr;
    int command = 0;
};

// The context menu of an editor window's list (object name "contextMenu"); each action runs its
// command.
inline QMenu* buildListMenu(QWidget* owner, std::initializer_list<ListMenuItem> items, std::function<void(int)> run)
{
    auto* menu = new QMenu(owner);
    menu->setObjectName(QStringLiteral("contextMenu"));
    for (const ListMenuItem& item : items) {
        if (!item.name) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(StringTable::text(item.textId));
        action->setObjectName(QLatin1String(item.name));
        QObject::connect(action, &QAction::triggered, owner, [run, id = item.command] { run(id); });
    }
    return menu;
}

// What the list of an editor window (phone book or SMS) does between the Qt list and the row model:
// the selection both ways, the clipboard with the list's private format and UTF-8 text, and drag
// and drop with auto-scroll. Model is a PhoneBookModel or an SmsListModel (an EditorRows with
// copySelection, pastePayload, pasteText, startDrag, dropEffect and drop).
template <typename Model>
class EditorListDriver
{
public:
    EditorListDriver(Model& model, PhoneBookListView* list, ListTableModel* table, QString format, QObject* owner)
        : m_model(model), m_list(list), m_table(table), m_format(std::move(format)), m_scrollTimer(new QTimer(owner))
    {
        m_scrollTimer->setInterval(kDragScrollInterval);
        QObject::connect(m_scrollTimer, &QTimer::timeout, owner, [this] { dragScroll(); });
    }

    // While set, changes of the Qt selection are not taken over by the model (the window is
    // showing the model's own, or going away).
    bool syncing() const { return m_syncing; }
    void setSyncing(bool syncing) { m_syncing = syncing; }

    // The model follows the Qt list's selection and current row; focusMoved runs after the current
    // row changed.
    void connectSelection(QObject* owner, std::function<void()> focusMoved = {})
    {
        QItemSelectionModel* sm = m_list->selectionModel();
        QObject::connect(sm, &QItemSelectionModel::selectionChanged, owner, [this] { selectionToModel(); });
        QObject::connect(sm, &QItemSelectionModel::currentRowChanged, owner,
                         [this, focusMoved](const QModelIndex& current) {
                             if (m_syncing)
                                 return;
                             m_model.setFocusedRow(current.isValid() ? current.row() : -1);
                             if (focusMoved)
                                 focusMoved();
                         });
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
        QItemSelection selection;
        const std::vector<int> rows = m_model.selectedRows();
        const int lastColumn = m_table->columnCount() - 1;
        for (std::size_t i = 0; i < rows.size();) {
            std::size_t j = i;
            while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
                ++j;
            selection.select(m_table->index(rows[i], 0), m_table->index(rows[j], lastColumn));
            i = j + 1;
        }
        QItemSelectionModel* sm = m_list->selectionModel();
        sm->select(selection, QItemSelectionModel::ClearAndSelect);
        const int focused = m_model.focusedRow();
        if (focused >= 0 && focused < m_table->rowCount())
            sm->setCurrentIndex(m_table->index(focused, 0), QItemSelectionModel::NoUpdate);
        else
            sm->clearCurrentIndex();
        m_syncing = false;
    }
    // The model takes the Qt list's selection.
    void selectionToModel()
    {
        if (m_syncing)
            return;
        m_model.clearSelection();
        for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
            m_model.setSelected(index.row(), true);
    }

    // Copy / Cut: the payload and its text form (PC text, carried as UTF-8 text/plain).
    void copyToClipboard(bool cut)
    {
        const auto clip = m_model.copySelection(cut);
        if (!clip)
            return;
        auto* data = new QMimeData;
        data->setData(m_format, clip->payload);
        std::string_view text = clip->text;
        while (!text.empty() && text.back() == '\0')
            text.remove_suffix(1);
        data->setText(pcTextToUnicode(text));
        QApplication::clipboard()->setMimeData(data);
    }
    // Paste: the payload when the clipboard holds one, else its text.
    void pasteFromClipboard()
    {
        const QMimeData* data = QApplication::clipboard()->mimeData();
        if (!data)
            return;
        if (data->hasFormat(m_format))
            m_model.pastePayload(data->data(m_format));
        else if (data->hasText())
            m_model.pasteText(unicodeToPcText(data->text()));
    }

    // The start of a drag of the selected rows; false when the window went away meanwhile.
    bool startDrag(QObject* window)
    {
        const std::optional<QByteArray> payload = m_model.startDrag();
        if (!payload)
            return true;
        auto* data = new QMimeData;
        data->setData(m_format, *payload);
        auto* drag = new QDrag(m_list);
        drag->setMimeData(data);
        const QPointer<QObject> alive(window);
        const Qt::DropAction done = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
        if (!alive)
            return false;
        m_model.endDrag(done == Qt::MoveAction ? DropEffect::Move
                                               : (done == Qt::CopyAction ? DropEffect::Copy : DropEffect::None));
        selectionFromModel();
        return true;
    }
    Qt::DropAction dragOver(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint pos)
    {
        const bool hasRows = data && data->hasFormat(m_format);
        const int row = m_list->rowAtPoint(pos);
        const QByteArray payload = hasRows ? data->data(m_format) : QByteArray();
        const DropEffect effect =
            m_model.dropEffect(hasRows ? &payload : nullptr, row, keys.testFlag(Qt::ControlModifier));
        m_list->setDropRow(effect != DropEffect::None ? row : -1);
        m_dragEffect = effect;
        m_dragPoint = pos;
        if (hasRows) {
            dragScroll();
            m_scrollTimer->start();
        }
        return toQtDropAction(effect);
    }
    void dragLeave()
    {
        m_scrollTimer->stop();
        m_list->setDropRow(-1);
        m_dragEffect = DropEffect::None;
    }
    // The drop ends with the effect the last drag-over showed, not the drag's proposed action
    // (Qt proposes Move whatever the target showed): a drop from another window is a copy and must
    // not free the source's rows. Nothing dropped (the overwrite declined, broken data) must not
    // count as a move either, or the source would free rows that never arrived.
    Qt::DropAction drop(const QMimeData* data, QPoint pos)
    {
        const DropEffect effect = m_dragEffect;
        dragLeave();
        if (!data || !data->hasFormat(m_format) || effect == DropEffect::None)
            return Qt::IgnoreAction;
        const int row = m_list->rowAtPoint(pos);
        if (row < 0)
            return Qt::IgnoreAction;
        const bool dropped = m_model.drop(data->data(m_format), row);
        selectionFromModel();
        return dropped ? toQtDropAction(effect) : Qt::IgnoreAction;
    }

private:
    void dragScroll()
    {
        const std::optional<int> target =
            PhoneBookModel::dragScrollTarget(m_dragPoint.y(), 0, m_list->viewport()->height(), m_list->topRow(),
                                             m_list->rowsPerPage(), m_table->rowCount());
        if (!target)
            return;
        m_list->scrollRowIntoView(*target);
        if (m_list->dropRow() >= 0)
            m_list->setDropRow(m_list->rowAtPoint(m_dragPoint));
    }

    Model& m_model;
    PhoneBookListView* m_list;
    ListTableModel* m_table;
    QString m_format;
    QTimer* m_scrollTimer;
    QPoint m_dragPoint;
    DropEffect m_dragEffect = DropEffect::None;
    bool m_syncing = false;
};

} // namespace kestrel
