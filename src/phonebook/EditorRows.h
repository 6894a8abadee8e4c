#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include <QByteArray>

#include "app/AppState.h"
#include "app/Prompter.h"
#include "base/StringTable.h"
#include "phonebook/ListRows.h"
#include "phonebook/RowsHistory.h"

namespace kestrel {

// The source-list handle both private payloads ("Kestrel_Dial", "Kestrel_SMS") start with, as a
// little-endian int32; nullopt when the payload is shorter than 4 bytes.
std::optional<int32_t> payloadSourceList(const QByteArray& payload);

// A new list handle for a clipboard payload (never 0 or -1), unique among the lists of this
// process.
int32_t newEditorListHandle();

// What an editor list model asks of the window that shows it.
class EditorListView
{
public:
    virtual ~EditorListView() = default;
    // Redraw rows first..last (-1 as first: row 0; -1 as last: the last row; both -1: the whole
    // list, its row count taken from the model again); select row `select` and scroll it into view
    // unless it is -1.
    virtual void redraw(int select, int first, int last) = 0;
    // The model changed its selection or focused row (select all, select range, after an edit,
    // insert or delete); the view takes them over from the model.
    virtual void selectionChanged() {}
    // What Undo and Redo can do changed (a change recorded, undone or redone, a card read or
    // write that started the history afresh).
    virtual void historyChanged() {}
};

// The messages and questions of the row operations the two kinds of list share; each list kind
// has its own texts for them.
struct EditorRowTexts
{
    int deleteNoSelection; // Delete with nothing selected (confirm setting only)
    int deleteQuestion;    // before the first used row goes
    int clearNoSelection;  // Clear with nothing selected (confirm setting only)
    int clearQuestion;     // before the first used row is cleared
    PromptButtons clearButtons;
    int clearNothingUsed; // Clear with only free rows selected
    int clearAllQuestion; // Clear All while a row is used
    int closeQuestion;    // closing with used modified rows
    int dropOverwrite;    // a drop over a used row that is not being moved
    PromptButtons dropButtons;
    int dropOverflow; // items left after the last row
};

// The rows of an editor list (a phone book or SMS window without the window): N entries, the
// first limit() of them in use, the selection, the focused row, the drag marks, and the row
// operations both kinds of list do alike. Entry has valid, position, modified, dragMark and a
// static emptyAt(position) giving the free entry of a position.
// Questions and messages go through the Prompter, honouring the `confirm` setting where an
// operation says so. Every change of the rows is a step of the list's history, which Undo and Redo
// walk back to the last card read or write.
template <typename Entry, int N>
class EditorRows
{
public:
    static constexpr int kRowCapacity = N;
    using History = RowsHistory<Entry, N>;

    // One change of the rows, as the user sees it: what the rows are when the first (outermost)
    // Change of a nest ends becomes one undo step, unless nothing changed or the history itself
    // moved meanwhile (Undo, Redo, a card read or write). A change made while this list's own drag
    // runs (the drop of a move within the list) is joined by the drag's end (the freed sources).
    class Change
    {
    public:
        explicit Change(EditorRows& rows, bool join = false)
            : m_rows(rows), m_outer(rows.m_changeDepth++ == 0), m_join(join)
        {
            if (!m_outer)
                return;
            m_revision = rows.m_history.revision();
            m_before = rows.currentRows();
            m_dragRunning = std::any_of(rows.m_entries.begin(), rows.m_entries.end(),
                                        [](const Entry& e) { return e.dragMark != 0; });
        }
        ~Change()
        {
            --m_rows.m_changeDepth;
            if (!m_outer || m_rows.m_history.revision() != m_revision)
                return;
            if (m_rows.m_history.record(m_before, m_rows.currentRows(), m_join)) {
                m_rows.m_dropStepOpen = m_dragRunning;
                m_rows.historyChanged();
            }
        }
        Change(const Change&) = delete;
        Change& operator=(const Change&) = delete;

    private:
        EditorRows& m_rows;
        bool m_outer;
        bool m_join;
        bool m_dragRunning = false;
        uint64_t m_revision = 0;
        typename History::Rows m_before;
    };

    // ---- undo and redo ---------------------------------------------------------------------
    bool canUndo() const { return m_history.canUndo(); }
    bool canRedo() const { return m_history.canRedo(); }
    // The rows as they were before the last change (Undo) / after the change last undone (Redo),
    // with their modified marks; the first row that differs ends selected and in view. False when
    // there is nothing to undo / redo.
    bool undo() { return restore(m_history.undo(currentRows())); }
    bool redo() { return restore(m_history.redo(currentRows())); }
    const History& history() const { return m_history; }
    typename History::Rows currentRows() const { return {m_entries, m_limit}; }

    AppState& app() { return m_app; }
    Prompter& prompter() { return m_prompter; }
    void setView(EditorListView* view) { m_view = view; }
    // Tells the view (if any); see EditorListView::redraw.
    void redraw(int select = -1, int first = -1, int last = -1)
    {
        if (m_view)
            m_view->redraw(select, first, last);
    }
    // This list's handle in its clipboard payload: unique among the lists of this process.
    int32_t listHandle() const { return m_listHandle; }

    std::array<Entry, N>& entries() { return m_entries; }
    const std::array<Entry, N>& entries() const { return m_entries; }
    Entry& entry(int row) { return m_entries.at(static_cast<std::size_t>(row)); }
    const Entry& entry(int row) const { return m_entries.at(static_cast<std::size_t>(row)); }

    // A whole list from elsewhere (a backup file): its first `limit` entries as they are, the rows
    // behind them free; nothing selected, the list redrawn.
    void loadRows(const std::array<Entry, N>& rows, int limit)
    {
        Change change(*this);
        setLimit(limit);
        for (int row = 0; row < N; ++row)
            m_entries[static_cast<std::size_t>(row)] =
                row < m_limit ? rows[static_cast<std::size_t>(row)] : freeEntryAt(row);
        for (Entry& e : m_entries)
            e.dragMark = 0;
        m_selection.clear();
        redraw();
    }

    // Some used row in use is modified: closing the window asks first.
    bool hasUnsavedChanges() const
    {
        return std::any_of(m_entries.begin(), m_entries.begin() + m_limit,
                           [](const Entry& e) { return e.valid != 0 && e.modified != 0; });
    }
    // Some row in use is modified (used or free): a card read asks first.
    bool anyModified() const
    {
        return std::any_of(m_entries.begin(), m_entries.begin() + m_limit,
                           [](const Entry& e) { return e.modified != 0; });
    }

    // ---- selection (rows in use) -------------------------------------------------------------
    bool isSelected(int row) const { return m_selection.isSelected(row); }
    void setSelected(int row, bool selected) { m_selection.set(row, selected); }
    void clearSelection() { m_selection.clear(); }
    std::vector<int> selectedRows() const { return m_selection.rows(); }
    // First and last selected rows; -1 when nothing is selected.
    int firstSelected() const { return m_selection.first(); }
    int lastSelected() const { return m_selection.last(); }
    // The focused row; -1 when none.
    int focusedRow() const { return m_selection.focused(); }
    void setFocusedRow(int row) { m_selection.setFocused(row); }
    // The 1-based interval the range dialogs start with: 1 and the rows in use, or the first and
    // last selected rows + 1 when more than one row is selected.
    std::pair<int, int> defaultInterval() const { return m_selection.defaultInterval(); }

    // Select all (2056): every used row, no free one.
    void selectAllUsed()
    {
        m_selection.selectOnly(0, m_limit, [this](int row) { return entry(row).valid != 0; });
        selectionChanged();
    }
    // Select Items (160) OK with its 1-based From and To: false after sid::ErrorInIntervalEntered_57540 (the dialog
    // stays).
    bool selectRange(int from, int to, bool includeEmpty)
    {
        if (from < 1 || from > to || to > m_limit) {
            m_prompter.message(strId(sid::ErrorInIntervalEntered_57540), PromptIcon::Stop);
            return false;
        }
        m_selection.selectOnly(from - 1, to, [&](int row) { return includeEmpty || entry(row).valid != 0; });
        selectionChanged();
        return true;
    }
    // Closing the window: false when the user keeps it open.
    bool confirmClose()
    {
        if (m_app.settings().confirm == 0 || !hasUnsavedChanges())
            return true;
        return m_prompter.question(m_texts.closeQuestion, PromptButtons::YesNoCancel, PromptIcon::Question) ==
               PromptAnswer::Yes;
    }

    // Delete (2054): the selected rows go, the rows below move up (see removeRow).
    void deleteSelected()
    {
        Change change(*this);
        const std::vector<int> rows = selectedRows();
        const bool confirm = m_app.settings().confirm != 0;
        if (rows.empty()) {
            if (confirm)
                m_prompter.message(m_texts.deleteNoSelection, PromptIcon::Stop);
            return;
        }
        int deleted = 0;
        bool usedDeleted = false;
        int firstDeleted = -1;
        for (const int selectedRow : rows) {
            const int row = selectedRow - deleted;
            const bool used = entry(row).valid != 0;
            if (used && confirm && !usedDeleted && !askedYes(m_texts.deleteQuestion, PromptButtons::YesNoCancel))
                break;
            removeRow(inUse(), row, freeEntryAt(m_limit - 1));
            usedDeleted = usedDeleted || used;
            if (firstDeleted < 0)
                firstDeleted = row;
            ++deleted;
        }
        if (deleted > 0) {
            m_selection.selectAndFocus(firstDeleted);
            selectionChanged();
        }
        redraw(firstDeleted);
    }
    // Clear (2055, sid::Clear_2061): the selected used rows become free, nothing moves.
    void clearSelected()
    {
        Change change(*this);
        const std::vector<int> rows = selectedRows();
        const bool confirm = m_app.settings().confirm != 0;
        if (rows.empty()) {
            if (confirm)
                m_prompter.message(m_texts.clearNoSelection, PromptIcon::Stop);
            return;
        }
        int first = -1;
        int last = -1;
        for (const int row : rows) {
            Entry& e = entry(row);
            if (e.valid == 0)
                continue;
            if (first < 0 && confirm && !askedYes(m_texts.clearQuestion, m_texts.clearButtons))
                return;
            e.valid = 0;
            e.modified = 1;
            if (first < 0)
                first = row;
            last = row;
        }
        if (first < 0) {
            m_prompter.message(m_texts.clearNothingUsed, PromptIcon::Information);
            return;
        }
        redraw(-1, first, last);
    }
    // Clear All: every row in use becomes free, after a question while one is used.
    void clearAll()
    {
        Change change(*this);
        const bool anyUsed =
            std::any_of(m_entries.begin(), m_entries.begin() + m_limit, [](const Entry& e) { return e.valid != 0; });
        if (m_app.settings().confirm != 0 && anyUsed && !askedYes(m_texts.clearAllQuestion, PromptButtons::YesNoCancel))
            return;
        for (int row = 0; row < m_limit; ++row) {
            entry(row).valid = 0;
            entry(row).modified = 1;
        }
        redraw();
    }

    // Drag enter / over a row (-1: no row) with a payload (nullptr: the data has none): move within
    // this list unless Ctrl is held, copy from any other list, none over no row in use.
    DropEffect dropEffect(const QByteArray* payload, int row, bool ctrlHeld) const
    {
        const std::optional<int32_t> source = payload ? payloadSourceList(*payload) : std::nullopt;
        if (!source || row < 0 || row >= m_limit)
            return DropEffect::None;
        if (*source == m_listHandle)
            return ctrlHeld ? DropEffect::Copy : DropEffect::Move;
        return DropEffect::Copy;
    }

    // The end of a drag the list started: a move frees the marked rows the drop did not overwrite;
    // every mark is cleared.
    void endDrag(DropEffect effect)
    {
        {
            Change change(*this, std::exchange(m_dropStepOpen, false));
            int first = -1;
            int last = -1;
            for (int row = 0; row < m_limit; ++row) {
                Entry& e = entry(row);
                if (e.dragMark == 0)
                    continue;
                // Rows the drop landed on in this same list lost their mark; only the rest are freed.
                if (effect == DropEffect::Move && e.valid != 0) {
                    e.valid = 0;
                    e.modified = 1;
                }
                if (first < 0)
                    first = row;
                last = row;
            }
            for (Entry& e : m_entries)
                e.dragMark = 0;
            if (effect == DropEffect::Move && first >= 0)
                redraw(-1, first, last);
        }
        m_dropStepOpen = false;
    }

protected:
    EditorRows(AppState& app, Prompter& prompter, const EditorRowTexts& texts)
        : m_app(app), m_prompter(prompter), m_texts(texts), m_listHandle(newEditorListHandle())
    {
        for (int row = 0; row < N; ++row)
            m_entries[static_cast<std::size_t>(row)] = freeEntryAt(row);
    }

    static Entry freeEntryAt(int row) { return Entry::emptyAt(static_cast<uint16_t>(row)); }
    std::span<Entry> inUse() { return std::span<Entry>(m_entries.data(), static_cast<std::size_t>(m_limit)); }
    void setLimit(int limit)
    {
        m_limit = std::clamp(limit, 0, N);
        m_selection.setLimit(m_limit);
    }
    void selectionChanged()
    {
        if (m_view)
            m_view->selectionChanged();
    }
    void historyChanged()
    {
        if (m_view)
            m_view->historyChanged();
    }
    // After a card read or write: a success starts the history afresh (the rows match the card); a
    // failure keeps it. Either way the operation's own changes of the rows (the modified marks a
    // write clears) are no step of their own.
    void cardOperationDone(bool ok)
    {
        m_dropStepOpen = false;
        if (!ok) {
            m_history.passOver();
            return;
        }
        m_history.clear();
        historyChanged();
    }
    // Undo / Redo: the rows of a step, the first row that differs selected.
    bool restore(std::optional<typename History::Rows> rows)
    {
        if (!rows)
            return false;
        m_dropStepOpen = false;
        int changed = -1;
        for (int row = 0; row < std::min(m_limit, rows->limit) && changed < 0; ++row) {
            if (!History::sameEntry(m_entries[static_cast<std::size_t>(row)],
                                    rows->entries[static_cast<std::size_t>(row)]))
                changed = row;
        }
        m_entries = rows->entries;
        setLimit(rows->limit);
        if (changed < 0 && m_limit > 0)
            changed = std::clamp(focusedRow(), 0, m_limit - 1);
        if (changed >= 0)
            m_selection.selectAndFocus(changed);
        else
            m_selection.clear();
        redraw(changed);
        selectionChanged();
        historyChanged();
        return true;
    }

    bool askedYes(int textId, PromptButtons buttons)
    {
        return m_prompter.question(textId, buttons, PromptIcon::Question) == PromptAnswer::Yes;
    }

    // The selected rows' entries for a payload, the drag marks set when `mark`; empty when no
    // selected row is used (nothing is marked then).
    std::vector<const Entry*> takeSelection(bool mark)
    {
        std::vector<const Entry*> rows;
        bool anyUsed = false;
        for (const int row : selectedRows()) {
            rows.push_back(&entry(row));
            anyUsed = anyUsed || entry(row).valid != 0;
        }
        if (!anyUsed)
            return {};
        if (mark)
            for (const int row : selectedRows())
                entry(row).dragMark = 1;
        return rows;
    }
    // Cut: the selected used rows become free; redrawn from the first to the last selected.
    void clearSelectedUsed()
    {
        Change change(*this);
        const std::vector<int> rows = selectedRows();
        for (const int row : rows) {
            Entry& e = entry(row);
            if (e.valid != 0) {
                e.valid = 0;
                e.modified = 1;
            }
        }
        if (!rows.empty())
            redraw(-1, rows.front(), rows.back());
    }
    // Insert at row s (see insertFreeRow): the row, selected and focused, or -1 after `notFreeId`
    // when the last row in use is not free with its own position. The entries behind the new row
    // go to the next record each: the window no longer matches the card, so they are marked.
    int insertFreeAt(int s, int notFreeId)
    {
        Change change(*this);
        const int lastRow = m_limit - 1;
        const Entry& last = entry(lastRow);
        if (last.valid != 0 || last.position != lastRow) {
            m_prompter.message(notFreeId, PromptIcon::Stop);
            return -1;
        }
        insertFreeRow(inUse(), s);
        m_selection.selectAndFocus(s);
        redraw(s);
        selectionChanged();
        return s;
    }
    // Paste of text lines from the focused row on: next() gives the entry of the next line, or
    // nullopt when the lines are used up or one is refused (next shows why). Beyond the last row in
    // use sid::TooManyItemsInPhone_5505 ends the paste; the first used row in the way is asked about
    // (sid::ThereAreValidEntriesIn_57586) whatever the confirm setting, and anything but Yes ends the paste. Each
    // pasted row keeps its position.
    template <typename Next>
    void pasteLines(Next next)
    {
        const int target = focusedRow();
        if (target < 0 || target >= m_limit)
            return;
        Change change(*this);
        int count = 0;
        bool asked = false;
        for (std::optional<Entry> pasted = next(); pasted; pasted = next()) {
            const int row = target + count;
            if (row >= m_limit) {
                m_prompter.message(strId(sid::TooManyItemsInPhone_5505), PromptIcon::Stop);
                break;
            }
            Entry& e = entry(row);
            if (e.valid != 0 && !asked) {
                asked = true;
                if (!askedYes(strId(sid::ThereAreValidEntriesIn_57586), PromptButtons::YesNoCancel))
                    break;
            }
            pasted->position = e.position;
            pasted->valid = 1;
            pasted->modified = 1;
            e = *pasted;
            ++count;
        }
        if (count > 0)
            redraw(-1, target, target + count - 1);
    }
    // Before a drop of `items` on row: the rows that fit, -1 when the drop is refused (no row in
    // use, or the overwrite declined; nothing may be written then). With the confirm setting the
    // overwrite of a used row that is not a source of this list's running drag is asked once.
    int dropRows(int row, int items)
    {
        if (row < 0 || row >= m_limit)
            return -1;
        const int fits = std::min(items, m_limit - row);
        if (m_app.settings().confirm != 0) {
            for (int i = 0; i < fits; ++i) {
                const Entry& e = entry(row + i);
                if (e.valid != 0 && e.dragMark == 0)
                    return askedYes(m_texts.dropOverwrite, m_texts.dropButtons) ? fits : -1;
            }
        }
        return fits;
    }
    // After a drop that filled `fits` rows from row with `items` items.
    void dropDone(int row, int fits, int items)
    {
        for (int i = 0; i < fits; ++i) {
            entry(row + i).modified = 1;
            entry(row + i).dragMark = 0;
        }
        if (fits > 0)
            redraw(-1, row, row + fits - 1);
        if (items > fits)
            m_prompter.message(m_texts.dropOverflow, PromptIcon::Exclamation);
    }

    AppState& m_app;
    Prompter& m_prompter;
    EditorRowTexts m_texts;
    EditorListView* m_view = nullptr;
    std::array<Entry, N> m_entries{};
    RowSelection m_selection{N};
    int m_limit = N;
    int32_t m_listHandle = 0;
    History m_history;
    int m_changeDepth = 0;
    // The newest step is the drop of this list's own running drag: the drag's end joins it.
    bool m_dropStepOpen = false;
};

} // namespace kestrel
