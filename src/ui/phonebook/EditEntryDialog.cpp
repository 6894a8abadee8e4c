#include "ui/phonebook/EditEntryDialog.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/StringTable.h"
#include "ui/DialogButtons.h"
#include "ui/phonebook/PhoneBookHooks.h"

namespace kestrel {

namespace {

QLabel* labelFor(QWidget* parent, int textId, const char* name, QWidget* buddy)
{
    auto* label = new QLabel(StringTable::text(textId), parent);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(buddy);
    return label;
}

} // namespace

EditEntryDialog::EditEntryDialog(const EditFields& fields, Check check, QWidget* parent)
    : QDialog(parent), m_check(std::move(check)), m_item(new QLineEdit(fields.itemNumber, this)),
      m_name(new QLineEdit(fields.name, this)), m_number(new QLineEdit(fields.number, this)),
      m_dialingCode(new QPushButton(StringTable::text(9613), this))
{
    setObjectName(QStringLiteral("editEntryDialog"));
    setWindowTitle(StringTable::text(9611));
    m_item->setObjectName(QStringLiteral("itemNumber"));
    m_item->setMaxLength(4);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setMaxLength(std::max(0, fields.maxNameLength));
    m_number->setObjectName(QStringLiteral("number"));
    // A "+" and 60 digits; longer texts fail the number check anyway.
    m_number->setMaxLength(61);
    m_number->setMinimumWidth(220);
    m_dialingCode->setObjectName(QStringLiteral("dialingCodeButton"));
    m_dialingCode->setEnabled(static_cast<bool>(countryChooser()));
    connect(m_dialingCode, &QPushButton::clicked, this, &EditEntryDialog::chooseDialingCode);

    auto* form = new QFormLayout;
    form->addRow(labelFor(this, 1028, "itemNumberLabel", m_item), m_item);
    form->addRow(labelFor(this, 9612, "nameLabel", m_name), m_name);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(m_number, 1);
    numberRow->addWidget(m_dialingCode);
    form->addRow(labelFor(this, 1030, "numberLabel", m_number), numberRow);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(addOkCancel(this));
    m_name->setFocus();
}

QString EditEntryDialog::itemNumber() const
{
    return m_item->text();
}

QString EditEntryDialog::name() const
{
    return m_name->text();
}

QString EditEntryDialog::number() const
{
    return m_number->text();
}

void EditEntryDialog::accept()
{
    if (m_check && !m_check(itemNumber(), name(), number()))
        return;
    QDialog::accept();
}

void EditEntryDialog::chooseDialingCode()
{
    const CountryChooser& choose = countryChooser();
    if (!choose)
        return;
    const QString code = choose(this);
    if (!code.isEmpty())
        m_number->setText(PhoneBookModel::withDialingCode(m_number->text(), code));
}

} // namespace kestrel
