// The rows of an SMS window: texts, selection and the simple row operations.

#include "sms/SmsListModel.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/PcText.h"
#include "phonebook/EntryFields.h"

namespace kestrel {

namespace {

QString pcField(std::string_view text)
{
    return pcTextToUnicode(text);
}

QString numberText(const char (&digits)[kSmsNumberSize], uint8_t ton)
{
    return pcField(JoinPlus(entryFieldText(digits), ton));
}

int statusIndex(int32_t status)
{
    return std::clamp(status, 0, 3);
}

} // namespace

SmsListModel::SmsListModel(AppState& app, Prompter& prompter, ProgressSink* progress)
    : m_app(app), m_prompter(prompter), m_progress(progress), m_listHandle(PhoneBookModel::newListHandle())
{
    clearRows();
}

void SmsListModel::redraw(int select, int first, int last)
{
    if (m_view)
        m_view->redraw(select, first, last);
}

std::array<QString, SmsListModel::kColumns> SmsListModel::rowTexts(int row) const
{
    if (row < 0 || row >= kRows)
        return {};
    const SmsEntry& e = entry(row);
    std::array<QString, kColumns> texts;
    texts[0] = QString::asprintf("%3d %c", e.position + 1, e.modified == 1 ? '*' : ' ');
    if (e.valid == 0) {
        for (int c = 1; c < kColumns; ++c)
            texts[static_cast<std::size_t>(c)] = QStringLiteral("----");
        return texts;
    }
    texts[1] = pcField(entryFieldText(e.when));
    texts[2] = StringTable::text(57927 + statusIndex(e.status));
    texts[3] = numberText(e.number, e.numberTon);
    texts[4] = pcField(entryFieldText(e.text));
    return texts;
}

int SmsListModel::columnTitleId(int column)
{
    return strId(57907) + std::clamp(column, 0, kColumns - 1);
}

std::array<QString, SmsListModel::kDetails> SmsListModel::detailTexts(int row) const
{
    if (row < 0 || row >= kRows || entry(row).valid == 0)
        return {};
    const SmsEntry& e = entry(row);
    return {pcField(entryFieldText(e.text)), pcField(entryFieldText(e.when)),
            StringTable::text(57931 + statusIndex(e.status)), numberText(e.number, e.numberTon),
            numberText(e.scNumber, e.scTon)};
}

void SmsListModel::setRowCount(int count)
{
    m_rowCount = std::clamp(count, 0, kRows);
    m_selection.setLimit(m_rowCount);
}

void SmsListModel::clearRows()
{
    for (int i = 0; i < kRows; ++i) {
        m_entries[static_cast<std::size_t>(i)] = SmsEntry{};
        m_entries[static_cast<std::size_t>(i)].position = static_cast<uint16_t>(i);
    }
    m_dragMarks.fill(false);
}

bool SmsListModel::hasUnsavedChanges() const
{
    return std::any_of(m_entries.begin(), m_entries.begin() + m_rowCount,
                       [](const SmsEntry& e) { return e.valid != 0 && e.modified == 1; });
}

bool SmsListModel::anyModified() const
{
    return std::any_of(m_entries.begin(), m_entries.begin() + m_rowCount,
                       [](const SmsEntry& e) { return e.modified == 1; });
}

int SmsListModel::usedCount() const
{
    return static_cast<int>(std::count_if(m_entries.begin(), m_entries.begin() + m_rowCount,
                                          [](const SmsEntry& e) { return e.valid != 0; }));
}

void SmsListModel::selectAllUsed()
{
    m_selection.selectOnly(0, m_rowCount, [this](int row) { return entry(row).valid != 0; });
    if (m_view)
        m_view->selectionChanged();
}

bool SmsListModel::selectRange(int from, int to, bool includeEmpty)
{
    if (from < 1 || from > to || to > m_rowCount) {
        m_prompter.message(strId(57540), PromptIcon::Stop);
        return false;
    }
    m_selection.selectOnly(from - 1, to, [&](int row) { return includeEmpty || entry(row).valid != 0; });
    if (m_view)
        m_view->selectionChanged();
    return true;
}

bool SmsListModel::confirmClose()
{
    if (m_app.settings().confirm == 0 || !hasUnsavedChanges())
        return true;
    return m_prompter.question(strId(57680), PromptButtons::YesNoCancel, PromptIcon::Question) == PromptAnswer::Yes;
}

} // namespace kestrel
