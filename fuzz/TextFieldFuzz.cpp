// Reads delimited text fields (.DIA and .SMS/.SMA files) from arbitrary bytes, and checks that a
// field written from arbitrary text reads back as that text.
//
// Input: byte 0 chooses the field size, byte 1 the skip-newlines pattern, the rest is the file.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <QBuffer>
#include <QByteArray>

#include "FuzzCheck.h"
#include "codec/TextFile.h"

using namespace kestrel;
using kestrel::fuzz::check;

namespace {

constexpr char kEsc = 0x1B;

void readFields(const QByteArray& bytes, int fieldSize, uint8_t pattern)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    TextFile file;
    file.attach(&buffer);
    const std::size_t kept = fieldSize > 0 ? static_cast<std::size_t>(fieldSize) - 1 : 0;
    // Every third field skips line feeds, as the loaders' first field of a line does, so the
    // reading always moves on; the cap only guards against a fault that stops it.
    const int cap = static_cast<int>(bytes.size()) * 3 + 8;
    for (int i = 0; i < cap; ++i) {
        const bool skip = i % 3 == 0 || ((pattern >> (i % 8)) & 1);
        Result r;
        if (i % 2) {
            std::string field;
            r = ReadField(file, field, fieldSize, skip, "\t\n");
            check(field.size() <= kept);
        } else {
            char out[100];
            std::memset(out, 'G', sizeof out);
            r = ReadField(file, out, fieldSize, skip, "\t\n");
            check(fieldSize <= 0 || ::strnlen(out, sizeof out) <= kept);
            check(out[fieldSize > 0 ? fieldSize : 0] == 'G'); // nothing written past the buffer
        }
        if (r.messageId() == kTextFileEndOfFile)
            return;
        check(static_cast<bool>(r)); // an in-memory buffer never fails
    }
    check(false); // the reading never came to the end of the file
}

void writeAndReadBack(const QByteArray& bytes, char terminator)
{
    const std::string text = bytes.left(400).toStdString();
    // What the reader gives back: the CR-free text, as far as its encoding fits in 256 bytes.
    std::string expected;
    std::size_t encoded = 0;
    bool atStart = true;
    for (const char c : text) {
        const bool escaped = c == '\n' || c == '\t' || c == kEsc || (atStart && c == ' ');
        encoded += escaped ? 2 : 1;
        if (encoded > 256)
            break;
        if (c != '\r') {
            expected.push_back(c);
            atStart = false;
        }
    }

    // An empty field is only seen before a line feed: the reader skips TABs before a field.
    if (expected.empty())
        terminator = '\n';

    QByteArray stored;
    QBuffer buffer(&stored);
    buffer.open(QIODevice::ReadWrite);
    TextFile file;
    file.attach(&buffer);
    check(WriteField(file, text, terminator) && WriteField(file, "end", '\n'));
    check(stored.size() <= 256 + 2 + 5);
    check(buffer.seek(0));

    std::string field;
    check(ReadField(file, field, 300, false, "\t\n") && field == expected);
    check(ReadField(file, field, 300, true, "\t\n") && field == "end");
    check(ReadField(file, field, 300, true, "\t\n").messageId() == kTextFileEndOfFile);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const int fieldSize = data[0] % 80;
    const uint8_t pattern = data[1];
    const QByteArray bytes(reinterpret_cast<const char*>(data + 2), static_cast<qsizetype>(size - 2));
    readFields(bytes, fieldSize, pattern);
    writeAndReadBack(bytes, pattern & 1 ? '\t' : '\n');
    return 0;
}
