#pragma once

#include <QString>

namespace kestrel {

// What the callers of the country code chooser (dialog 141) do with the chosen code ("+" and
// digits; empty when nothing was chosen), and the checks of the two Setup fields that hold the
// user's own country code (`intNumber`) and the international access prefix (`intSelector`).

// Edit-entry dialog "Dialing Code..." and Add Code "From Database": the first "+" of text is
// removed and the chosen code (with its "+") is put in front. An empty code leaves text as it is.
QString putCodeInFront(const QString& text, const QString& chosenCode);

// Setup "From Database": the "My country code" field becomes the chosen code without its leading
// "+". An empty code leaves the field as it is.
QString myCountryCodeFromChosen(const QString& field, const QString& chosenCode);

// Setup "My country code": must be a valid dialling number with a "+" in front at most (57561
// otherwise); the leading "+" is removed from code. 0 when the field passes, else the
// string-table number of the message.
int checkMyCountryCode(QString& code);

// Setup "To call abroad": digits 0-9 only, empty accepted; else 57562. 0 when it passes.
int checkAbroadPrefix(const QString& prefix);

} // namespace kestrel
