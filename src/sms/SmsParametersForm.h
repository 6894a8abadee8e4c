#pragma once

#include <chrono>

#include <QString>

#include "sms/SmsEditForms.h"

namespace kestrel {

class AppState;
class ProgressSink;
struct SmsParameters;

// The logic of the SMS parameters dialog (148): the default service centre and validity period
// of new messages, kept in the servCenter and validPer settings and read from and written to
// EF_SMSP. The dialog shows the form's fields after every call; the settings change only on OK.
class SmsParametersForm
{
public:
    // pick: the phone book window's selected entry, an empty function when none is open.
    // pause: how long the EF_SMSP progress window stays at 100 % after a success.
    SmsParametersForm(AppState& state, Prompter& prompter, ProgressSink* progress, PhoneBookPick pick = {},
                      std::chrono::milliseconds pause = std::chrono::milliseconds(500));

    // The radio button (0-3: 1 hour, 1 day, 1 week, maximum) a TP-VP relative value selects: the
    // first choice whose period is not shorter, "Maximum" above a week.
    static int choiceOf(int validPer);

    // Whether "Read from SIM" and "Write to SIM!" are enabled: a reader is in use.
    bool cardButtonsEnabled() const;
    bool canPickFromPhoneBook() const { return static_cast<bool>(m_pick); }

    const QString& serviceCentre() const { return m_centre; }
    void setServiceCentre(const QString& text) { m_centre = text; }
    int choice() const { return m_choice; }
    void choose(int choice);

    // "Read from SIM", also run once as the dialog opens: the card's parameters into the fields,
    // sid::NoSmsParametersInCard_57345 when the card holds none. A failure has been shown and leaves the fields alone.
    bool readFromSim();
    // "Write to SIM!": the field and the radio button to EF_SMSP record 1; sid::BadSmsCenterNumberEntered_57347 for a
    // centre that is empty, not a number or longer than the record holds.
    bool writeToSim();
    // "From Phone Book...": the number of the phone book window's selected entry ("+" when
    // international) into the field; false after 57348.
    bool fromPhoneBook();
    // OK: false after sid::BadSmsCenterNumberEntered_57349 (the dialog stays); otherwise servCenter and validPer take
    // the fields and the settings are saved.
    bool accept();

private:
    void showFailure(const SmsParameters& result);

    AppState& m_state;
    Prompter& m_prompter;
    ProgressSink* m_progress;
    PhoneBookPick m_pick;
    std::chrono::milliseconds m_pause;
    QString m_centre;
    int m_choice = 0;
};

} // namespace kestrel
