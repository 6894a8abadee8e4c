#pragma once

#include <array>
#include <vector>

namespace kestrel {

// An editor window as the registries see it: an opaque identity, never dereferenced.
using EditorHandle = const void*;

// The windows of one editor kind: up to three slots (one for the fixed-dialling-number window),
// each holding a window and its number (0-2, shown to the user as Window 1-3). The used slots form
// a most-recently-used list; slot 0 holds the current window of the kind.
class EditorRegistry
{
public:
    static constexpr int kMaxSlots = 3;
    // Selectors of select().
    static constexpr int kNoCycling = 0;
    static constexpr int kNext = 1;
    static constexpr int kWindowNumber = 100; // 100, 101, 102: the window numbered 0, 1, 2

    explicit EditorRegistry(int capacity = kMaxSlots);

    // What select() asks the caller to do.
    struct Selection
    {
        // >= 0: create a window with this number, add() it, then make it the active window.
        int createNumber = -1;
        // Otherwise the current window to make active; null when there is none.
        EditorHandle current = nullptr;
    };

    // selector kNext: when the current window is activeEditor, it moves behind the other used
    // slots so that the next window becomes current. kWindowNumber + n: the window numbered n
    // becomes current, or one is created with that number when none has it. createNew: a further
    // window is created even when one exists. A window is also created when there is none and the
    // selector is below kWindowNumber. Nothing is created while every slot is used: the current
    // window is returned instead.
    Selection select(int selector, bool createNew, EditorHandle activeEditor);

    // A new window goes into slot 0 and pushes the others down. False (nothing added) when every
    // slot is used, the number is out of range or taken, or the window is registered already.
    bool add(EditorHandle window, int number);
    // The window became active: it moves to slot 0, the slots before it move down one.
    bool activated(EditorHandle window);
    // The window went away: the slots behind it move up, the freed one is cleared (number -1).
    bool remove(EditorHandle window);

    EditorHandle current() const { return m_slots[0].window; }
    int count() const { return m_count; }
    int capacity() const { return m_capacity; }
    bool full() const { return m_count >= m_capacity; }
    bool contains(EditorHandle window) const { return indexOf(window) >= 0; }
    // -1 when not registered.
    int numberOf(EditorHandle window) const;
    EditorHandle windowNumbered(int number) const;
    // The lowest number no registered window has; -1 when all are taken.
    int lowestFreeNumber() const;
    // The windows in slot order (current first).
    std::vector<EditorHandle> windows() const;

private:
    struct Slot
    {
        EditorHandle window = nullptr;
        int number = -1;
    };

    int indexOf(EditorHandle window) const;
    // Moves slot `from` to position `to` among the used slots, shifting those between.
    void moveSlot(int from, int to);

    std::array<Slot, kMaxSlots> m_slots{};
    int m_capacity;
    int m_count = 0;
};

} // namespace kestrel
