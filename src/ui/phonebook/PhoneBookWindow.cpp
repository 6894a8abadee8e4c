#include "ui/phonebook/PhoneBookWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDrag>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/AppState.h"
#include "base/StringTable.h"
#include "codec/PcText.h"
#include "phonebook/AddCode.h"
#include "phonebook/DialClipboard.h"
#include "phonebook/Internationalize.h"
#include "phonebook/PhoneBookFiles.h"
#include "sim/ProgressSink.h"
#include "ui/phonebook/AddCodeDialog.h"
#include "ui/phonebook/EditEntryDialog.h"
#include "ui/phonebook/FindReplaceDialog.h"
#include "ui/phonebook/PhoneBookCommands.h"
#include "ui/phonebook/PhoneBookHooks.h"
#include "ui/EditorListDriver.h"
#include "ui/ListTableModel.h"
#include "ui/phonebook/RangeDialog.h"
#include "ui/phonebook/ReplaceEntryDialog.h"

namespace kestrel {

namespace {

using namespace PhoneBookCommand;

const QString kDialFormat = QLatin1String(kDialClipFormat);
// The list's columns: item number, name, number.
constexpr int kItemColumn = 0;
constexpr int kNameColumn = 1;
constexpr int kColumnCount = 3;

// The .DIA file of Open File, Add from File (open) or Save File (save); empty when cancelled.
QString chooseDiaFile(QWidget* parent, bool save)
{
    const QString filters = StringTable::text(57902) + QStringLiteral(" (*.dia *.DIA);;") + StringTable::text(57903) +
                            QStringLiteral(" (*)");
    QFileDialog dialog(parent, StringTable::text(save ? strId(57926) : strId(57904)), QString(), filters);
    dialog.setObjectName(QStringLiteral("diaFileDialog"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save)
        dialog.setDefaultSuffix(QStringLiteral("dia"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
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
    m_driver->setSyncing(true);
    delete m_list;
    delete m_table;
}

void PhoneBookWindow::buildLayout(const PhoneBookWindowKind& kind)
{
    m_table = new ListTableModel(
        {kColumnCount, [this] { return m_model->capacity(); },
         [this](int row, int column) { return m_model->rowTexts(row)[static_cast<std::size_t>(column)]; },
         &PhoneBookModel::columnTitleId},
        this);
    m_list = new PhoneBookListView(this);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setModel(m_table);
    m_driver = std::make_unique<EditorListDriver<PhoneBookModel>>(*m_model, m_list, m_table, kDialFormat, this);
    m_list->setHandler(this);
    m_list->setColumnWidth(kItemColumn, 75);
    m_list->setColumnWidth(kNameColumn, 150);
    m_list->setMinimumSize(420, 300);
    m_driver->connectSelection(this);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] { handleCommand(kEditEntry); });
    connect(m_list, &QWidget::customContextMenuRequested, this, &PhoneBookWindow::showContextMenu);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &PhoneBookWindow::headerClicked);

    m_contextMenu = buildListMenu(this,
                                  {{strId(2060), "editAction", kEditEntry},
                                   {strId(2061), "clearAction", kClear},
                                   {strId(9610), "copyAction", kCopy},
                                   {strId(2057), "cutAction", kCut},
                                   {strId(2059), "pasteAction", kPaste}},
                                  [this](int id) { handleCommand(id); });

    auto* buttons = new QVBoxLayout;
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
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    resize(600, 420);
}

QPushButton* PhoneBookWindow::addButton(int textId, const char* name, int command)
{
    auto* button = new QPushButton(StringTable::text(textId), this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, command] { handleCommand(command); });
    return button;
}

void PhoneBookWindow::create(int number, int readMode)
{
    setWindowNumber(number);
    setWindowTitle(QStringLiteral("%1 - [%2]").arg(StringTable::text(m_captionId)).arg(number + 1));
    show();
    if (readMode == 1)
        handleCommand(kRead);
    else if (readMode == 2)
        handleCommand(kOpenFile);
}

void PhoneBookWindow::handleCommand(int id)
{
    switch (id) {
    case kClose:
        close();
        return;
    case kRead:
        readFromCard();
        break;
    case kWrite:
        writeToCard();
        break;
    case kEdit:
    case kEditEntry:
        editEntry();
        break;
    case kFind:
        m_find->find();
        break;
    case kFindNext:
        m_find->findNext();
        break;
    case kSort:
        sortDialog();
        break;
    case kAddCode:
        addCodeDialog();
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
        m_model->selectAllValid();
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
    case kSelectRange:
        selectRangeDialog();
        break;
    case kInternationalize:
        internationalizeDialog();
        break;
    case kOpenFile:
        openFile();
        break;
    case kSaveFile:
        saveFile();
        break;
    case kAddFromFile:
        addFromFile();
        break;
    default:
        return;
    }
    // Whatever the command did to the selection, the list shows the model's.
    selectionFromModel();
}

bool PhoneBookWindow::hasUnsavedChanges() const
{
    return m_model->hasUnsavedChanges();
}

bool PhoneBookWindow::confirmClose()
{
    // Asked once: a close that has begun is not asked again.
    if (m_closing)
        return true;
    if (!m_model->confirmClose())
        return false;
    m_closing = true;
    return true;
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
    selectionFromModel();
}

void PhoneBookWindow::selectionFromModel()
{
    m_driver->selectionFromModel();
}

void PhoneBookWindow::selectionToModel()
{
    m_driver->selectionToModel();
}

void PhoneBookWindow::showContextMenu(QPoint pos)
{
    if (m_list->rowAtPoint(pos) < 0)
        return;
    m_contextMenu->popup(m_list->viewport()->mapToGlobal(pos));
}

void PhoneBookWindow::headerClicked(int section)
{
    m_model->sortByColumn(section);
    showSortMark();
}

void PhoneBookWindow::showSortMark()
{
    QHeaderView* header = m_list->header();
    const int column = m_model->sortedColumn();
    if (header->isSortIndicatorShown() != (column >= 0))
        header->setSortIndicatorShown(column >= 0);
    if (column >= 0 && (header->sortIndicatorSection() != column || header->sortIndicatorOrder() != Qt::AscendingOrder))
        header->setSortIndicator(column, Qt::AscendingOrder);
}

void PhoneBookWindow::listCommand(int id)
{
    handleCommand(id);
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

// ---- clipboard -------------------------------------------------------------------------------

void PhoneBookWindow::copyToClipboard(bool cut)
{
    m_driver->copyToClipboard(cut);
}

void PhoneBookWindow::pasteFromClipboard()
{
    m_driver->pasteFromClipboard();
}

// ---- drag and drop ---------------------------------------------------------------------------

void PhoneBookWindow::listStartDrag()
{
    m_driver->startDrag(this);
}

Qt::DropAction PhoneBookWindow::listDragOver(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint pos)
{
    return m_driver->dragOver(data, keys, pos);
}

void PhoneBookWindow::listDragLeave()
{
    m_driver->dragLeave();
}

Qt::DropAction PhoneBookWindow::listDrop(const QMimeData* data, QPoint pos, Qt::DropAction)
{
    const Qt::DropAction done = m_driver->drop(data, pos);
    return done;
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
