#pragma once

#include <QString>

#include "base/Result.h"
#include "base/StringTable.h"
#include "codec/BackupContents.h"

namespace kestrel {

struct AppSettings;

// Saving and loading whole .SIM backup files. A failure's messageId() is the message to show.
constexpr int kBackupCannotCreate = strId(sid::CannotOpenTargetFileBackup_57422);
constexpr int kBackupWriteError = strId(sid::ErrorWhileWritingToFile_57423);
constexpr int kBackupCannotOpen = strId(sid::CannotOpenBackupFileRestore_57426);

// Writes the file atomically: the old file stays as it was until the new one is complete, so a
// failure part-way never leaves a half-written backup in its place. kBackupCannotCreate or
// kBackupWriteError on failure.
Result saveBackupFile(const QString& path, const BackupContents& contents);

// Reads and checks the whole file; on any error `contents` is left empty. kBackupCannotOpen,
// kBackupStructureError or kBackupReadError on failure.
Result loadBackupFile(const QString& path, BackupContents& contents);

// Open Backup File: when the backup holds SMS parameters, they become the servCenter and validPer
// settings of new messages (validPer 0 for a date or an unreadable validity text); the settings
// are not saved. False, nothing changed, when it holds none.
bool takeBackupSmsParameters(const BackupContents& contents, AppSettings& settings);

} // namespace kestrel
