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
#include "ui/EditorListDriver.h"
#include "ui/ListTableModel.h"

namespace kestrel {

namespace {

using namespace SmsCommand;

constexpr int kCaptionId = strId(9640);
// The list's columns: #, When, Status, Tel. number, Text.
constexpr int kTextColumn = 4;
constexpr int kColumnCount = SmsListModel::kColumns;
// Where a window goes on its parent: this offset, plus 20 pixels both ways per window number.
constexpr QPoint kPlacement(150, 50);
constexpr int kPlacementStep = 20;
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
    return QLatin1String(kSmsClipFormat);
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
    m_driver->setSyncing(true);
    delete m_list;
    delete m_table;
}

void SmsWindow::buildLayout()
{
    m_table = new ListTableModel(
        {kColumnCount, [this] { return m_model->rowCount(); },
         [this](int row, int column) { return m_model->rowTexts(row)[static_cast<std::size_t>(column)]; },
         &SmsListModel::columnTitleId},
        this);
    m_list = new PhoneBookListView(this);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setModel(m_table);
    m_driver = std::make_unique<EditorListDriver<SmsListModel>>(*m_model, m_list, m_table, smsMimeType(), this);
    m_list->setHandler(this);
    m_list->setEntryFormat(smsMimeType());
    // The "Text" column, the last, takes the width the others leave, also after a resize.
    const int widths[] = {35, 70, 45, 80};
    for (int column = 0; column < kTextColumn; ++column)
        m_list->setColumnWidth(column, widths[column]);
    m_list->setMinimumSize(440, 260);
    m_driver->connectSelection(this, [this] { showDetails(); });
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] { handleCommand(kEdit); });
    connect(m_list, &QWidget::customContextMenuRequested, this, &SmsWindow::showContextMenu);

    m_contextMenu = buildListMenu(this,
                                  {{strId(2060), "editAction", kEditEntry},
                                   {strId(2061), "clearAction", kClear},
                                   {},
                                   {strId(9648), "copyAction", kCopy},
                                   {strId(2057), "cutAction", kCut},
                                   {strId(2059), "pasteAction", kPaste}},
                                  [this](int id) { handleCommand(id); });

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
    m_driver->redraw(select, first, last);
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
    m_driver->selectionFromModel();
}

void SmsWindow::selectionToModel()
{
    m_driver->selectionToModel();
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
    m_driver->copyToClipboard(cut);
}

void SmsWindow::pasteFromClipboard()
{
    m_driver->pasteFromClipboard();
}

// ---- drag and drop ---------------------------------------------------------------------------

void SmsWindow::listStartDrag()
{
    if (m_driver->startDrag(this)) {
        showDetails();
    }
}

Qt::DropAction SmsWindow::listDragOver(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint pos)
{
    return m_driver->dragOver(data, keys, pos);
}

void SmsWindow::listDragLeave()
{
    m_driver->dragLeave();
}

Qt::DropAction SmsWindow::listDrop(const QMimeData* data, QPoint pos, Qt::DropAction)
{
    const Qt::DropAction done = m_driver->drop(data, pos);
    showDetails();
    return done;
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
