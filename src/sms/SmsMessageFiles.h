#pragma once

#include <QString>

#include "base/Result.h"
#include "base/StringTable.h"

class QIODevice;

namespace kestrel {

class SmsListModel;
class TextFile;

// File dialog texts of the three SMS file commands.
inline constexpr int kSaveMessagesTitle = strId(sid::WriteMessagesToFile_57913);  // "Write Messages to File"
inline constexpr int kSaveMessagesFilter = strId(sid::FileWithMessagesSms_57912); // "File with Messages (.sms)"
inline constexpr int kArchiveMessagesTitle =
    strId(sid::WriteMessagesToArchiveFile_57919); // "Write Messages to Archive File"
inline constexpr int kArchiveFilter =
    strId(sid::ArchiveFileWithMessagesSma_57918);                                 // "Archive File with Messages (.sma)"
inline constexpr int kOpenMessagesTitle = strId(sid::ReadMessagesFromFile_57917); // "Read Messages from File"
inline constexpr int kOpenSmsFilter = strId(sid::FileWithMessagesSms_57914);      // "File with Messages (.sms)"
inline constexpr int kOpenSmaFilter =
    strId(sid::ArchiveFileWithMessagesSma_57915); // "Archive File with Messages (.sma)"
inline constexpr int kOpenAnyMessagesFilter =
    strId(sid::AllMessageFilesSmsSma_57916);                       // "All Message Files (.sms; .sma)"
inline constexpr int kAllFilesFilter = strId(sid::AllFiles_57903); // "All files (*.*)"

// How a message-file command ended: success (written, or read to the end of the file) or a
// failure whose messageId() is the message shown already:
//   Save File    sid::CannotOpenFileForWriting_57685 cannot open, sid::ErrorWhileWritingDataTo_57686 write error (the
//   file on disk is as it was before) Add to File  sid::CannotOpenFileForWriting_57690 cannot open,
//   sid::ErrorDuringFileOperation_57691 the archive cannot be copied (nothing written),
//                sid::ErrorWhileWritingDataTo_57692 write error (the file on disk is as it was before)
//   Open File    sid::CannotOpenFileForReading_57687 cannot open (nothing changed), sid::SyntaxOrDataExtentError_57688
//   syntax error (messages read before
//                the bad record stay), sid::ErrorWhileReadingDataFrom_57689 read error (messages read before the
//                failure stay)
inline constexpr int kSmsSyntaxError = strId(sid::SyntaxOrDataExtentError_57688);
inline constexpr int kSmsReadError = strId(sid::ErrorWhileReadingDataFrom_57689);

// The message files of an SMS window, text in PC text with TAB between fields and CR LF after
// each message, one line per used row in row order:
//   .SMS (message file): item number, ">" service centre, ">" number, ">" when, status, message
//   reference, ">" text ("+" in front of a number whose type of number is 1);
//   .SMA (archive file): the same without the item number, only ever appended to.
// Save File (sid::SaveFile_40009), Add to File (sid::AddToFile_40010) and Open File (sid::OpenFile_40008) with their
// checks and messages; the window runs the file dialogs and hands over the path.
class SmsMessageFiles
{
public:
    explicit SmsMessageFiles(SmsListModel& model);

    // Save File: every used row into a new .SMS file; the file is replaced only when every line
    // was written. The rows' modified marks stay.
    Result saveFile(const QString& path);
    // Add to File: every used row appended to a .SMA file (created when missing); the file gets
    // the new lines only when every line was written.
    Result appendToArchive(const QString& path);
    // Open File: the window's rows replaced by the messages of a .SMS or .SMA file (the first
    // record decides which); the row count becomes at least the highest item number read.
    Result openFile(const QString& path);
    // Open File from a device opened for reading elsewhere (an in-memory buffer, say); the device
    // stays open.
    Result readFrom(QIODevice& device);

private:
    // Fills the rows from the file's records; the messages are left to report.
    Result readMessages(TextFile& file);
    void report(const Result& result);

    SmsListModel& m_model;
};

} // namespace kestrel
