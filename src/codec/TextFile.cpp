#include "codec/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QIODevice>

namespace kestrel {

namespace {

constexpr char kEsc = 0x1B;

// Encoded bytes of one written field, terminator not counted.
constexpr std::size_t kMaxFieldBytes = 256;

Result endOfFile()
{
    return Result::failure(kTextFileEndOfFile);
}

Result ioError()
{
    return Result::failure(kTextFileIoError);
}

bool isEndOfFile(const Result& r)
{
    return r.messageId() == kTextFileEndOfFile;
}

} // namespace

TextFile::TextFile() = default;

TextFile::~TextFile()
{
    CloseTextFile(*this);
}

void TextFile::attach(QIODevice* device)
{
    CloseTextFile(*this);
    m_device = device;
}

Result TextFile::refill()
{
    m_next = 0;
    m_end = 0;
    if (!m_device || !m_device->isReadable())
        return ioError();
    qint64 want = static_cast<qint64>(kReadAhead);
    if (!m_device->isSequential()) {
        // A file that ends earlier than its size said (it was cut meanwhile) is a read error.
        const qint64 left = m_device->size() - m_device->pos();
        if (left <= 0)
            return endOfFile();
        want = std::min(want, left);
    }
    const qint64 got = m_device->read(m_buffer.data(), want);
    if (got < 0)
        return ioError();
    if (m_device->isSequential()) {
        if (got == 0)
            return endOfFile();
    } else if (got != want) {
        return ioError();
    }
    m_end = static_cast<std::size_t>(got);
    return Result::ok();
}

Result TextFile::peek(char& c)
{
    for (;;) {
        if (m_next == m_end) {
            Result r = refill();
            if (!r)
                return r;
        }
        c = m_buffer[m_next];
        if (c != '\r')
            return Result::ok();
        ++m_next;
    }
}

bool TextFile::dropReadAhead()
{
    const std::size_t unread = m_end - m_next;
    m_next = 0;
    m_end = 0;
    if (unread == 0 || m_device->isSequential())
        return true;
    return m_device->seek(m_device->pos() - static_cast<qint64>(unread));
}

Result OpenTextFile(TextFile& file, const QString& path, int mode)
{
    CloseTextFile(file);
    int flags = O_CLOEXEC;
    QIODevice::OpenMode openMode = QIODevice::ReadWrite;
    switch (mode) {
    case kTextFileRead:
        flags |= O_RDONLY;
        openMode = QIODevice::ReadOnly;
        break;
    case kTextFileUpdate:
        flags |= O_RDWR | O_CREAT;
        break;
    case kTextFileCreate:
        flags |= O_RDWR | O_CREAT | O_TRUNC;
        break;
    default:
        return ioError();
    }
    const QByteArray name = QFile::encodeName(path);
    if (name.contains('\0'))
        return ioError();

    // Opened here rather than by QFile so that a missing file or folder can be told apart from
    // other failures.
    int fd = -1;
    do {
        fd = ::open(name.constData(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? Result::failure(kTextFileNotFound) : ioError();
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return ioError();
    }
    // Unbuffered: each field is one write that reaches the file or fails at once.
    auto qfile = std::make_unique<QFile>();
    if (!qfile->open(fd, openMode | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return ioError();
    }
    file.m_file = std::move(qfile);
    file.m_device = file.m_file.get();
    return Result::ok();
}

Result ReadField(TextFile& file, std::string& field, int size, bool skipNewlines, std::string_view delimiters)
{
    field.clear();
    if (!file.m_device)
        return ioError();
    const std::size_t capacity = size > 0 ? static_cast<std::size_t>(size) - 1 : 0;
    char c = 0;
    for (;;) {
        Result r = file.peek(c);
        if (!r)
            return r;
        if (c != ' ' && c != '\t' && !(skipNewlines && c == '\n'))
            break;
        file.consume();
    }
    for (;;) {
        if (delimiters.find(c) != std::string_view::npos)
            return Result::ok();
        file.consume();
        if (c == kEsc) {
            Result r = file.peek(c);
            if (isEndOfFile(r))
                return Result::ok(); // a lone ESC as the last byte of the file is dropped
            if (!r)
                return r;
            file.consume();
            if (c == 'n')
                c = '\n';
        }
        if (field.size() < capacity)
            field.push_back(c);
        Result r = file.peek(c);
        if (isEndOfFile(r))
            return Result::ok();
        if (!r)
            return r;
    }
}

Result ReadField(TextFile& file, char* buffer, int size, bool skipNewlines, std::string_view delimiters)
{
    std::string field;
    Result r = ReadField(file, field, buffer ? size : 0, skipNewlines, delimiters);
    if (buffer && size > 0) {
        std::memcpy(buffer, field.data(), field.size());
        buffer[field.size()] = '\0';
    }
    return r;
}

Result WriteField(TextFile& file, std::string_view text, char terminator)
{
    if (!file.m_device || !file.m_device->isWritable())
        return ioError();
    // Besides the line feed, ESC and TAB are escaped, and so is a leading space: the reader would
    // otherwise eat the ESC, end the field at the TAB or skip the space.
    std::string out;
    out.reserve(kMaxFieldBytes + 2);
    bool atStart = true;
    for (const char c : text) {
        const bool escape = c == '\n' || c == '\t' || c == kEsc || (atStart && c == ' ');
        // An escape pair is never cut in half.
        if (out.size() + (escape ? 2 : 1) > kMaxFieldBytes)
            break;
        if (escape) {
            out.push_back(kEsc);
            out.push_back(c == '\n' ? 'n' : c);
        } else {
            out.push_back(c);
        }
        if (c != '\r')
            atStart = false;
    }
    if (terminator == '\n')
        out += "\r\n";
    else if (terminator != '\0')
        out.push_back(terminator);

    if (!file.dropReadAhead())
        return ioError();
    if (out.empty())
        return Result::ok();
    const qint64 written = file.m_device->write(out.data(), static_cast<qint64>(out.size()));
    return written == static_cast<qint64>(out.size()) ? Result::ok() : ioError();
}

Result SeekToEnd(TextFile& file)
{
    if (!file.m_device)
        return ioError();
    file.m_next = 0;
    file.m_end = 0;
    if (file.m_device->isSequential())
        return Result::ok();
    return file.m_device->seek(file.m_device->size()) ? Result::ok() : ioError();
}

void CloseTextFile(TextFile& file)
{
    if (file.m_file)
        file.m_file->close();
    file.m_file.reset();
    file.m_device = nullptr;
    file.m_next = 0;
    file.m_end = 0;
}

} // namespace kestrel
