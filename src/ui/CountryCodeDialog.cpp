#include "ui/CountryCodeDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/StringTable.h"
#include "phonebook/CountryCodes.h"

namespace kestrel {

namespace {

constexpr int kCountryColumnWidth = 200;
// The row's index in the country table, kept on its first column.
constexpr int kTableIndexRole = Qt::UserRole;

} // namespace

CountryCodeDialog::CountryCodeDialog(QWidget* parent) : QDialog(parent), m_list(new QTreeWidget(this))
{
    setWindowTitle(StringTable::text(sid::CountryDialingCodes_9513));

    m_list->setObjectName(QStringLiteral("countries"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({StringTable::text(sid::Country_57900), StringTable::text(sid::DialingNumber_57901)});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setColumnWidth(CountryColumn, kCountryColumnWidth);
    QHeaderView* header = m_list->header();
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    connect(header, &QHeaderView::sectionClicked, this, &CountryCodeDialog::showOrder);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        if (item) {
            m_list->setCurrentItem(item);
            accept();
        }
    });

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(StringTable::text(sid::Ok_9514), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(StringTable::text(sid::Cancel_9515), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(420, 360);

    showOrder(CountryColumn);
}

QString CountryCodeDialog::choose(QWidget* parent)
{
    CountryCodeDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedCode();
}

QString CountryCodeDialog::selectedCode() const
{
    const QList<QTreeWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return {};
    return selected.first()->text(CodeColumn);
}

void CountryCodeDialog::showOrder(int column)
{
    m_orderColumn = column == CodeColumn ? CodeColumn : CountryColumn;

    int selectedRow = -1;
    if (const QList<QTreeWidgetItem*> selected = m_list->selectedItems(); !selected.isEmpty())
        selectedRow = selected.first()->data(CountryColumn, kTableIndexRole).toInt();

    const std::span<const CountryCode> table = countryCodes();
    std::vector<int> order;
    if (m_orderColumn == CodeColumn) {
        order = countryOrderByCode();
    } else {
        order.resize(table.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<int>(i);
    }

    m_list->clear();
    QTreeWidgetItem* keep = nullptr;
    for (const int row : order) {
        const CountryCode& c = table[static_cast<std::size_t>(row)];
        auto* item = new QTreeWidgetItem(m_list, {QString::fromLatin1(c.name), QString::fromLatin1(c.code)});
        item->setData(CountryColumn, kTableIndexRole, row);
        if (row == selectedRow)
            keep = item;
    }
    if (keep) {
        m_list->setCurrentItem(keep);
        m_list->scrollToItem(keep);
    }
    m_list->header()->setSortIndicator(m_orderColumn, Qt::AscendingOrder);
}

} // namespace kestrel
