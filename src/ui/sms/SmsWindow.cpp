#include "ui/sms/SmsWindow.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/StringTable.h"
#include "sim/ProgressSink.h"
#include "sms/SmsClipboard.h"
#include "sms/SmsMessageFiles.h"
#include "ui/EditorListDriver.h"
#include "ui/FileChooser.h"
#include "ui/ReportPrinter.h"
#include "ui/phonebook/PhoneBookHooks.h"
#include "ui/phonebook/RangeDialog.h"
#include "ui/sms/SmsCommands.h"
#include "ui/sms/SmsEditDialog.h"
#include "ui/sms/SmsPhoneBookPick.h"

namespace kestrel {

namespace {

using namespace SmsCommand;
// The list keys' commands, run by the list driver with the phone book windows' ids.
static_assert(kDelete == PhoneBookCommand::kDelete && kClear == PhoneBookCommand::kClear &&
              kCut == PhoneBookCommand::kCut);

constexpr int kCaptionId = strId(sid::EditSmsMessages_9640);
// The list's columns: #, When, Status, Tel. number, Text.
constexpr int kTextColumn = 4;

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
    FileChoice choice{kOpenMessagesTitle,   {}, "smsFileDialog", QFileDialog::AcceptOpen, QFileDialog::AnyFile,
                      QStringLiteral("sms")};
    switch (kind) {
    case MessageFileDialog::Save:
        choice.titleId = kSaveMessagesTitle;
        choice.filters = {StringTable::text(kSaveMessagesFilter) + sms, all};
        choice.accept = QFileDialog::AcceptSave;
        break;
    case MessageFileDialog::Archive:
        choice.titleId = kArchiveMessagesTitle;
        choice.filters = {StringTable::text(kArchiveFilter) + sma, all};
        choice.defaultSuffix = QStringLiteral("sma");
        break;
    case MessageFileDialog::Open:
        choice.filters = {StringTable::text(kOpenSmsFilter) + sms, StringTable::text(kOpenSmaFilter) + sma,
                          StringTable::text(kOpenAnyMessagesFilter) + QStringLiteral(" (*.sms *.SMS *.sma *.SMA)"),
                          all};
        choice.mode = QFileDialog::ExistingFile;
        break;
    }
    return chooseFile(parent, choice);
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
    m_driver.reset();
}

PhoneBookListView* SmsWindow::list() const
{
    return m_driver->list();
}

void SmsWindow::buildLayout()
{
    EditorListSetup setup;
    setup.format = smsMimeType();
    setup.columns = SmsListModel::kColumns;
    setup.rows = [this] { return m_model->rowCount(); };
    setup.titleId = &SmsListModel::columnTitleId;
    setup.dragActions = Qt::CopyAction | Qt::MoveAction;
    setup.menu = {{strId(sid::Edit_2060), "editAction", kEditEntry},
                  {strId(sid::Clear_2061), "clearAction", kClear},
                  {},
                  {strId(sid::Copy_9648), "copyAction", kCopy},
                  {strId(sid::Cut_2057), "cutAction", kCut},
                  {strId(sid::Paste_2059), "pasteAction", kPaste},
                  {},
                  {strId(sid::Undo_9800), "undoAction", kUndo},
                  {strId(sid::Redo_9801), "redoAction", kRedo}};
    setup.editCommand = kEdit;
    setup.run = [this](int id) { handleCommand(id); };
    setup.commands = {{kRead, [this] { m_model->readFromCard(); }},
                      {kWrite, [this] { m_model->writeToCard(); }},
                      {kEdit, [this] { editEntry(); }},
                      {kEditEntry, [this] { editEntry(); }},
                      {kClearAll, [this] { m_model->clearAll(); }},
                      {kInsert, [this] { insertEntry(); }},
                      {kSelectRange, [this] { selectRangeDialog(); }},
                      {kOpenFile, [this] { openFile(); }},
                      {kSaveFile, [this] { saveFile(); }},
                      {kAddToFile, [this] { addToArchive(); }}};
    setup.readCommand = kRead;
    setup.openCommand = kOpenFile;
    setup.changed = [this] { showDetails(); };
    m_driver = std::make_unique<EditorListDriver<SmsListModel>>(*m_model, this, std::move(setup));
    PhoneBookListView* list = m_driver->list();
    // The "Text" column, the last, takes the width the others leave, also after a resize.
    const int widths[] = {35, 70, 45, 80};
    for (int column = 0; column < kTextColumn; ++column)
        list->setColumnWidth(column, widths[column]);
    list->setMinimumSize(440, 260);

    auto* buttons = new QVBoxLayout;
    const auto addButton = [this](int textId, const char* name, int command) {
        return m_driver->commandButton(textId, name, command);
    };
    buttons->addWidget(addButton(sid::ReadFromSim_1032, "readButton", kRead));
    buttons->addWidget(addButton(sid::WriteToSim_1024, "writeButton", kWrite));
    buttons->addSpacing(8);
    buttons->addWidget(addButton(sid::Edit_1027, "editButton", kEdit));
    buttons->addWidget(addButton(sid::ClearAll_9646, "clearAllButton", kClearAll));
    buttons->addStretch();
    buttons->addWidget(addButton(sid::Close_9647, "closeButton", kClose));

    auto* top = new QHBoxLayout;
    top->addWidget(list, 1);
    top->addLayout(buttons);

    // The details of the focused row: message text, date / validity, status, number, centre.
    auto* details = new QFormLayout;
    m_detailText = new QPlainTextEdit(this);
    m_detailText->setObjectName(QStringLiteral("detailText"));
    m_detailText->setReadOnly(true);
    m_detailText->setFixedHeight(m_detailText->fontMetrics().lineSpacing() * 3 + 12);
    details->addRow(StringTable::text(sid::MessageText_9641), m_detailText);
    const char* const names[] = {"detailWhen", "detailStatus", "detailNumber", "detailCentre"};
    for (std::size_t i = 0; i < m_details.size(); ++i) {
        m_details[i] = new QLineEdit(this);
        m_details[i]->setObjectName(QLatin1String(names[i]));
        m_details[i]->setReadOnly(true);
        details->addRow(StringTable::text(sid::DateValidity_9642 + static_cast<int>(i)), m_details[i]);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(details);
    resize(640, 520);
}

void SmsWindow::create(int number, int readMode)
{
    setWindowNumber(number);
    setWindowTitle(QStringLiteral("%1 - [%2]").arg(StringTable::text(kCaptionId)).arg(number + 1));
    show();
    m_driver->runStartCommand(readMode);
}

void SmsWindow::handleCommand(int id)
{
    // Nothing follows a close: the window may be gone.
    if (id == kClose)
        close();
    else
        m_driver->runCommand(id);
}

bool SmsWindow::hasUnsavedChanges() const
{
    return m_model->hasUnsavedChanges();
}

bool SmsWindow::confirmClose()
{
    return m_driver->confirmClose();
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
    m_driver->selectionFromModel();
    showDetails();
}

void SmsWindow::historyChanged()
{
    host().OnEditorHistoryChanged(this);
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
        {strId(sid::SelectItems_160), true, strId(sid::IncludeEmptyEntries_1080), strId(sid::FromItem_9661),
         strId(sid::ToItem_9662)},
        {from, to, false},
        [this](const RangeDialog::Values& v) { return m_model->selectRange(v.from, v.to, v.includeEmpty); }, this);
    dialog.exec();
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
