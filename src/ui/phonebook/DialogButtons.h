#pragma once

class QDialog;
class QDialogButtonBox;

namespace kestrel {

// The "OK" and "Cancel" row of the phone book dialogs (objectNames okButton and cancelButton),
// wired to the dialog's accept() and reject().
QDialogButtonBox* addOkCancel(QDialog* dialog);

} // namespace kestrel
