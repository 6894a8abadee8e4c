#include <QDragEnterEvent>
#include <QMimeData>

#include "ui/phonebook/PhoneBookListView.h"

// Drag and drop on a phone book list: the view turns Qt's drag events into the steps of its
// PhoneBookListHandler (start, move over, leave, drop) and reports back the effect it decided.

namespace kestrel {

void PhoneBookListView::startDrag(Qt::DropActions)
{
    if (m_handler)
        m_handler->listStartDrag();
}

bool PhoneBookListView::dragOver(QDropEvent* event)
{
    const Qt::DropAction action =
        m_handler ? m_handler->listDragOver(event->mimeData(), event->modifiers(), event->position().toPoint())
                  : Qt::IgnoreAction;
    if (action == Qt::IgnoreAction) {
        event->ignore();
        return false;
    }
    event->setDropAction(action);
    event->accept();
    return true;
}

void PhoneBookListView::dragEnterEvent(QDragEnterEvent* event)
{
    // Entries entering over no row are still accepted, so that the moves over rows that follow
    // are reported too.
    if (!dragOver(event) && m_handler && event->mimeData() && event->mimeData()->hasFormat(m_entryFormat)) {
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
    }
}

void PhoneBookListView::dragMoveEvent(QDragMoveEvent* event)
{
    dragOver(event);
}

void PhoneBookListView::dragLeaveEvent(QDragLeaveEvent* event)
{
    if (m_handler)
        m_handler->listDragLeave();
    event->accept();
}

void PhoneBookListView::dropEvent(QDropEvent* event)
{
    const Qt::DropAction done =
        m_handler ? m_handler->listDrop(event->mimeData(), event->position().toPoint(), event->dropAction())
                  : Qt::IgnoreAction;
    if (done == Qt::IgnoreAction) {
        event->ignore();
        return;
    }
    event->setDropAction(done);
    event->accept();
}

} // namespace kestrel
