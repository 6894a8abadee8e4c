#include "ui/check/CheckReportDialog.h"

#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/DialogButtons.h"
#include "ui/ReportPrinter.h"
#include "ui/UiText.h"

namespace kestrel {

namespace {

constexpr int kCaption = strId(sid::CheckSimCardReport_179); // "Kestrel! - Check SIM Card Report"
constexpr int kPrintReport = strId(sid::PrintReport_1116);   // "&Print Report"
constexpr int kClose = strId(sid::Close_9750);               // "&Close"
constexpr int kRepairErrors = strId(sid::RepairErrors_9751); // "&Repair Errors"

} // namespace

CheckReportDialog::CheckReportDialog(AppState& state, CheckReportForm form, QWidget* parent)
    : QDialog(parent), m_state(state), m_form(std::move(form)), m_report(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("dialog179"));
    setWindowTitle(uiText(kCaption));

    m_report->setObjectName(QStringLiteral("report1012"));
    m_report->setReadOnly(true);
    m_report->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_report->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const QFontMetricsF metrics(m_report->font());
    // The record numbers stand before the first tab, the findings after it.
    m_report->setTabStopDistance(metrics.averageCharWidth() * 6);
    m_report->setMinimumSize(static_cast<int>(metrics.averageCharWidth() * 64),
                             static_cast<int>(metrics.lineSpacing() * 20));

    m_toggle = addPushButton(this, m_form.toggleCaptionId(), "button3");
    QPushButton* printButton = addPushButton(this, kPrintReport, "button1116");
    QPushButton* close = addPushButton(this, kClose, "button2");
    QPushButton* repair = addPushButton(this, kRepairErrors, "button1");
    repair->setEnabled(m_form.repairEnabled());
    connect(m_toggle, &QPushButton::clicked, this, &CheckReportDialog::toggleDetails);
    connect(printButton, &QPushButton::clicked, this, &CheckReportDialog::print);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(repair, &QPushButton::clicked, this, [this] {
        if (m_form.repairEnabled())
            accept();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_toggle);
    buttons->addWidget(printButton);
    buttons->addStretch(1);
    buttons->addWidget(repair);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_report, 1);
    layout->addLayout(buttons);
    close->setFocus();
    showForm();
}

void CheckReportDialog::showForm()
{
    m_report->setPlainText(displayText(m_form.shownText()));
    m_toggle->setText(StringTable::text(m_form.toggleCaptionId()));
}

void CheckReportDialog::toggleDetails()
{
    m_form.toggle();
    showForm();
}

void CheckReportDialog::print()
{
    ReportPrinter(m_state, this)
        .PrintReport(m_form.shownText(), CheckReportForm::printTitle(QDateTime::currentDateTime()));
}

} // namespace kestrel
