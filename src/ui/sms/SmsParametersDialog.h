#pragma once

#include <array>

#include <QDialog>

#include "sms/SmsParametersForm.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kestrel {

class EditorHost;

// Dialog 148 "Kestrel! - Edit SMS Parameters" over SmsParametersForm: the SMS centre with its
// "From Phone Book...", the four validity choices, "Read from SIM" (also run as the dialog opens),
// "Write to SIM!", OK (keeps the values as the settings of new messages) and Close.
class SmsParametersDialog final : public QDialog
{
    Q_OBJECT

public:
    SmsParametersDialog(AppState& state, Prompter& prompter, ProgressSink* progress, PhoneBookPick pick,
                        QWidget* parent);

    // The main window's command: the dialog, modal, over the host's phone book windows.
    static void open(EditorHost& host, QWidget* parent);

    void accept() override;
    const SmsParametersForm& form() const { return m_form; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showForm();
    void run(bool (SmsParametersForm::*action)());

    SmsParametersForm m_form;
    QLineEdit* m_centre;
    std::array<QRadioButton*, 4> m_choices{};
    bool m_readDone = false;
};

} // namespace kestrel
