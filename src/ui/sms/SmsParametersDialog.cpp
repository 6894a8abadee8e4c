#include "ui/sms/SmsParametersDialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "base/StringTable.h"
#include "codec/SmsEntry.h"
#include "ui/DialogButtons.h"
#include "ui/EditorWindow.h"
#include "ui/sms/SmsPhoneBookPick.h"

namespace kestrel {

SmsParametersDialog::SmsParametersDialog(AppState& state, Prompter& prompter, ProgressSink* progress,
                                         PhoneBookPick pick, QWidget* parent)
    : QDialog(parent), m_form(state, prompter, progress, std::move(pick)), m_centre(new QLineEdit(this))
{
    setObjectName(QStringLiteral("smsParametersDialog"));
    setWindowTitle(StringTable::text(sid::EditSmsParameters_9685));
    m_centre->setObjectName(QStringLiteral("smsCenter"));
    // A "+" and the 20 digits EF_SMSP holds, with room for separators.
    m_centre->setMaxLength(2 * kSmsNumberSize);
    connect(m_centre, &QLineEdit::textEdited, this, [this](const QString& text) { m_form.setServiceCentre(text); });
    QPushButton* fromBook = addPushButton(this, sid::FromPhoneBook_9687, "fromPhoneBookButton");
    fromBook->setEnabled(m_form.canPickFromPhoneBook());
    connect(fromBook, &QPushButton::clicked, this, [this] { run(&SmsParametersForm::fromPhoneBook); });

    auto* centreRow = new QHBoxLayout;
    centreRow->addWidget(addLabel(this, sid::SmsCenter_9686, "smsCenterLabel", m_centre));
    centreRow->addWidget(m_centre, 1);
    centreRow->addWidget(fromBook);

    // 1 hour, 1 day, 1 week, maximum: choices 0-3.
    auto* validity = new QGroupBox(StringTable::text(sid::Validity_9688), this);
    validity->setObjectName(QStringLiteral("validityGroup"));
    auto* choices = new QButtonGroup(this);
    const int choiceIds[] = {sid::N1Hour_9658, sid::N1Day_9659, sid::N1Week_1008, sid::Maximum_1009};
    const char* const choiceNames[] = {"oneHour", "oneDay", "oneWeek", "maximum"};
    auto* choiceRow = new QHBoxLayout(validity);
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(StringTable::text(choiceIds[i]), validity);
        radio->setObjectName(QLatin1String(choiceNames[i]));
        choices->addButton(radio, i);
        choiceRow->addWidget(radio);
        m_choices[static_cast<std::size_t>(i)] = radio;
    }
    connect(choices, &QButtonGroup::idClicked, this, [this](int choice) { m_form.choose(choice); });

    QPushButton* read = addPushButton(this, sid::ReadFromSim_1053, "readButton");
    QPushButton* write = addPushButton(this, sid::WriteToSim_1054, "writeButton");
    read->setEnabled(m_form.cardButtonsEnabled());
    write->setEnabled(m_form.cardButtonsEnabled());
    connect(read, &QPushButton::clicked, this, [this] { run(&SmsParametersForm::readFromSim); });
    connect(write, &QPushButton::clicked, this, [this] { run(&SmsParametersForm::writeToSim); });
    auto* cardRow = new QHBoxLayout;
    cardRow->addWidget(read);
    cardRow->addWidget(write);
    cardRow->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(centreRow);
    layout->addWidget(validity);
    layout->addLayout(cardRow);
    layout->addWidget(addOkCancel(this, sid::Ok_9655, sid::Close_9647));
    showForm();
}

void SmsParametersDialog::open(EditorHost& host, QWidget* parent)
{
    SmsParametersDialog dialog(host.state(), host.prompter(), host.progress(), currentPhoneBookPick(host), parent);
    dialog.exec();
}

void SmsParametersDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_readDone)
        return;
    // The card is read once the dialog is on the screen, as if "Read from SIM" had been pressed.
    m_readDone = true;
    QTimer::singleShot(0, this, [this] { run(&SmsParametersForm::readFromSim); });
}

void SmsParametersDialog::accept()
{
    if (m_form.accept())
        QDialog::accept();
}

void SmsParametersDialog::run(bool (SmsParametersForm::*action)())
{
    (m_form.*action)();
    showForm();
}

void SmsParametersDialog::showForm()
{
    if (m_centre->text() != m_form.serviceCentre())
        m_centre->setText(m_form.serviceCentre());
    for (int i = 0; i < 4; ++i)
        m_choices[static_cast<std::size_t>(i)]->setChecked(i == m_form.choice());
}

} // namespace kestrel
