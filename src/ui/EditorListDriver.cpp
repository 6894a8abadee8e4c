#include "ui/EditorListDriver.h"

#include <QApplication>
#include <QClipboard>
#include <QItemSelection>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include "base/StringTable.h"
#include "codec/PcText.h"
#include "phonebook/PhoneBookModel.h"
#include "ui/MainMenus.h"

namespace kestrel {

namespace {

// How often the list scrolls while a drag rests near its top or bottom edge.
constexpr int kDragScrollInterval = 100;

} // namespace

Qt::DropAction toQtDropAction(DropEffect effect)
{
    switch (effect) {
    case DropEffect::Copy:
        return Qt::CopyAction;
    case DropEffect::Move:
        return Qt::MoveAction;
    case DropEffect::None:
        break;
    }
    return Qt::IgnoreAction;
}

DropEffect fromQtDropAction(Qt::DropAction action)
{
    if (action == Qt::MoveAction)
        return DropEffect::Move;
    return action == Qt::CopyAction ? DropEffect::Copy : DropEffect::None;
}

EditorListParts::EditorListParts(QWidget* window, EditorListSetup setup)
    : m_window(window), m_setup(std::move(setup)),
      m_table(new ListTableModel({m_setup.columns, m_setup.rows, m_setup.text, m_setup.titleId}, window)),
      m_list(new PhoneBookListView(window))
{
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setModel(m_table);
    m_list->setHandler(this);
    m_list->setEntryFormat(m_setup.format);
    QObject::connect(m_list, &QAbstractItemView::doubleClicked, window, [this] { m_setup.run(m_setup.editCommand); });

    m_menu = new QMenu(window);
    m_menu->setObjectName(QStringLiteral("contextMenu"));
    for (const ListMenuItem& item : m_setup.menu) {
        if (!item.name) {
            m_menu->addSeparator();
            continue;
        }
        QAction* action = m_menu->addAction(StringTable::text(item.textId));
        action->setObjectName(QLatin1String(item.name));
        // The keys are shown only: the list and the main window's accelerators take them.
        const QList<QKeySequence> keys =
            item.command == m_setup.editCommand || item.command == PhoneBookCommand::kEditEntry
                ? QList<QKeySequence>{QKeySequence(Qt::Key_F2)}
                : editorKeysOf(item.command == PhoneBookCommand::kClear ? PhoneBookCommand::kClearSelected
                                                                        : item.command);
        if (!keys.isEmpty()) {
            action->setShortcuts(keys);
            action->setShortcutContext(Qt::WidgetShortcut);
            action->setShortcutVisibleInContextMenu(true);
        }
        m_menuActions[item.command] = action;
        QObject::connect(action, &QAction::triggered, window, [this, id = item.command] { m_setup.run(id); });
    }
    QObject::connect(m_menu, &QMenu::aboutToShow, window, [this] { showHistoryState(); });
    QObject::connect(m_list, &QWidget::customContextMenuRequested, window, [this](QPoint pos) {
        if (m_list->rowAtPoint(pos) >= 0)
            m_menu->popup(m_list->viewport()->mapToGlobal(pos));
    });

    m_scrollTimer = new QTimer(window);
    m_scrollTimer->setInterval(kDragScrollInterval);
    QObject::connect(m_scrollTimer, &QTimer::timeout, window, [this] { dragScroll(); });
}

EditorListParts::~EditorListParts()
{
    // The list and its table read the row model; they go with the driver, before the model.
    m_syncing = true;
    delete m_scrollTimer;
    delete m_menu;
    delete m_list;
    delete m_table;
}

QPushButton* EditorListParts::commandButton(int textId, const char* name, int command)
{
    auto* button = new QPushButton(StringTable::text(textId), m_window);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, m_window, [this, command] { m_setup.run(command); });
    return button;
}

bool EditorListParts::runOwnCommand(int id) const
{
    for (const ListCommand& command : m_setup.commands) {
        if (command.id == id) {
            command.run();
            return true;
        }
    }
    return false;
}

bool EditorListParts::confirmCloseOnce(const std::function<bool()>& ask)
{
    if (m_closing)
        return true;
    if (!ask())
        return false;
    m_closing = true;
    return true;
}

void EditorListParts::runStartCommand(int readMode)
{
    if (readMode == 1)
        m_setup.run(m_setup.readCommand);
    else if (readMode == 2)
        m_setup.run(m_setup.openCommand);
}

QAction* EditorListParts::menuAction(int command) const
{
    const auto it = m_menuActions.find(command);
    return it == m_menuActions.end() ? nullptr : it->second;
}

void EditorListParts::listEdit()
{
    const QModelIndex current = m_list->currentIndex();
    if (!current.isValid())
        return;
    const int row = current.row();
    m_list->selectionModel()->select(m_table->index(row, 0),
                                     QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_setup.run(m_setup.editCommand);
}

void EditorListParts::changed()
{
    if (m_setup.changed)
        m_setup.changed();
}

std::optional<QByteArray> EditorListParts::payloadOf(const QMimeData* data) const
{
    if (!data || !data->hasFormat(m_setup.format))
        return std::nullopt;
    return data->data(m_setup.format);
}

QMimeData* EditorListParts::mimeData(const QByteArray& payload) const
{
    auto* data = new QMimeData;
    data->setData(m_setup.format, payload);
    return data;
}

void EditorListParts::setClipboard(const QByteArray& payload, std::string_view pcText) const
{
    QMimeData* data = mimeData(payload);
    while (!pcText.empty() && pcText.back() == '\0')
        pcText.remove_suffix(1);
    data->setText(pcTextToUnicode(pcText));
    QApplication::clipboard()->setMimeData(data);
}

std::optional<QByteArray> EditorListParts::clipboardPayload() const
{
    return payloadOf(QApplication::clipboard()->mimeData());
}

std::optional<std::string> EditorListParts::clipboardText() const
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return std::nullopt;
    return unicodeToPcText(data->text());
}

void EditorListParts::showSelection(const std::vector<int>& rows, int focused)
{
    QItemSelection selection;
    const int lastColumn = m_table->columnCount() - 1;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        selection.select(m_table->index(rows[i], 0), m_table->index(rows[j], lastColumn));
        i = j + 1;
    }
    QItemSelectionModel* sm = m_list->selectionModel();
    sm->select(selection, QItemSelectionModel::ClearAndSelect);
    if (focused >= 0 && focused < m_table->rowCount())
        sm->setCurrentIndex(m_table->index(focused, 0), QItemSelectionModel::NoUpdate);
    else
        sm->clearCurrentIndex();
}

void EditorListParts::dragScroll()
{
    const std::optional<int> target = PhoneBookModel::dragScrollTarget(
        m_dragPoint.y(), 0, m_list->viewport()->height(), m_list->topRow(), m_list->rowsPerPage(), m_table->rowCount());
    if (!target)
        return;
    m_list->scrollRowIntoView(*target);
    if (m_list->dropRow() >= 0)
        m_list->setDropRow(m_list->rowAtPoint(m_dragPoint));
}

void EditorListParts::startScrolling()
{
    dragScroll();
    m_scrollTimer->start();
}

void EditorListParts::stopScrolling()
{
    m_scrollTimer->stop();
    m_list->setDropRow(-1);
    m_dragEffect = DropEffect::None;
}

} // namespace kestrel
