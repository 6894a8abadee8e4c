#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>
#include <QString>

#include "codec/SmsEntry.h"
#include "phonebook/EditorRows.h"

namespace kestrel {

class AppState;
class ProgressSink;
class Prompter;

// What the model asks of the window that shows it.
using SmsListView = EditorListView;

// The two forms Copy and Cut put on the clipboard: the "Kestrel_SMS" payload and the text form
// (PC text: the text of each used row, CR LF; the window converts it to UTF-8).
struct SmsClip
{
    QByteArray payload;
    std::string text;
};

// The contents of one SMS editor window without the window: the 99 rows of EF_SMS positions, the
// number of rows in use (EditorRows' limit), the selection, the focused row and the drag marks, and
// every operation the window offers on them. Invariant kept by insert and delete: the entry in row i has position i, so
// a card write puts each row into its own record. Questions and messages go through the Prompter
// (honouring the `confirm` setting where an operation says so); card work runs in a CardOperation
// frame on the AppState's SimCard.
class SmsListModel : public EditorRows<SmsEntry, 99>
{
public:
    static constexpr int kRows = 99;
    static constexpr int kColumns = 5;
    static constexpr int kDetails = 5;
    static constexpr int kMaxTextLength = 160; // what the edit dialog lets the user type

    SmsListModel(AppState& app, Prompter& prompter, ProgressSink* progress = nullptr);

    ProgressSink* progress() const { return m_progress; }

    // The texts of row `row` in the five columns: "%3d %c" of position + 1 with "*" for a modified
    // entry, when, the short status label, the number ("+" when numberTon is 1), the text. A free
    // row shows "----" in the last four.
    std::array<QString, kColumns> rowTexts(int row) const;
    // The string-table number of a column's header text (columns 0-4).
    static int columnTitleId(int column);
    // The five detail fields under the list for a row: text, when, long status label, number and
    // service centre ("+" when their type of number is 1). All empty for a free row.
    std::array<QString, kDetails> detailTexts(int row) const;

    // ---- contents ----------------------------------------------------------------------------
    // Rows in use (shown): 99 for a new window, the records read after a card read.
    int rowCount() const { return m_limit; }
    void setRowCount(int count) { setLimit(count); }
    // All 99 rows free with every field zero and position = row; the row count stays.
    void clearRows();
    // Whether a row is a source of a running drag from this list.
    bool dragMarked(int row) const { return entry(row).dragMark != 0; }
    // The number of used rows among the rows in use.
    int usedCount() const;

    // ---- editing -----------------------------------------------------------------------------
    // The row the edit dialog edits: exactly one selected row. With two or more, sid::OnlyOneItemMustBe_57720 is shown
    // and there is none; with none there is none.
    std::optional<int> editRow();
    // What a free row becomes when the edit dialog opens on it: every field zero but the position,
    // the service centre from the `servCenter` setting, when from the `validPer` setting, status
    // to be sent, valid.
    SmsEntry newMessage(int row) const;
    // An edit dialog's OK: the entry replaces the row, which is redrawn and selected.
    void replaceRow(int row, const SmsEntry& entry);
    // Insert (2053): a free entry at the selected row; the row whose edit dialog opens next, or -1
    // after a refusal.
    int insertEntry();
    // Delete (2054), Clear (2055, sid::Clear_2061), Clear All (5), Select all (2056), Select Items (160) and
    // closing (sid::ClosingWindowWillLoseChanges_57680): see EditorRows.

    // ---- clipboard and drag and drop -----------------------------------------------------------
    // Copy (2058) / Cut (sid::Cut_2057): both clipboard forms of the selected rows; nullopt (the clipboard
    // keeps what it holds) when no selected row is used. Cut clears the used ones.
    std::optional<SmsClip> copySelection(bool cut);
    // Paste (sid::Paste_2059) of a "Kestrel_SMS" payload: a drop at the focused row.
    bool pastePayload(const QByteArray& payload);
    // Paste (sid::Paste_2059) of clipboard text (PC text): one new message per line from the focused row.
    void pasteText(std::string_view pcText);
    // The start of a drag: the payload of the selected rows, each selected row marked as a drag
    // source; nullopt (nothing marked) when no selected row is used. endDrag: see EditorRows.
    std::optional<QByteArray> startDrag();
    // dropEffect: see EditorRows.
    // Drop of a payload on a row. False when nothing was dropped (no row, a broken payload, the
    // overwrite declined): the window then ignores the drop.
    bool drop(const QByteArray& payload, int row);

    // ---- card ----------------------------------------------------------------------------------
    // Read from SIM (sid::ReadFromSim_1032) and Write to SIM! (sid::WriteToSim_1024), with their questions and
    // messages.
    bool readFromCard();
    bool writeToCard();

private:
    ProgressSink* m_progress;
};

} // namespace kestrel
