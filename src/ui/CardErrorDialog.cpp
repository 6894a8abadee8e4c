#include "ui/CardErrorDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "ui/ReportPrinter.h"
#include "ui/UiText.h"

namespace kestrel {

CardErrorDialog::CardErrorDialog(AppState& state, const QString& text, QWidget* parent)
    : QDialog(parent), m_state(state), m_text(text)
{
    setObjectName(QStringLiteral("dialog239"));
    setWindowTitle(uiText(strId(sid::CardOperationError_239)));

    auto* icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical, nullptr, this).pixmap(size, size));
    icon->setAlignment(Qt::AlignTop);

    auto* label = new QLabel(displayText(text), this);
    label->setObjectName(QStringLiteral("errorText"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setMinimumWidth(label->fontMetrics().averageCharWidth() * 40);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* close = new QPushButton(uiText(strId(sid::Close_9327)), this);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* printButton = new QPushButton(uiText(strId(sid::Print_9328)), this);
    printButton->setObjectName(QStringLiteral("printButton"));
    printButton->setAutoDefault(false);
    connect(printButton, &QPushButton::clicked, this, [this] { print(); });

    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(label, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    buttons->addWidget(printButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

int CardErrorDialog::print()
{
    return ReportPrinter(m_state, this).PrintReport(m_text, windowTitle());
}

} // namespace kestrel
