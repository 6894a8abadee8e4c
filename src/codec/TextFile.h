#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include <QString>

#include "base/Result.h"

class QFile;
class QIODevice;

namespace kestrel {

// The failures of the text-file routines, as the messageId() of the Result they return. They name
// no text of the string table: the phone book and message files show messages of their own.
inline constexpr int kTextFileNotFound = 16;  // the file or a folder of its path does not exist
inline constexpr int kTextFileEndOfFile = 17; // end of file before a field started
inline constexpr int kTextFileIoError = 256;  // any other failure to open, read, write or seek

// Modes of OpenTextFile.
inline constexpr int kTextFileRead = 0;   // reading an existing file
inline constexpr int kTextFileUpdate = 1; // reading and writing, the file opened or created
inline constexpr int kTextFileCreate = 2; // reading and writing, the file always created empty

// A text file of TAB- and line-feed-delimited fields (.DIA phone books, .SMS and .SMA message
// files). Fields are bytes (the callers keep them Windows-1250); a line feed inside a field is stored as ESC "n", CR
// bytes are ignored when reading, so lines may end in CR LF or LF.
//
// Each TextFile has its own read-ahead buffer, so two files can be read at the same time. It
// either owns a file opened by OpenTextFile or works on a device opened elsewhere (attach), for
// example an in-memory QBuffer.
class TextFile final
{
public:
    static constexpr std::size_t kReadAhead = 64;

    TextFile();
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Works on an open device that stays owned by the caller; closes whatever was open before.
    void attach(QIODevice* device);

    bool isOpen() const { return m_device != nullptr; }

private:
    friend Result OpenTextFile(TextFile& file, const QString& path, int mode);
    friend Result ReadField(TextFile& file, std::string& field, int size, bool skipNewlines,
                            std::string_view delimiters);
    friend Result WriteField(TextFile& file, std::string_view text, char terminator);
    friend Result SeekToEnd(TextFile& file);
    friend void CloseTextFile(TextFile& file);

    // The next byte of the file with CR bytes skipped, without consuming it: success,
    // kTextFileEndOfFile or kTextFileIoError.
    Result peek(char& c);
    void consume() { ++m_next; }
    Result refill();
    // Gives unread read-ahead bytes back to the device so that a write or seek starts where the
    // reading stands.
    bool dropReadAhead();

    std::unique_ptr<QFile> m_file;
    QIODevice* m_device = nullptr;
    std::array<char, kReadAhead> m_buffer{};
    std::size_t m_next = 0;
    std::size_t m_end = 0;
};

// Opens path in one of the modes above: success, kTextFileNotFound or kTextFileIoError.
// A file that was open on this TextFile is closed first.
Result OpenTextFile(TextFile& file, const QString& path, int mode);

// Reads the next field into buffer (at most size - 1 bytes and a terminating NUL; the rest of a
// longer field is read and dropped). Spaces and TABs before the field are skipped, line feeds
// too when skipNewlines is set; the field ends before the first byte of delimiters, which stays
// unread, or at the end of the file. ESC "n" gives a line feed, ESC and any other byte that byte.
// Success (the field may be empty), kTextFileEndOfFile, or kTextFileIoError on a read error.
Result ReadField(TextFile& file, char* buffer, int size, bool skipNewlines, std::string_view delimiters);

// The same, into a string of at most size - 1 bytes.
Result ReadField(TextFile& file, std::string& field, int size, bool skipNewlines, std::string_view delimiters);

// Writes one field in a single write: the text with a line feed as ESC "n" and ESC, TAB and a
// leading space behind an ESC (so that they read back as written), cut before the encoding would
// pass 256 bytes (an escape pair is never split), then the terminator (a line feed is written as
// CR LF, 0 writes none). Success or kTextFileIoError.
Result WriteField(TextFile& file, std::string_view text, char terminator);

// Moves to the end of the file for appending: success or kTextFileIoError.
Result SeekToEnd(TextFile& file);

// Closes the file (or lets go of an attached device); the TextFile can be opened again.
void CloseTextFile(TextFile& file);

} // namespace kestrel
