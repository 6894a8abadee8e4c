#include "ui/phonebook/PhoneBookProgress.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/StringTable.h"

namespace kestrel {

namespace {

// Escape and the close box only raise the abort flag; the card work closes the window.
class ProgressWindow final : public QDialog
{
public:
    ProgressWindow(QWidget* parent, bool& abort) : QDialog(parent), m_abort(abort) {}
    void reject() override { m_abort = true; }

private:
    bool& m_abort;
};

} // namespace

PhoneBookProgress::PhoneBookProgress(QWidget* parent)
{
    auto* dialog = new ProgressWindow(parent, m_abort);
    m_dialog = dialog;
    dialog->setObjectName(QStringLiteral("phoneBookProgress"));
    dialog->setWindowModality(Qt::ApplicationModal);
    m_text = new QLabel(dialog);
    m_text->setObjectName(QStringLiteral("progressText"));
    m_text->setMinimumWidth(320);
    m_bar = new QProgressBar(dialog);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setRange(0, 100);
    auto* abort = new QPushButton(StringTable::text(9618), dialog);
    abort->setObjectName(QStringLiteral("abortButton"));
    QObject::connect(abort, &QPushButton::clicked, dialog, [this] { m_abort = true; });

    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addWidget(abort, 0, Qt::AlignHCenter);
}

PhoneBookProgress::~PhoneBookProgress()
{
    delete m_dialog.data();
}

bool PhoneBookProgress::open()
{
    if (!m_dialog)
        return false;
    m_abort = false;
    m_bar->setValue(0);
    m_dialog->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
}

void PhoneBookProgress::close()
{
    if (m_dialog)
        m_dialog->hide();
}

void PhoneBookProgress::setCaption(const QString& caption)
{
    if (m_dialog)
        m_dialog->setWindowTitle(caption);
}

void PhoneBookProgress::setText(const QString& text)
{
    if (m_dialog)
        m_text->setText(text);
}

void PhoneBookProgress::setPercent(int percent)
{
    if (m_dialog)
        m_bar->setValue(percent);
}

bool PhoneBookProgress::processEvents()
{
    // While the window is application-modal the only input the event loop can deliver here is a
    // press of Abort, Escape or the close box.
    QCoreApplication::processEvents();
    const bool abort = m_abort;
    m_abort = false;
    return abort;
}

} // namespace kestrel
