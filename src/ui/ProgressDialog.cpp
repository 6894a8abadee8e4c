#include "ui/ProgressDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/UiText.h"

namespace kestrel {

ProgressWindow::ProgressWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("dialog170"));
    setWindowModality(Qt::ApplicationModal);

    m_text = new QLabel(QStringLiteral("xxxxxxxxx"), this);
    m_text->setObjectName(QStringLiteral("progressText"));
    // Room for two lines, so that the window does not jump when the text grows.
    m_text->setMinimumHeight(m_text->fontMetrics().lineSpacing() * 2 + 4);
    m_text->setMinimumWidth(m_text->fontMetrics().averageCharWidth() * 45);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);

    m_abort = new QPushButton(uiText(strId(sid::Abort_9326)), this);
    m_abort->setObjectName(QStringLiteral("abortButton"));
    m_abort->setAutoDefault(false);
    connect(m_abort, &QPushButton::clicked, this, &ProgressWindow::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_abort);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
}

void ProgressWindow::reject()
{
    m_cancelRequested = true;
}

void ProgressWindow::closeEvent(QCloseEvent* event)
{
    // The close box asks for the abort like the button; the operation closes the window.
    if (event->spontaneous()) {
        m_cancelRequested = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

ProgressDialog::ProgressDialog(QWidget* parent) : m_parent(parent) {}

ProgressDialog::~ProgressDialog()
{
    delete m_window.data();
}

ProgressWindow* ProgressDialog::window()
{
    if (!m_window)
        m_window = new ProgressWindow(m_parent);
    return m_window;
}

bool ProgressDialog::open()
{
    ProgressWindow* w = window();
    if (!w)
        return false;
    w->clearCancel();
    w->m_text->setText(QStringLiteral("xxxxxxxxx"));
    w->m_bar->setValue(0);
    w->adjustSize();
    QRect around;
    if (m_parent && m_parent->isVisible())
        around = m_parent->frameGeometry();
    else if (w->screen())
        around = w->screen()->availableGeometry();
    if (around.isValid())
        w->move(around.center() - w->rect().center());
    w->show();
    w->raise();
    w->activateWindow();
    w->m_abort->setFocus();
    return w->isVisible();
}

void ProgressDialog::close()
{
    if (m_window)
        m_window->hide();
}

void ProgressDialog::setCaption(const QString& caption)
{
    if (m_window)
        m_window->setWindowTitle(displayText(caption));
}

void ProgressDialog::setText(const QString& text)
{
    if (m_window)
        m_window->m_text->setText(displayText(text));
}

void ProgressDialog::setPercent(int percent)
{
    if (m_window)
        m_window->m_bar->setValue(percent);
}

bool ProgressDialog::processEvents()
{
    // Only what is already queued; never waits. The modality keeps input away from every other
    // window of the program.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return cancelRequested();
}

bool ProgressDialog::cancelRequested() const
{
    return m_window && m_window->cancelRequested();
}

} // namespace kestrel
