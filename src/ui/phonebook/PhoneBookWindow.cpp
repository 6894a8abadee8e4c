#include "ui/phonebook/PhoneBookWindow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "base/StringTable.h"
#include "phonebook/AddCode.h"
#include "phonebook/DialClipboard.h"
#include "phonebook/Internationalize.h"
#include "phonebook/PhoneBookFiles.h"
#include "sim/ProgressSink.h"
#include "ui/EditorListDriver.h"
#include "ui/FileChooser.h"
#include "ui/phonebook/AddCodeDialog.h"
#include "ui/phonebook/EditEntryDialog.h"
#include "ui/phonebook/FindReplaceDialog.h"
#include "ui/phonebook/PhoneBookCommands.h"
#include "ui/phonebook/PhoneBookHooks.h"
#include "ui/phonebook/RangeDialog.h"
#include "ui/phonebook/ReplaceEntryDialog.h"

namespace kestrel {

namespace {

using namespace PhoneBookCommand;

// The list's columns: item number, name, number.
constexpr int kItemColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kColumnCount = 3;

// The .DIA file of Open File, Add from File (open) or Save File (save); empty when cancelled.
QString chooseDiaFile(QWidget* parent, bool save)
{
    return chooseFile(parent, {save ? strId(57926) : strId(57904),
                               {StringTable::text(57902) + QStringLiteral(" (*.dia *.DIA)"),
                                StringTable::text(57903) + QStringLiteral(" (*)")},
                               "diaFileDialog",
                               save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen,
                               save ? QFileDialog::AnyFile : QFileDialog::ExistingFile,
                               save ? QStringLiteral("dia") : QString()});
}

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
    setup.menu = {{strId(2060), "editAction", kEditEntry}, {strId(2061), "clearAction", kClear},
                  {strId(9610), "copyAction", kCopy},      {strId(2057), "cutAction", kCut},
                  {strId(2059), "pasteAction", kPaste},    {},
                  {strId(9800), "undoAction", kUndo},      {strId(9801), "redoAction", kRedo}};
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
    buttons->addWidget(addButton(9601, "readButton", kRead));
    buttons->addWidget(addButton(9602, "writeButton", kWrite));
    buttons->addSpacing(8);
    buttons->addWidget(addButton(9603, "editButton", kEdit));
    buttons->addWidget(addButton(9604, "findButton", kFind));
    buttons->addWidget(addButton(9605, "sortButton", kSort));
    buttons->addWidget(addButton(9606, "addCodeButton", kAddCode));
    buttons->addWidget(addButton(kind.clearAllId, "clearAllButton", kClearAll));
    if (kind.fdnBox) {
        m_fdnBox = new QCheckBox(StringTable::text(1099), this);
        m_fdnBox->setObjectName(QStringLiteral("fdnActive"));
        m_fdnBox->setEnabled(false);
        buttons->addSpacing(8);
        buttons->addWidget(m_fdnBox);
    }
    buttons->addStretch();
    buttons->addWidget(addButton(9609, "closeButton", kClose));

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

// ---- editing ---------------------------------------------------------------------------------

void PhoneBookWindow::editEntry()
{
    const std::optional<int> row = m_model->editRow();
    if (!row)
        return;
    const int edited = *row;
    EditEntryDialog dialog(
        m_model->editFields(edited),
        [this, edited](const QString& item, const QString& name, const QString& number) {
            return m_model->acceptEdit(edited, item, name, number).close;
        },
        this);
    dialog.exec();
}

void PhoneBookWindow::insertEntry()
{
    if (m_model->insertEntry() >= 0)
        editEntry();
}

void PhoneBookWindow::sortDialog()
{
    const auto [from, to] = m_model->defaultInterval();
    RangeDialog dialog(
        {strId(117), true, 0}, {from, to, false},
        [this](const RangeDialog::Values& v) { return m_model->sortRange(v.from, v.to); }, this);
    dialog.exec();
}

void PhoneBookWindow::selectRangeDialog()
{
    const auto [from, to] = m_model->defaultInterval();
    RangeDialog dialog(
        {strId(160), true, strId(1080)}, {from, to, false},
        [this](const RangeDialog::Values& v) { return m_model->selectRange(v.from, v.to, v.includeEmpty); }, this);
    dialog.exec();
}

void PhoneBookWindow::addCodeDialog()
{
    AddCodeDialog dialog(
        AddCodeForm(*m_model), [this](const AddCodeForm& form) { return form.accept(*m_model, m_model->prompter()); },
        this);
    if (dialog.exec() == QDialog::Accepted)
        addCode(*m_model, dialog.form());
}

void PhoneBookWindow::internationalizeDialog()
{
    const auto [from, to] = m_model->defaultInterval();
    // The range is checked after the dialog has closed.
    RangeDialog dialog({strId(161), true, 0}, {from, to, false}, {}, this);
    if (dialog.exec() == QDialog::Accepted)
        internationalize(*m_model, dialog.values().from, dialog.values().to);
}

FindAction PhoneBookWindow::runDialog(FindRequest& request)
{
    FindReplaceDialog dialog(
        request, [this](const FindRequest& r) { return FindReplace::acceptRequest(r, m_model->prompter()); }, this);
    dialog.exec();
    request = dialog.request();
    return dialog.action();
}

ReplaceAnswer PhoneBookWindow::askReplace()
{
    switch (ReplaceEntryDialog::ask(this)) {
    case ReplaceEntryDialog::Yes:
        return ReplaceAnswer::Yes;
    case ReplaceEntryDialog::No:
        return ReplaceAnswer::No;
    case ReplaceEntryDialog::All:
        return ReplaceAnswer::All;
    case ReplaceEntryDialog::Cancel:
        break;
    }
    return ReplaceAnswer::Cancel;
}

// ---- files -----------------------------------------------------------------------------------

void PhoneBookWindow::saveFile()
{
    PhoneBookFiles files(*m_model);
    const auto [from, to] = m_model->defaultInterval();
    RangeDialog dialog(
        {kWriteToFileCaption, true, 0}, {from, to, false},
        [&files](const RangeDialog::Values& v) { return files.acceptSaveInterval(v.from, v.to); }, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString path = chooseDiaFile(this, true);
    if (!path.isEmpty())
        files.saveFile(path, dialog.values().from, dialog.values().to);
}

void PhoneBookWindow::openFile()
{
    PhoneBookFiles files(*m_model);
    if (!files.confirmOpen())
        return;
    const QString path = chooseDiaFile(this, false);
    if (!path.isEmpty())
        files.openFile(path);
}

void PhoneBookWindow::addFromFile()
{
    PhoneBookFiles files(*m_model);
    RangeDialog dialog(
        {kAddFromFileCaption, false, strId(1041)}, {files.defaultAddStart(), 0, false},
        [&files](const RangeDialog::Values& v) { return files.acceptAddStart(v.from); }, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString path = chooseDiaFile(this, false);
    if (!path.isEmpty())
        files.addFromFile(path, dialog.values().from, dialog.values().includeEmpty);
}

} // namespace kestrel
