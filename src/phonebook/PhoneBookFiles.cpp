#include "phonebook/PhoneBookFiles.h"

#include <algorithm>
#include <array>
#include <string>
#include <string_view>

#include <QSaveFile>
#include <QStringList>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringIds.h"
#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/FixedText.h"
#include "codec/PcText.h"
#include "codec/TextFile.h"
#include "phonebook/PhoneBookModel.h"

namespace kestrel {

namespace {

constexpr int kMaxRows = PhoneBookModel::kMaxEntries;
// A field of a .DIA line keeps at most 64 bytes; the rest of a longer field is dropped.
constexpr int kFieldSize = 65;
constexpr std::string_view kDelimiters = "\t\n";
// A .DIA name (Windows-1250, one byte a character) of 50 bytes or more is refused.
constexpr std::size_t kMaxNameBytes = 49;
// The names a warning about characters lost to Windows-1250 lists before it stops.
constexpr int kNamesListed = 5;

// An item number of a .DIA line: decimal digits only, 1-250; 0 for anything else.
int parseItemNumber(std::string_view text)
{
    if (text.empty())
        return 0;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
        if (value > kMaxRows)
            return 0;
    }
    return value;
}

// One line of a .DIA file as its three fields were read.
struct DiaLine
{
    std::string item;
    std::string name;
    std::string number;
};

enum class LineRead
{
    Line,
    EndOfFile, // before the line started
    ReadError,
};

// Reads the three fields of the next line; blank lines before it are skipped. An end of file
// before the third field counts as an empty third field when a short line is allowed (the last
// line of a two-field file may lack its line end).
LineRead readLine(TextFile& file, DiaLine& line, bool shortLineAllowed)
{
    Result r = ReadField(file, line.item, kFieldSize, true, kDelimiters);
    if (r.messageId() == kTextFileEndOfFile)
        return LineRead::EndOfFile;
    if (!r)
        return LineRead::ReadError;
    if (!ReadField(file, line.name, kFieldSize, false, kDelimiters))
        return LineRead::ReadError;
    r = ReadField(file, line.number, kFieldSize, false, kDelimiters);
    if (r.messageId() == kTextFileEndOfFile && shortLineAllowed)
        return LineRead::Line;
    return r ? LineRead::Line : LineRead::ReadError;
}

void selectOnly(PhoneBookModel& model, int row)
{
    model.clearSelection();
    if (row >= 0 && row < model.capacity()) {
        model.setSelected(row, true);
        model.setFocusedRow(row);
    }
}

} // namespace

PhoneBookFiles::PhoneBookFiles(PhoneBookModel& model) : m_model(model) {}

bool PhoneBookFiles::acceptSaveInterval(int from, int to)
{
    const int capacity = m_model.capacity();
    if (from < 1 || from > capacity || to < 1 || to > capacity || to < from) {
        m_model.prompter().message(strId(sid::WrongIntervalEntered_57783), PromptIcon::Stop);
        return false;
    }
    return true;
}

Result PhoneBookFiles::saveFile(const QString& path, int from, int to)
{
    if (!acceptSaveInterval(from, to))
        return Result::failure(strId(sid::WrongIntervalEntered_57783));
    if (const PhoneBookFormat format = phoneBookFormatOf(path); format != PhoneBookFormat::Dia)
        return saveContacts(path, from, to, format);
    Prompter& prompter = m_model.prompter();

    // Written beside the old file and renamed over it at the end, so that a failed save never
    // leaves a half-written phone book behind.
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) {
        prompter.message(strId(sid::CannotOpenFileForWriting_57780), PromptIcon::Stop);
        return Result::failure(strId(sid::CannotOpenFileForWriting_57780));
    }

    m_model.sortByKey(0, m_model.capacity() - 1, 0);
    m_model.redraw();

    TextFile file;
    file.attach(&out);
    Result r;
    // Names with characters Windows-1250 lacks are written with "?" in their place, and said so.
    QStringList lossyNames;
    for (int row = from - 1; row < to && r; ++row) {
        const DialEntry& e = m_model.entry(row);
        if (e.valid == 0)
            continue;
        bool lossy = false;
        const std::string name = toWindows1250(fixedText(e.name), &lossy);
        if (lossy)
            lossyNames.append(QString::fromUtf8(fixedText(e.name)));
        r = WriteField(file, std::to_string(e.position + 1), '\t');
        if (r)
            r = WriteField(file, name, '\t');
        if (r)
            r = WriteField(file, JoinPlus(fixedText(e.number), e.ton, 64), '\n');
    }
    CloseTextFile(file);

    if (!r || !out.commit()) {
        out.cancelWriting();
        prompter.message(strId(sid::ErrorWhileWritingToFile_57781), PromptIcon::Stop);
        return Result::failure(strId(sid::ErrorWhileWritingToFile_57781));
    }
    prompter.message(strId(sid::DataWrittenToFile_57782), PromptIcon::Information);
    if (!lossyNames.isEmpty()) {
        const qsizetype count = lossyNames.size();
        if (count > kNamesListed) {
            lossyNames = lossyNames.mid(0, kNamesListed);
            lossyNames.append(QStringLiteral("..."));
        }
        prompter.messageText(StringTable::text(sid::NamesHoldCharactersTheDia_9859)
                                 .arg(count)
                                 .arg(lossyNames.join(QStringLiteral(", "))),
                             PromptIcon::Exclamation);
    }
    return Result::ok();
}

bool PhoneBookFiles::confirmOpen()
{
    if (m_model.app().settings().confirm == 0)
        return true;
    const auto& entries = m_model.entries();
    const bool anyValid = std::any_of(entries.begin(), entries.end(), [](const DialEntry& e) { return e.valid != 0; });
    if (!anyValid)
        return true;
    return m_model.prompter().question(strId(sid::AllEntriesInTheCurrent_57471), PromptButtons::YesNoCancel,
                                       PromptIcon::Question) == PromptAnswer::Yes;
}

Result PhoneBookFiles::openFile(const QString& path)
{
    if (const PhoneBookFormat format = phoneBookFormatOf(path); format != PhoneBookFormat::Dia)
        return loadContacts(path, 0, false, format);
    return load(path, 0, true, false);
}

int PhoneBookFiles::defaultAddStart() const
{
    const int focused = m_model.focusedRow();
    return focused >= 0 && focused < m_model.capacity() ? focused + 1 : 1;
}

bool PhoneBookFiles::acceptAddStart(int from)
{
    if (from < 1 || from > m_model.capacity()) {
        m_model.prompter().message(strId(sid::ErrorInStartPointEntered_57470), PromptIcon::Stop);
        return false;
    }
    return true;
}

Result PhoneBookFiles::addFromFile(const QString& path, int from, bool includeEmpty)
{
    if (!acceptAddStart(from))
        return Result::failure(kAddStartRefused);
    if (const PhoneBookFormat format = phoneBookFormatOf(path); format != PhoneBookFormat::Dia)
        return loadContacts(path, from - 1, true, format);
    return load(path, from - 1, includeEmpty, true);
}

Result PhoneBookFiles::load(const QString& path, int offset, bool useItemNumbers, bool adding)
{
    Prompter& prompter = m_model.prompter();
    const bool confirm = m_model.app().settings().confirm != 0;

    TextFile file;
    if (!OpenTextFile(file, path, kTextFileRead)) {
        prompter.message(kDiaCannotOpen, PromptIcon::Stop);
        return Result::failure(kDiaCannotOpen);
    }

    // The window is prepared only once the file is open.
    const PhoneBookModel::Change change(m_model);
    const int oldCapacity = m_model.capacity();
    int firstFree = 0;
    if (adding) {
        m_model.sortByKey(0, oldCapacity - 1, 0);
        firstFree = oldCapacity;
    }
    for (int row = firstFree; row < kMaxRows; ++row) {
        DialEntry& e = m_model.entry(row);
        e = DialEntry::emptyAt(static_cast<uint16_t>(row));
        e.modified = 1;
    }

    std::array<bool, kMaxRows> read{};
    Result result;
    bool twoField = false;
    bool firstLine = true;
    bool asked = false;
    int count = 0;
    DiaLine line;
    for (;;) {
        const LineRead lr = readLine(file, line, firstLine || twoField);
        if (lr == LineRead::EndOfFile)
            break;
        if (lr == LineRead::ReadError) {
            result = Result::failure(kDiaReadError);
            break;
        }
        if (firstLine) {
            // A first line with an item number and both texts makes a file of numbered lines;
            // anything else is a file of "name TAB number" lines.
            twoField = !(parseItemNumber(line.item) != 0 && !line.name.empty() && !line.number.empty());
            firstLine = false;
        }

        int item = 0;
        std::string name;
        std::string number;
        if (twoField) {
            if (!line.number.empty()) {
                result = Result::failure(kDiaSyntaxError);
                break;
            }
            name = std::move(line.item);
            number = std::move(line.name);
            item = count + 1;
        } else {
            item = parseItemNumber(line.item);
            if (item == 0) {
                result = Result::failure(kDiaSyntaxError);
                break;
            }
            if (!useItemNumbers)
                item = count + 1;
            name = std::move(line.name);
            number = std::move(line.number);
        }
        // A NUL byte would end the name early in its fixed field, and "+" alone is no number.
        const int target = item + offset;
        if (target < 1 || target > kMaxRows || name.empty() || name.size() > kMaxNameBytes ||
            name.find('\0') != std::string::npos || number.empty() || number == "+" || !IsValidDialNumber(number)) {
            result = Result::failure(kDiaSyntaxError);
            break;
        }
        count = std::max(count, target - offset);

        const int row = target - 1;
        DialEntry& e = m_model.entry(row);
        if (e.valid != 0 && confirm && !asked) {
            asked = true;
            if (prompter.question(kDiaOverwriteQuestion, PromptButtons::YesNoCancel, PromptIcon::Question) !=
                PromptAnswer::Yes) {
                result = Result::failure(kDiaOverwriteQuestion);
                break;
            }
        }
        e = DialEntry::emptyAt(static_cast<uint16_t>(row));
        e.valid = 1;
        // The name as the file holds it (ß and the accented letters included): the card write
        // decides what its alphabet keeps.
        setFixedText(e.name, fromWindows1250(name));
        uint8_t ton = 0;
        setFixedText(e.number, SplitPlus(number, ton));
        e.ton = ton;
        e.npi = kNewEntryNpi;
        e.modified = 1;
        read[static_cast<std::size_t>(row)] = true;
    }
    CloseTextFile(file);

    // Valid entries the file skipped over are cleared only when the whole file could be read: a
    // broken file or a refusal never costs the window more entries.
    if (adding && result) {
        bool clearingAsked = false;
        for (int row = offset; row < offset + count && row < kMaxRows; ++row) {
            DialEntry& e = m_model.entry(row);
            if (read[static_cast<std::size_t>(row)] || e.valid == 0)
                continue;
            if (confirm && !clearingAsked) {
                clearingAsked = true;
                if (prompter.question(strId(sid::ValidEntriesInTheWindow_57474), PromptButtons::YesNoCancel,
                                      PromptIcon::Question) != PromptAnswer::Yes)
                    break;
            }
            e.valid = 0;
            e.modified = 1;
        }
    }

    m_model.setCapacity(std::max(oldCapacity, offset + count));
    selectOnly(m_model, offset);
    m_model.redraw(offset < m_model.capacity() ? offset : -1, -1, -1);

    if (result.messageId() == kDiaSyntaxError || result.messageId() == kDiaReadError)
        prompter.message(result.messageId(), PromptIcon::Stop);
    return result;
}

} // namespace kestrel
