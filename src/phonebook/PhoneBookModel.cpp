#include "phonebook/PhoneBookModel.h"

#include <algorithm>
#include <cstring>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "codec/PcText.h"
#include "phonebook/EntryFields.h"

namespace kestrel {

namespace {

// Case-insensitive byte order after ASCII case folding: only a-z change case. The byte order of
// UTF-8 is the order of the code points, so letters beyond ASCII follow the plain ones.
int compareFolded(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        auto fold = [](unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; };
        const unsigned char x = fold(static_cast<unsigned char>(*a));
        const unsigned char y = fold(static_cast<unsigned char>(*b));
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}

// Whether the pair (first, second) is exchanged by a pass of the sort by key.
bool outOfOrder(const DialEntry& first, const DialEntry& second, int key)
{
    if (key == 0)
        return second.position < first.position;
    if (first.valid == 0)
        return second.valid != 0;
    if (second.valid == 0)
        return false;
    return key == 1 ? compareFolded(first.name, second.name) > 0 : compareFolded(first.number, second.number) > 0;
}

// The messages and questions of the shared row operations in a phone book window.
constexpr EditorRowTexts kPhoneBookRowTexts{
    strId(sid::NoItemSelected_57589),
    strId(sid::ReallyDeleteValidEntriesAlso_57590),
    strId(sid::NoItemSelected_57582),
    strId(sid::ReallyDeleteSelectedItems_57583),
    PromptButtons::YesNo,
    strId(sid::NoItemsSelected_57584),
    strId(sid::ReallyDeleteAllEntries_57581),
    strId(sid::ClosingWindowWillLoseChanges_57585),
    strId(sid::ThereAreValidEntriesIn_57586),
    PromptButtons::YesNoCancel,
    strId(sid::NumberOfInsertedItemsHas_57594),
};

} // namespace

PhoneBookModel::PhoneBookModel(DialBook book, AppState& app, Prompter& prompter, ProgressSink* progress)
    : EditorRows(app, prompter, kPhoneBookRowTexts), m_book(book), m_progress(progress)
{}

std::array<QString, 3> PhoneBookModel::rowTexts(int row) const
{
    if (row < 0 || row >= kMaxEntries)
        return {};
    const DialEntry& e = entry(row);
    std::array<QString, 3> texts;
    texts[0] = QString::asprintf("%3d %c", e.position + 1, e.modified != 0 ? '*' : ' ');
    if (e.valid == 0) {
        texts[1] = texts[2] = QString(31, QLatin1Char('-'));
        return texts;
    }
    texts[1] = pcTextToUnicode(entryFieldText(e.name));
    texts[2] = pcTextToUnicode(entryFieldText(e.number));
    if (e.ton != 0)
        texts[2].prepend(QLatin1Char('+'));
    return texts;
}

int PhoneBookModel::columnTitleId(int column)
{
    switch (column) {
    case 0:
        return strId(sid::ItemNr_57920);
    case 1:
        return strId(sid::Name_57921);
    default:
        return strId(sid::TelNumber_57922);
    }
}

bool PhoneBookModel::undo()
{
    if (!canUndo())
        return false;
    m_sortedColumn = -1; // before the redraw, which shows the header's mark
    return EditorRows::undo();
}

bool PhoneBookModel::redo()
{
    if (!canRedo())
        return false;
    m_sortedColumn = -1;
    return EditorRows::redo();
}

void PhoneBookModel::clearEntries()
{
    for (int i = 0; i < kMaxEntries; ++i)
        m_entries[static_cast<std::size_t>(i)] = DialEntry::emptyAt(static_cast<uint16_t>(i));
}

void PhoneBookModel::sortByKey(int a, int b, int key)
{
    a = std::max(a, 0);
    b = std::min(b, kMaxEntries - 1);
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (int i = a; i < b; ++i) {
            auto& first = m_entries[static_cast<std::size_t>(i)];
            auto& second = m_entries[static_cast<std::size_t>(i + 1)];
            if (outOfOrder(first, second, key)) {
                std::swap(first, second);
                exchanged = true;
            }
        }
    }
}

void PhoneBookModel::sortByColumn(int column)
{
    if (column < 0 || column > 2)
        return;
    Change change(*this);
    sortByKey(0, m_limit - 1, column);
    m_sortedColumn = column;
    redraw();
}

bool PhoneBookModel::sortRange(int from, int to)
{
    if (from < 1 || from >= to || to > m_limit) {
        m_prompter.message(strId(sid::OutOfRange_57580), PromptIcon::Stop);
        return false;
    }
    Change change(*this);
    // Card order first, then the names of the range; the range is then numbered as it stands, so
    // the next card write stores the entries in their new order.
    sortByKey(0, m_limit - 1, 0);
    sortByKey(from - 1, to - 1, 1);
    for (int row = from - 1; row < to; ++row) {
        DialEntry& e = entry(row);
        if (e.valid != 0)
            e.modified = 1;
    }
    for (int row = 0; row < m_limit; ++row)
        entry(row).position = static_cast<uint16_t>(row);
    redraw(from - 1);
    return true;
}

} // namespace kestrel
