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
#include "phonebook/ListRows.h"
#include "phonebook/PhoneBookModel.h" // list handles and drag scrolling shared with the phone book lists

namespace kestrel {

class AppState;
class ProgressSink;
class Prompter;

// What the model asks of the window that shows it.
class SmsListView
{
public:
    virtual ~SmsListView() = default;
    // Redraw rows first..last (-1 as first: row 0; -1 as last: the last row; both -1: the whole
    // list, its row count taken from the model again); select row `select` and scroll it into view
    // unless it is -1.
    virtual void redraw(int select, int first, int last) = 0;
    // The model changed its selection or focused row; the view takes them over from the model.
    virtual void selectionChanged() {}
};

// The two forms Copy and Cut put on the clipboard: the "Kestrel_SMS" payload and the text form
// (PC text: the text of each used row, CR LF; the window converts it to UTF-8).
struct SmsClip
{
    QByteArray payload;
    std::string text;
};

// The contents of one SMS editor window without the window: the 99 rows of EF_SMS positions, the
// number of rows in use, the selection, the focused row and the drag marks, and every operation the
// window offers on them. Invariant kept by insert and delete: the entry in row i has position i, so
// a card write puts each row into its own record. Questions and messages go through the Prompter
// (honouring the `confirm` setting where an operation says so); card work runs in a CardOperation
// frame on the AppState's SimCard.
class SmsListModel
{
public:
    static constexpr int kRows = 99;
    static constexpr int kColumns = 5;
    static constexpr int kDetails = 5;
    static constexpr int kMaxTextLength = 160; // what the edit dialog lets the user type

    SmsListModel(AppState& app, Prompter& prompter, ProgressSink* progress = nullptr);

    AppState& app() { return m_app; }
    Prompter& prompter() { return m_prompter; }
    ProgressSink* progress() const { return m_progress; }
    void setView(SmsListView* view) { m_view = view; }
    // Tells the view (if any); see SmsListView::redraw.
    void redraw(int select = -1, int first = -1, int last = -1);

    // The texts of row `row` in the five columns: "%3d %c" of position + 1 with "*" for a modified
    // entry, when, the short status label, the number ("+" when numberTon is 1), the text. A free
    // row shows "----" in the last four.
    std::array<QString, kColumns> rowTexts(int row) const;
    // The string-table number of a column's header text (columns 0-4).
    static int columnTitleId(int column);
    // The five detail fields under the list for a row: text, when, long status label, number and
    // service centre ("+" when their type of number is 1). All empty for a free row.
    std::array<QString, kDetails> detailTexts(int row) const;
    // This list's handle in the "Kestrel_SMS" payload: unique among the lists of this process.
    int32_t listHandle() const { return m_listHandle; }

    // ---- contents ----------------------------------------------------------------------------
    std::array<SmsEntry, kRows>& entries() { return m_entries; }
    const std::array<SmsEntry, kRows>& entries() const { return m_entries; }
    SmsEntry& entry(int row) { return m_entries.at(static_cast<std::size_t>(row)); }
    const SmsEntry& entry(int row) const { return m_entries.at(static_cast<std::size_t>(row)); }
    // Rows in use (shown): 99 for a new window, the records read after a card read.
    int rowCount() const { return m_rowCount; }
    void setRowCount(int count);
    // All 99 rows free with every field zero and position = row; the row count stays.
    void clearRows();
    // Whether the drag marks of a running drag from this list are set on a row.
    bool dragMarked(int row) const { return m_dragMarks.at(static_cast<std::size_t>(row)); }
    // Some used row is modified: closing the window asks first.
    bool hasUnsavedChanges() const;
    // Some row is modified (used or free): a card read asks first.
    bool anyModified() const;
    // The number of used rows among the rows in use.
    int usedCount() const;

    // ---- selection (rows below the row count) --------------------------------------------------
    bool isSelected(int row) const { return m_selection.isSelected(row); }
    void setSelected(int row, bool selected) { m_selection.set(row, selected); }
    void clearSelection() { m_selection.clear(); }
    std::vector<int> selectedRows() const { return m_selection.rows(); }
    // First and last selected rows; -1 when nothing is selected.
    int firstSelected() const { return m_selection.first(); }
    int lastSelected() const { return m_selection.last(); }
    int focusedRow() const { return m_selection.focused(); }
    void setFocusedRow(int row) { m_selection.setFocused(row); }
    // The 1-based interval Select Items (160) starts with: 1 and the row count, or the first and
    // last selected rows + 1 when more than one row is selected.
    std::pair<int, int> defaultInterval() const { return m_selection.defaultInterval(); }

    // ---- editing -----------------------------------------------------------------------------
    // The row the edit dialog edits: exactly one selected row. With two or more, 57720 is shown and
    // there is none; with none there is none.
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
    // Delete (2054): the selected rows go, the rows below move up.
    void deleteSelected();
    // Clear (2055, 2061): the selected used rows become free, nothing moves.
    void clearSelected();
    // Clear All (5).
    void clearAll();
    // Select all (2056): every used row, no free one.
    void selectAllUsed();
    // Select Items (160) OK with its 1-based From and To: false after 57540 (the dialog stays).
    bool selectRange(int from, int to, bool includeEmpty);
    // Closing the window: false when the user keeps it open (57680).
    bool confirmClose();

    // ---- clipboard and drag and drop -----------------------------------------------------------
    // Copy (2058) / Cut (2057): both clipboard forms of the selected rows; nullopt (the clipboard
    // keeps what it holds) when no selected row is used. Cut clears the used ones.
    std::optional<SmsClip> copySelection(bool cut);
    // Paste (2059) of a "Kestrel_SMS" payload: a drop at the focused row.
    bool pastePayload(const QByteArray& payload);
    // Paste (2059) of clipboard text (PC text): one new message per line from the focused row.
    void pasteText(std::string_view pcText);
    // The start of a drag: the payload of the selected rows, each selected row marked as a drag
    // source; nullopt (nothing marked) when no selected row is used.
    std::optional<QByteArray> startDrag();
    // The end of the drag startDrag began: a move clears the marked rows that are still used;
    // every mark is removed.
    void endDrag(DropEffect effect);
    // Drag enter / over a row (-1: no row) with a payload (nullptr: the data has none).
    DropEffect dropEffect(const QByteArray* payload, int row, bool ctrlHeld) const;
    // Drop of a payload on a row. False when nothing was dropped (no row, a broken payload, the
    // overwrite declined): the window then ignores the drop.
    bool drop(const QByteArray& payload, int row);

    // ---- card ----------------------------------------------------------------------------------
    // Read from SIM (1032) and Write to SIM! (1024), with their questions and messages.
    bool readFromCard();
    bool writeToCard();

private:
    // The selected rows and whether one of them is used.
    std::vector<const SmsEntry*> selectedEntries(bool& anyUsed) const;

    AppState& m_app;
    Prompter& m_prompter;
    ProgressSink* m_progress;
    SmsListView* m_view = nullptr;
    std::array<SmsEntry, kRows> m_entries{};
    RowSelection m_selection{kRows};
    std::array<bool, kRows> m_dragMarks{};
    int m_rowCount = kRows;
    int32_t m_listHandle = 0;
};

} // namespace kestrel
