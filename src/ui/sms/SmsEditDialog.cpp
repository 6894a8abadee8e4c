#include "ui/sms/SmsEditDialog.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <QVBoxLayout>

#include "base/StringTable.h"
#include "ui/DialogButtons.h"
#include "sms/SmsListModel.h"
#include "ui/phonebook/PhoneBookHooks.h"
#include "ui/sms/SmsDetailsDialog.h"

namespace kestrel {

SmsEditDialog::SmsEditDialog(SmsListModel& model, int row, PhoneBookPick pick, QWidget* parent)
    : QDialog(parent), m_form(model, row, pick), m_prompter(model.prompter()), m_pick(std::move(pick)),
      m_text(new QPlainTextEdit(this)), m_length(new QLabel(this)), m_number(new QLineEdit(this)),
      m_fromBook(addPushButton(this, sid::FromPhoneBook_9652, "fromPhoneBookButton")),
      m_dialingCode(addPushButton(this, sid::DialingCode_9653, "dialingCodeButton")),
      m_details(addPushButton(this, sid::Details_9654, "detailsButton"))
{
    setObjectName(QStringLiteral("smsEditDialog"));
    setWindowTitle(StringTable::text(sid::EditSmsMessage_114));
    m_text->setObjectName(QStringLiteral("messageText"));
    m_text->setTabChangesFocus(true);
    // A received text may be longer than what can be typed: it is shown whole, and OK asks for it
    // to be shortened (sid::MessageIsTooLong_57722) rather than losing its end unseen.
    m_text->setPlainText(m_form.text());
    m_length->setObjectName(QStringLiteral("messageLength"));
    m_number->setObjectName(QStringLiteral("phoneNumber"));
    // A "+" and the 20 digits an SMS address holds, with room for the blanks, hyphens and brackets
    // people type between them (the form takes them out).
    m_number->setMaxLength(2 * kSmsNumberSize);
    m_number->setText(m_form.phoneNumber());
    m_fromBook->setEnabled(m_form.canPickFromPhoneBook());
    m_dialingCode->setEnabled(static_cast<bool>(countryChooser()));

    connect(m_text->document(), &QTextDocument::contentsChange, this, [this](int position, int, int added) {
        m_insertedEnd = position + added;
        m_insertedCount = added;
    });
    connect(m_text, &QPlainTextEdit::textChanged, this, &SmsEditDialog::textChanged);
    connect(m_fromBook, &QPushButton::clicked, this, &SmsEditDialog::pickFromPhoneBook);
    connect(m_dialingCode, &QPushButton::clicked, this, &SmsEditDialog::chooseDialingCode);
    connect(m_details, &QPushButton::clicked, this, &SmsEditDialog::editDetails);

    auto* fields = new QFormLayout;
    fields->addRow(addLabel(this, sid::MessageText_9649, "messageTextLabel", m_text));
    fields->addRow(m_text);
    fields->addRow(addLabel(this, sid::MessageLength_9650, "messageLengthLabel", nullptr), m_length);
    auto* numberRow = new QHBoxLayout;
    numberRow->addWidget(m_number, 1);
    numberRow->addWidget(m_fromBook);
    numberRow->addWidget(m_dialingCode);
    fields->addRow(addLabel(this, sid::PhoneNumber_9651, "phoneNumberLabel", m_number), numberRow);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_details);
    buttons->addStretch(1);
    buttons->addWidget(addOkCancel(this, sid::Ok_9655, sid::Cancel_9656));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    textChanged();
    m_text->setFocus();
}

QString SmsEditDialog::text() const
{
    return m_text->toPlainText();
}

QString SmsEditDialog::phoneNumber() const
{
    return m_number->text();
}

void SmsEditDialog::accept()
{
    if (m_form.accept(text(), phoneNumber()))
        QDialog::accept();
}

void SmsEditDialog::textChanged()
{
    // Typing and pasting stop at maxTextLength characters: what goes over the limit is cut from
    // the end of the text just typed or pasted, the text already there stays.
    const int limit = SmsEditForm::maxTextLength();
    const int excess = std::min(static_cast<int>(m_text->toPlainText().size()) - limit, std::max(m_insertedCount, 0));
    m_insertedCount = 0;
    if (excess > 0) {
        const int end = std::clamp(m_insertedEnd, excess, m_text->document()->characterCount() - 1);
        QTextCursor cut(m_text->document());
        cut.setPosition(end - excess);
        cut.setPosition(end, QTextCursor::KeepAnchor);
        const QSignalBlocker quiet(m_text);
        cut.removeSelectedText();
        m_text->setTextCursor(cut);
    }
    m_length->setText(SmsEditForm::lengthText(text()));
}

void SmsEditDialog::pickFromPhoneBook()
{
    if (const std::optional<QString> number = m_form.fromPhoneBook())
        m_number->setText(*number);
}

void SmsEditDialog::chooseDialingCode()
{
    const CountryChooser& choose = countryChooser();
    if (!choose)
        return;
    const QString code = choose(this);
    if (!code.isEmpty())
        m_number->setText(SmsEditForm::withDialingCode(m_number->text(), code));
}

void SmsEditDialog::editDetails()
{
    SmsDetailsDialog details(m_form.working(), m_prompter, m_pick, this);
    details.exec();
}

} // namespace kestrel
