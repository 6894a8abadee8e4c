#include "ui/phonebook/RangeDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "base/StringTable.h"
#include "phonebook/PhoneBookFiles.h"
#include "ui/DialogButtons.h"

namespace kestrel {

namespace {

QLineEdit* numberField(QWidget* parent, const char* name, int value)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    // Up to four digits: every interval check then sees a plain number, and an empty field is 0.
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), edit));
    edit->setText(QString::number(value));
    return edit;
}

int fieldValue(const QLineEdit* edit)
{
    return edit ? edit->text().toInt() : 0;
}

} // namespace

RangeDialog::RangeDialog(const Layout& layout, const Values& initial, Check check, QWidget* parent)
    : QDialog(parent), m_check(std::move(check))
{
    setObjectName(QStringLiteral("rangeDialog%1").arg(layout.captionId));
    setWindowTitle(StringTable::text(layout.captionId));

    auto* form = new QFormLayout;
    m_from = numberField(this, "fromItem", initial.from);
    auto* fromLabel =
        new QLabel(StringTable::text(layout.fromLabelId != 0 ? layout.fromLabelId : kFromItemLabel), this);
    fromLabel->setObjectName(QStringLiteral("fromLabel"));
    fromLabel->setBuddy(m_from);
    form->addRow(fromLabel, m_from);
    if (layout.withTo) {
        m_to = numberField(this, "toItem", initial.to);
        auto* toLabel = new QLabel(StringTable::text(layout.toLabelId != 0 ? layout.toLabelId : kToItemLabel), this);
        toLabel->setObjectName(QStringLiteral("toLabel"));
        toLabel->setBuddy(m_to);
        form->addRow(toLabel, m_to);
    }
    if (layout.checkBoxId != 0) {
        m_includeEmpty = new QCheckBox(StringTable::text(layout.checkBoxId), this);
        m_includeEmpty->setObjectName(QStringLiteral("includeEmpty"));
        m_includeEmpty->setChecked(initial.includeEmpty);
        form->addRow(m_includeEmpty);
    }

    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->addLayout(form);
    layoutBox->addWidget(addOkCancel(this));
    m_from->selectAll();
}

RangeDialog::Values RangeDialog::values() const
{
    Values v;
    v.from = fieldValue(m_from);
    v.to = fieldValue(m_to);
    v.includeEmpty = m_includeEmpty && m_includeEmpty->isChecked();
    return v;
}

void RangeDialog::accept()
{
    if (m_check && !m_check(values()))
        return;
    QDialog::accept();
}

} // namespace kestrel
