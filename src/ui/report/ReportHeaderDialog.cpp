#include "ui/report/ReportHeaderDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "ui/DialogButtons.h"
#include "ui/MainWindow.h"
#include "ui/UiText.h"

namespace kestrel {

namespace {

constexpr int kCaption = strId(sid::PrintHeaderDefinition_9765); // "Kestrel! - Print Header Definition"
constexpr int kShopGroup = strId(sid::Shop_9769);                // "Shop"

// The fields' object names, in the form's order.
constexpr const char* kNames[ReportHeaderForm::FieldCount] = {"shopName", "address",     "phone",  "fax",
                                                              "email",    "salesperson", "comment"};

} // namespace

ReportHeaderDialog::ReportHeaderDialog(AppState& state, QWidget* parent)
    : QDialog(parent), m_state(state), m_form(state)
{
    setObjectName(QStringLiteral("printHeaderDialog"));
    setWindowTitle(uiText(kCaption));
    auto* shop = new QGroupBox(uiText(kShopGroup), this);
    shop->setObjectName(QStringLiteral("shopGroup"));
    auto* shopForm = new QFormLayout(shop);
    auto* form = new QFormLayout;
    for (int f = 0; f < ReportHeaderForm::FieldCount; ++f) {
        const auto field = static_cast<ReportHeaderForm::Field>(f);
        QWidget* owner = field <= ReportHeaderForm::Email ? static_cast<QWidget*>(shop) : this;
        auto* edit = new QLineEdit(m_form.value(field), owner);
        edit->setObjectName(QLatin1String(kNames[f]));
        edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 40);
        QFormLayout* rows = field <= ReportHeaderForm::Email ? shopForm : form;
        rows->addRow(addLabel(owner, ReportHeaderForm::labelId(field), "", edit), edit);
        m_edits[static_cast<std::size_t>(f)] = edit;
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(shop);
    layout->addLayout(form);
    layout->addWidget(addOkCancel(this, sid::Ok_9324, sid::Cancel_9325)); // "&OK", "&Cancel"
}

void ReportHeaderDialog::accept()
{
    for (int f = 0; f < ReportHeaderForm::FieldCount; ++f)
        m_form.setValue(static_cast<ReportHeaderForm::Field>(f), m_edits[static_cast<std::size_t>(f)]->text());
    m_form.store(m_state);
    QDialog::accept();
}

void editReportHeader(MainWindow& window)
{
    ReportHeaderDialog dialog(window.state(), &window);
    dialog.exec();
}

} // namespace kestrel
