#include "ui/sms/SmsDetailsDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "base/StringTable.h"
#include "ui/DialogButtons.h"

namespace kestrel {

SmsDetailsDialog::SmsDetailsDialog(SmsEntry& entry, Prompter& prompter, PhoneBookPick pick, QWidget* parent)
    : QDialog(parent), m_form(entry, prompter, std::move(pick)), m_status(new QComboBox(this)),
      m_when(new QLineEdit(this)), m_centre(new QLineEdit(this)),
      m_fromBook(new QPushButton(StringTable::text(sid::FromPhoneBook_9652), this))
{
    setObjectName(QStringLiteral("smsDetailsDialog"));
    setWindowTitle(StringTable::text(sid::EditMessageDetails_115));
    m_status->setObjectName(QStringLiteral("messageStatus"));
    // Read, Received, Sent, To be sent: the index is the SmsStatus value.
    for (const int id : {sid::Read_57931, sid::Received_57932, sid::Sent_57933, sid::ToBeSent_57934})
        m_status->addItem(StringTable::text(id));
    m_when->setObjectName(QStringLiteral("validity"));
    m_when->setMaxLength(kSmsWhenSize - 1);
    m_centre->setObjectName(QStringLiteral("smsCenter"));
    // A "+" and the 20 digits an SMS centre address holds, with room for separators.
    m_centre->setMaxLength(2 * kSmsNumberSize);
    m_centre->setText(m_form.serviceCentre());
    m_fromBook->setObjectName(QStringLiteral("fromPhoneBookButton"));
    m_fromBook->setAutoDefault(false);
    m_fromBook->setEnabled(m_form.canPickFromPhoneBook());

    // 1 hour, 1 day, 1 week, maximum: choices 0-3. The group is not exclusive so that showForm can
    // leave every button unchecked; only one is ever checked, by showForm.
    auto* choices = new QButtonGroup(this);
    choices->setExclusive(false);
    const int choiceIds[] = {sid::N1Hour_9658, sid::N1Day_9659, sid::N1Week_1008, sid::Maximum_1009};
    const char* const choiceNames[] = {"oneHour", "oneDay", "oneWeek", "maximum"};
    auto* choiceRow = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(StringTable::text(choiceIds[i]), this);
        radio->setObjectName(QLatin1String(choiceNames[i]));
        radio->setAutoExclusive(false);
        choices->addButton(radio, i);
        choiceRow->addWidget(radio);
        m_choices[static_cast<std::size_t>(i)] = radio;
    }

    connect(m_status, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (m_showing || index < 0)
            return;
        m_form.setStatus(index);
        showForm();
    });
    connect(m_when, &QLineEdit::textEdited, this, [this](const QString& text) { m_form.setWhenText(text); });
    connect(choices, &QButtonGroup::idClicked, this, [this](int choice) {
        m_form.choose(choice);
        showForm();
    });
    connect(m_fromBook, &QPushButton::clicked, this, &SmsDetailsDialog::pickFromPhoneBook);

    auto* fields = new QFormLayout;
    fields->addRow(addLabel(this, sid::MessageStatus_1025, "messageStatusLabel", m_status), m_status);
    fields->addRow(addLabel(this, sid::ValidityDate_9657, "validityLabel", m_when), m_when);
    fields->addRow(choiceRow);
    auto* centreRow = new QHBoxLayout;
    centreRow->addWidget(m_centre, 1);
    centreRow->addWidget(m_fromBook);
    fields->addRow(addLabel(this, sid::SmsCenter_9660, "smsCenterLabel", m_centre), centreRow);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(addOkCancel(this, sid::Ok_9655, sid::Cancel_9656));
    showForm();
    m_status->setFocus();
}

int SmsDetailsDialog::exec()
{
    if (!m_form.opens())
        return QDialog::Rejected;
    return QDialog::exec();
}

void SmsDetailsDialog::accept()
{
    if (m_form.accept(m_status->currentIndex(), m_when->text(), m_centre->text()))
        QDialog::accept();
}

void SmsDetailsDialog::showForm()
{
    m_showing = true;
    m_status->setCurrentIndex(m_form.status());
    // Set only when it differs, so that the cursor stays where the user types.
    if (m_when->text() != m_form.whenText())
        m_when->setText(m_form.whenText());
    const bool enabled = m_form.choicesEnabled();
    for (int i = 0; i < 4; ++i) {
        QRadioButton* radio = m_choices[static_cast<std::size_t>(i)];
        radio->setChecked(i == m_form.choice());
        radio->setEnabled(enabled);
    }
    m_showing = false;
}

void SmsDetailsDialog::pickFromPhoneBook()
{
    if (const std::optional<QString> number = m_form.fromPhoneBook())
        m_centre->setText(*number);
}

} // namespace kestrel
