#include "phonebook/EditorRows.h"

#include <atomic>

#include <QCoreApplication>

namespace kestrel {

std::optional<int32_t> payloadSourceList(const QByteArray& payload)
{
    if (payload.size() < 4)
        return std::nullopt;
    const auto* p = reinterpret_cast<const uint8_t*>(payload.constData());
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
                                static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24);
}

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
