// Editing entries: the edit dialog, insert, delete, clear.

#include "phonebook/PhoneBookModel.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "codec/AlphaCodec.h"
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
        m_prompter.message(strId(sid::ForEditingOnlyOneList_57624), PromptIcon::Stop);
        return std::nullopt;
    }
    return first;
}

EditFields PhoneBookModel::editFields(int row) const
{
    EditFields f;
    if (row < 0 || row >= m_limit)
        return f;
    const DialEntry& e = entry(row);
    f.itemNumber = QString::number(e.position + 1);
    f.maxNameLength = m_app.maxAlphaLength();
    f.alphaLength = m_alphaLength > 0 ? m_alphaLength : f.maxNameLength;
    f.unicodeNames = m_app.settings().unicodeNames != 0;
    if (e.valid != 0) {
        f.name = pcTextToUnicode(entryFieldText(e.name)).left(f.maxNameLength);
        QString number = pcTextToUnicode(entryFieldText(e.number));
        f.number = e.ton != 0 ? QLatin1Char('+') + number : number;
    }
    return f;
}

EditOutcome PhoneBookModel::acceptEdit(int row, const QString& itemNumber, const QString& name, const QString& number)
{
    return acceptEdit(row, itemNumber, unicodeToPcText(name), number);
}

EditOutcome PhoneBookModel::acceptEdit(int row, const QString& itemNumber, const std::string& pcName,
                                       const QString& number)
{
    if (row < 0 || row >= m_limit)
        return {true, -1};
    Change change(*this);
    const std::string numberText = StripNumberSeparators(unicodeToPcText(number));
    if (numberText.empty() || !IsValidDialNumber(numberText)) {
        m_prompter.message(strId(sid::ErrorInTelephoneNumberEntered_57620), PromptIcon::Stop);
        return {};
    }
    bool isNumber = false;
    const int item = itemNumber.trimmed().toInt(&isNumber);
    if (!isNumber || item < 1 || item > m_limit) {
        m_prompter.message(strId(sid::SequenceNumberHasExceededLimit_57621), PromptIcon::Stop);
        return {};
    }
    if (NameLength(pcName) > 20) {
        m_prompter.message(strId(sid::NameNotAllowed_57622), PromptIcon::Stop);
        return {};
    }

    int target = row;
    for (int r = 0; r < m_limit; ++r) {
        if (entry(r).position == item - 1) {
            target = r;
            break;
        }
    }
    DialEntry& edited = entry(row);
    DialEntry& t = entry(target);
    if (target != row) {
        // Asked whatever the confirmation setting: the user typed another item number.
        if (t.valid != 0 && m_prompter.question(strId(sid::ThereAreValidEntriesIn_57623), PromptButtons::YesNoCancel,
                                                PromptIcon::Question) != PromptAnswer::Yes)
            return {};
        std::swap(edited.ccpId, t.ccpId);
        std::swap(edited.extId, t.extId);
        edited.valid = 0;
        edited.modified = 1;
    }
    // A new entry gets the numbering plan phones write; an entry read keeps its own.
    if (t.valid == 0)
        t.npi = kNewEntryNpi;
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

QString PhoneBookModel::storedName(const QString& name, int alphaLength, bool unicode)
{
    const std::string pcName = unicodeToPcText(name);
    // Negative: room for the whole name in any form (0x80 takes two bytes a character and one more).
    const std::size_t alpha = alphaLength < 0 ? 1 + 2 * NameLength(pcName) : static_cast<std::size_t>(alphaLength);
    return pcTextToUnicode(StoredAlphaText(pcName, alpha, unicode));
}

QString PhoneBookModel::nameNote(const QString& name, int alphaLength, bool unicode)
{
    const std::string pcName = unicodeToPcText(name);
    const AlphaFit fit = FitAlphaId(pcName, static_cast<std::size_t>(std::max(alphaLength, 0)), unicode);
    if (unicode && fit.characters < fit.total)
        return StringTable::text(sid::OfCharactersFitOnThe_9858).arg(fit.characters).arg(fit.total);
    // The whole name as the card's alphabet gives it back (the field's limit cuts it already).
    const QString stored = storedName(name, -1, unicode);
    return stored == name ? QString() : StringTable::text(sid::StoredAs_9845).arg(stored);
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
        m_prompter.message(strId(sid::ForOperationInsertEmptyEntry_57587), PromptIcon::Exclamation);
        return -1;
    }
    return insertFreeAt(s, strId(sid::EmptyEntryCannotBeInserted_57588));
}

} // namespace kestrel
