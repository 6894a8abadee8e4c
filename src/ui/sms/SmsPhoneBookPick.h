#pragma once

#include "sms/SmsEditForms.h"

namespace kestrel {

class EditorHost;

// The "From Phone Book..." source of the SMS dialogs: the first selected used entry of the phone
// book window that is current in the host's registry, looked up when the button is pressed. An
// empty function when no phone book window is open.
PhoneBookPick currentPhoneBookPick(EditorHost& host);

} // namespace kestrel
