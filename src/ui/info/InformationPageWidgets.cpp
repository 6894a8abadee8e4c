#include "ui/info/InformationPageWidgets.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTextCursor>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "toolkit/SimApplicationPage.h"
#include "ui/DialogButtons.h"
#include "ui/UiText.h"

namespace kestrel {

namespace {

constexpr int kSerialLabel = strId(sid::SimSerialNumber_9722); // "SIM serial number:"
constexpr int kImsiLabel = strId(sid::InternationalCode_9000); // "International code:"
constexpr int kPhaseLabel = strId(sid::SimPhase_9723);         // "SIM phase: "
constexpr int kPinGroup = strId(sid::Pin_9724);                // "PIN"
constexpr int kSupported = strId(sid::Supported_9002);         // "Supported:"
constexpr int kLimit = strId(sid::Limit_9003);                 // "Limit:"
constexpr int kActivated = strId(sid::Activated_9004);         // "Activated:"
constexpr int kCallCosts = strId(sid::CallCosts_9725);         // "Call costs"
constexpr int kCurrency = strId(sid::Currency_9005);           // "Currency:"
constexpr int kPrice = strId(sid::PricePerUnit_9006);          // "Price per unit:"
constexpr int kSum = strId(sid::SumUsed_9007);                 // "Sum used:"
constexpr int kCredit = strId(sid::CreditRemaining_9008);      // "Credit remaining:"
constexpr int kPhoneBookGroup = strId(sid::PhoneBookParameters_9726);
constexpr int kFdnGroup = strId(sid::FdnParameters_9727);
constexpr int kSmsGroup = strId(sid::SmsParameters_9728);
constexpr int kItemsPossible = strId(sid::ItemsPossible_9729);
constexpr int kNameLength = strId(sid::NameLength_9730);
constexpr int kItemsNumber = strId(sid::ItemsNumber_9015);         // "Items number:"
constexpr int kNameLengthMax = strId(sid::NameLengthMax_9016);     // "Name length max:"
constexpr int kMenuLabel = strId(sid::Menu_9731);                  // "Menu: "
constexpr int kCardTypeLabel = strId(sid::CardType_9732);          // "Card type:"
constexpr int kApplicationGroup = strId(sid::SimApplication_6104); // "SIM Application"
constexpr int kDetails = strId(sid::Details_9733);                 // "&Details"
// The rows of the PIN table: PIN1, PIN2, PUK1, PUK2.
constexpr int kRowNames[4] = {strId(sid::Pin1_9737), strId(sid::Pin2_9738), strId(sid::Puk1_9739),
                              strId(sid::Puk2_9740)};
const char* const kRowKeys[4] = {"pin1", "pin2", "puk1", "puk2"};

QLabel* valueLabel(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QLabel* addRow(QFormLayout* form, QWidget* parent, int textId, const char* name)
{
    QLabel* value = valueLabel(parent, QLatin1String(name));
    form->addRow(addLabel(parent, textId, "", value), value);
    return value;
}

// A group holding a form; the form is returned.
QFormLayout* addGroup(QVBoxLayout* layout, QWidget* parent, int titleId)
{
    auto* group = new QGroupBox(uiText(titleId), parent);
    auto* form = new QFormLayout(group);
    layout->addWidget(group);
    return form;
}

} // namespace

// ---- Global -------------------------------------------------------------------------------------

GlobalInfoPage::GlobalInfoPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CNewInfo1"));
    auto* layout = new QVBoxLayout(this);
    auto* identity = new QFormLayout;
    m_iccid = addRow(identity, this, kSerialLabel, "iccid");
    m_imsi = addRow(identity, this, kImsiLabel, "imsi");
    m_phase = addRow(identity, this, kPhaseLabel, "phase");
    layout->addLayout(identity);

    auto* pins = new QGroupBox(uiText(kPinGroup), this);
    auto* grid = new QGridLayout(pins);
    grid->addWidget(new QLabel(uiText(kSupported), pins), 0, 1);
    grid->addWidget(new QLabel(uiText(kLimit), pins), 0, 2);
    grid->addWidget(new QLabel(uiText(kActivated), pins), 0, 3);
    for (int row = 0; row < 4; ++row) {
        const QString key = QLatin1String(kRowKeys[row]);
        grid->addWidget(new QLabel(uiText(kRowNames[row]), pins), row + 1, 0);
        m_supported[row] = valueLabel(pins, key + QStringLiteral("Supported"));
        m_limit[row] = valueLabel(pins, key + QStringLiteral("Limit"));
        grid->addWidget(m_supported[row], row + 1, 1);
        grid->addWidget(m_limit[row], row + 1, 2);
    }
    m_activated = valueLabel(pins, QStringLiteral("pin1Activated"));
    grid->addWidget(m_activated, 1, 3);
    layout->addWidget(pins);

    QFormLayout* costs = addGroup(layout, this, kCallCosts);
    m_currency = addRow(costs, this, kCurrency, "currency");
    m_price = addRow(costs, this, kPrice, "pricePerUnit");
    m_sum = addRow(costs, this, kSum, "sumUsed");
    m_credit = addRow(costs, this, kCredit, "creditRemaining");
    layout->addStretch(1);
}

void GlobalInfoPage::fill(const GlobalInfo& values)
{
    m_iccid->setText(values.iccid);
    m_imsi->setText(values.imsi);
    m_phase->setText(values.phase);
    for (std::size_t row = 0; row < values.chv.size(); ++row) {
        m_supported[row]->setText(values.chv[row].supported);
        m_limit[row]->setText(values.chv[row].limit);
    }
    m_activated->setText(values.chv[0].activated);
    m_currency->setText(values.currency);
    m_price->setText(values.pricePerUnit.trimmed());
    m_sum->setText(values.sumUsed.trimmed());
    m_credit->setText(values.creditRemaining.trimmed());
}

// ---- Phone Book and SMS -------------------------------------------------------------------------

CapacityInfoPage::CapacityInfoPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("CNewInfo2"));
    auto* layout = new QVBoxLayout(this);
    QFormLayout* adn = addGroup(layout, this, kPhoneBookGroup);
    m_adnItems = addRow(adn, this, kItemsPossible, "phoneBookItems");
    m_adnName = addRow(adn, this, kNameLength, "phoneBookNameLength");
    QFormLayout* fdn = addGroup(layout, this, kFdnGroup);
    m_fdnItems = addRow(fdn, this, kItemsPossible, "fdnItems");
    m_fdnName = addRow(fdn, this, kNameLength, "fdnNameLength");
    QFormLayout* sms = addGroup(layout, this, kSmsGroup);
    m_smsItems = addRow(sms, this, kItemsPossible, "smsItems");
    layout->addStretch(1);
}

void CapacityInfoPage::fill(const CapacityInfo& values)
{
    m_adnItems->setText(values.phoneBook.items);
    m_adnName->setText(values.phoneBook.nameLength);
    m_fdnItems->setText(values.fdn.items);
    m_fdnName->setText(values.fdn.nameLength);
    m_smsItems->setText(values.sms.items);
}

// ---- Called Numbers, Personal Numbers -----------------------------------------------------------

NumberListPage::NumberListPage(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_items = addRow(form, this, kItemsNumber, "items");
    m_nameLength = addRow(form, this, kNameLengthMax, "nameLength");
    layout->addLayout(form);
    m_numbers = new QTreeWidget(this);
    m_numbers->setObjectName(QStringLiteral("numbers"));
    m_numbers->setColumnCount(3);
    m_numbers->setHeaderHidden(true);
    m_numbers->setRootIsDecorated(false);
    m_numbers->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(m_numbers, 1);
}

void NumberListPage::fill(const NumberListInfo& values)
{
    m_items->setText(values.items);
    m_nameLength->setText(values.nameLength);
    m_numbers->clear();
    // "%u\t%s\t%s" for a used record, "%u" for an empty one: one column per field.
    for (const QString& line : values.lines)
        m_numbers->addTopLevelItem(new QTreeWidgetItem(line.split(QLatin1Char('\t'))));
    m_numbers->resizeColumnToContents(0);
    m_numbers->resizeColumnToContents(1);
}

// ---- SIM Application ----------------------------------------------------------------------------

SimApplicationInfoPage::SimApplicationInfoPage(QWidget* parent, std::function<void(int row)> activated)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("CNewInfo5"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_title = addRow(form, this, kMenuLabel, "static1117");
    m_cardType = addRow(form, this, kCardTypeLabel, "static1118");
    layout->addLayout(form);

    auto* group = new QGroupBox(uiText(kApplicationGroup), this);
    auto* inGroup = new QVBoxLayout(group);
    m_menu = new QListWidget(group);
    m_menu->setObjectName(QStringLiteral("list1103"));
    m_menu->setSelectionMode(QAbstractItemView::SingleSelection);
    inGroup->addWidget(m_menu);
    layout->addWidget(group, 1);

    m_detailsButton = addPushButton(this, kDetails, "detailsButton");
    m_detailsButton->setCheckable(true);
    m_details = new QPlainTextEdit(this);
    m_details->setObjectName(QStringLiteral("details"));
    m_details->setReadOnly(true);
    m_details->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_details->setVisible(false);
    layout->addWidget(m_detailsButton, 0, Qt::AlignLeft);
    layout->addWidget(m_details, 1);

    connect(m_detailsButton, &QPushButton::toggled, this, &SimApplicationInfoPage::showDetails);
    // The choice runs once the list has finished with the double-click: the card's answer may
    // bring a new menu, which empties the list.
    connect(m_menu, &QListWidget::itemDoubleClicked, this, [this, activated](QListWidgetItem* item) {
        const int row = m_menu->row(item);
        QTimer::singleShot(0, this, [activated, row] { activated(row); });
    });
}

void SimApplicationInfoPage::fill(const SimApplicationPage* page)
{
    m_menu->clear();
    m_title->setText(page ? page->menuTitle() : QString());
    m_cardType->setText(page ? page->cardType() : QString());
    m_details->clear();
    if (!page)
        return;
    for (const ToolkitChoice& entry : page->entries()) {
        auto* item = new QListWidgetItem(entry.text, m_menu);
        item->setData(Qt::UserRole, entry.id);
    }
    if (page->selectedEntry() >= 0 && page->selectedEntry() < m_menu->count())
        m_menu->setCurrentRow(page->selectedEntry());
    QStringList blocks(page->details().begin(), page->details().end());
    m_details->setPlainText(blocks.join(QLatin1Char('\n')));
    m_details->moveCursor(QTextCursor::End);
}

void SimApplicationInfoPage::showDetails(bool on)
{
    m_details->setVisible(on);
}

} // namespace kestrel
