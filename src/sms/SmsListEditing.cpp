// Editing the rows of an SMS window: the edit dialog's row, insert, delete and clear.

#include "sms/SmsListModel.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/PcText.h"
#include "codec/SmsTime.h"
#include "phonebook/EntryFields.h"

namespace kestrel {

namespace {

bool askedYes(Prompter& prompter, int textId)
{
    return prompter.question(textId, PromptButtons::YesNoCancel, PromptIcon::Question) == PromptAnswer::Yes;
}

SmsEntry freeEntryAt(int row)
{
    SmsEntry e;
    e.position = static_cast<uint16_t>(row);
    return e;
}

} // namespace

std::optional<int> SmsListModel::editRow()
{
    const std::vector<int> rows = selectedRows();
    if (rows.size() > 1) {
        m_prompter.message(strId(57720), PromptIcon::Exclamation);
        return std::nullopt;
    }
    if (rows.empty())
        return std::nullopt;
    return rows.front();
}

SmsEntry SmsListModel::newMessage(int row) const
{
    SmsEntry e;
    e.position = entry(row).position;
    setEntryField(e.scNumber, SplitPlus(unicodeToPcText(m_app.settings().servCenter), e.scTon, kSmsNumberSize));
    SmsTime validity;
    validity.validity = static_cast<uint8_t>(std::clamp(m_app.settings().validPer, 0, 255));
    setEntryField(e.when, FormatSmsTime(validity, kSmsWhenSize));
    e.status = static_cast<int32_t>(SmsStatus::ToBeSent);
    e.valid = 1;
    return e;
}

void SmsListModel::replaceRow(int row, const SmsEntry& replacement)
{
    if (row < 0 || row >= m_rowCount)
        return;
    entry(row) = replacement;
    m_selection.selectAndFocus(row);
    redraw(row, row, row);
    if (m_view)
        m_view->selectionChanged();
}

int SmsListModel::insertEntry()
{
    const std::vector<int> rows = selectedRows();
    if (rows.size() != 1) {
        m_prompter.message(strId(57694), PromptIcon::Exclamation);
        return -1;
    }
    const int s = rows.front();
    const int lastRow = m_rowCount - 1;
    const SmsEntry& last = entry(lastRow);
    if (last.valid != 0 || last.position != lastRow) {
        m_prompter.message(strId(57695), PromptIcon::Stop);
        return -1;
    }
    // Every message behind the new row now goes to the next record: the window no longer matches
    // the card, so the moved rows are marked (closing then asks).
    insertFreeRow(std::span<SmsEntry>(m_entries.data(), static_cast<std::size_t>(m_rowCount)), s);
    m_selection.selectAndFocus(s);
    redraw(s);
    if (m_view)
        m_view->selectionChanged();
    return s;
}

void SmsListModel::deleteSelected()
{
    const std::vector<int> rows = selectedRows();
    const bool confirm = m_app.settings().confirm != 0;
    if (rows.empty()) {
        if (confirm)
            m_prompter.message(strId(57696), PromptIcon::Stop);
        return;
    }
    int deleted = 0;
    bool asked = false;
    int firstDeleted = -1;
    const int lastRow = m_rowCount - 1;
    for (const int selectedRow : rows) {
        const int row = selectedRow - deleted;
        const SmsEntry gone = entry(row);
        if (gone.valid != 0 && confirm && !asked) {
            asked = true;
            if (!askedYes(m_prompter, strId(57697)))
                break;
        }
        removeRow(std::span<SmsEntry>(m_entries.data(), static_cast<std::size_t>(m_rowCount)), row,
                  freeEntryAt(lastRow));
        if (firstDeleted < 0)
            firstDeleted = row;
        ++deleted;
    }
    if (deleted > 0) {
        m_selection.selectAndFocus(firstDeleted);
        if (m_view)
            m_view->selectionChanged();
        redraw(firstDeleted, firstDeleted, -1);
    }
}

void SmsListModel::clearSelected()
{
    const std::vector<int> rows = selectedRows();
    const bool confirm = m_app.settings().confirm != 0;
    if (rows.empty()) {
        if (confirm)
            m_prompter.message(strId(57681), PromptIcon::Stop);
        return;
    }
    bool cleared = false;
    for (const int row : rows) {
        SmsEntry& e = entry(row);
        if (e.valid == 0)
            continue;
        if (!cleared && confirm && !askedYes(m_prompter, strId(57682)))
            return;
        e.valid = 0;
        e.modified = 1;
        cleared = true;
    }
    if (!cleared) {
        m_prompter.message(strId(57683), PromptIcon::Information);
        return;
    }
    redraw(-1, rows.front(), rows.back());
}

void SmsListModel::clearAll()
{
    if (m_app.settings().confirm != 0 && usedCount() > 0 && !askedYes(m_prompter, strId(57684)))
        return;
    for (SmsEntry& e : m_entries) {
        e.valid = 0;
        e.modified = 1;
    }
    redraw();
}

} // namespace kestrel
