#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <utility>

namespace kestrel {

// The undo and redo steps of an editor list: each step holds the rows as they were (every entry
// with its position and modified mark, and the number of rows in use). Drag marks belong to a
// running drag, not to the rows: they are never compared and never brought back. Bounded: the
// oldest step goes when a change would make more than kMaxSteps.
template <typename Entry, int N>
class RowsHistory
{
public:
    static constexpr std::size_t kMaxSteps = 100;

    struct Rows
    {
        std::array<Entry, N> entries{};
        int limit = 0;
    };

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    std::size_t undoSteps() const { return m_undo.size(); }
    // Counts every change of the history (a step recorded, undone, redone, the history cleared).
    uint64_t revision() const { return m_revision; }

    // A change turned the rows `before` into `now`. Nothing is kept when they are the same;
    // otherwise `before` becomes the newest undo step (with `join`, the newest step stays and
    // takes this change in: the two ends of a move within the list) and the redo steps go.
    // True when something was recorded.
    bool record(const Rows& before, const Rows& now, bool join = false)
    {
        if (same(before, now))
            return false;
        if (!join || m_undo.empty()) {
            m_undo.push_back(withoutDragMarks(before));
            if (m_undo.size() > kMaxSteps)
                m_undo.pop_front();
        }
        m_redo.clear();
        ++m_revision;
        return true;
    }
    // The rows of the newest undo step (now kept as a redo step); nullopt when there is none.
    std::optional<Rows> undo(const Rows& now) { return step(m_undo, m_redo, now); }
    // The rows of the newest redo step (now kept as an undo step); nullopt when there is none.
    std::optional<Rows> redo(const Rows& now) { return step(m_redo, m_undo, now); }
    // The rows changed in a way that is no step (a card write clearing its modified marks): a
    // change that was open around it records nothing.
    void passOver() { ++m_revision; }
    // The rows match the card again: the history starts afresh.
    void clear()
    {
        m_undo.clear();
        m_redo.clear();
        ++m_revision;
    }

    static bool same(const Rows& a, const Rows& b)
    {
        if (a.limit != b.limit)
            return false;
        for (std::size_t row = 0; row < static_cast<std::size_t>(N); ++row) {
            if (!sameEntry(a.entries[row], b.entries[row]))
                return false;
        }
        return true;
    }
    static bool sameEntry(Entry a, Entry b)
    {
        a.dragMark = 0;
        b.dragMark = 0;
        return a == b;
    }

private:
    static Rows withoutDragMarks(Rows rows)
    {
        for (Entry& e : rows.entries)
            e.dragMark = 0;
        return rows;
    }
    std::optional<Rows> step(std::deque<Rows>& from, std::deque<Rows>& to, const Rows& now)
    {
        if (from.empty())
            return std::nullopt;
        Rows rows = std::move(from.back());
        from.pop_back();
        to.push_back(withoutDragMarks(now));
        if (to.size() > kMaxSteps)
            to.pop_front();
        ++m_revision;
        return rows;
    }

    std::deque<Rows> m_undo;
    std::deque<Rows> m_redo;
    uint64_t m_revision = 0;
};

} // namespace kestrel
