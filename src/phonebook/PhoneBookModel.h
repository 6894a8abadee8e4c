#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QByteArray>

#include "codec/DialEntry.h"

namespace kestrel {

class AppState;
class ProgressSink;
class Prompter;

// Which dialling-number file an editor window edits: the phone book (EF_ADN with EF_EXT1) or the
// fixed dialling numbers (EF_FDN with EF_EXT2).
enum class DialBook
{
    Adn,
    Fdn,
};

// What the model asks of the window that shows it.
class PhoneBookView
{
public:
    virtual ~PhoneBookView() = default;
    // Redraw rows first..last (-1 as first: row 0; -1 as last: capacity - 1; both -1: the whole
    // list, emptied first when it has more rows than the capacity); select row `select` and
    // scroll it into view unless it is -1.
    virtual void redraw(int select, int first, int last) = 0;
};

// The two forms Copy and Cut put on the clipboard: the "Kestrel_Dial" payload and the text form
// (PC text: name TAB apostrophe number CR LF per valid entry; the window converts it to UTF-8).
struct DialClip
{
    QByteArray payload;
    std::string text;
};

// How a drag would end over a row of this list.
enum class DropEffect
{
    None,
    Copy,
    Move,
};

// The contents of one phone book or fixed-dialling-number editor window without the window: the
// 250 positions, the capacity in use, the selection and the focused row, and every operation the
// window offers on them. Questions and messages go through the Prompter (honouring the `confirm`
// setting where the operation says so); card work runs in a CardOperation frame on the
// AppState's SimCard. The window (or a test) sets a PhoneBookView to be told what to redraw.
class PhoneBookModel
{
public:
    static constexpr int kMaxEntries = 250;

    PhoneBookModel(DialBook book, AppState& app, Prompter& prompter, ProgressSink* progress = nullptr);

    DialBook book() const { return m_book; }
    AppState& app() { return m_app; }
    Prompter& prompter() { return m_prompter; }
    ProgressSink* progress() const { return m_progress; }
    void setView(PhoneBookView* view) { m_view = view; }
    // Tells the view (if any); see PhoneBookView::redraw.
    void redraw(int select = -1, int first = -1, int last = -1);

    // ---- contents --------------------------------------------------------------------------
    std::array<DialEntry, kMaxEntries>& entries() { return m_entries; }
    const std::array<DialEntry, kMaxEntries>& entries() const { return m_entries; }
    DialEntry& entry(int row) { return m_entries.at(static_cast<std::size_t>(row)); }
    const DialEntry& entry(int row) const { return m_entries.at(static_cast<std::size_t>(row)); }
    int capacity() const { return m_capacity; }
    void setCapacity(int capacity);
    // All 250 positions free, each with its own position; the capacity stays.
    void clearEntries();
    // Fixed dialling in force on the card (EF_ADN invalidated), as the last read found it.
    bool fdnActive() const { return m_fdnActive; }
    // Some entry is valid and modified: closing the window asks first.
    bool hasUnsavedChanges() const;
    // Some entry is modified (valid or not): a card read asks first.
    bool anyModified() const;

    // ---- selection (rows below the capacity) -------------------------------------------------
    bool isSelected(int row) const;
    void setSelected(int row, bool selected);
    void clearSelection();
    std::vector<int> selectedRows() const;
    // First and last selected rows; -1 when nothing is selected.
    int firstSelected() const;
    int lastSelected() const;
    // The focused row; -1 when none.
    int focusedRow() const { return m_focused; }
    void setFocusedRow(int row) { m_focused = row; }
    // The 1-based interval the range dialogs (select, sort, add code, internationalize, save)
    // start with: 1 and the capacity, or the first and last selected rows + 1 when more than one
    // row is selected.
    std::pair<int, int> defaultInterval() const;

    // ---- sorting ------------------------------------------------------------------------------
    // Bubble sort of rows a..b by key 0 (position), 1 (name) or 2 (number): free entries sink
    // behind valid ones for keys 1 and 2; texts compare case-insensitively (ASCII folding only).
    void sortByKey(int a, int b, int key);

    // ---- card ---------------------------------------------------------------------------------
    // Read from SIM (1001) and Write to SIM! (1002), with their questions and messages.
    bool readFromCard();
    bool writeToCard();

private:
    DialBook m_book;
    AppState& m_app;
    Prompter& m_prompter;
    ProgressSink* m_progress;
    PhoneBookView* m_view = nullptr;
    std::array<DialEntry, kMaxEntries> m_entries{};
    std::array<bool, kMaxEntries> m_selected{};
    int m_capacity = kMaxEntries;
    int m_focused = -1;
    bool m_fdnActive = false;
};

} // namespace kestrel
