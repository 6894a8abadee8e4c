// Cut, copy, paste, drag and drop of SMS rows.

#include "sms/SmsListModel.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "phonebook/EntryFields.h"
#include "sms/SmsClipboard.h"

namespace kestrel {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// The lines of pasted text as new messages take them: leading blanks skipped, the rest of the
// line folded to ASCII, blanks and line ends after it skipped.
std::vector<std::string> pastedLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        std::string line;
        while (i < text.size() && !isLineEnd(text[i]))
            line.push_back(FoldToAscii(text[i++]));
        while (i < text.size() && (isBlank(text[i]) || isLineEnd(text[i])))
            ++i;
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace

std::vector<const SmsEntry*> SmsListModel::selectedEntries(bool& anyUsed) const
{
    std::vector<const SmsEntry*> rows;
    anyUsed = false;
    for (const int row : selectedRows()) {
        rows.push_back(&entry(row));
        anyUsed = anyUsed || entry(row).valid != 0;
    }
    return rows;
}

std::optional<SmsClip> SmsListModel::copySelection(bool cut)
{
    bool anyUsed = false;
    const std::vector<const SmsEntry*> rows = selectedEntries(anyUsed);
    if (!anyUsed)
        return std::nullopt;
    const std::vector<int> selected = selectedRows();

    SmsClip clip;
    clip.payload = encodeSmsPayload(m_listHandle, rows);
    clip.text = smsClipText(rows);
    if (cut) {
        for (const int row : selected) {
            SmsEntry& e = entry(row);
            if (e.valid != 0) {
                e.valid = 0;
                e.modified = 1;
            }
        }
        redraw(-1, selected.front(), selected.back());
    }
    return clip;
}

bool SmsListModel::pastePayload(const QByteArray& payload)
{
    return focusedRow() >= 0 && drop(payload, focusedRow());
}

void SmsListModel::pasteText(std::string_view pcText)
{
    const int target = focusedRow();
    if (target < 0 || target >= m_rowCount)
        return;
    int count = 0;
    bool asked = false;
    for (const std::string& line : pastedLines(pcText)) {
        const int row = target + count;
        if (row >= m_rowCount) {
            m_prompter.message(strId(5505), PromptIcon::Stop);
            break;
        }
        // Asked once, whatever the confirmation setting.
        if (entry(row).valid != 0 && !asked) {
            asked = true;
            if (m_prompter.question(strId(57586), PromptButtons::YesNoCancel, PromptIcon::Question) !=
                PromptAnswer::Yes)
                break;
        }
        SmsEntry pasted = newMessage(row);
        // One character short of what the edit dialog takes.
        setEntryField(pasted.text, std::string_view(line).substr(0, kMaxTextLength - 1));
        pasted.modified = 1;
        entry(row) = pasted;
        ++count;
    }
    if (count > 0)
        redraw(-1, target, target + count - 1);
}

std::optional<QByteArray> SmsListModel::startDrag()
{
    bool anyUsed = false;
    const std::vector<const SmsEntry*> rows = selectedEntries(anyUsed);
    if (!anyUsed)
        return std::nullopt;
    QByteArray payload = encodeSmsPayload(m_listHandle, rows);
    for (const int row : selectedRows())
        m_dragMarks[static_cast<std::size_t>(row)] = true;
    return payload;
}

void SmsListModel::endDrag(DropEffect effect)
{
    int first = -1;
    int last = -1;
    for (int row = 0; row < kRows; ++row) {
        if (!m_dragMarks[static_cast<std::size_t>(row)])
            continue;
        // Rows the drop landed on in this same list lost their mark; only the rest are cleared.
        SmsEntry& e = entry(row);
        if (effect == DropEffect::Move && e.valid != 0) {
            e.valid = 0;
            e.modified = 1;
        }
        if (first < 0)
            first = row;
        last = row;
    }
    m_dragMarks.fill(false);
    if (effect == DropEffect::Move && first >= 0)
        redraw(-1, first, last);
}

DropEffect SmsListModel::dropEffect(const QByteArray* payload, int row, bool ctrlHeld) const
{
    return dropEffectFor(payload ? smsPayloadSource(*payload) : std::nullopt, m_listHandle,
                         row >= 0 && row < m_rowCount, ctrlHeld);
}

bool SmsListModel::drop(const QByteArray& payload, int row)
{
    if (row < 0 || row >= m_rowCount)
        return false;
    const std::optional<SmsPayload> data = decodeSmsPayload(payload);
    if (!data)
        return false;
    const auto& items = data->items;
    const int fits = std::min(static_cast<int>(items.size()), m_rowCount - row);

    if (m_app.settings().confirm != 0) {
        // Rows of a running drag from this list are not lost by being overwritten: they are what
        // is being moved.
        for (int i = 0; i < fits; ++i) {
            if (entry(row + i).valid != 0 && !m_dragMarks[static_cast<std::size_t>(row + i)]) {
                if (m_prompter.question(strId(57693), PromptButtons::YesNo, PromptIcon::Question) != PromptAnswer::Yes)
                    return false;
                break;
            }
        }
    }

    for (int i = 0; i < fits; ++i) {
        SmsEntry& e = entry(row + i);
        applyClipItem(items[static_cast<std::size_t>(i)], e);
        e.modified = 1;
        m_dragMarks[static_cast<std::size_t>(row + i)] = false;
    }
    if (fits > 0)
        redraw(-1, row, row + fits - 1);
    if (static_cast<int>(items.size()) > fits)
        m_prompter.message(strId(57698), PromptIcon::Exclamation);
    return true;
}

} // namespace kestrel
