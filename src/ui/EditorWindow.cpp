#include "ui/EditorWindow.h"

#include <QCloseEvent>
#include <QEvent>

namespace kestrel {

EditorWindow::EditorWindow(EditorKind kind, EditorHost& host, QWidget* parent)
    : QDialog(parent, Qt::Window), m_kind(kind), m_host(host)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
}

EditorWindow::~EditorWindow()
{
    if (!m_reportedClosed) {
        m_reportedClosed = true;
        m_host.OnEditorClosed(this);
    }
}

void EditorWindow::closeWithoutAsking()
{
    m_closingWithoutAsking = true;
    close();
}

void EditorWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        m_host.OnEditorActivated(this);
}

void EditorWindow::closeEvent(QCloseEvent* event)
{
    if (!m_closingWithoutAsking && !confirmClose()) {
        event->ignore();
        return;
    }
    event->accept();
    if (!m_reportedClosed) {
        m_reportedClosed = true;
        m_host.OnEditorClosed(this);
    }
}

} // namespace kestrel
