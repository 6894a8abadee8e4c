#include "ui/AboutDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QtGlobal>

#include "ui/CommandIcons.h"
#include "ui/UiText.h"

namespace kestrel {

namespace {

QLabel* textLabel(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

} // namespace

QString AboutDialog::version()
{
    return QStringLiteral(KESTREL_VERSION);
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(uiText(strId(sid::AboutKestrel_9333)));

    auto* icon = new QLabel(this);
    icon->setPixmap(CommandIcons::drawnAppIcon(64));
    icon->setAlignment(Qt::AlignTop);

    QLabel* name = textLabel(uiText(strId(sid::Kestrel_9300)), QStringLiteral("programName"), this);
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    name->setFont(big);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(textLabel(uiText(strId(sid::Version_9334)).arg(version()), QStringLiteral("version"), this));
    texts->addWidget(textLabel(uiText(strId(sid::ADesktopEditorForGsm_9335)), QStringLiteral("description"), this));
    texts->addWidget(textLabel(uiText(strId(sid::BuiltWithQtRunningOn_9336))
                                   .arg(QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion())),
                               QStringLiteral("qtVersion"), this));
    texts->addWidget(
        textLabel(uiText(strId(sid::ThisProgramComesWithAbsolutely_9337)), QStringLiteral("licence"), this));

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(uiText(strId(sid::Ok_9324)), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 60);
}

void AboutDialog::showForStartup(int milliseconds)
{
    m_closeOnClick = true;
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    show();
    QTimer::singleShot(milliseconds, this, &QDialog::accept);
}

void AboutDialog::mousePressEvent(QMouseEvent* event)
{
    if (m_closeOnClick) {
        accept();
        return;
    }
    QDialog::mousePressEvent(event);
}

} // namespace kestrel
