#include "ui/phonebook/AdjustPrintDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/StringTable.h"

namespace kestrel {

AdjustPrintDialog::AdjustPrintDialog(const QString& salesperson, const QString& comment, QWidget* parent)
    : QDialog(parent), m_salesperson(new QLineEdit(salesperson, this)), m_comment(new QLineEdit(comment, this))
{
    setObjectName(QStringLiteral("adjustPrintDialog"));
    setWindowTitle(StringTable::text(9619));
    m_salesperson->setObjectName(QStringLiteral("salesperson"));
    m_salesperson->setMinimumWidth(260);
    m_comment->setObjectName(QStringLiteral("comment"));

    auto* form = new QFormLayout;
    auto* salesLabel = new QLabel(StringTable::text(9024), this);
    salesLabel->setObjectName(QStringLiteral("salespersonLabel"));
    form->addRow(salesLabel, m_salesperson);
    auto* commentLabel = new QLabel(StringTable::text(9620), this);
    commentLabel->setObjectName(QStringLiteral("commentLabel"));
    form->addRow(commentLabel, m_comment);

    auto* box = new QDialogButtonBox(this);
    QPushButton* ok = box->addButton(StringTable::text(9621), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    QPushButton* cancel = box->addButton(StringTable::text(9617), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(box);
}

QString AdjustPrintDialog::salesperson() const
{
    return m_salesperson->text();
}

QString AdjustPrintDialog::comment() const
{
    return m_comment->text();
}

} // namespace kestrel
