#include "phonebook/EditorRows.h"

#include <atomic>

#include <QCoreApplication>

namespace kestrel {

// The counter starts from a value drawn from the process id, so that lists of two running copies
// of the program are unlikely to share a handle (a drop from the other copy is then a copy, as
// from any other list).
int32_t newEditorListHandle()
{
    static std::atomic<uint32_t> next{static_cast<uint32_t>(QCoreApplication::applicationPid()) * 4096u + 1u};
    uint32_t handle = next.fetch_add(1);
    if (handle == 0 || handle == 0xFFFFFFFFu) // 0 reads as "no list", -1 is the end mark
        handle = next.fetch_add(2);
    return static_cast<int32_t>(handle);
}

} // namespace kestrel
