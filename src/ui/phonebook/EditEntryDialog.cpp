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
      m_dialingCode(new QPushButton(StringTable::text(sid::DialingCode_9613), this)), m_stored(new QLabel(this)),
      m_alphaLength(fields.alphaLength), m_unicodeNames(fields.unicodeNames)
{
    setObjectName(QStringLiteral("editEntryDialog"));
    setWindowTitle(StringTable::text(sid::EditPhoneBookEntry_9611));
    m_item->setObjectName(QStringLiteral("itemNumber"));
    m_item->setMaxLength(4);
    m_name->setObjectName(QStringLiteral("name"));
    m_name->setMaxLength(std::max(0, fields.maxNameLength));
    m_number->setObjectName(QStringLiteral("number"));
    // A "+" and 60 digits with room for the blanks, hyphens and brackets people write between them;
    // longer texts fail the number check anyway.
    m_number->setMaxLength(90);
    m_number->setMinimumWidth(220);
    m_dialingCode->setObjectName(QStringLiteral("dialingCodeButton"));
    m_dialingCode->setEnabled(static_cast<bool>(countryChooser()));
    connect(m_dialingCode, &QPushButton::clicked, this, &EditEntryDialog::chooseDialingCode);

    auto* form = new QFormLayout;
    form->addRow(labelFor(this, sid::ItemNr_1028, "itemNumberLabel", m_item), m_item);
    m_stored->setObjectName(QStringLiteral("storedName"));
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(m_name, 1);
    nameRow->addWidget(m_stored);
    form->addRow(labelFor(this, sid::Name_9612, "nameLabel", m_name), nameRow);
    connect(m_name, &QLineEdit::textChanged, this, &EditEntryDialog::showStoredName);
    showStoredName(m_name->text());
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(m_number, 1);
    numberRow->addWidget(m_dialingCode);
    form->addRow(labelFor(this, sid::PhoneNumber_1030, "numberLabel", m_number), numberRow);

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

void EditEntryDialog::showStoredName(const QString& name)
{
    // Shown only while the card would hold the name otherwise than typed.
    const QString note = PhoneBookModel::nameNote(name, m_alphaLength, m_unicodeNames);
    m_stored->setText(note);
    m_stored->setVisible(!note.isEmpty());
}

QString EditEntryDialog::storedNameText() const
{
    return m_stored->isVisibleTo(this) ? m_stored->text() : QString();
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
