#include "app/EditorRegistry.h"

#include <algorithm>

namespace kestrel {

EditorRegistry::EditorRegistry(int capacity) : m_capacity(std::clamp(capacity, 1, kMaxSlots)) {}

EditorRegistry::Selection EditorRegistry::select(int selector, bool createNew, EditorHandle activeEditor)
{
    Selection out;
    if (selector >= kWindowNumber) {
        const int wanted = selector - kWindowNumber;
        const int at = indexOf(windowNumbered(wanted));
        if (wanted < m_capacity && at < 0 && !full()) {
            // The user asked for "Window n": the new window gets that number.
            out.createNumber = wanted;
            return out;
        }
        if (at > 0)
            moveSlot(at, 0);
    } else {
        if (selector == kNext && m_count > 1 && current() != nullptr && current() == activeEditor)
            moveSlot(0, m_count - 1);
        if ((createNew || m_count == 0) && !full()) {
            out.createNumber = lowestFreeNumber();
            return out;
        }
    }
    out.current = current();
    return out;
}

bool EditorRegistry::add(EditorHandle window, int number)
{
    if (window == nullptr || full() || contains(window) || number < 0 || number >= m_capacity ||
        windowNumbered(number) != nullptr)
        return false;
    m_slots[static_cast<std::size_t>(m_count)] = Slot{window, number};
    ++m_count;
    moveSlot(m_count - 1, 0);
    return true;
}

bool EditorRegistry::activated(EditorHandle window)
{
    const int at = indexOf(window);
    if (at < 0)
        return false;
    moveSlot(at, 0);
    return true;
}

bool EditorRegistry::remove(EditorHandle window)
{
    const int at = indexOf(window);
    if (at < 0)
        return false;
    moveSlot(at, m_count - 1);
    --m_count;
    m_slots[static_cast<std::size_t>(m_count)] = Slot{};
    return true;
}

int EditorRegistry::numberOf(EditorHandle window) const
{
    const int at = indexOf(window);
    return at < 0 ? -1 : m_slots[static_cast<std::size_t>(at)].number;
}

EditorHandle EditorRegistry::windowNumbered(int number) const
{
    for (int i = 0; i < m_count; ++i) {
        if (m_slots[static_cast<std::size_t>(i)].number == number)
            return m_slots[static_cast<std::size_t>(i)].window;
    }
    return nullptr;
}

int EditorRegistry::lowestFreeNumber() const
{
    for (int n = 0; n < m_capacity; ++n) {
        if (windowNumbered(n) == nullptr)
            return n;
    }
    return -1;
}

std::vector<EditorHandle> EditorRegistry::windows() const
{
    std::vector<EditorHandle> out;
    for (int i = 0; i < m_count; ++i)
        out.push_back(m_slots[static_cast<std::size_t>(i)].window);
    return out;
}

int EditorRegistry::indexOf(EditorHandle window) const
{
    if (window == nullptr)
        return -1;
    for (int i = 0; i < m_count; ++i) {
        if (m_slots[static_cast<std::size_t>(i)].window == window)
            return i;
    }
    return -1;
}

void EditorRegistry::moveSlot(int from, int to)
{
    auto first = m_slots.begin();
    if (from > to)
        std::rotate(first + to, first + from, first + from + 1);
    else if (from < to)
        std::rotate(first + from, first + from + 1, first + to + 1);
}

} // namespace kestrel
