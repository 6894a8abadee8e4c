#include "ui/phonebook/AddCodeDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "base/StringTable.h"
#include "ui/DialogButtons.h"
#include "ui/phonebook/PhoneBookHooks.h"

namespace kestrel {

namespace {

QLineEdit* itemField(QWidget* parent, const char* name, int value)
{
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setObjectName(QLatin1String(name));
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), edit));
    return edit;
}

} // namespace

AddCodeDialog::AddCodeDialog(const AddCodeForm& form, Check check, QWidget* parent)
    : QDialog(parent), m_form(form), m_check(std::move(check)), m_code(new QLineEdit(this)),
      m_from(itemField(this, "fromItem", form.from)), m_to(itemField(this, "toItem", form.to)),
      m_forAll(new QCheckBox(StringTable::text(sid::ForAllNumbers_1094), this)),
      m_addToEnd(new QCheckBox(StringTable::text(sid::AddToEnd_1095), this)),
      m_database(new QPushButton(StringTable::text(sid::FromDatabase_1039), this))
{
    setObjectName(QStringLiteral("addCodeDialog"));
    setWindowTitle(StringTable::text(sid::DialingCode_118));
    m_code->setObjectName(QStringLiteral("code"));
    m_code->setMaxLength(61);
    m_forAll->setObjectName(QStringLiteral("forAllNumbers"));
    m_addToEnd->setObjectName(QStringLiteral("addToEnd"));
    m_database->setObjectName(QStringLiteral("fromDatabase"));
    m_database->setEnabled(static_cast<bool>(countryChooser()));

    connect(m_forAll, &QCheckBox::toggled, this, [this](bool on) { m_form.setForAllNumbers(on); });
    connect(m_addToEnd, &QCheckBox::toggled, this, [this](bool on) {
        takeFields();
        m_form.setAddToEnd(on);
        showForm();
    });
    connect(m_database, &QPushButton::clicked, this, &AddCodeDialog::chooseCode);

    auto* fields = new QFormLayout;
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(m_code, 1);
    codeRow->addWidget(m_database);
    fields->addRow(addLabel(this, sid::DialingCode_9616, "codeLabel", m_code), codeRow);
    fields->addRow(addLabel(this, sid::From_1037, "fromLabel", m_from), m_from);
    fields->addRow(addLabel(this, sid::To_1038, "toLabel", m_to), m_to);
    fields->addRow(m_forAll);
    fields->addRow(m_addToEnd);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(addOkCancel(this));
    showForm();
    m_code->setFocus();
}

const AddCodeForm& AddCodeDialog::form()
{
    takeFields();
    return m_form;
}

void AddCodeDialog::accept()
{
    takeFields();
    if (m_check && !m_check(m_form))
        return;
    QDialog::accept();
}

void AddCodeDialog::takeFields()
{
    m_form.code = m_code->text();
    m_form.from = m_from->text().toInt();
    m_form.to = m_to->text().toInt();
}

void AddCodeDialog::showForm()
{
    const QSignalBlocker blockForAll(m_forAll);
    const QSignalBlocker blockAddToEnd(m_addToEnd);
    m_code->setText(m_form.code);
    m_forAll->setChecked(m_form.forAllNumbers());
    m_forAll->setEnabled(m_form.forAllEnabled());
    m_addToEnd->setChecked(m_form.addToEnd());
}

void AddCodeDialog::chooseCode()
{
    const CountryChooser& choose = countryChooser();
    if (!choose)
        return;
    const QString code = choose(this);
    if (code.isEmpty())
        return;
    takeFields();
    m_form.putChosenCode(code);
    showForm();
}

} // namespace kestrel
