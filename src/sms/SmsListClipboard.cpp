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
        const std::size_t start = i;
        while (i < text.size() && !isLineEnd(text[i]))
            ++i;
        std::string line = FoldToAsciiText(text.substr(start, i - start));
        while (i < text.size() && (isBlank(text[i]) || isLineEnd(text[i])))
            ++i;
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace

std::optional<SmsClip> SmsListModel::copySelection(bool cut)
{
    const std::vector<const SmsEntry*> rows = takeSelection(false);
    if (rows.empty())
        return std::nullopt;
    SmsClip clip;
    clip.payload = encodeSmsPayload(m_listHandle, rows);
    clip.text = smsClipText(rows);
    if (cut)
        clearSelectedUsed();
    return clip;
}

bool SmsListModel::pastePayload(const QByteArray& payload)
{
    return focusedRow() >= 0 && drop(payload, focusedRow());
}

void SmsListModel::pasteText(std::string_view pcText)
{
    const std::vector<std::string> lines = pastedLines(pcText);
    std::size_t next = 0;
    pasteLines([&]() -> std::optional<SmsEntry> {
        if (next == lines.size())
            return std::nullopt;
        SmsEntry pasted = newMessage(0);
        // One character short of what the edit dialog takes.
        setEntryField(pasted.text, std::string_view(lines[next++]).substr(0, kMaxTextLength - 1));
        return pasted;
    });
}

std::optional<QByteArray> SmsListModel::startDrag()
{
    const std::vector<const SmsEntry*> rows = takeSelection(true);
    if (rows.empty())
        return std::nullopt;
    return encodeSmsPayload(m_listHandle, rows);
}

bool SmsListModel::drop(const QByteArray& payload, int row)
{
    const std::optional<SmsPayload> data = decodeSmsPayload(payload);
    if (!data)
        return false;
    Change change(*this);
    const int items = static_cast<int>(data->items.size());
    const int fits = dropRows(row, items);
    if (fits < 0)
        return false;
    // Each target row keeps its position and message reference.
    for (int i = 0; i < fits; ++i)
        applyClipItem(data->items[static_cast<std::size_t>(i)], entry(row + i));
    dropDone(row, fits, items);
    return true;
}

} // namespace kestrel
