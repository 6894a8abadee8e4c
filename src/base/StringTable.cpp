#include "base/StringTable.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace kestrel::StringTable {

namespace {

struct Entry
{
    int id;
    const char16_t* text;
};

// Kept sorted by id so lookups can bisect; checked at compile time below and by a test.
constexpr Entry kEntries[] = {
#include "StringTable.inc"
};

constexpr bool strictlyAscending()
{
    for (std::size_t i = 1; i < std::size(kEntries); ++i) {
        if (kEntries[i - 1].id >= kEntries[i].id)
            return false;
    }
    return true;
}

static_assert(strictlyAscending(), "resources/StringTable.inc must list unique ids in ascending order");

const Entry* find(int id)
{
    const auto* it = std::lower_bound(std::begin(kEntries), std::end(kEntries), id,
                                      [](const Entry& e, int key) { return e.id < key; });
    if (it == std::end(kEntries) || it->id != id)
        return nullptr;
    return it;
}

} // namespace

QString text(int id)
{
    const Entry* e = find(id);
    return e ? QString::fromUtf16(e->text) : QString();
}

bool contains(int id)
{
    return find(id) != nullptr;
}

QList<int> ids()
{
    QList<int> out;
    out.reserve(static_cast<qsizetype>(std::size(kEntries)));
    for (const Entry& e : kEntries)
        out.append(e.id);
    return out;
}

} // namespace kestrel::StringTable
