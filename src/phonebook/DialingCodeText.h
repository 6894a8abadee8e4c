#pragma once

#include <QString>

namespace kestrel {

// What the phone book's callers of the country code chooser (dialog 141) do with the chosen code
// ("+" and digits; empty when nothing was chosen). Setup's own use of it is SetupModel's.

// Edit-entry dialog "Dialing Code..." and Add Code "From Database": the first "+" of text is
// removed and the chosen code (with its "+") is put in front. An empty code leaves text as it is.
QString putCodeInFront(const QString& text, const QString& chosenCode);

} // namespace kestrel
