#include "ui/TelephoneCardDialog.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextOption>
#include <QTimer>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "reader/ReaderManager.h"

namespace kestrel {

namespace {

constexpr int kNoReader = strId(sid::NoSmartcardReaderConnected_9017);

QLineEdit* valueField(const char* name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    return field;
}

// Tab stops of the byte lines, in dialog units: the offset column, then one per byte.
constexpr int kTabStops[] = {28, 42, 56, 70, 84, 98, 112, 126, 140};

// A horizontal dialog unit is a quarter of the average character width of the font.
void setTabStops(QPlainTextEdit* edit)
{
    const qreal unit = QFontMetricsF(edit->font()).averageCharWidth() / 4.0;
    QList<QTextOption::Tab> tabs;
    for (const int stop : kTabStops)
        tabs.append(QTextOption::Tab(stop * unit, QTextOption::LeftTab));
    QTextOption option = edit->document()->defaultTextOption();
    option.setTabs(tabs);
    option.setWrapMode(QTextOption::NoWrap);
    edit->document()->setDefaultTextOption(option);
}

} // namespace

TelephoneCardDialog::TelephoneCardDialog(AppState& state, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_state(state), m_prompter(prompter)
{
    setWindowTitle(StringTable::text(sid::TelephoneCard_168));

    m_remaining = valueField("unitsRemaining", this);
    m_total = valueField("totalUnits", this);
    m_country = valueField("country", this);
    auto* values = new QFormLayout;
    values->addRow(StringTable::text(sid::UnitsRemaining_9516), m_remaining);
    values->addRow(StringTable::text(sid::TotalCardUnits_9517), m_total);
    values->addRow(StringTable::text(sid::Country_9518), m_country);

    auto* group = new QGroupBox(StringTable::text(sid::BinaryData_9519), this);
    m_rawData = new QPlainTextEdit(group);
    m_rawData->setObjectName(QStringLiteral("rawData"));
    m_rawData->setReadOnly(true);
    m_rawData->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_rawData->setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabStops(m_rawData);
    m_rawData->setMinimumSize(QFontMetricsF(m_rawData->font()).averageCharWidth() * 44,
                              QFontMetricsF(m_rawData->font()).lineSpacing() * 6);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(m_rawData);

    auto* close = new QPushButton(StringTable::text(sid::Close_9520), this);
    close->setObjectName(QStringLiteral("close"));
    close->setDefault(true);
    auto* reread = new QPushButton(StringTable::text(sid::ReRead_1085), this);
    reread->setObjectName(QStringLiteral("reread"));
    reread->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(reread, &QPushButton::clicked, this, &TelephoneCardDialog::readCard);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    buttons->addWidget(reread);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(values);
    layout->addWidget(group, 1);
    layout->addLayout(buttons);
}

void TelephoneCardDialog::open(AppState& state, Prompter& prompter, QWidget* parent)
{
    if (!state.readers().currentReader()) {
        prompter.message(kNoReader, PromptIcon::Stop);
        return;
    }
    TelephoneCardDialog dialog(state, prompter, parent);
    // Read once the dialog is on the screen, so that a failed read can close it.
    QTimer::singleShot(0, &dialog, &TelephoneCardDialog::readCard);
    dialog.exec();
}

bool TelephoneCardDialog::readCard()
{
    showValues(TelephoneCardValues{});
    repaint();

    CardReader* reader = m_state.readers().currentReader();
    if (!reader) {
        m_prompter.message(kNoReader, PromptIcon::Stop);
        return true;
    }
    const TelephoneCardReading reading = TelephoneCard::read(reader);
    if (reading.failed()) {
        m_prompter.messageText(reading.message, PromptIcon::Stop);
        reject();
        return false;
    }
    showValues(reading.values);
    if (reading.warning())
        m_prompter.messageText(reading.message, PromptIcon::Exclamation);
    return true;
}

void TelephoneCardDialog::showValues(const TelephoneCardValues& values)
{
    m_remaining->setText(QString::number(values.unitsRemaining));
    m_total->setText(QString::number(values.totalUnits));
    m_country->setText(values.country);
    // The edit control breaks lines at "\n" alone.
    m_rawData->setPlainText(QString(values.rawData).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

} // namespace kestrel
