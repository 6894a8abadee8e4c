#include "ui/backup/BackupCommands.h"

#include <memory>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "backup/BackupFile.h"
#include "backup/BackupOperations.h"
#include "backup/CardImage.h"
#include "base/StringTable.h"
#include "ui/FileChooser.h"
#include "ui/MainWindow.h"
#include "ui/NewEditorWindow.h"
#include "ui/backup/RestoreChoiceDialog.h"
#include "ui/phonebook/PhoneBookWindow.h"
#include "ui/sms/SmsWindow.h"

namespace kestrel {

namespace {

constexpr int kCloseAllWindows = strId(sid::CloseAllWindowsBeforePerforming_57425);
constexpr int kBackupFilter = strId(sid::SimCardBackupFilesSim_57923);
constexpr int kAllFilesFilter = strId(sid::AllFiles_57903);
constexpr int kSaveTitle = strId(sid::BackupSimCardToFile_57924);
constexpr int kOpenTitle = strId(sid::OpenBackupFile_57925);

// The save or open dialog of a .SIM file; empty when cancelled.
QString chooseBackupFile(QWidget* parent, bool save)
{
    FileChoice choice{save ? kSaveTitle : kOpenTitle,
                      {StringTable::text(kBackupFilter) + QStringLiteral(" (*.sim *.SIM)"),
                       StringTable::text(kAllFilesFilter) + QStringLiteral(" (*)")},
                      "backupFileDialog",
                      save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen,
                      save ? QFileDialog::AnyFile : QFileDialog::ExistingFile,
                      QStringLiteral("SIM")};
    return chooseFile(parent, choice);
}

// The save or open dialog of a card image (a card file, JSON); empty when cancelled.
QString chooseImageFile(QWidget* parent, bool save)
{
    FileChoice choice{save ? strId(sid::SaveCardImage_9981) : strId(sid::OpenCardImage_9982),
                      {StringTable::text(sid::KestrelCardImages_9980) + QStringLiteral(" (*.json)"),
                       StringTable::text(kAllFilesFilter) + QStringLiteral(" (*)")},
                      "cardImageDialog",
                      save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen,
                      save ? QFileDialog::AnyFile : QFileDialog::ExistingFile,
                      QStringLiteral("json")};
    return chooseFile(parent, choice);
}

} // namespace

void backupCard(MainWindow& window)
{
    BackupOperations operations(window.state().sim(), window.prompter(), window.progress());
    operations.BackupCard([&window]() -> std::optional<QString> {
        const QString path = chooseBackupFile(&window, true);
        if (path.isEmpty())
            return std::nullopt;
        return path;
    });
}

void restoreCard(MainWindow& window)
{
    const QString path = chooseBackupFile(&window, false);
    if (path.isEmpty())
        return;
    BackupOperations operations(window.state().sim(), window.prompter(), window.progress());
    operations.RestoreCard(path, [&window](const BackupContents&) { return RestoreChoiceDialog::ask(&window); });
}

void backupCardImage(MainWindow& window)
{
    CardImage image(window.state().sim(), window.prompter(), window.progress());
    image.BackupImage([&window]() -> std::optional<QString> {
        const QString path = chooseImageFile(&window, true);
        if (path.isEmpty())
            return std::nullopt;
        return path;
    });
}

void restoreCardImage(MainWindow& window)
{
    const QString path = chooseImageFile(&window, false);
    if (path.isEmpty())
        return;
    CardImage(window.state().sim(), window.prompter(), window.progress()).RestoreImage(path);
}

void openBackupFile(MainWindow& window)
{
    if (window.desk().openCount() > 0) {
        window.prompter().message(kCloseAllWindows, PromptIcon::Exclamation);
        return;
    }
    const QString path = chooseBackupFile(&window, false);
    if (!path.isEmpty())
        openBackupFileAt(window, path);
}

void openBackupFileAt(MainWindow& window, const QString& path)
{
    if (window.desk().openCount() > 0) {
        window.prompter().message(kCloseAllWindows, PromptIcon::Exclamation);
        return;
    }
    // Some 100 KiB: kept off the stack.
    auto contents = std::make_unique<BackupContents>();
    if (const Result loaded = loadBackupFile(path, *contents); !loaded) {
        window.prompter().message(loaded.messageId(), PromptIcon::Exclamation);
        return;
    }
    if (auto* book = newEditorWindow<PhoneBookWindow>(window, EditorKind::PhoneBook))
        book->model().loadRows(contents->phoneBook, contents->phoneBookCount);
    if (auto* fdn = newEditorWindow<PhoneBookWindow>(window, EditorKind::Fdn))
        fdn->model().loadRows(contents->fdn, contents->fdnCount);
    if (auto* sms = newEditorWindow<SmsWindow>(window, EditorKind::Sms))
        sms->model().loadRows(contents->sms, contents->smsCount);
    takeBackupSmsParameters(*contents, window.state().settings());
}

} // namespace kestrel
