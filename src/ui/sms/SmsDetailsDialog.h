#pragma once

#include <array>

#include <QDialog>

#include "sms/SmsEditForms.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kestrel {

// Dialog 115 "Kestrel! - Edit Message Details" over SmsDetailsForm: the message status, the
// validity or date text with its four standard choices, and the SMS centre. Every user action goes
// to the form, and the dialog then shows the form's state again.
class SmsDetailsDialog final : public QDialog
{
    Q_OBJECT

public:
    SmsDetailsDialog(SmsEntry& entry, Prompter& prompter, PhoneBookPick pick, QWidget* parent);

    // Rejected at once for a free entry.
    int exec() override;
    void accept() override;

    const SmsDetailsForm& form() const { return m_form; }

private:
    void showForm();
    void pickFromPhoneBook();

    SmsDetailsForm m_form;
    QComboBox* m_status;
    QLineEdit* m_when;
    std::array<QRadioButton*, 4> m_choices{};
    QLineEdit* m_centre;
    QPushButton* m_fromBook;
    bool m_showing = false; // showForm is setting the controls: their signals are not the user's
};

} // namespace kestrel
