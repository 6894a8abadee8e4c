#include "ui/phonebook/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "base/StringTable.h"

namespace kestrel {

QDialogButtonBox* addOkCancel(QDialog* dialog)
{
    auto* box = new QDialogButtonBox(dialog);
    QPushButton* ok = box->addButton(StringTable::text(9614), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    QPushButton* cancel = box->addButton(StringTable::text(9615), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

} // namespace kestrel
