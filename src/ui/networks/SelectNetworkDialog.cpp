#include "ui/networks/SelectNetworkDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "base/StringTable.h"
#include "ui/DialogButtons.h"

namespace kestrel {

namespace {

constexpr int kCaption = strId(sid::SelectNetwork_177);       // "Kestrel! - Select Network"
constexpr int kNetworkLabel = strId(sid::SelectNetwork_9675); // "Select network: "
constexpr int kMccLabel = strId(sid::Mcc_9676);               // "MCC : "
constexpr int kMncLabel = strId(sid::Mnc_9677);               // "MNC : "
constexpr int kOk = strId(sid::Ok_9614);                      // "OK"
constexpr int kClose = strId(sid::Close_9520);                // "Close"

} // namespace

SelectNetworkDialog::SelectNetworkDialog(const QString& mcc, const QString& mnc, QWidget* parent)
    : QDialog(parent), m_form(mcc, mnc)
{
    setObjectName(QStringLiteral("selectNetworkDialog"));
    setWindowTitle(StringTable::text(kCaption));

    m_operators = new QComboBox(this);
    m_operators->setObjectName(QStringLiteral("combo1089"));
    m_operators->addItems(SelectNetworkForm::operatorTexts());
    m_operators->setMaxVisibleItems(20);
    m_mcc = new QLineEdit(mcc, this);
    m_mcc->setObjectName(QStringLiteral("edit1090"));
    m_mnc = new QLineEdit(mnc, this);
    m_mnc->setObjectName(QStringLiteral("edit1091"));
    m_operators->setCurrentIndex(m_form.selected());

    auto* fields = new QFormLayout;
    fields->addRow(addLabel(this, kNetworkLabel, "label1089", m_operators), m_operators);
    fields->addRow(addLabel(this, kMccLabel, "label1090", m_mcc), m_mcc);
    fields->addRow(addLabel(this, kMncLabel, "label1091", m_mnc), m_mnc);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(addOkCancel(this, kOk, kClose));

    connect(m_mcc, &QLineEdit::textChanged, this, &SelectNetworkDialog::fieldsEdited);
    connect(m_mnc, &QLineEdit::textChanged, this, &SelectNetworkDialog::fieldsEdited);
    connect(m_operators, &QComboBox::activated, this, &SelectNetworkDialog::operatorChosen);
}

std::optional<std::pair<QString, QString>> SelectNetworkDialog::ask(const QString& mcc, const QString& mnc,
                                                                    QWidget* parent)
{
    SelectNetworkDialog dialog(mcc, mnc, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return std::make_pair(dialog.m_mcc->text(), dialog.m_mnc->text());
}

void SelectNetworkDialog::fieldsEdited()
{
    m_form.setFields(m_mcc->text(), m_mnc->text());
    m_operators->setCurrentIndex(m_form.selected());
}

void SelectNetworkDialog::operatorChosen(int index)
{
    m_form.chooseOperator(index);
    // Filling the fields is no edit of them: the choice stays as it was made.
    const QSignalBlocker mccBlocker(m_mcc);
    const QSignalBlocker mncBlocker(m_mnc);
    m_mcc->setText(m_form.mcc());
    m_mnc->setText(m_form.mnc());
    m_operators->setCurrentIndex(m_form.selected());
}

} // namespace kestrel
