// Editing entries: the edit dialog, insert, delete, clear.

#include "phonebook/PhoneBookModel.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/PcText.h"
#include "phonebook/EntryFields.h"

namespace kestrel {

// ---- edit dialog ---------------------------------------------------------------------------

std::optional<int> PhoneBookModel::editRow()
{
    const int first = firstSelected();
    if (first < 0)
        return std::nullopt;
    if (lastSelected() != first) {
        m_prompter.message(strId(57624), PromptIcon::Stop);
        return std::nullopt;
    }
    return first;
}

EditFields PhoneBookModel::editFields(int row) const
{
    EditFields f;
    if (row < 0 || row >= m_capacity)
        return f;
    const DialEntry& e = entry(row);
    f.itemNumber = QString::number(e.position + 1);
    f.maxNameLength = m_app.maxAlphaLength();
    if (e.valid != 0) {
        f.name = pcTextToUnicode(entryFieldText(e.name)).left(f.maxNameLength);
        QString number = pcTextToUnicode(entryFieldText(e.number));
        f.number = e.ton != 0 ? QLatin1Char('+') + number : number;
    }
    return f;
}

EditOutcome PhoneBookModel::acceptEdit(int row, const QString& itemNumber, const QString& name, const QString& number)
{
    // Windows-1250 holds one byte per character, so the PC text's length is the character count.
    return acceptEdit(row, itemNumber, unicodeToPcText(name), number);
}

EditOutcome PhoneBookModel::acceptEdit(int row, const QString& itemNumber, const std::string& pcName,
                                       const QString& number)
{
    if (row < 0 || row >= m_capacity)
        return {true, -1};
    const std::string numberText = unicodeToPcText(number);
    if (numberText.empty() || !IsValidDialNumber(numberText)) {
        m_prompter.message(strId(57620), PromptIcon::Stop);
        return {};
    }
    bool isNumber = false;
    const int item = itemNumber.trimmed().toInt(&isNumber);
    if (!isNumber || item < 1 || item > m_capacity) {
        m_prompter.message(strId(57621), PromptIcon::Stop);
        return {};
    }
    if (pcName.size() > 20) {
        m_prompter.message(strId(57622), PromptIcon::Stop);
        return {};
    }

    int target = row;
    for (int r = 0; r < m_capacity; ++r) {
        if (entry(r).position == item - 1) {
            target = r;
            break;
        }
    }
    DialEntry& edited = entry(row);
    DialEntry& t = entry(target);
    if (target != row) {
        // Asked whatever the confirmation setting: the user typed another item number.
        if (t.valid != 0 &&
            m_prompter.question(strId(57623), PromptButtons::YesNoCancel, PromptIcon::Question) != PromptAnswer::Yes)
            return {};
        std::swap(edited.ccpId, t.ccpId);
        std::swap(edited.extId, t.extId);
        edited.valid = 0;
        edited.modified = 1;
    }
    setEntryField(t.name, pcName);
    uint8_t ton = 0;
    setEntryField(t.number, SplitPlus(numberText, ton));
    t.ton = ton;
    t.valid = 1;
    t.modified = 1;

    m_selection.selectAndFocus(target);
    if (target != row)
        redraw(-1, row, row);
    redraw(target, target, target);
    if (m_view)
        m_view->selectionChanged();
    return {true, target};
}

QString PhoneBookModel::withDialingCode(const QString& number, const QString& code)
{
    QString rest = number;
    const qsizetype plus = rest.indexOf(QLatin1Char('+'));
    if (plus >= 0)
        rest.remove(plus, 1);
    return code + rest;
}

// ---- insert, delete, clear -----------------------------------------------------------------

int PhoneBookModel::insertEntry()
{
    const int s = firstSelected();
    if (s < 0) {
        m_prompter.message(strId(57587), PromptIcon::Exclamation);
        return -1;
    }
    const int lastRow = m_capacity - 1;
    const DialEntry& last = entry(lastRow);
    if (last.valid != 0 || last.position != lastRow) {
        m_prompter.message(strId(57588), PromptIcon::Stop);
        return -1;
    }
    insertFreeRow(std::span<DialEntry>(m_entries.data(), static_cast<std::size_t>(m_capacity)), s);
    m_selection.selectAndFocus(s);
    redraw(s);
    if (m_view)
        m_view->selectionChanged();
    return s;
}

void PhoneBookModel::deleteSelected()
{
    const std::vector<int> rows = selectedRows();
    const bool confirm = m_app.settings().confirm != 0;
    if (rows.empty()) {
        if (confirm)
            m_prompter.message(strId(57589), PromptIcon::Stop);
        return;
    }
    int deleted = 0;
    bool validDeleted = false;
    int firstDeleted = -1;
    const int lastRow = m_capacity - 1;
    for (const int selectedRow : rows) {
        const int row = selectedRow - deleted;
        const DialEntry gone = entry(row);
        if (gone.valid != 0 && confirm && !validDeleted &&
            m_prompter.question(strId(57590), PromptButtons::YesNoCancel, PromptIcon::Question) != PromptAnswer::Yes)
            break;
        removeRow(std::span<DialEntry>(m_entries.data(), static_cast<std::size_t>(m_capacity)), row,
                  DialEntry::emptyAt(static_cast<uint16_t>(lastRow)));
        validDeleted = validDeleted || gone.valid != 0;
        if (firstDeleted < 0)
            firstDeleted = row;
        ++deleted;
    }
    if (deleted > 0) {
        m_selection.selectAndFocus(firstDeleted);
        if (m_view)
            m_view->selectionChanged();
    }
    redraw(firstDeleted);
}

void PhoneBookModel::clearSelected()
{
    const std::vector<int> rows = selectedRows();
    const bool confirm = m_app.settings().confirm != 0;
    if (rows.empty()) {
        if (confirm)
            m_prompter.message(strId(57582), PromptIcon::Stop);
        return;
    }
    int first = -1;
    int last = -1;
    for (const int row : rows) {
        DialEntry& e = entry(row);
        if (e.valid == 0)
            continue;
        if (first < 0 && confirm &&
            m_prompter.question(strId(57583), PromptButtons::YesNo, PromptIcon::Question) != PromptAnswer::Yes)
            return;
        e.valid = 0;
        e.modified = 1;
        if (first < 0)
            first = row;
        last = row;
    }
    if (first < 0) {
        m_prompter.message(strId(57584), PromptIcon::Information);
        return;
    }
    redraw(-1, first, last);
}

void PhoneBookModel::clearAll()
{
    const bool anyValid =
        std::any_of(m_entries.begin(), m_entries.begin() + m_capacity, [](const DialEntry& e) { return e.valid != 0; });
    if (m_app.settings().confirm != 0 && anyValid &&
        m_prompter.question(strId(57581), PromptButtons::YesNoCancel, PromptIcon::Question) != PromptAnswer::Yes)
        return;
    for (int row = 0; row < m_capacity; ++row) {
        entry(row).valid = 0;
        entry(row).modified = 1;
    }
    redraw();
}

} // namespace kestrel
