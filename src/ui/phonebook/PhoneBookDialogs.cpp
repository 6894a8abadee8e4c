#include "ui/phonebook/PhoneBookWindow.h"

#include "base/StringTable.h"
#include "phonebook/AddCode.h"
#include "phonebook/Internationalize.h"
#include "phonebook/PhoneBookFiles.h"
#include "ui/FileChooser.h"
#include "ui/phonebook/AddCodeDialog.h"
#include "ui/phonebook/EditEntryDialog.h"
#include "ui/phonebook/FindReplaceDialog.h"
#include "ui/phonebook/PhoneBookCommands.h"
#include "ui/phonebook/RangeDialog.h"
#include "ui/phonebook/ReplaceEntryDialog.h"

// The dialogs a phone book window runs for its commands: each collects the user's values and
// hands them to the model (or to PhoneBookFiles), which checks them and does the work.

namespace kestrel {

namespace {

using namespace PhoneBookCommand;

// The .DIA, vCard or CSV file of Open File, Add from File (open) or Save File (save); empty when
// cancelled. PhoneBookFiles picks the format by the extension.
QString chooseDiaFile(QWidget* parent, bool save)
{
    return chooseFile(parent, {save ? strId(sid::WriteItemsToFile_57926) : strId(sid::ReadItemsFromFile_57904),
                               {StringTable::text(sid::PhoneBookFilesDia_57902) + QStringLiteral(" (*.dia *.DIA)"),
                                StringTable::text(sid::VCardFilesVcf_9952) + QStringLiteral(" (*.vcf *.VCF)"),
                                StringTable::text(sid::CsvFilesCsv_9953) + QStringLiteral(" (*.csv *.CSV)"),
                                StringTable::text(sid::AllFiles_57903) + QStringLiteral(" (*)")},
                               "diaFileDialog",
                               save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen,
                               save ? QFileDialog::AnyFile : QFileDialog::ExistingFile,
                               save ? QStringLiteral("dia") : QString()});
}

} // namespace

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
        {strId(sid::Sort_117), true, 0}, {from, to, false},
        [this](const RangeDialog::Values& v) { return m_model->sortRange(v.from, v.to); }, this);
    dialog.exec();
}

void PhoneBookWindow::selectRangeDialog()
{
    const auto [from, to] = m_model->defaultInterval();
    RangeDialog dialog(
        {strId(sid::SelectItems_160), true, strId(sid::IncludeEmptyEntries_1080)}, {from, to, false},
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
    RangeDialog dialog({strId(sid::Internationalize_161), true, 0}, {from, to, false}, {}, this);
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
        {kAddFromFileCaption, false, strId(sid::IncludeEmptyEntries_1041)}, {files.defaultAddStart(), 0, false},
        [&files](const RangeDialog::Values& v) { return files.acceptAddStart(v.from); }, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString path = chooseDiaFile(this, false);
    if (!path.isEmpty())
        files.addFromFile(path, dialog.values().from, dialog.values().includeEmpty);
}

} // namespace kestrel
