#pragma once

#include <QDialog>

#include "sms/SmsEditForms.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kestrel {

// Dialog 114 "Kestrel! - Edit SMS Message" over SmsEditForm on one row of an SMS list: the message
// text (with its length under it), the phone number, the phone book and dialling-code choosers and
// the message details. exec() returns Accepted when OK replaced the row; OK stays open while the
// form refuses the fields.
class SmsEditDialog final : public QDialog
{
    Q_OBJECT

public:
    SmsEditDialog(SmsListModel& model, int row, PhoneBookPick pick, QWidget* parent);

    QString text() const;
    QString phoneNumber() const;
    const SmsEditForm& form() const { return m_form; }

    void accept() override;

private:
    void textChanged();
    void pickFromPhoneBook();
    void chooseDialingCode();
    void editDetails();

    SmsEditForm m_form;
    Prompter& m_prompter;
    PhoneBookPick m_pick;
    QPlainTextEdit* m_text;
    QLabel* m_length;
    QLineEdit* m_number;
    QPushButton* m_fromBook;
    QPushButton* m_dialingCode;
    QPushButton* m_details;
    int m_insertedCount = 0; // characters the last change added
    int m_insertedEnd = 0;   // where the last change of the message text ended
};

} // namespace kestrel
