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

namespace {

bool overwriteAsked(Prompter& prompter)
{
    return prompter.question(strId(57586), PromptButtons::YesNoCancel, PromptIcon::Question) == PromptAnswer::Yes;
}

} // namespace

std::optional<DialClip> PhoneBookModel::copySelection(bool cut)
{
    std::vector<const DialEntry*> rows;
    for (const int row : selectedRows())
        rows.push_back(&entry(row));
    if (std::none_of(rows.begin(), rows.end(), [](const DialEntry* e) { return e->valid != 0; }))
        return std::nullopt;

    DialClip clip;
    clip.payload = encodeDialPayload(m_listHandle, rows);
    clip.text = dialClipText(rows);
    if (cut) {
        for (const int row : selectedRows()) {
            DialEntry& e = entry(row);
            if (e.valid != 0) {
                e.valid = 0;
                e.modified = 1;
            }
        }
        redraw(-1, firstSelected(), lastSelected());
    }
    return clip;
}

bool PhoneBookModel::pastePayload(const QByteArray& payload)
{
    return focusedRow() >= 0 && drop(payload, focusedRow());
}

void PhoneBookModel::pasteText(std::string_view pcText)
{
    const int target = focusedRow();
    if (target < 0 || target >= m_capacity)
        return;
    DialTextReader reader(pcText, m_app.maxAlphaLength());
    int count = 0;
    bool asked = false;
    while (!reader.atEnd()) {
        const DialTextLine line = reader.next();
        if (line.messageId != 0) {
            m_prompter.message(line.messageId, PromptIcon::Stop);
            break;
        }
        const int row = target + count;
        if (row >= m_capacity) {
            m_prompter.message(strId(5505), PromptIcon::Stop);
            break;
        }
        DialEntry& e = entry(row);
        // Asked once, whatever the confirmation setting.
        if (e.valid != 0 && !asked) {
            asked = true;
            if (!overwriteAsked(m_prompter))
                break;
        }
        DialEntry pasted;
        pasted.position = e.position;
        setEntryField(pasted.name, line.name);
        setEntryField(pasted.number, SplitPlus(line.number, pasted.ton));
        pasted.valid = 1;
        pasted.modified = 1;
        e = pasted;
        ++count;
    }
    if (count > 0)
        redraw(-1, target, target + count - 1);
}

std::optional<QByteArray> PhoneBookModel::startDrag()
{
    std::vector<const DialEntry*> rows;
    for (const int row : selectedRows())
        rows.push_back(&entry(row));
    if (std::none_of(rows.begin(), rows.end(), [](const DialEntry* e) { return e->valid != 0; }))
        return std::nullopt;
    QByteArray payload = encodeDialPayload(m_listHandle, rows);
    for (const int row : selectedRows())
        entry(row).dragMark = 1;
    return payload;
}

void PhoneBookModel::endDrag(DropEffect effect)
{
    int first = -1;
    int last = -1;
    for (int row = 0; row < m_capacity; ++row) {
        DialEntry& e = entry(row);
        if (e.dragMark == 0)
            continue;
        // Entries the drop landed on in this same list lost their mark; only the rest are freed.
        if (effect == DropEffect::Move && e.valid != 0) {
            e.valid = 0;
            e.modified = 1;
        }
        if (first < 0)
            first = row;
        last = row;
    }
    for (DialEntry& e : m_entries)
        e.dragMark = 0;
    if (effect == DropEffect::Move && first >= 0)
        redraw(-1, first, last);
}

DropEffect PhoneBookModel::dropEffect(const QByteArray* payload, int row, bool ctrlHeld) const
{
    return dropEffectFor(payload ? dialPayloadSource(*payload) : std::nullopt, m_listHandle,
                         row >= 0 && row < m_capacity, ctrlHeld);
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
    if (row < 0 || row >= m_capacity)
        return false;
    const std::optional<DialPayload> data = decodeDialPayload(payload);
    if (!data)
        return false;
    const auto& records = data->records;
    const int fits = std::min(static_cast<int>(records.size()), m_capacity - row);

    if (m_app.settings().confirm != 0) {
        // Entries of a running drag from this list are not lost by being overwritten: they are
        // what is being moved.
        for (int i = 0; i < fits; ++i) {
            const DialEntry& e = entry(row + i);
            if (e.valid != 0 && e.dragMark == 0) {
                if (!overwriteAsked(m_prompter))
                    return false;
                break;
            }
        }
    }

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
        e.modified = 1;
        e.dragMark = 0;
    }
    if (fits > 0)
        redraw(-1, row, row + fits - 1);
    if (static_cast<int>(records.size()) > fits)
        m_prompter.message(strId(57594), PromptIcon::Exclamation);
    return true;
}

} // namespace kestrel
