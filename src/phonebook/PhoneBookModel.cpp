#include "phonebook/PhoneBookModel.h"

#include <algorithm>
#include <cstring>

#include "app/AppState.h"

namespace kestrel {

namespace {

// Case-insensitive byte order after ASCII case folding: only a-z change case.
int compareFolded(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        auto fold = [](unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 32) : c; };
        const unsigned char x = fold(static_cast<unsigned char>(*a));
        const unsigned char y = fold(static_cast<unsigned char>(*b));
        if (x != y)
            return x < y ? -1 : 1;
        if (x == 0)
            return 0;
    }
}

// Whether the pair (first, second) is exchanged by a pass of the sort by key.
bool outOfOrder(const DialEntry& first, const DialEntry& second, int key)
{
    if (key == 0)
        return second.position < first.position;
    if (first.valid == 0)
        return second.valid != 0;
    if (second.valid == 0)
        return false;
    return key == 1 ? compareFolded(first.name, second.name) > 0 : compareFolded(first.number, second.number) > 0;
}

} // namespace

PhoneBookModel::PhoneBookModel(DialBook book, AppState& app, Prompter& prompter, ProgressSink* progress)
    : m_book(book), m_app(app), m_prompter(prompter), m_progress(progress)
{
    clearEntries();
}

void PhoneBookModel::redraw(int select, int first, int last)
{
    if (m_view)
        m_view->redraw(select, first, last);
}

void PhoneBookModel::setCapacity(int capacity)
{
    m_capacity = std::clamp(capacity, 0, kMaxEntries);
    for (int row = m_capacity; row < kMaxEntries; ++row)
        m_selected[static_cast<std::size_t>(row)] = false;
    if (m_focused >= m_capacity)
        m_focused = -1;
}

void PhoneBookModel::clearEntries()
{
    for (int i = 0; i < kMaxEntries; ++i)
        m_entries[static_cast<std::size_t>(i)] = DialEntry::emptyAt(static_cast<uint16_t>(i));
}

bool PhoneBookModel::hasUnsavedChanges() const
{
    return std::any_of(m_entries.begin(), m_entries.begin() + m_capacity,
                       [](const DialEntry& e) { return e.valid != 0 && e.modified != 0; });
}

bool PhoneBookModel::anyModified() const
{
    return std::any_of(m_entries.begin(), m_entries.begin() + m_capacity,
                       [](const DialEntry& e) { return e.modified != 0; });
}

bool PhoneBookModel::isSelected(int row) const
{
    return row >= 0 && row < m_capacity && m_selected[static_cast<std::size_t>(row)];
}

void PhoneBookModel::setSelected(int row, bool selected)
{
    if (row >= 0 && row < m_capacity)
        m_selected[static_cast<std::size_t>(row)] = selected;
}

void PhoneBookModel::clearSelection()
{
    m_selected.fill(false);
}

std::vector<int> PhoneBookModel::selectedRows() const
{
    std::vector<int> rows;
    for (int row = 0; row < m_capacity; ++row)
        if (m_selected[static_cast<std::size_t>(row)])
            rows.push_back(row);
    return rows;
}

int PhoneBookModel::firstSelected() const
{
    for (int row = 0; row < m_capacity; ++row)
        if (m_selected[static_cast<std::size_t>(row)])
            return row;
    return -1;
}

int PhoneBookModel::lastSelected() const
{
    for (int row = m_capacity - 1; row >= 0; --row)
        if (m_selected[static_cast<std::size_t>(row)])
            return row;
    return -1;
}

std::pair<int, int> PhoneBookModel::defaultInterval() const
{
    const int first = firstSelected();
    const int last = lastSelected();
    if (first >= 0 && last > first)
        return {first + 1, last + 1};
    return {1, m_capacity};
}

void PhoneBookModel::sortByKey(int a, int b, int key)
{
    a = std::max(a, 0);
    b = std::min(b, kMaxEntries - 1);
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (int i = a; i < b; ++i) {
            auto& first = m_entries[static_cast<std::size_t>(i)];
            auto& second = m_entries[static_cast<std::size_t>(i + 1)];
            if (outOfOrder(first, second, key)) {
                std::swap(first, second);
                exchanged = true;
            }
        }
    }
}

} // namespace kestrel
