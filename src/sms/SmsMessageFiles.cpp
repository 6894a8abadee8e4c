#include "sms/SmsMessageFiles.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include <QFile>
#include <QSaveFile>

#include "app/Prompter.h"
#include "base/StringIds.h"
#include "codec/DialDigits.h"
#include "codec/FixedText.h"
#include "codec/PcText.h"
#include "codec/SmsTime.h"
#include "codec/TextFile.h"
#include "sms/SmsListModel.h"

namespace kestrel {

namespace {

constexpr int kRows = SmsListModel::kRows;
constexpr int kFields = 7;
// The item number, both numbers, the time and the status keep at most 64 bytes; the message
// reference and the text at most 199.
constexpr int kShortField = 65;
constexpr int kLongField = 200;
constexpr std::string_view kDelimiters = "\t\n";
constexpr std::size_t kMaxNumberDigits = kSmsNumberSize - 1;
// The text is Windows-1250 in the file, one byte a character.
constexpr std::size_t kMaxTextLength = kLongField - 1;

// Fields of a record, in the order of a message-file line.
enum Field
{
    Item = 0,
    Centre,
    Number,
    When,
    Status,
    Reference,
    Text,
};

using Record = std::array<std::string, kFields>;

// A decimal of digits only from 0 to max; -1 for anything else (a sign, a blank, no digit).
int parseDecimal(std::string_view text, int max)
{
    if (text.empty())
        return -1;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
        if (value > max)
            return -1;
    }
    return value;
}

int parseItem(std::string_view text)
{
    const int item = parseDecimal(text, kRows);
    return item >= 1 ? item : -1;
}

enum class RecordRead
{
    Record,
    EndOfFile, // before the record started
    ReadError,
};

// Reads the seven fields of the next record; blank lines before it are skipped. An end of file
// just before the seventh field counts as an empty seventh field when a short record is allowed
// (the last line of an archive file may lack its line end).
RecordRead readRecord(TextFile& file, Record& record, bool shortRecordAllowed)
{
    Result r = ReadField(file, record[Item], kShortField, true, kDelimiters);
    if (r.messageId() == kTextFileEndOfFile)
        return RecordRead::EndOfFile;
    if (!r)
        return RecordRead::ReadError;
    for (int i = Centre; i < kFields; ++i) {
        r = ReadField(file, record[static_cast<std::size_t>(i)], i < Reference ? kShortField : kLongField, false,
                      kDelimiters);
        if (r.messageId() == kTextFileEndOfFile && i == Text && shortRecordAllowed) {
            record[Text].clear();
            return RecordRead::Record;
        }
        if (!r)
            return RecordRead::ReadError;
    }
    return RecordRead::Record;
}

// Removes the ">" a text field of the file starts with; false when it has none.
bool takeMarked(std::string& field)
{
    if (field.empty() || field.front() != '>')
        return false;
    field.erase(0, 1);
    return true;
}

// A service centre or number of the file: a dialling number of at most 20 digits besides a
// leading "+".
bool validNumber(std::string_view text)
{
    const std::size_t limit = kMaxNumberDigits + (!text.empty() && text.front() == '+' ? 1 : 0);
    return text.size() <= limit && IsValidDialNumber(text);
}

// The entry a record of a message file describes (item number first), or nothing when a field
// breaks the rules of the format.
bool parseRecord(Record& f, SmsEntry& e)
{
    const int item = parseItem(f[Item]);
    if (item < 0)
        return false;
    for (int i = Centre; i < kFields; ++i) {
        const std::string& field = f[static_cast<std::size_t>(i)];
        // A NUL byte would end a field early in its fixed buffer.
        if (field.empty() || field.find('\0') != std::string::npos)
            return false;
    }
    if (!takeMarked(f[Centre]) || !takeMarked(f[Number]) || !takeMarked(f[When]) || !takeMarked(f[Text]))
        return false;
    if (!validNumber(f[Centre]) || !validNumber(f[Number]) || f[Text].size() > kMaxTextLength)
        return false;
    SmsTime time;
    if (!ParseSmsTime(f[When], time))
        return false;
    const int status = parseDecimal(f[Status], static_cast<int>(SmsStatus::ToBeSent));
    const int reference = parseDecimal(f[Reference], 255);
    if (status < 0 || reference < 0)
        return false;

    e = SmsEntry{};
    e.valid = 1;
    e.position = static_cast<uint16_t>(item - 1);
    uint8_t ton = 0;
    setFixedText(e.scNumber, SplitPlus(f[Centre], ton, kSmsNumberSize));
    e.scTon = ton;
    setFixedText(e.number, SplitPlus(f[Number], ton, kSmsNumberSize));
    e.numberTon = ton;
    setFixedText(e.text, fromWindows1250(f[Text]));
    // A time too long for the entry ("31.12.2024 23:59") keeps its value in the short form
    // rather than losing its last digit.
    if (f[When].size() < sizeof e.when)
        setFixedText(e.when, f[When]);
    else
        setFixedText(e.when, FormatSmsTime(time, sizeof e.when));
    e.status = status;
    e.messageRef = static_cast<uint8_t>(reference);
    e.modified = 1;
    return true;
}

// Writes a text field. A field holds at most 256 bytes per write, and a line feed takes two of
// them (ESC "n"), so a long text is written in parts: one field of the line all the same, which
// reads back whole.
Result writeText(TextFile& file, std::string_view text, char terminator)
{
    constexpr std::size_t kPart = 128;
    Result r;
    for (; text.size() > kPart && r; text.remove_prefix(kPart))
        r = WriteField(file, text.substr(0, kPart), '\0');
    return r ? WriteField(file, text, terminator) : r;
}

// Writes the used rows, each as one line: with its item number for a message file, without it for
// an archive file. lossy is set when a text lost characters on the way into the file.
Result writeRows(TextFile& file, const SmsListModel& model, bool itemNumbers, bool& lossy)
{
    Result r;
    lossy = false;
    for (const SmsEntry& e : model.entries()) {
        if (e.valid == 0)
            continue;
        char when[kSmsWhenSize];
        std::copy(std::begin(e.when), std::end(e.when), std::begin(when));
        when[kSmsWhenSize - 1] = '\0';
        NormalizeSmsTime(when);
        if (itemNumbers)
            r = WriteField(file, std::to_string(e.position + 1), '\t');
        if (r)
            r = WriteField(file, ">" + JoinPlus(fixedText(e.scNumber), e.scTon, kSmsNumberSize + 1), '\t');
        if (r)
            r = WriteField(file, ">" + JoinPlus(fixedText(e.number), e.numberTon, kSmsNumberSize + 1), '\t');
        if (r)
            r = WriteField(file, ">" + std::string(fixedText(when)), '\t');
        if (r)
            r = WriteField(file, std::to_string(e.status), '\t');
        if (r)
            r = WriteField(file, std::to_string(e.messageRef), '\t');
        bool replaced = false;
        std::string text = toWindows1250(fixedText(e.text), &replaced);
        if (text.size() > kMaxTextLength) {
            text.resize(kMaxTextLength);
            replaced = true;
        }
        lossy = lossy || replaced;
        if (r)
            r = writeText(file, ">" + text, '\n');
        if (!r)
            break;
    }
    return r;
}

// The file holds the messages, but not all of them as the window does: the user is told.
void warnIfLossy(Prompter& prompter, bool lossy)
{
    if (lossy)
        prompter.message(strId(sid::NotEveryMessageWentInto_9899), PromptIcon::Exclamation);
}

// Copies the archive as it is into the new file, ending its last line when a hand edit left it
// open (else the first message appended would join it); false when it cannot be read or copied.
bool copyArchive(QFile& old, QSaveFile& out)
{
    char last = '\n';
    std::array<char, 65536> buffer;
    for (;;) {
        const qint64 got = old.read(buffer.data(), static_cast<qint64>(buffer.size()));
        if (got < 0)
            return false;
        if (got == 0)
            break;
        if (out.write(buffer.data(), got) != got)
            return false;
        last = buffer[static_cast<std::size_t>(got - 1)];
    }
    return last == '\n' || out.write("\r\n", 2) == 2;
}

} // namespace

SmsMessageFiles::SmsMessageFiles(SmsListModel& model) : m_model(model) {}

Result SmsMessageFiles::saveFile(const QString& path)
{
    Prompter& prompter = m_model.prompter();
    // Written beside the old file and renamed over it at the end, so that a failed save never
    // leaves a half-written message file behind.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        prompter.message(strId(sid::CannotOpenFileForWriting_57685), PromptIcon::Stop);
        return Result::failure(strId(sid::CannotOpenFileForWriting_57685));
    }
    TextFile file;
    file.attach(&out);
    bool lossy = false;
    const Result r = writeRows(file, m_model, true, lossy);
    CloseTextFile(file);
    if (!r || !out.commit()) {
        out.cancelWriting();
        prompter.message(strId(sid::ErrorWhileWritingDataTo_57686), PromptIcon::Stop);
        return Result::failure(strId(sid::ErrorWhileWritingDataTo_57686));
    }
    warnIfLossy(prompter, lossy);
    return Result::ok();
}

Result SmsMessageFiles::appendToArchive(const QString& path)
{
    Prompter& prompter = m_model.prompter();
    // The archive is rewritten whole, its old lines first: a failed append leaves it as it was.
    QFile old(path);
    const bool exists = old.exists();
    QSaveFile out(path);
    if ((exists && !old.open(QIODevice::ReadOnly)) || !out.open(QIODevice::WriteOnly)) {
        prompter.message(strId(sid::CannotOpenFileForWriting_57690), PromptIcon::Stop);
        return Result::failure(strId(sid::CannotOpenFileForWriting_57690));
    }
    if (exists && !copyArchive(old, out)) {
        out.cancelWriting();
        prompter.message(strId(sid::ErrorDuringFileOperation_57691), PromptIcon::Stop);
        return Result::failure(strId(sid::ErrorDuringFileOperation_57691));
    }
    old.close();

    TextFile file;
    file.attach(&out);
    bool lossy = false;
    const Result r = writeRows(file, m_model, false, lossy);
    CloseTextFile(file);
    if (!r || !out.commit()) {
        out.cancelWriting();
        prompter.message(strId(sid::ErrorWhileWritingDataTo_57692), PromptIcon::Stop);
        return Result::failure(strId(sid::ErrorWhileWritingDataTo_57692));
    }
    warnIfLossy(prompter, lossy);
    return Result::ok();
}

Result SmsMessageFiles::openFile(const QString& path)
{
    TextFile file;
    if (!OpenTextFile(file, path, kTextFileRead)) {
        m_model.prompter().message(strId(sid::CannotOpenFileForReading_57687), PromptIcon::Stop);
        return Result::failure(strId(sid::CannotOpenFileForReading_57687));
    }
    Result result = readMessages(file);
    CloseTextFile(file);
    report(result);
    return result;
}

Result SmsMessageFiles::readFrom(QIODevice& device)
{
    TextFile file;
    file.attach(&device);
    Result result = readMessages(file);
    CloseTextFile(file);
    report(result);
    return result;
}

Result SmsMessageFiles::readMessages(TextFile& file)
{
    // The window is emptied only once the file is open.
    const SmsListModel::Change change(m_model);
    const int oldRowCount = m_model.rowCount();
    m_model.clearRows();

    Result result;
    bool firstRecord = true;
    bool archive = false;
    int highest = 0;
    Record record;
    for (;;) {
        const RecordRead rr = readRecord(file, record, firstRecord || archive);
        if (rr == RecordRead::EndOfFile)
            break;
        if (rr == RecordRead::ReadError) {
            result = Result::failure(kSmsReadError);
            break;
        }
        if (firstRecord) {
            // A first record with an item number and all seven fields makes a message file;
            // anything else is an archive file.
            archive = parseItem(record[Item]) < 0 ||
                      std::any_of(record.begin(), record.end(), [](const std::string& f) { return f.empty(); });
            firstRecord = false;
        }
        if (archive) {
            // No item number: the messages are numbered in file order.
            if (!record[Text].empty()) {
                result = Result::failure(kSmsSyntaxError);
                break;
            }
            std::rotate(record.rbegin(), record.rbegin() + 1, record.rend());
            record[Item] = std::to_string(highest + 1);
        }
        SmsEntry entry;
        if (!parseRecord(record, entry)) {
            result = Result::failure(kSmsSyntaxError);
            break;
        }
        // A later record with the same item number replaces an earlier one.
        m_model.entries()[entry.position] = entry;
        highest = std::max(highest, entry.position + 1);
    }

    m_model.setRowCount(std::max(oldRowCount, highest));
    m_model.redraw();
    return result;
}

void SmsMessageFiles::report(const Result& result)
{
    if (result.messageId() == kSmsSyntaxError || result.messageId() == kSmsReadError)
        m_model.prompter().message(result.messageId(), PromptIcon::Stop);
}

} // namespace kestrel
