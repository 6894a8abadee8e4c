#include "ui/phonebook/PhoneBookListView.h"

#include <algorithm>

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>

#include "phonebook/DialClipboard.h"
#include "ui/MainMenus.h"
#include "ui/phonebook/PhoneBookCommands.h"

namespace kestrel {

PhoneBookListView::PhoneBookListView(QWidget* parent) : QTreeView(parent), m_entryFormat(QLatin1String(kDialClipFormat))
{
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false); // the target row itself is highlighted
    setDragDropMode(QAbstractItemView::DragDrop);
    // Scrolling during a drag follows the window's own rule, not the view's.
    setAutoScroll(false);
    header()->setSectionsMovable(false);
    header()->setSectionsClickable(true);
    header()->setStretchLastSection(true);
    connect(header(), &QHeaderView::sectionHandleDoubleClicked, this, &PhoneBookListView::fitColumn);
}

void PhoneBookListView::setDropRow(int row)
{
    if (row == m_dropRow)
        return;
    m_dropRow = row;
    viewport()->update();
}

int PhoneBookListView::rowAtPoint(QPoint pos) const
{
    const QModelIndex index = indexAt(pos);
    return index.isValid() ? index.row() : -1;
}

int PhoneBookListView::topRow() const
{
    const QModelIndex index = indexAt(QPoint(1, 1));
    return index.isValid() ? index.row() : 0;
}

int PhoneBookListView::rowsPerPage() const
{
    const int height = model() && model()->rowCount() > 0 ? sizeHintForRow(0) : 0;
    if (height <= 0)
        return 1;
    return std::max(1, viewport()->height() / height);
}

void PhoneBookListView::scrollToTop(int row)
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return;
    scrollTo(model()->index(row, 0), QAbstractItemView::PositionAtTop);
}

void PhoneBookListView::scrollRowIntoView(int row)
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return;
    scrollTo(model()->index(row, 0), QAbstractItemView::EnsureVisible);
}

void PhoneBookListView::fitColumn(int column)
{
    if (!model() || column < 0 || column >= model()->columnCount())
        return;
    const int widest = std::max(sizeHintForColumn(column), header()->sectionSizeHint(column));
    setColumnWidth(column, widest + 20);
}

void PhoneBookListView::keyPressEvent(QKeyEvent* event)
{
    // The commands the list's keys stand for; Enter and F2 edit.
    static constexpr int kKeyCommands[] = {
        PhoneBookCommand::kInsert,    PhoneBookCommand::kDelete, PhoneBookCommand::kClearSelected,
        PhoneBookCommand::kSelectAll, PhoneBookCommand::kCopy,   PhoneBookCommand::kCut,
        PhoneBookCommand::kPaste,     PhoneBookCommand::kUndo,   PhoneBookCommand::kRedo,
    };
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    const auto key = static_cast<Qt::Key>(event->key());
    if (m_handler && mods == Qt::NoModifier && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2)) {
        event->accept();
        m_handler->listEdit();
        return;
    }
    const QKeySequence pressed(QKeyCombination(mods, key));
    for (const int id : kKeyCommands) {
        if (m_handler && editorKeysOf(id).contains(pressed)) {
            event->accept();
            m_handler->listCommand(id);
            return;
        }
    }
    QTreeView::keyPressEvent(event);
}

void PhoneBookListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (index.row() != m_dropRow) {
        QTreeView::drawRow(painter, option, index);
        return;
    }
    QStyleOptionViewItem highlighted(option);
    highlighted.state |= QStyle::State_Selected;
    QTreeView::drawRow(painter, highlighted, index);
}

} // namespace kestrel
