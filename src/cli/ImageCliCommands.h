#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace kestrel::cli {

// The card-image forms of "backup" and "restore" (backup/CardImage.h), JSON on `out`:
//   backup --image FILE.json    {"command", "result", "image", "filesSaved", "leftOut": [...]}
//   restore --image FILE.json   {"command", "result", "image", "written": [...], "records"}
// A restore refused because a file of the image does not fit the card fails with the file named
// in "mismatch" on standard error; nothing is written then.
bool wantsImage(const QStringList& words);
int runImageBackup(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err,
                   bool interactive);
int runImageRestore(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err,
                    bool interactive);

} // namespace kestrel::cli
