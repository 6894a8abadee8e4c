#pragma once

#include <QString>

namespace kestrel {

class MainWindow;

// The main window's whole-card commands over a .SIM backup file.

// "Backup Card" (sid::BackupCard_40024): the card read, then the save dialog "Backup SIM card to file", then the
// file written.
void backupCard(MainWindow& window);

// "Restore Card" (sid::RestoreCard_40025): the open dialog "Open Backup File", the file read, the restore-choice
// dialog, then the chosen parts written to the card.
void restoreCard(MainWindow& window);

// "Backup Card Image" (sid::BackupCardImage_40120): every readable file of the card read
// (backup/CardImage.h), then the save dialog "Save Card Image", then the card file written.
void backupCardImage(MainWindow& window);

// "Restore Card Image" (sid::RestoreCardImage_40121): the open dialog "Open Card Image", then the
// image's user files written to the card where they differ (nothing when a file does not fit).
void restoreCardImage(MainWindow& window);

// "Open Backup File" (sid::OpenBackupFile_40078): refused (sid::CloseAllWindowsBeforePerforming_57425) while an editor
// window is open; otherwise the file's phone book, fixed dialling numbers and messages each in a new window sized as
// the card they came from, and its SMS parameters as the settings of new messages (not saved).
void openBackupFile(MainWindow& window);
// The same for a file already chosen (`kestrel FILE.sim`).
void openBackupFileAt(MainWindow& window, const QString& path);

} // namespace kestrel
