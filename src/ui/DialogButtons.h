
#include "base/StringIds.h"

#pragma once

class QDialog;
class QDialogButtonBox;
class QLabel;
class QPushButton;
class QWidget;

namespace kestrel {

// The "OK" and "Cancel" row of the editor windows' dialogs (objectNames okButton and
// cancelButton), wired to the dialog's accept() and reject(); the texts are the string-table
// entries given (the phone book dialogs' "OK" / "Cancel" unless told otherwise).
QDialogButtonBox* addOkCancel(QDialog* dialog, int okTextId = sid::Ok_9614, int cancelTextId = sid::Cancel_9615);

// A label with a string-table text and an object name, naming `buddy` (may be null).
QLabel* addLabel(QWidget* parent, int textId, const char* name, QWidget* buddy);

// A push button with a string-table text and an object name that is not the dialog's default.
QPushButton* addPushButton(QWidget* parent, int textId, const char* name);

} // namespace kestrel
