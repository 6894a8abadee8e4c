#include "codec/TextFile.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kestrel;

namespace {

constexpr std::string_view kTabLf = "\t\n";
constexpr int kOk = static_cast<int>(CardStatus::Ok);

// A random-access device over a byte array whose reads and writes break down once a given number
// of bytes has passed.
class FailDevice final : public QIODevice
{
public:
    FailDevice(QByteArray data, qint64 readLimit, qint64 writeLimit)
        : m_data(std::move(data)), m_readLimit(readLimit), m_writeLimit(writeLimit)
    {}
    bool isSequential() const override { return false; }
    qint64 size() const override { return m_data.size(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        // Past the limit a read first comes up short, then fails.
        const qint64 n = std::min({maxSize, m_data.size() - pos(), m_readLimit - pos()});
        if (n <= 0)
            return -1;
        std::memcpy(data, m_data.constData() + pos(), static_cast<std::size_t>(n));
        return n;
    }
    qint64 writeData(const char* data, qint64 maxSize) override
    {
        const qint64 n = std::min(maxSize, m_writeLimit - m_written);
        if (n <= 0)
            return -1;
        m_data.replace(pos(), n, data, n);
        m_written += n;
        return n;
    }

private:
    QByteArray m_data;
    qint64 m_readLimit;
    qint64 m_writeLimit;
    qint64 m_written = 0;
};

struct Field
{
    int result; // messageId() of the Result
    std::string text;
};

// Reads fields the way the phone book and message loaders do: the first field of a line skips
// blank lines, the others do not.
std::vector<Field> readAll(TextFile& file, int size = 65, int perLine = 0)
{
    std::vector<Field> fields;
    for (int i = 0; i < 10000; ++i) {
        std::string text;
        const bool skip = perLine == 0 || i % perLine == 0;
        const Result r = ReadField(file, text, size, skip, kTabLf);
        fields.push_back({r.messageId(), text});
        if (!r)
            break;
    }
    return fields;
}

std::vector<Field> readBytes(const QByteArray& bytes, int size = 65, int perLine = 0)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TextFile file;
    file.attach(&buffer);
    return readAll(file, size, perLine);
}

std::vector<std::string> texts(const std::vector<Field>& fields)
{
    std::vector<std::string> out;
    for (const Field& f : fields)
        out.push_back(f.result == kOk ? f.text : "<" + std::to_string(f.result) + ">");
    return out;
}

QByteArray writeFields(const std::vector<std::pair<std::string, char>>& fields)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    TextFile file;
    file.attach(&buffer);
    for (const auto& [text, terminator] : fields)
        EXPECT_EQ(WriteField(file, text, terminator).messageId(), kOk);
    return bytes;
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

void putFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

using Strings = std::vector<std::string>;

} // namespace

TEST(TextFile, ReadsFields)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
        int perLine; // 0: every field skips line feeds
        Strings fields;
    };
    const std::string b64(64, 'b');
    const Case cases[] = {
        {"empty file", "", 0, {"<17>"}},
        {"blank lines only", "  \r\n\t\n\r\r\n", 0, {"<17>"}},
        {"one line", "1\tAnna\t+420123\r\n", 3, {"1", "Anna", "+420123", "<17>"}},
        {"no final line feed", "1\tAnna\t123", 3, {"1", "Anna", "123", "<17>"}},
        {"LF without CR", "1\tA\t2\n2\tB\t3\n", 3, {"1", "A", "2", "2", "B", "3", "<17>"}},
        {"CRs anywhere", "\r1\r\t\rA\rn\rn\t2\r\r\n", 3, {"1", "Ann", "2", "<17>"}},
        {"blank lines between", "a\tb\n\n \n\r\nc\td\n", 2, {"a", "b", "c", "d", "<17>"}},
        {"empty field before line feed", "a\t\nb\t\n", 3, {"a", "", "", "b", "", "", "<17>"}},
        {"TABs and spaces before a field", "a\t\t  \tb\n", 2, {"a", "b", "<17>"}},
        {"inner and trailing spaces kept", "  two words  \tx\n", 2, {"two words  ", "x", "<17>"}},
        {"escapes", "a\x1bnb\t\x1b\x1b\x1b\t\t\x1bx\n", 3, {"a\nb", "\x1b\t", "x", "<17>"}},
        {"ESC CR n", "\x1b\rn\n", 0, {"\n", "<17>"}},
        {"lone ESC at the end", "ab\x1b", 0, {"ab", "<17>"}},
        {"escaped space is not skipped", "\x1b a\n", 0, {" a", "<17>"}},
        {"line feed kept when not skipped", "a\t\n\nb\n", 3, {"a", "", "", "b", "", "", "<17>"}},
        {"long field cut to 64", QByteArray::fromStdString(b64 + "cdef\tz\n"), 2, {b64, "z", "<17>"}},
        {"NUL is a byte", QByteArray("a\0b\tc", 5), 0, {std::string("a\0b", 3), "c", "<17>"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(texts(readBytes(c.bytes, 65, c.perLine)), c.fields) << c.name;
}

TEST(TextFile, FieldSizeLimits)
{
    const QByteArray bytes = "abcdef\tgh\n";
    EXPECT_EQ(texts(readBytes(bytes, 4, 2)), (Strings{"abc", "gh", "<17>"}));
    EXPECT_EQ(texts(readBytes(bytes, 1, 2)), (Strings{"", "", "<17>"}));
    EXPECT_EQ(texts(readBytes(bytes, 0, 2)), (Strings{"", "", "<17>"}));

    // The C-string form keeps size - 1 bytes and a NUL, and touches nothing past size.
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TextFile file;
    file.attach(&buffer);
    char out[8];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(ReadField(file, out, 4, true, kTabLf).messageId(), kOk);
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(out[4], '#');
    EXPECT_EQ(ReadField(file, out, 8, true, kTabLf).messageId(), kOk);
    EXPECT_STREQ(out, "gh");
    EXPECT_EQ(ReadField(file, nullptr, 8, true, kTabLf).messageId(), kTextFileEndOfFile);
}

TEST(TextFile, FieldsAcrossTheReadAheadBoundary)
{
    // Put a field end, an escape pair and a CR LF on every offset around the 64-byte refills.
    for (int pad = 1; pad < 70; ++pad) {
        const std::string filler(static_cast<std::size_t>(pad), 'p');
        const QByteArray bytes =
            QByteArray::fromStdString(filler + "\tx\x1bny\r\n" + filler + "\t\x1b\x1b\r\n" + std::string(130, 'q'));
        const Strings expected = {filler.substr(0, 64), "x\ny", filler.substr(0, 64), "\x1b",
                                  std::string(64, 'q'), "<17>"};
        EXPECT_EQ(texts(readBytes(bytes, 65, 0)), expected) << pad;
    }
}

TEST(TextFile, ReadErrors)
{
    // A read that comes up short or fails, at once or after some full refills.
    const QByteArray bytes = QByteArray(200, 'a') + "\tb\n";
    for (qint64 limit : {0, 10, 64, 150, 199}) {
        FailDevice device(bytes, limit, 0);
        device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        TextFile file;
        file.attach(&device);
        std::string text;
        EXPECT_EQ(ReadField(file, text, 65, true, kTabLf).messageId(), kTextFileIoError) << limit;
    }
    // Nothing open.
    TextFile closed;
    std::string text = "old";
    EXPECT_EQ(ReadField(closed, text, 65, true, kTabLf).messageId(), kTextFileIoError);
    EXPECT_EQ(text, "");
    EXPECT_EQ(WriteField(closed, "x", '\n').messageId(), kTextFileIoError);
    EXPECT_EQ(SeekToEnd(closed).messageId(), kTextFileIoError);
}

TEST(TextFile, WritesFields)
{
    struct Case
    {
        const char* name;
        std::string text;
        char terminator;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"plain with TAB", "Anna", '\t', "Anna\t"},
        {"line feed as CR LF", "+420", '\n', "+420\r\n"},
        {"no terminator", "x", '\0', "x"},
        {"other terminator", "x", ';', "x;"},
        {"empty field", "", '\t', "\t"},
        {"empty, no terminator", "", '\0', ""},
        {"line feed inside", "a\nb\n", '\n', "a\x1bnb\x1bn\r\n"},
        {"TAB and ESC inside", "a\tb\x1b", '\n', "a\x1b\tb\x1b\x1b\r\n"},
        {"leading space", "  a b", '\t', "\x1b  a b\t"},
        {"CR then leading space", "\r a", '\t', "\r\x1b a\t"},
        {"CR kept as written", "a\rb", '\t', "a\rb\t"},
        {"cut at 256", std::string(300, 'a'), '\n', QByteArray(256, 'a') + "\r\n"},
        {"exactly 256", std::string(256, 'a'), '\t', QByteArray(256, 'a') + "\t"},
        {"escape pair not split", std::string(255, 'a') + "\nb", '\t', QByteArray(255, 'a') + "\t"},
        {"escape pair fits", std::string(254, 'a') + "\nb", '\t', QByteArray(254, 'a') + "\x1bn\t"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(writeFields({{c.text, c.terminator}}), c.bytes) << c.name;
}

TEST(TextFile, WrittenFieldsReadBack)
{
    const std::vector<std::string> values = {
        "1",      "",   "Name with\nline feeds\n", "\ttab first",        " space first", "esc \x1b n",
        "x\x1bn", "\n", "trailing space ",         std::string(64, 'z'),
    };
    std::vector<std::pair<std::string, char>> fields;
    for (std::size_t i = 0; i < values.size(); ++i)
        fields.push_back({values[i], i % 2 ? '\n' : '\t'});
    const QByteArray bytes = writeFields(fields);

    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TextFile file;
    file.attach(&buffer);
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::string text;
        // An empty field is only seen before a line feed: TABs before a field are skipped.
        ASSERT_EQ(ReadField(file, text, 65, i % 2 == 0, kTabLf).messageId(), kOk) << i;
        EXPECT_EQ(text, values[i]) << i;
    }
    std::string text;
    EXPECT_EQ(ReadField(file, text, 65, true, kTabLf).messageId(), kTextFileEndOfFile);
}

TEST(TextFile, WriteFailures)
{
    // A device that takes only part of a field.
    FailDevice device(QByteArray(), 0, 3);
    device.open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    TextFile file;
    file.attach(&device);
    EXPECT_EQ(WriteField(file, "ab", '\n').messageId(), kTextFileIoError);

    // A full disk.
    if (QFileInfo::exists(QStringLiteral("/dev/full"))) {
        TextFile full;
        ASSERT_EQ(OpenTextFile(full, QStringLiteral("/dev/full"), kTextFileUpdate).messageId(), kOk);
        EXPECT_EQ(SeekToEnd(full).messageId(), kOk);
        EXPECT_EQ(WriteField(full, "x", '\n').messageId(), kTextFileIoError);
        CloseTextFile(full);
    }
}

TEST(TextFile, OpenModes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath(QStringLiteral("missing.dia"));
    const QString path = dir.filePath(QStringLiteral("book.dia"));
    TextFile file;

    EXPECT_EQ(OpenTextFile(file, missing, kTextFileRead).messageId(), kTextFileNotFound);
    EXPECT_FALSE(QFileInfo::exists(missing)); // reading never creates
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(OpenTextFile(file, dir.filePath(QStringLiteral("no/such/dir.dia")), kTextFileCreate).messageId(),
              kTextFileNotFound);
    EXPECT_EQ(OpenTextFile(file, QString(), kTextFileRead).messageId(), kTextFileNotFound);
    EXPECT_EQ(OpenTextFile(file, dir.path(), kTextFileRead).messageId(), kTextFileIoError); // a folder
    EXPECT_EQ(OpenTextFile(file, dir.path(), kTextFileCreate).messageId(), kTextFileIoError);
    EXPECT_EQ(OpenTextFile(file, path, 3).messageId(), kTextFileIoError);
    EXPECT_FALSE(QFileInfo::exists(path));

    // Mode 2 creates, and empties an existing file.
    putFile(path, "old contents that must go\r\n");
    ASSERT_EQ(OpenTextFile(file, path, kTextFileCreate).messageId(), kOk);
    EXPECT_TRUE(file.isOpen());
    EXPECT_EQ(WriteField(file, "1", '\t').messageId(), kOk);
    EXPECT_EQ(WriteField(file, "Anna\nB", '\n').messageId(), kOk);
    CloseTextFile(file);
    EXPECT_FALSE(file.isOpen());
    EXPECT_EQ(fileBytes(path), "1\tAnna\x1bnB\r\n");

    // A path below a plain file is a missing path too.
    EXPECT_EQ(OpenTextFile(file, path + QStringLiteral("/x"), kTextFileUpdate).messageId(), kTextFileNotFound);

    // Mode 0 reads, and cannot write.
    ASSERT_EQ(OpenTextFile(file, path, kTextFileRead).messageId(), kOk);
    EXPECT_EQ(texts(readAll(file, 65, 2)), (Strings{"1", "Anna\nB", "<17>"}));
    EXPECT_EQ(WriteField(file, "x", '\n').messageId(), kTextFileIoError);
    CloseTextFile(file);
    EXPECT_EQ(fileBytes(path), "1\tAnna\x1bnB\r\n");

    // Mode 1 with SeekToEnd appends; a missing file is created.
    ASSERT_EQ(OpenTextFile(file, path, kTextFileUpdate).messageId(), kOk);
    EXPECT_EQ(SeekToEnd(file).messageId(), kOk);
    EXPECT_EQ(WriteField(file, "2", '\n').messageId(), kOk);
    CloseTextFile(file);
    EXPECT_EQ(fileBytes(path), "1\tAnna\x1bnB\r\n2\r\n");
    const QString archive = dir.filePath(QStringLiteral("new.sma"));
    ASSERT_EQ(OpenTextFile(file, archive, kTextFileUpdate).messageId(), kOk);
    EXPECT_EQ(SeekToEnd(file).messageId(), kOk);
    EXPECT_EQ(WriteField(file, "a", '\n').messageId(), kOk);
    CloseTextFile(file);
    EXPECT_EQ(fileBytes(archive), "a\r\n");

    // Reopening closes the previous file first.
    ASSERT_EQ(OpenTextFile(file, path, kTextFileRead).messageId(), kOk);
    ASSERT_EQ(OpenTextFile(file, archive, kTextFileRead).messageId(), kOk);
    EXPECT_EQ(texts(readAll(file)), (Strings{"a", "<17>"}));
}

TEST(TextFile, WritingAfterReadingStartsWhereTheReadingStands)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("a.sms"));
    putFile(path, "a\tb\tc\r\n");
    TextFile file;
    ASSERT_EQ(OpenTextFile(file, path, kTextFileUpdate).messageId(), kOk);
    std::string text;
    ASSERT_EQ(ReadField(file, text, 65, true, kTabLf).messageId(), kOk);
    EXPECT_EQ(text, "a");
    EXPECT_EQ(WriteField(file, "X", '\0').messageId(), kOk);
    ASSERT_EQ(ReadField(file, text, 65, true, kTabLf).messageId(), kOk);
    EXPECT_EQ(text, "b");
    CloseTextFile(file);
    EXPECT_EQ(fileBytes(path), "aXb\tc\r\n");
}

TEST(TextFile, TwoFilesReadAtOnce)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString a = dir.filePath(QStringLiteral("a.dia"));
    const QString b = dir.filePath(QStringLiteral("b.dia"));
    std::string one;
    std::string two;
    for (int i = 0; i < 40; ++i) {
        one += "a" + std::to_string(i) + "\t";
        two += "b" + std::to_string(i) + "\n";
    }
    putFile(a, QByteArray::fromStdString(one));
    putFile(b, QByteArray::fromStdString(two));
    TextFile fa;
    TextFile fb;
    ASSERT_EQ(OpenTextFile(fa, a, kTextFileRead).messageId(), kOk);
    ASSERT_EQ(OpenTextFile(fb, b, kTextFileRead).messageId(), kOk);
    for (int i = 0; i < 40; ++i) {
        std::string ta;
        std::string tb;
        ASSERT_EQ(ReadField(fa, ta, 65, false, kTabLf).messageId(), kOk);
        ASSERT_EQ(ReadField(fb, tb, 65, true, kTabLf).messageId(), kOk);
        EXPECT_EQ(ta, "a" + std::to_string(i));
        EXPECT_EQ(tb, "b" + std::to_string(i));
    }
    std::string rest;
    EXPECT_EQ(ReadField(fa, rest, 65, false, kTabLf).messageId(), kTextFileEndOfFile);
    EXPECT_EQ(ReadField(fb, rest, 65, true, kTabLf).messageId(), kTextFileEndOfFile);
}
