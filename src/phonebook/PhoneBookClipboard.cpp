// Cut, copy, paste, drag and drop of phone book rows.

#include "phonebook/PhoneBookModel.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "phonebook/DialClipboard.h"
#include "phonebook/DialTextPaste.h"
#include "phonebook/EntryFields.h"

namespace kestrel {

std::optional<DialClip> PhoneBookModel::copySelection(bool cut)
{
    const std::vector<const DialEntry*> rows = takeSelection(false);
    if (rows.empty())
        return std::nullopt;
    DialClip clip;
    clip.payload = encodeDialPayload(m_listHandle, rows);
    clip.text = dialClipText(rows);
    if (cut)
        clearSelectedUsed();
    return clip;
}

bool PhoneBookModel::pastePayload(const QByteArray& payload)
{
    return focusedRow() >= 0 && drop(payload, focusedRow());
}

void PhoneBookModel::pasteText(std::string_view pcText)
{
    DialTextReader reader(pcText, m_app.maxAlphaLength());
    pasteLines([&]() -> std::optional<DialEntry> {
        if (reader.atEnd())
            return std::nullopt;
        const DialTextLine line = reader.next();
        if (line.messageId != 0) {
            m_prompter.message(line.messageId, PromptIcon::Stop);
            return std::nullopt;
        }
        DialEntry pasted;
        setEntryField(pasted.name, line.name);
        setEntryField(pasted.number, SplitPlus(line.number, pasted.ton));
        pasted.npi = kNewEntryNpi;
        return pasted;
    });
}

std::optional<QByteArray> PhoneBookModel::startDrag()
{
    const std::vector<const DialEntry*> rows = takeSelection(true);
    if (rows.empty())
        return std::nullopt;
    return encodeDialPayload(m_listHandle, rows);
}

std::optional<int> PhoneBookModel::dragScrollTarget(int y, int top, int bottom, int topRow, int rowsPerPage,
                                                    int rowCount)
{
    if (rowCount <= 0)
        return std::nullopt;
    if (y < top + 20) {
        if (topRow <= 0)
            return std::nullopt;
        return y < top + 10 ? std::max(topRow - 5, 0) : topRow - 1;
    }
    if (y > bottom - 20) {
        const int lastRow = rowCount - 1;
        if (topRow + rowsPerPage > lastRow)
            return std::nullopt; // the last row is in view
        const int wanted = y > bottom - 10 ? topRow + rowsPerPage + 5 : topRow + rowsPerPage + 1;
        return std::min(wanted, lastRow);
    }
    return std::nullopt;
}

bool PhoneBookModel::drop(const QByteArray& payload, int row)
{
    const std::optional<DialPayload> data = decodeDialPayload(payload);
    if (!data)
        return false;
    Change change(*this);
    const auto& records = data->records;
    const int items = static_cast<int>(records.size());
    const int fits = dropRows(row, items);
    if (fits < 0)
        return false;
    for (int i = 0; i < fits; ++i) {
        const DialClipRecord& r = records[static_cast<std::size_t>(i)];
        DialEntry& e = entry(row + i);
        e.valid = r.valid != 0 ? 1 : 0;
        setEntryField(e.name, r.name);
        setEntryField(e.number, r.number);
        e.ton = r.ton;
        e.npi = r.npi;
        e.ccpId = r.ccpId;
        e.extId = r.extId;
        // The bytes the row was read from: they count while its fields are what they decode to.
        e.kept = r.kept;
    }
    dropDone(row, fits, items);
    return true;
}

} // namespace kestrel
