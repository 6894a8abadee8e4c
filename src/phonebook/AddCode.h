#pragma once

#include <QString>

namespace kestrel {

class PhoneBookModel;
class Prompter;

// The fields of the Add Code dialog (118) and how they depend on each other: while "Add to end"
// is on, "For all numbers" is on and disabled and the code has no leading "+"; switching "Add to
// end" off gives both back as they were.
class AddCodeForm
{
public:
    // Code "+", From/To the window's default interval, both check boxes off.
    explicit AddCodeForm(const PhoneBookModel& model);

    QString code;
    int from = 1;
    int to = 1;

    bool forAllNumbers() const { return m_forAll; }
    // Ignored while "Add to end" is on (the box is disabled then).
    void setForAllNumbers(bool on);
    bool forAllEnabled() const { return !m_addToEnd; }

    bool addToEnd() const { return m_addToEnd; }
    // On: remembers "For all numbers", checks it, and takes a leading "+" off the code. Off:
    // restores "For all numbers" and, when a "+" was taken off and the code does not begin with
    // one now, puts it back.
    void setAddToEnd(bool on);

    // "From Database": the first "+" of the code is removed and the chosen code put in front.
    void putChosenCode(const QString& chosenCode);

    // OK: From/To within 1..capacity and From <= To, else sid::ErrorInIntervalEntered_57450; the code a valid dialling
    // number, else sid::ErrorInDialingCodeEntered_57451 (also for a "+" with "Add to end", or a "+" anywhere but in
    // front). False after the message; the dialog stays open.
    bool accept(const PhoneBookModel& model, Prompter& prompter) const;

private:
    bool m_forAll = false;
    bool m_addToEnd = false;
    bool m_forAllBefore = false;
    bool m_plusRemoved = false;
};

// Puts the form's code in front of (or, with "Add to end", behind) the numbers of the valid
// entries of rows from-1..to-1, after sorting the window by position. Unless "For all numbers"
// is on, numbers beginning with "#", "*", "+" or "0" are left alone; an international number is
// always left alone when the code has a "+". A result longer than 60 digits leaves the entry
// unchanged and sid::SomeNumbersWereTooLong_57452 is shown once at the end. The form must have been accepted; a form
// that would not pass accept() changes nothing and returns false.
bool addCode(PhoneBookModel& model, const AddCodeForm& form);

} // namespace kestrel
