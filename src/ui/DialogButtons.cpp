#include "ui/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

#include "base/StringTable.h"

namespace kestrel {

QDialogButtonBox* addOkCancel(QDialog* dialog, int okTextId, int cancelTextId)
{
    auto* box = new QDialogButtonBox(dialog);
    QPushButton* ok = box->addButton(StringTable::text(okTextId), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    QPushButton* cancel = box->addButton(StringTable::text(cancelTextId), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

QLabel* addLabel(QWidget* parent, int textId, const char* name, QWidget* buddy)
{
    auto* l = new QLabel(StringTable::text(textId), parent);
    l->setObjectName(QLatin1String(name));
    l->setBuddy(buddy);
    return l;
}

QPushButton* addPushButton(QWidget* parent, int textId, const char* name)
{
    auto* b = new QPushButton(StringTable::text(textId), parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace kestrel
