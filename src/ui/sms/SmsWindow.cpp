#include "ui/sms/SmsWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "base/StringTable.h"
#include "codec/PcText.h"
#include "sim/ProgressSink.h"
#include "sms/SmsClipboard.h"
#include "sms/SmsMessageFiles.h"
#include "ui/ReportPrinter.h"
#include "ui/phonebook/PhoneBookHooks.h"
#include "ui/phonebook/RangeDialog.h"
#include "ui/sms/SmsCommands.h"
#include "ui/sms/SmsEditDialog.h"
#include "ui/sms/SmsPhoneBookPick.h"
#include "ui/sms/SmsTableModel.h"

namespace kestrel {

namespace {

using namespace SmsCommand;

constexpr int kCaptionId = strId(9640);
// Where a window goes on its parent: this offset, plus 20 pixels both ways per window number.
constexpr QPoint kPlacement(150, 50);
constexpr int kPlacementStep = 20;
// How often the list scrolls while a drag rests near its top or bottom edge.
constexpr int kDragScrollInterval = 100;

Qt::DropAction toQt(DropEffect effect)
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

enum class MessageFileDialog
{
    Save,    // Save File: a new .SMS file, asks before overwriting
    Archive, // Add to File: an existing or new .SMA file
    Open,    // Open File: an existing .SMS or .SMA file
};

// The path the file dialog of a message file command gives; empty when cancelled.
QString chooseMessageFile(QWidget* parent, MessageFileDialog kind)
{
    const QString sms = QStringLiteral(" (*.sms *.SMS)");
    const QString sma = QStringLiteral(" (*.sma *.SMA)");
    const QString all = StringTable::text(kAllFilesFilter) + QStringLiteral(" (*)");
    int titleId = kOpenMessagesTitle;
    QStringList filters;
    QString suffix = QStringLiteral("sms");
    switch (kind) {
    case MessageFileDialog::Save:
        titleId = kSaveMessagesTitle;
        filters = {StringTable::text(kSaveMessagesFilter) + sms, all};
        break;
    case MessageFileDialog::Archive:
        titleId = kArchiveMessagesTitle;
        filters = {StringTable::text(kArchiveFilter) + sma, all};
        suffix = QStringLiteral("sma");
        break;
    case MessageFileDialog::Open:
        filters = {StringTable::text(kOpenSmsFilter) + sms, StringTable::text(kOpenSmaFilter) + sma,
                   StringTable::text(kOpenAnyMessagesFilter) + QStringLiteral(" (*.sms *.SMS *.sma *.SMA)"), all};
        break;
    }
    QFileDialog dialog(parent, StringTable::text(titleId));
    dialog.setObjectName(QStringLiteral("smsFileDialog"));
    dialog.setNameFilters(filters);
    dialog.setAcceptMode(kind == MessageFileDialog::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(kind == MessageFileDialog::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString smsMimeType()
{
    return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(QLatin1String(kSmsClipFormat));
}

SmsWindow::SmsWindow(EditorHost& host, QWidget* parent)
    : EditorWindow(EditorKind::Sms, host, parent), m_progress(makeProgressSink(this)),
      m_model(std::make_unique<SmsListModel>(host.state(), host.prompter(), m_progress.get()))
{
    setObjectName(QStringLiteral("SmsWindow"));
    setWindowTitle(StringTable::text(kCaptionId));
    buildLayout();
    m_model->setView(this);
}

SmsWindow::~SmsWindow()
{
    m_model->setView(nullptr);
    // The list and its table read the model; they go before it, not with the other children.
    m_syncing = true;
    delete m_list;
    delete m_table;
}

void SmsWindow::buildLayout()
{
    m_table = new SmsTableModel(*m_model, this);
    m_list = new PhoneBookListView(this);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setModel(m_table);
    m_list->setHandler(this);
    m_list->setEntryFormat(smsMimeType());
    // The "Text" column, the last, takes the width the others leave, also after a resize.
    const int widths[] = {35, 70, 45, 80};
    for (int column = 0; column < SmsTableModel::TextColumn; ++column)
        m_list->setColumnWidth(column, widths[column]);
    m_list->setMinimumSize(440, 260);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { selectionToModel(); });
    connect(m_list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (m_syncing)
                    return;
                m_model->setFocusedRow(current.isValid() ? current.row() : -1);
                showDetails();
            });
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] { handleCommand(kEdit); });
    connect(m_list, &QWidget::customContextMenuRequested, this, &SmsWindow::showContextMenu);

    m_contextMenu = new QMenu(this);
    m_contextMenu->setObjectName(QStringLiteral("contextMenu"));
    const struct
    {
        int textId;
        const char* name;
        int command;
    } kItems[] = {
        {strId(2060), "editAction", kEditEntry},
        {strId(2061), "clearAction", kClear},
        {0, nullptr, 0},
        {strId(9648), "copyAction", kCopy},
        {strId(2057), "cutAction", kCut},
        {strId(2059), "pasteAction", kPaste},
    };
    for (const auto& item : kItems) {
        if (!item.name) {
            m_contextMenu->addSeparator();
            continue;
        }
        QAction* action = m_contextMenu->addAction(StringTable::text(item.textId));
        action->setObjectName(QLatin1String(item.name));
        connect(action, &QAction::triggered, this, [this, id = item.command] { handleCommand(id); });
    }

    m_scrollTimer = new QTimer(this);
    m_scrollTimer->setInterval(kDragScrollInterval);
    connect(m_scrollTimer, &QTimer::timeout, this, &SmsWindow::dragScroll);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(addButton(1032, "readButton", kRead));
    buttons->addWidget(addButton(1024, "writeButton", kWrite));
    buttons->addSpacing(8);
    buttons->addWidget(addButton(1027, "editButton", kEdit));
    buttons->addWidget(addButton(9646, "clearAllButton", kClearAll));
    buttons->addStretch();
    buttons->addWidget(addButton(9647, "closeButton", kClose));

    auto* top = new QHBoxLayout;
    top->addWidget(m_list, 1);
    top->addLayout(buttons);

    // The details of the focused row: message text, date / validity, status, number, centre.
    auto* details = new QFormLayout;
    m_detailText = new QPlainTextEdit(this);
    m_detailText->setObjectName(QStringLiteral("detailText"));
    m_detailText->setReadOnly(true);
    m_detailText->setFixedHeight(m_detailText->fontMetrics().lineSpacing() * 3 + 12);
    details->addRow(StringTable::text(9641), m_detailText);
    const char* const names[] = {"detailWhen", "detailStatus", "detailNumber", "detailCentre"};
    for (std::size_t i = 0; i < m_details.size(); ++i) {
        m_details[i] = new QLineEdit(this);
        m_details[i]->setObjectName(QLatin1String(names[i]));
        m_details[i]->setReadOnly(true);
        details->addRow(StringTable::text(9642 + static_cast<int>(i)), m_details[i]);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(details);
    resize(640, 520);
}

QPushButton* SmsWindow::addButton(int textId, const char* name, int command)
{
    auto* button = new QPushButton(StringTable::text(textId), this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, command] { handleCommand(command); });
    return button;
}

void SmsWindow::create(int number, int readMode)
{
    setWindowNumber(number);
    setWindowTitle(QStringLiteral("%1 - [%2]").arg(StringTable::text(kCaptionId)).arg(number + 1));
    placeOnParent();
    show();
    if (readMode == 1)
        handleCommand(kRead);
    else if (readMode == 2)
        handleCommand(kOpenFile);
}

void SmsWindow::placeOnParent()
{
    const QWidget* parent = parentWidget();
    if (!parent)
        return;
    const int step = kPlacementStep * std::max(0, windowNumber());
    move(parent->mapToGlobal(QPoint(0, 0)) + kPlacement + QPoint(step, step));
}

void SmsWindow::handleCommand(int id)
{
    switch (id) {
    case kClose:
        close();
        return;
    case kRead:
        m_model->readFromCard();
        break;
    case kWrite:
        m_model->writeToCard();
        break;
    case kEdit:
    case kEditEntry:
        editEntry();
        break;
    case kClearAll:
        m_model->clearAll();
        break;
    case kInsert:
        insertEntry();
        break;
    case kDelete:
        m_model->deleteSelected();
        break;
    case kClearSelected:
    case kClear:
        m_model->clearSelected();
        break;
    case kSelectAll:
        m_model->selectAllUsed();
        break;
    case kSelectRange:
        selectRangeDialog();
        break;
    case kCut:
        copyToClipboard(true);
        break;
    case kCopy:
        copyToClipboard(false);
        break;
    case kPaste:
        pasteFromClipboard();
        break;
    case kOpenFile:
        openFile();
        break;
    case kSaveFile:
        saveFile();
        break;
    case kAddToFile:
        addToArchive();
        break;
    default:
        return;
    }
    // Whatever the command did to the selection, the list shows the model's.
    selectionFromModel();
    showDetails();
}

bool SmsWindow::hasUnsavedChanges() const
{
    return m_model->hasUnsavedChanges();
}

bool SmsWindow::confirmClose()
{
    // Asked once: a close that has begun is not asked again.
    if (m_closing)
        return true;
    if (!m_model->confirmClose())
        return false;
    m_closing = true;
    return true;
}

void SmsWindow::printList()
{
    const auto& entries = m_model->entries();
    const QList<SmsEntry> rows(entries.begin(), entries.begin() + m_model->rowCount());
    ReportPrinter(m_model->app(), this).PrintMessages(rows);
}

// ---- list ------------------------------------------------------------------------------------

void SmsWindow::redraw(int select, int first, int last)
{
    m_syncing = true;
    m_table->refresh(first, last);
    m_syncing = false;
    if (select >= 0 && select < m_model->rowCount()) {
        m_model->clearSelection();
        m_model->setSelected(select, true);
        m_model->setFocusedRow(select);
    }
    selectionFromModel();
    if (select >= 0)
        m_list->scrollRowIntoView(select);
    showDetails();
}

void SmsWindow::selectionChanged()
{
    selectionFromModel();
    showDetails();
}

void SmsWindow::showDetails()
{
    const int row = m_model->focusedRow();
    std::array<QString, SmsListModel::kDetails> texts;
    if (row >= 0 && row < m_model->rowCount())
        texts = m_model->detailTexts(row);
    m_detailText->setPlainText(texts[0]);
    for (std::size_t i = 0; i < m_details.size(); ++i)
        m_details[i]->setText(texts[i + 1]);
}

void SmsWindow::selectionFromModel()
{
    if (m_syncing)
        return;
    m_syncing = true;
    QItemSelection selection;
    const std::vector<int> rows = m_model->selectedRows();
    const int lastColumn = SmsTableModel::ColumnCount - 1;
    for (std::size_t i = 0; i < rows.size();) {
        std::size_t j = i;
        while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1)
            ++j;
        selection.select(m_table->index(rows[i], 0), m_table->index(rows[j], lastColumn));
        i = j + 1;
    }
    QItemSelectionModel* sm = m_list->selectionModel();
    sm->select(selection, QItemSelectionModel::ClearAndSelect);
    const int focused = m_model->focusedRow();
    if (focused >= 0 && focused < m_table->rowCount())
        sm->setCurrentIndex(m_table->index(focused, 0), QItemSelectionModel::NoUpdate);
    else
        sm->clearCurrentIndex();
    m_syncing = false;
}

void SmsWindow::selectionToModel()
{
    if (m_syncing)
        return;
    m_model->clearSelection();
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        m_model->setSelected(index.row(), true);
}

void SmsWindow::showContextMenu(QPoint pos)
{
    if (m_list->rowAtPoint(pos) < 0)
        return;
    m_contextMenu->popup(m_list->viewport()->mapToGlobal(pos));
}

void SmsWindow::listCommand(int id)
{
    handleCommand(id);
}

// ---- editing ---------------------------------------------------------------------------------

void SmsWindow::editEntry()
{
    if (const std::optional<int> row = m_model->editRow())
        openEditDialog(*row);
}

void SmsWindow::insertEntry()
{
    const int row = m_model->insertEntry();
    if (row >= 0)
        openEditDialog(row);
}

void SmsWindow::openEditDialog(int row)
{
    // OK replaces the row through the model, which redraws it; Cancel leaves the row as it was.
    SmsEditDialog dialog(*m_model, row, currentPhoneBookPick(host()), this);
    dialog.exec();
}

void SmsWindow::selectRangeDialog()
{
    const auto [from, to] = m_model->defaultInterval();
    RangeDialog dialog(
        {strId(160), true, strId(1080), strId(9661), strId(9662)}, {from, to, false},
        [this](const RangeDialog::Values& v) { return m_model->selectRange(v.from, v.to, v.includeEmpty); }, this);
    dialog.exec();
}

// ---- clipboard -------------------------------------------------------------------------------

void SmsWindow::copyToClipboard(bool cut)
{
    const std::optional<SmsClip> clip = m_model->copySelection(cut);
    if (!clip)
        return;
    auto* data = new QMimeData;
    data->setData(smsMimeType(), clip->payload);
    // The text form is PC text; the clipboard carries it as UTF-8 text/plain.
    std::string_view text = clip->text;
    while (!text.empty() && text.back() == '\0')
        text.remove_suffix(1);
    data->setText(pcTextToUnicode(text));
    QApplication::clipboard()->setMimeData(data);
}

void SmsWindow::pasteFromClipboard()
{
    const QMimeData* data = QApplication::clipboard()->mimeData();
    if (!data)
        return;
    if (data->hasFormat(smsMimeType()))
        m_model->pastePayload(data->data(smsMimeType()));
    else if (data->hasText())
        m_model->pasteText(unicodeToPcText(data->text()));
}

// ---- drag and drop ---------------------------------------------------------------------------

void SmsWindow::listStartDrag()
{
    const std::optional<QByteArray> payload = m_model->startDrag();
    if (!payload)
        return;
    auto* data = new QMimeData;
    data->setData(smsMimeType(), *payload);
    auto* drag = new QDrag(m_list);
    drag->setMimeData(data);
    const QPointer<SmsWindow> self(this);
    const Qt::DropAction done = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    if (!self)
        return;
    m_model->endDrag(done == Qt::MoveAction ? DropEffect::Move
                                            : (done == Qt::CopyAction ? DropEffect::Copy : DropEffect::None));
    selectionFromModel();
    showDetails();
}

Qt::DropAction SmsWindow::listDragOver(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint pos)
{
    const bool hasMessages = data && data->hasFormat(smsMimeType());
    const int row = m_list->rowAtPoint(pos);
    const QByteArray payload = hasMessages ? data->data(smsMimeType()) : QByteArray();
    const DropEffect effect =
        m_model->dropEffect(hasMessages ? &payload : nullptr, row, keys.testFlag(Qt::ControlModifier));
    m_list->setDropRow(effect != DropEffect::None ? row : -1);
    m_dragEffect = effect;
    m_dragPoint = pos;
    if (hasMessages) {
        dragScroll();
        m_scrollTimer->start();
    }
    return toQt(effect);
}

void SmsWindow::listDragLeave()
{
    m_scrollTimer->stop();
    m_list->setDropRow(-1);
    m_dragEffect = DropEffect::None;
}

Qt::DropAction SmsWindow::listDrop(const QMimeData* data, QPoint pos, Qt::DropAction)
{
    // The effect is the one the last drag-over showed (move only within this list and without
    // Ctrl), not the action the drag proposes: a drop from another window is always a copy.
    const DropEffect effect = m_dragEffect;
    listDragLeave();
    if (!data || !data->hasFormat(smsMimeType()) || effect == DropEffect::None)
        return Qt::IgnoreAction;
    const int row = m_list->rowAtPoint(pos);
    if (row < 0)
        return Qt::IgnoreAction;
    // Nothing dropped (the overwrite declined, the data broken) must not count as a move, or the
    // source would clear messages that never arrived.
    const bool dropped = m_model->drop(data->data(smsMimeType()), row);
    selectionFromModel();
    showDetails();
    return dropped ? toQt(effect) : Qt::IgnoreAction;
}

void SmsWindow::dragScroll()
{
    const std::optional<int> target = PhoneBookModel::dragScrollTarget(
        m_dragPoint.y(), 0, m_list->viewport()->height(), m_list->topRow(), m_list->rowsPerPage(), m_table->rowCount());
    if (!target)
        return;
    m_list->scrollRowIntoView(*target);
    if (m_list->dropRow() >= 0)
        m_list->setDropRow(m_list->rowAtPoint(m_dragPoint));
}

// ---- files -----------------------------------------------------------------------------------

void SmsWindow::saveFile()
{
    const QString path = chooseMessageFile(this, MessageFileDialog::Save);
    if (!path.isEmpty())
        SmsMessageFiles(*m_model).saveFile(path);
}

void SmsWindow::addToArchive()
{
    const QString path = chooseMessageFile(this, MessageFileDialog::Archive);
    if (!path.isEmpty())
        SmsMessageFiles(*m_model).appendToArchive(path);
}

void SmsWindow::openFile()
{
    const QString path = chooseMessageFile(this, MessageFileDialog::Open);
    if (!path.isEmpty())
        SmsMessageFiles(*m_model).openFile(path);
}

} // namespace kestrel
