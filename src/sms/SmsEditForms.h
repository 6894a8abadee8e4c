#pragma once

#include <functional>
#include <optional>

#include <QString>

#include "codec/DialEntry.h"
#include "codec/SmsEntry.h"

namespace kestrel {

class Prompter;
class SmsListModel;

// The entry selected in the current phone book window, nullopt when it has none. An empty
// function: no phone book window is open (the "From Phone Book..." buttons are disabled).
using PhoneBookPick = std::function<std::optional<DialEntry>()>;

// The number of the picked entry ("+" in front when international), for a number field; nullopt
// after the message missingId when nothing is picked (or no phone book window is open).
std::optional<QString> pickedPhoneBookNumber(const PhoneBookPick& pick, Prompter& prompter, int missingId);

// The logic of the SMS edit dialog (114) on one row: it works on a copy of the row's entry, which
// replaces the row only on OK. A free row starts as a new message (SmsListModel::newMessage).
class SmsEditForm
{
public:
    SmsEditForm(SmsListModel& model, int row, PhoneBookPick pick = {});

    int row() const { return m_row; }
    // The dialog's copy; SmsDetailsForm works on it too.
    SmsEntry& working() { return m_working; }
    const SmsEntry& working() const { return m_working; }

    // What the fields start with: the message text and the phone number ("+" when numberTon is 1).
    QString text() const;
    QString phoneNumber() const;
    // "Message length:" for the text typed so far.
    static QString lengthText(const QString& text);
    // The limit of the message text field.
    static int maxTextLength();

    bool canPickFromPhoneBook() const { return static_cast<bool>(m_pick); }
    // "From Phone Book...": the number of the phone book window's selected entry ("+" when
    // international) for the phone number field; nullopt after 57723.
    std::optional<QString> fromPhoneBook();
    // "Dialing Code...": the phone number with any "+" removed and the chosen code in front; the
    // number unchanged when the code is empty.
    static QString withDialingCode(const QString& number, const QString& code);

    // OK with the texts of the two fields: false after sid::ErrorInPhoneNumber_57721 (phone number) or
    // sid::MessageIsTooLong_57722 (text too long), the dialog stays. On success the copy takes them, is marked modified
    // and replaces the row.
    bool accept(const QString& text, const QString& phoneNumber);

private:
    SmsListModel& m_model;
    int m_row;
    PhoneBookPick m_pick;
    SmsEntry m_working;
};

// The logic of the message details dialog (115), opened on the edit dialog's copy of an entry.
// The dialog shows the form's state after every call: status, validity text, the radio button and
// whether the radio buttons are enabled.
class SmsDetailsForm
{
public:
    // The standard texts of the four radio buttons 1006-1009.
    static QString choiceText(int choice);

    SmsDetailsForm(SmsEntry& entry, Prompter& prompter, PhoneBookPick pick = {});

    // A free entry: the dialog closes at once.
    bool opens() const { return m_entry.valid != 0; }

    int status() const { return m_status; }
    QString whenText() const { return m_whenText; }
    QString serviceCentre() const;
    // The radio button selected (0-3 for 1006-1009), -1 for none.
    int choice() const { return m_choice; }
    bool choicesEnabled() const;
    bool canPickFromPhoneBook() const { return static_cast<bool>(m_pick); }

    // The user typed into the validity field (the working copy's when stays).
    void setWhenText(const QString& text) { m_whenText = text; }
    // A radio button: the validity text becomes the choice's; a received status becomes "to be
    // sent".
    void choose(int choice);
    // The status combo changed.
    void setStatus(int status);
    // "From Phone Book...": the number for the SMS center field; nullopt after 57661.
    std::optional<QString> fromPhoneBook();
    // OK with the status and the texts of the two fields: false after sid::ErrorInSmsCenterAdded_57660 (the dialog
    // stays); on success the entry the form was opened on takes status, service centre and when.
    bool accept(int status, const QString& whenText, const QString& serviceCentre);

private:
    static bool sendsStatus(int status);
    static bool isAbsolute(const QString& when);

    SmsEntry& m_entry;
    Prompter& m_prompter;
    PhoneBookPick m_pick;
    QString m_openedWhen; // the entry's when as the dialog opened
    QString m_copyWhen;   // the working copy's when: as opened, or as a status change set it
    QString m_whenText;   // the validity field
    int m_status = 0;
    int m_choice = -1;
};

} // namespace kestrel
