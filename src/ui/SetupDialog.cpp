#include "ui/SetupDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/StringTable.h"
#include "ui/CountryCodeDialog.h"
#include "ui/ReaderSearchDialog.h"

namespace kestrel {

namespace {

QCheckBox* checkBox(int textId, const char* name, QWidget* parent)
{
    auto* box = new QCheckBox(StringTable::text(textId), parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

QPushButton* button(int textId, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(StringTable::text(textId), parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

// The number of characters the two code fields take: no dialling code or access prefix is longer.
constexpr int kCodeLength = 60;

} // namespace

SetupDialog::SetupDialog(AppState& state, Prompter& prompter, QWidget* parent)
    : SetupDialog(state, prompter, SetupModel::systemPcscReaders, parent)
{}

SetupDialog::SetupDialog(AppState& state, Prompter& prompter, SetupModel::ReaderLister lister, QWidget* parent)
    : QDialog(parent), m_model(state, prompter, std::move(lister))
{
    setObjectName(QStringLiteral("setupDialog"));
    setWindowTitle(StringTable::text(sid::Setup_9500));

    auto* reader = new QGroupBox(StringTable::text(sid::ReaderConnection_9501), this);
    m_device = new QComboBox(reader);
    m_device->setObjectName(QStringLiteral("device"));
    m_device->setEditable(false);
    m_device->setMinimumContentsLength(20);
    m_device->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_findReader = button(sid::FindReader_9502, "findReader", reader);
    m_autoRead = checkBox(sid::AutomaticallyReadSim_9503, "autoRead", reader);
    m_confirm = checkBox(sid::AskForConfirmation_1020, "confirm", reader);
    m_toolbar = checkBox(sid::KestrelAsToolbar_1021, "startWMin", reader);
    m_cache = checkBox(sid::UseCache_9504, "enCache", reader);
    m_unicodeNames = checkBox(sid::KeepAccentsAndOtherLetters_9856, "unicodeNames", reader);
    m_printPrompt = checkBox(sid::PromptBeforePrint_9505, "prnHdrAdj", reader);
    auto* deviceRow = new QHBoxLayout;
    deviceRow->addWidget(m_device, 1);
    deviceRow->addWidget(m_findReader);
    auto* readerLayout = new QVBoxLayout(reader);
    readerLayout->addLayout(deviceRow);
    for (QCheckBox* box : {m_autoRead, m_confirm, m_toolbar, m_cache, m_unicodeNames, m_printPrompt})
        readerLayout->addWidget(box);

    auto* international = new QGroupBox(StringTable::text(sid::InternationalizationSettings_9506), this);
    m_intNumber = new QLineEdit(international);
    m_intNumber->setObjectName(QStringLiteral("intNumber"));
    m_intNumber->setMaxLength(kCodeLength);
    m_intSelector = new QLineEdit(international);
    m_intSelector->setObjectName(QStringLiteral("intSelector"));
    m_intSelector->setMaxLength(kCodeLength);
    m_fromDatabase = button(sid::FromDatabase_1081, "fromDatabase", international);
    auto* codeRow = new QHBoxLayout;
    codeRow->addWidget(m_intNumber, 1);
    codeRow->addWidget(m_fromDatabase);
    auto* internationalLayout = new QFormLayout(international);
    // A row holding a layout gets no buddy by itself: without one the "&" would show.
    auto* codeLabel = new QLabel(StringTable::text(sid::MyCountryCode_1083), international);
    codeLabel->setBuddy(m_intNumber);
    internationalLayout->addRow(codeLabel, codeRow);
    internationalLayout->addRow(StringTable::text(sid::ToCallAbroad_1082), m_intSelector);
    m_language = new QComboBox(international);
    m_language->setObjectName(QStringLiteral("language"));
    for (const LanguageChoice& choice : SetupModel::languageChoices())
        m_language->addItem(StringTable::text(choice.nameId), QString::fromLatin1(choice.value));
    internationalLayout->addRow(StringTable::text(sid::Language_9913), m_language);
    auto* languageNote = new QLabel(StringTable::text(sid::TheLanguageTakesEffectAt_9917), international);
    languageNote->setWordWrap(true);
    internationalLayout->addRow(languageNote);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(StringTable::text(sid::Ok_9507), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    QPushButton* close = buttons->addButton(StringTable::text(sid::Close_9508), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("close"));
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &SetupDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SetupDialog::reject);
    connect(m_findReader, &QPushButton::clicked, this, &SetupDialog::findReader);
    connect(m_fromDatabase, &QPushButton::clicked, this, &SetupDialog::fromDatabase);

    const std::pair<QWidget*, int> tips[] = {
        {m_device, strId(sid::TheSmartCardReaderThe_9846)},
        {m_findReader, strId(sid::TryEveryKindOfReader_9847)},
        {m_autoRead, strId(sid::ReadTheCardAtOnce_9848)},
        {m_confirm, strId(sid::AskBeforeEntriesAreDeleted_9849)},
        {m_intNumber, strId(sid::YourOwnCountrysDiallingCode_9850)},
        {codeLabel, strId(sid::YourOwnCountrysDiallingCode_9850)},
        {m_intSelector, strId(sid::TheDigitsDialledBeforeA_9851)},
        {m_toolbar, strId(sid::StartTheMainWindowCollapsed_9852)},
        {m_cache, strId(sid::KeepTheCardsFilesBetween_9853)},
        {m_unicodeNames, strId(sid::NamesWithLettersTheCards_9857)},
        {m_printPrompt, strId(sid::ShowTheReportHeaderFor_9854)},
        {m_fromDatabase, strId(sid::ChooseYourCountryCodeFrom_9855)},
    };
    for (const auto& [widget, textId] : tips)
        widget->setToolTip(StringTable::text(textId));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(reader);
    layout->addWidget(international);
    layout->addWidget(buttons);

    showValues();
}

SetupDialog::~SetupDialog() = default;

void SetupDialog::showValues()
{
    const SetupValues& v = m_model.values();
    m_device->clear();
    // Each entry shows its label and carries the device string itself.
    for (const QString& device : m_model.devices())
        m_device->addItem(SetupModel::deviceLabel(device), device);
    m_device->setCurrentIndex(m_device->findData(v.device));
    m_autoRead->setChecked(v.autoRead);
    m_confirm->setChecked(v.confirm);
    m_toolbar->setChecked(v.startWMin);
    m_cache->setChecked(v.enCache);
    m_unicodeNames->setChecked(v.unicodeNames);
    m_printPrompt->setChecked(v.prnHdrAdj);
    m_intNumber->setText(v.intNumber);
    m_intSelector->setText(v.intSelector);
    m_language->setCurrentIndex(m_language->findData(v.language));
}

void SetupDialog::takeValues()
{
    SetupValues& v = m_model.values();
    if (m_device->currentIndex() >= 0)
        v.device = m_device->currentData().toString();
    v.autoRead = m_autoRead->isChecked();
    v.confirm = m_confirm->isChecked();
    v.startWMin = m_toolbar->isChecked();
    v.enCache = m_cache->isChecked();
    v.unicodeNames = m_unicodeNames->isChecked();
    v.prnHdrAdj = m_printPrompt->isChecked();
    v.intNumber = m_intNumber->text();
    v.intSelector = m_intSelector->text();
    v.language = m_language->currentData().toString();
}

void SetupDialog::findReader()
{
    if (m_searching)
        return;
    // What the user changed so far is kept; only the device changes with the search.
    takeValues();
    // The search window stays readable; input waits (see below) and OK, Close and a second search
    // are refused until the search is over.
    m_searching = true;
    std::unique_ptr<ReaderSearchDialog> window;
    m_model.findReader(
        [this, &window](const QString& candidate) {
            if (!window) {
                window = std::make_unique<ReaderSearchDialog>(this);
                window->show();
            }
            window->showCandidate(candidate);
            // Trying a serial port takes a while: keep the windows painted between candidates.
            // Input is held back until the search is over.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        },
        [this, &window] {
            // The search window goes before the outcome is told.
            window.reset();
            m_searching = false;
        });
    showValues();
}

void SetupDialog::fromDatabase()
{
    takeValues();
    m_model.takeCountryCode(CountryCodeDialog::choose(this));
    showValues();
}

void SetupDialog::accept()
{
    if (m_searching)
        return;
    takeValues();
    if (!m_model.accept()) {
        showValues();
        return;
    }
    QDialog::accept();
}

void SetupDialog::reject()
{
    if (m_searching)
        return;
    QDialog::reject();
}

} // namespace kestrel
