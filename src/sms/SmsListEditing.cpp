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

namespace {} // namespace

std::optional<int> SmsListModel::editRow()
{
    const std::vector<int> rows = selectedRows();
    if (rows.size() > 1) {
        m_prompter.message(strId(sid::OnlyOneItemMustBe_57720), PromptIcon::Exclamation);
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
    if (row < 0 || row >= m_limit)
        return;
    Change change(*this);
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
        m_prompter.message(strId(sid::ForOperationInsertEmptyEntry_57694), PromptIcon::Exclamation);
        return -1;
    }
    return insertFreeAt(rows.front(), strId(sid::CannotInsertLastItemIs_57695));
}

} // namespace kestrel
