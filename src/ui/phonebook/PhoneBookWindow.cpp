#include "ui/phonebook/PhoneBookWindow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "base/StringTable.h"
#include "phonebook/DialClipboard.h"
#include "sim/ProgressSink.h"
#include "ui/EditorListDriver.h"
#include "ui/phonebook/PhoneBookCommands.h"
#include "ui/phonebook/PhoneBookHooks.h"

namespace kestrel {

namespace {

using namespace PhoneBookCommand;

// The list's columns: item number, name, number.
constexpr int kItemColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kColumnCount = 3;

} // namespace

PhoneBookWindow::PhoneBookWindow(const PhoneBookWindowKind& kind, EditorHost& host, QWidget* parent)
    : EditorWindow(kind.kind, host, parent), m_progress(makeProgressSink(this)),
      m_model(std::make_unique<PhoneBookModel>(kind.book, host.state(), host.prompter(), m_progress.get())),
      m_captionId(kind.captionId)
{
    setObjectName(kind.book == DialBook::Fdn ? QStringLiteral("CFdnEdDlg") : QStringLiteral("CSezEdDlg"));
    setWindowTitle(StringTable::text(m_captionId));
    FindReplaceUi& ui = *this;
    m_find = std::make_unique<FindReplace>(*m_model, ui);
    buildLayout(kind);
    m_model->setView(this);
}

PhoneBookWindow::~PhoneBookWindow()
{
    m_model->setView(nullptr);
    // The list and its table read the model; they go before it, not with the other children.
    m_driver.reset();
}

PhoneBookListView* PhoneBookWindow::list() const
{
    return m_driver->list();
}

void PhoneBookWindow::buildLayout(const PhoneBookWindowKind& kind)
{
    EditorListSetup setup;
    setup.format = QLatin1String(kDialClipFormat);
    setup.columns = kColumnCount;
    setup.rows = [this] { return m_model->capacity(); };
    setup.titleId = &PhoneBookModel::columnTitleId;
    setup.dragActions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    setup.menu = {{strId(sid::Edit_2060), "editAction", kEditEntry}, {strId(sid::Clear_2061), "clearAction", kClear},
                  {strId(sid::Copy_9610), "copyAction", kCopy},      {strId(sid::Cut_2057), "cutAction", kCut},
                  {strId(sid::Paste_2059), "pasteAction", kPaste},   {},
                  {strId(sid::Undo_9800), "undoAction", kUndo},      {strId(sid::Redo_9801), "redoAction", kRedo}};
    setup.editCommand = kEditEntry;
    setup.run = [this](int id) { handleCommand(id); };
    setup.commands = {{kRead, [this] { readFromCard(); }},
                      {kWrite, [this] { writeToCard(); }},
                      {kEdit, [this] { editEntry(); }},
                      {kEditEntry, [this] { editEntry(); }},
                      {kFind, [this] { m_find->find(); }},
                      {kFindNext, [this] { m_find->findNext(); }},
                      {kSort, [this] { sortDialog(); }},
                      {kAddCode, [this] { addCodeDialog(); }},
                      {kClearAll, [this] { m_model->clearAll(); }},
                      {kInsert, [this] { insertEntry(); }},
                      {kSelectRange, [this] { selectRangeDialog(); }},
                      {kInternationalize, [this] { internationalizeDialog(); }},
                      {kOpenFile, [this] { openFile(); }},
                      {kSaveFile, [this] { saveFile(); }},
                      {kAddFromFile, [this] { addFromFile(); }}};
    setup.readCommand = kRead;
    setup.openCommand = kOpenFile;
    m_driver = std::make_unique<EditorListDriver<PhoneBookModel>>(*m_model, this, std::move(setup));
    PhoneBookListView* list = m_driver->list();
    list->setColumnWidth(kItemColumn, 75);
    list->setColumnWidth(kNameColumn, 150);
    list->setMinimumSize(420, 300);
    connect(list->header(), &QHeaderView::sectionClicked, this, &PhoneBookWindow::headerClicked);

    auto* buttons = new QVBoxLayout;
    const auto addButton = [this](int textId, const char* name, int command) {
        return m_driver->commandButton(textId, name, command);
    };
    buttons->addWidget(addButton(sid::ReadFromSim_9601, "readButton", kRead));
    buttons->addWidget(addButton(sid::WriteToSim_9602, "writeButton", kWrite));
    buttons->addSpacing(8);
    buttons->addWidget(addButton(sid::Edit_9603, "editButton", kEdit));
    buttons->addWidget(addButton(sid::Find_9604, "findButton", kFind));
    buttons->addWidget(addButton(sid::Sort_9605, "sortButton", kSort));
    buttons->addWidget(addButton(sid::AddCode_9606, "addCodeButton", kAddCode));
    buttons->addWidget(addButton(kind.clearAllId, "clearAllButton", kClearAll));
    if (kind.fdnBox) {
        m_fdnBox = new QCheckBox(StringTable::text(sid::FdnActive_1099), this);
        m_fdnBox->setObjectName(QStringLiteral("fdnActive"));
        m_fdnBox->setEnabled(false);
        buttons->addSpacing(8);
        buttons->addWidget(m_fdnBox);
    }
    buttons->addStretch();
    buttons->addWidget(addButton(sid::Close_9609, "closeButton", kClose));

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);
    resize(600, 420);
}

void PhoneBookWindow::create(int number, int readMode)
{
    setWindowNumber(number);
    setWindowTitle(QStringLiteral("%1 - [%2]").arg(StringTable::text(m_captionId)).arg(number + 1));
    show();
    m_driver->runStartCommand(readMode);
}

void PhoneBookWindow::handleCommand(int id)
{
    // Nothing follows a close: the window may be gone.
    if (id == kClose)
        close();
    else
        m_driver->runCommand(id);
}

bool PhoneBookWindow::hasUnsavedChanges() const
{
    return m_model->hasUnsavedChanges();
}

bool PhoneBookWindow::confirmClose()
{
    return m_driver->confirmClose();
}

void PhoneBookWindow::printList()
{
    const auto& entries = m_model->entries();
    const QList<DialEntry> rows(entries.begin(), entries.begin() + m_model->capacity());
    printPhoneBook(m_model->app(), rows, this);
}

// ---- list ------------------------------------------------------------------------------------

void PhoneBookWindow::redraw(int select, int first, int last)
{
    m_driver->redraw(select, first, last);
    // A card read or a file load ends the header's sort order.
    showSortMark();
}

void PhoneBookWindow::selectionChanged()
{
    m_driver->selectionFromModel();
}

void PhoneBookWindow::historyChanged()
{
    host().OnEditorHistoryChanged(this);
}

void PhoneBookWindow::headerClicked(int section)
{
    m_model->sortByColumn(section);
    showSortMark();
}

void PhoneBookWindow::showSortMark()
{
    QHeaderView* header = list()->header();
    const int column = m_model->sortedColumn();
    if (header->isSortIndicatorShown() != (column >= 0))
        header->setSortIndicatorShown(column >= 0);
    if (column >= 0 && (header->sortIndicatorSection() != column || header->sortIndicatorOrder() != Qt::AscendingOrder))
        header->setSortIndicator(column, Qt::AscendingOrder);
}

// ---- card ------------------------------------------------------------------------------------

void PhoneBookWindow::readFromCard()
{
    m_model->readFromCard();
    cardWorkDone();
}

void PhoneBookWindow::writeToCard()
{
    m_model->writeToCard();
    cardWorkDone();
}

} // namespace kestrel
