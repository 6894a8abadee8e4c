// The rows of an SMS window: texts, selection and the simple row operations.

#include "sms/SmsListModel.h"

#include <algorithm>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/PcText.h"
#include "codec/SmsMessageParts.h"
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

// The messages and questions of the shared row operations in an SMS window.
constexpr EditorRowTexts kSmsRowTexts{
    strId(sid::NoItemSelected_57696),
    strId(sid::DoYouReallyWantTo_57697),
    strId(sid::NoItemSelected_57681),
    strId(sid::DoYouReallyWantTo_57682),
    PromptButtons::YesNoCancel,
    strId(sid::NoValidEntriesHaveBeen_57683),
    strId(sid::ReallyDeleteAllEntries_57684),
    strId(sid::ClosingWindowWillLoseChanges_57680),
    strId(sid::ThereAreEntriesInTarget_57693),
    PromptButtons::YesNo,
    strId(sid::NumberOfInsertedItemsHas_57698),
};

SmsListModel::SmsListModel(AppState& app, Prompter& prompter, ProgressSink* progress)
    : EditorRows(app, prompter, kSmsRowTexts), m_progress(progress)
{}

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
    texts[2] = StringTable::text(sid::Read_57927 + statusIndex(e.status));
    texts[3] = numberText(e.number, e.numberTon);
    // A part, a class or data that are no text say so in front of the text as it is.
    const QString marker = SmsKindMarker(e);
    const QString text = pcField(entryFieldText(e.text));
    texts[4] = marker.isEmpty() ? text : text.isEmpty() ? marker : marker + QLatin1Char(' ') + text;
    return texts;
}

int SmsListModel::columnTitleId(int column)
{
    return strId(sid::Text_57907) + std::clamp(column, 0, kColumns - 1);
}

std::array<QString, SmsListModel::kDetails> SmsListModel::detailTexts(int row) const
{
    if (row < 0 || row >= kRows || entry(row).valid == 0)
        return {};
    const SmsEntry& e = entry(row);
    // The whole message: a status report with its times and meaning, the parts of a long one
    // joined (missing parts marked).
    QString text;
    if (e.kind == SmsKind::StatusReport) {
        text = SmsStatusReportDetails(e);
    } else {
        text = JoinSmsParts(std::span<const SmsEntry>(m_entries.data(), static_cast<std::size_t>(m_limit)), row).text;
        const QString marker = SmsKindMarker(e);
        if (!marker.isEmpty())
            text = marker + QLatin1Char('\n') + text;
    }
    return {text, pcField(entryFieldText(e.when)), StringTable::text(sid::Read_57931 + statusIndex(e.status)),
            numberText(e.number, e.numberTon), numberText(e.scNumber, e.scTon)};
}

void SmsListModel::clearRows()
{
    for (int i = 0; i < kRows; ++i)
        m_entries[static_cast<std::size_t>(i)] = SmsEntry::emptyAt(static_cast<uint16_t>(i));
}

int SmsListModel::usedCount() const
{
    return static_cast<int>(
        std::count_if(m_entries.begin(), m_entries.begin() + m_limit, [](const SmsEntry& e) { return e.valid != 0; }));
}

} // namespace kestrel
