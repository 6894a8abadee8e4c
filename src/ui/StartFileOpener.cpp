#include "ui/StartFileOpener.h"

#include <QFileInfo>

#include "app/Prompter.h"
#include "app/StartFile.h"
#include "base/StringIds.h"
#include "base/StringTable.h"
#include "phonebook/PhoneBookFiles.h"
#include "sms/SmsMessageFiles.h"
#include "ui/NewEditorWindow.h"
#include "ui/backup/BackupCommands.h"
#include "ui/phonebook/PhoneBookWindow.h"
#include "ui/sms/SmsWindow.h"

namespace kestrel {

void openStartFile(MainWindow& window, const QString& path)
{
    switch (startFileKind(path)) {
    case StartFileKind::PhoneBook:
        if (auto* book = newEditorWindow<PhoneBookWindow>(window, EditorKind::PhoneBook))
            PhoneBookFiles(book->model()).openFile(path);
        return;
    case StartFileKind::Messages:
        if (auto* sms = newEditorWindow<SmsWindow>(window, EditorKind::Sms))
            SmsMessageFiles(sms->model()).openFile(path);
        return;
    case StartFileKind::Backup:
        openBackupFileAt(window, path);
        return;
    case StartFileKind::CardImage:
        // Opened as the card at start-up.
        return;
    case StartFileKind::Unknown:
        break;
    }
    window.prompter().messageText(
        StringTable::text(sid::CannotBeOpenedKestrelOpens_9911).arg(QFileInfo(path).fileName()),
        PromptIcon::Exclamation);
}

} // namespace kestrel
