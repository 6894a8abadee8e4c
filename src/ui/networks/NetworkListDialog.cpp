#include "ui/networks/NetworkListDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTextOption>
#include <QTimer>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "base/StringTable.h"
#include "sim/ProgressSink.h"
#include "ui/DialogButtons.h"
#include "ui/ReportPrinter.h"
#include "ui/networks/SelectNetworkDialog.h"
#include "ui/phonebook/PhoneBookHooks.h"

namespace kestrel {

namespace {

constexpr int kRead = strId(sid::ReadFromSim_1088);       // "&Read from SIM"
constexpr int kWrite = strId(sid::WriteToSim_9602);       // "&Write to SIM!"
constexpr int kEdit = strId(sid::Edit_9672);              // "&Edit"
constexpr int kDelete = strId(sid::Delete_1092);          // "&Delete"
constexpr int kDeleteAll = strId(sid::DeleteAll_9673);    // "Delete A&ll"
constexpr int kPrint = strId(sid::Print_9328);            // "&Print"
constexpr int kClose = strId(sid::Close_9327);            // "&Close"
constexpr int kCopyAll = strId(sid::CopyAllContent_9674); // "&Copy All Content"

// The list's tab stops, in horizontal dialog units.
constexpr int kTabStops[] = {15, 50, 100};

// Draws a line with its tabs at the list's tab stops.
class TabStopDelegate final : public QStyledItemDelegate
{
public:
    explicit TabStopDelegate(QWidget* list) : QStyledItemDelegate(list)
    {
        // A horizontal dialog unit is a quarter of the average character width of the font.
        const qreal unit = QFontMetricsF(list->font()).averageCharWidth() / 4.0;
        for (const int stop : kTabStops)
            m_stops.append(stop * unit);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* widget = opt.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
        QTextOption layout(Qt::AlignLeft | Qt::AlignVCenter);
        layout.setWrapMode(QTextOption::NoWrap);
        layout.setTabArray(m_stops);
        painter->save();
        painter->setFont(opt.font);
        painter->setPen(
            opt.palette.color(opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
                              opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(QRectF(area), text, layout);
        painter->restore();
    }

    qreal lastStop() const { return m_stops.last(); }

private:
    QList<qreal> m_stops;
};

} // namespace

NetworkListDialog::NetworkListDialog(AppState& state, Prompter& prompter, ProgressSink* progress, bool forbidden,
                                     QWidget* parent)
    : QDialog(parent), m_state(state), m_ownProgress(progress ? nullptr : makeProgressSink(this)),
      m_model(state.sim(), prompter, progress ? progress : m_ownProgress.get(), forbidden)
{
    setObjectName(forbidden ? QStringLiteral("forbiddenNetworksDialog") : QStringLiteral("preferredNetworksDialog"));
    setWindowTitle(StringTable::text(m_model.captionId()));

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("list1000"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    auto* delegate = new TabStopDelegate(m_list);
    m_list->setItemDelegate(delegate);
    const QFontMetricsF metrics(m_list->font());
    m_list->setMinimumSize(static_cast<int>(delegate->lastStop() + metrics.averageCharWidth() * 40),
                           static_cast<int>(metrics.lineSpacing() * 12));
    m_list->installEventFilter(this);

    auto* read = addPushButton(this, kRead, "button1088");
    m_write = addPushButton(this, kWrite, "button1089");
    m_edit = addPushButton(this, kEdit, "button1090");
    m_delete = addPushButton(this, kDelete, "button1092");
    m_deleteAll = addPushButton(this, kDeleteAll, "button1091");
    auto* printButton = addPushButton(this, kPrint, "button1117");
    auto* copy = addPushButton(this, kCopyAll, "button2058");
    auto* close = addPushButton(this, kClose, "button1");

    auto* buttons = new QVBoxLayout;
    for (QPushButton* b : {read, m_write, m_edit, m_delete, m_deleteAll, printButton, copy})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);

    connect(read, &QPushButton::clicked, this, &NetworkListDialog::readFromCard);
    connect(m_write, &QPushButton::clicked, this, &NetworkListDialog::writeToCard);
    connect(m_edit, &QPushButton::clicked, this, &NetworkListDialog::editSelected);
    connect(m_delete, &QPushButton::clicked, this, &NetworkListDialog::deleteSelected);
    connect(m_deleteAll, &QPushButton::clicked, this, &NetworkListDialog::deleteAll);
    connect(printButton, &QPushButton::clicked, this, &NetworkListDialog::print);
    connect(copy, &QPushButton::clicked, this, &NetworkListDialog::copyAll);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &NetworkListDialog::editSelected);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &NetworkListDialog::updateButtons);
    connect(m_list, &QWidget::customContextMenuRequested, this, &NetworkListDialog::showContextMenu);
    redraw(-1);
}

NetworkListDialog::~NetworkListDialog() = default;

void NetworkListDialog::open(AppState& state, Prompter& prompter, ProgressSink* progress, bool forbidden,
                             QWidget* parent)
{
    if (!state.simCard())
        return;
    NetworkListDialog dialog(state, prompter, progress, forbidden, parent);
    // Read once the dialog is on the screen, so that the progress window shows above it.
    QTimer::singleShot(0, &dialog, &NetworkListDialog::readFromCard);
    dialog.exec();
}

int NetworkListDialog::selectedRow() const
{
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

void NetworkListDialog::redraw(int select)
{
    m_list->clear();
    m_list->addItems(m_model.lines());
    if (select >= 0 && select < m_list->count())
        m_list->setCurrentRow(select);
    updateButtons();
}

void NetworkListDialog::updateButtons()
{
    const NetworkListModel::Buttons b = m_model.buttons(selectedRow());
    m_write->setEnabled(b.write);
    m_deleteAll->setEnabled(b.deleteAll);
    m_edit->setEnabled(b.edit);
    m_delete->setEnabled(b.remove);
}

void NetworkListDialog::readFromCard()
{
    m_model.readFromCard();
    redraw(-1);
}

void NetworkListDialog::writeToCard()
{
    const int row = selectedRow();
    m_model.writeToCard();
    redraw(row);
}

void NetworkListDialog::editSelected()
{
    const int row = selectedRow();
    if (row < 0 || row >= m_model.count())
        return;
    const auto fields = SelectNetworkDialog::ask(m_model.mccField(row), m_model.mncField(row), this);
    if (fields && m_model.applyEdit(row, fields->first, fields->second))
        redraw(row);
}

void NetworkListDialog::deleteSelected()
{
    const int row = selectedRow();
    if (m_model.removeEntry(row))
        redraw(row);
}

void NetworkListDialog::deleteAll()
{
    const int row = selectedRow();
    m_model.removeAll();
    redraw(row);
}

void NetworkListDialog::copyAll()
{
    const QString text = m_model.copyText();
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void NetworkListDialog::print()
{
    ReportPrinter(m_state, this)
        .PrintReport(m_model.printText(), StringTable::text(m_model.printHeadingId()),
                     NetworkListModel::printTabStops());
}

bool NetworkListDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrlInsert = key->key() == Qt::Key_Insert && key->modifiers() == Qt::ControlModifier;
        if (key->matches(QKeySequence::Copy) || ctrlInsert) {
            copyAll();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void NetworkListDialog::showContextMenu(const QPoint& at)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("menu147"));
    menu.addAction(StringTable::text(kCopyAll), this, &NetworkListDialog::copyAll);
    menu.exec(m_list->viewport()->mapToGlobal(at));
}

} // namespace kestrel
