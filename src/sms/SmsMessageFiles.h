#pragma once

#include <QString>

#include "base/StringTable.h"

class QIODevice;

namespace kestrel {

class SmsListModel;
class TextFile;

// File dialog texts of the three SMS file commands.
inline constexpr int kSaveMessagesTitle = strId(57913);     // "Write Messages to File"
inline constexpr int kSaveMessagesFilter = strId(57912);    // "File with Messages (.sms)"
inline constexpr int kArchiveMessagesTitle = strId(57919);  // "Write Messages to Archive File"
inline constexpr int kArchiveFilter = strId(57918);         // "Archive File with Messages (.sma)"
inline constexpr int kOpenMessagesTitle = strId(57917);     // "Read Messages from File"
inline constexpr int kOpenSmsFilter = strId(57914);         // "File with Messages (.sms)"
inline constexpr int kOpenSmaFilter = strId(57915);         // "Archive File with Messages (.sma)"
inline constexpr int kOpenAnyMessagesFilter = strId(57916); // "All Message Files (.sms; .sma)"
inline constexpr int kAllFilesFilter = strId(57903);        // "All files (*.*)"

// How opening a message file into a window ended. The messages are shown already.
enum class SmsFileResult
{
    Done,        // written, or read to the end of the file
    OpenFailed,  // 57685 / 57690 / 57687; nothing changed
    SeekFailed,  // 57691 (Add to File); nothing written
    WriteFailed, // 57686 / 57692; the file on disk is as it was before
    SyntaxError, // 57688; messages read before the bad record stay
    ReadError,   // 57689; messages read before the failure stay
};

// The message files of an SMS window, text in PC text with TAB between fields and CR LF after
// each message, one line per used row in row order:
//   .SMS (message file): item number, ">" service centre, ">" number, ">" when, status, message
//   reference, ">" text ("+" in front of a number whose type of number is 1);
//   .SMA (archive file): the same without the item number, only ever appended to.
// Save File (40009), Add to File (40010) and Open File (40008) with their checks and messages; the
// window runs the file dialogs and hands over the path.
class SmsMessageFiles
{
public:
    explicit SmsMessageFiles(SmsListModel& model);

    // Save File: every used row into a new .SMS file; the file is replaced only when every line
    // was written. The rows' modified marks stay.
    SmsFileResult saveFile(const QString& path);
    // Add to File: every used row appended to a .SMA file (created when missing); the file gets
    // the new lines only when every line was written.
    SmsFileResult appendToArchive(const QString& path);
    // Open File: the window's rows replaced by the messages of a .SMS or .SMA file (the first
    // record decides which); the row count becomes at least the highest item number read.
    SmsFileResult openFile(const QString& path);
    // Open File from a device opened for reading elsewhere (an in-memory buffer, say); the device
    // stays open.
    SmsFileResult readFrom(QIODevice& device);

private:
    // Fills the rows from the file's records; the messages are left to report.
    SmsFileResult readMessages(TextFile& file);
    void report(SmsFileResult result);

    SmsListModel& m_model;
};

} // namespace kestrel
