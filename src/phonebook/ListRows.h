#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace kestrel {

// What the rows of the two kinds of editor list (the phone book windows and the SMS windows) have
// in common: a selection among the rows in use, and moving rows for insert and delete so that
// each row keeps holding the position (record number - 1) a card write puts it into.

// How a drag would end over a row of a list.
enum class DropEffect
{
    None,
    Copy,
    Move,
};

// The selected rows and the focused row of a list of `size` rows, of which the first `limit` are
// in use; rows from the limit on are never selected.
class RowSelection
{
public:
    explicit RowSelection(int size) : m_selected(static_cast<std::size_t>(size), false), m_limit(size) {}

    int limit() const { return m_limit; }
    // Rows from the new limit on lose their selection, the focus too.
    void setLimit(int limit)
    {
        m_limit = std::clamp(limit, 0, static_cast<int>(m_selected.size()));
        std::fill(m_selected.begin() + m_limit, m_selected.end(), false);
        if (m_focused >= m_limit)
            m_focused = -1;
    }

    bool isSelected(int row) const { return row >= 0 && row < m_limit && m_selected[static_cast<std::size_t>(row)]; }
    void set(int row, bool selected)
    {
        if (row >= 0 && row < m_limit)
            m_selected[static_cast<std::size_t>(row)] = selected;
    }
    void clear() { std::fill(m_selected.begin(), m_selected.end(), false); }
    // Exactly the rows of [from, to) (0-based, within the limit) for which take(row) holds.
    template <typename Take>
    void selectOnly(int from, int to, Take take)
    {
        clear();
        for (int row = std::max(from, 0); row < std::min(to, m_limit); ++row)
            m_selected[static_cast<std::size_t>(row)] = take(row);
    }

    std::vector<int> rows() const
    {
        std::vector<int> rows;
        for (int row = 0; row < m_limit; ++row)
            if (m_selected[static_cast<std::size_t>(row)])
                rows.push_back(row);
        return rows;
    }
    // First and last selected rows; -1 when nothing is selected.
    int first() const
    {
        const std::vector<int> r = rows();
        return r.empty() ? -1 : r.front();
    }
    int last() const
    {
        const std::vector<int> r = rows();
        return r.empty() ? -1 : r.back();
    }
    // The 1-based interval the range dialogs start with: 1 and the limit, or the first and last
    // selected rows + 1 when more than one row is selected.
    std::pair<int, int> defaultInterval() const
    {
        const int a = first();
        const int b = last();
        if (a >= 0 && b > a)
            return {a + 1, b + 1};
        return {1, m_limit};
    }

    int focused() const { return m_focused; }
    void setFocused(int row) { m_focused = row; }
    // After an edit, insert or delete: only `row` selected, and focused.
    void selectAndFocus(int row)
    {
        clear();
        set(row, true);
        m_focused = row;
    }

private:
    std::vector<bool> m_selected;
    int m_limit;
    int m_focused = -1;
};

// Insert: a free entry at row s. The entries from s on move down one row (the last one, which
// must be free, is put into row s with row s's old position); every other entry with a position
// not below that one moves to the next record and is marked modified, the new free entry too.
template <typename Entry>
void insertFreeRow(std::span<Entry> rows, int s)
{
    const int lastRow = static_cast<int>(rows.size()) - 1;
    const Entry last = rows[static_cast<std::size_t>(lastRow)];
    const auto p = rows[static_cast<std::size_t>(s)].position;
    std::move_backward(rows.begin() + s, rows.begin() + lastRow, rows.begin() + lastRow + 1);
    for (int row = 0; row <= lastRow; ++row) {
        Entry& e = rows[static_cast<std::size_t>(row)];
        if (row != s && e.position >= p) {
            ++e.position;
            e.modified = 1;
        }
    }
    Entry& inserted = rows[static_cast<std::size_t>(s)];
    inserted = last;
    inserted.position = p;
    inserted.modified = 1;
}

// Delete: the entry of `row` goes and the rows below move up one; every entry with a position
// above the deleted one's moves to the record before and is marked modified; the last row becomes
// `freed` (a free entry holding the last position), marked modified.
template <typename Entry>
void removeRow(std::span<Entry> rows, int row, Entry freed)
{
    const int lastRow = static_cast<int>(rows.size()) - 1;
    const auto gone = rows[static_cast<std::size_t>(row)].position;
    std::move(rows.begin() + row + 1, rows.end(), rows.begin() + row);
    for (int r = 0; r < lastRow; ++r) {
        Entry& e = rows[static_cast<std::size_t>(r)];
        if (e.position > gone) {
            --e.position;
            e.modified = 1;
        }
    }
    freed.modified = 1;
    rows[static_cast<std::size_t>(lastRow)] = freed;
}

} // namespace kestrel
