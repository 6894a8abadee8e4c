#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "sim/DialFiles.h"
#include "sim/FileImage.h"

namespace kestrel::dialchain {

inline constexpr uint8_t kUnused = 0xFF;
inline constexpr uint8_t kNoLink = 0xFF;
// Extension record type (byte 0, low two bits): 1 called-party subaddress, 2 additional data.
inline constexpr uint8_t kTypeSubaddress = 1;
inline constexpr uint8_t kTypeAdditionalData = 2;

inline bool inUse(const FileImage& image, int record)
{
    const auto bytes = image.record(record);
    return !bytes.empty() && bytes[0] != kUnused;
}

// Walks the extension chain of one dialling-number record from its first link through the
// extension image, as far as it is sound: calls link(record, fromChain) for every extension record
// it is linked to (a record that closes a loop once more, then the walk ends), dangling(record)
// for an empty record the chain points to (where it ends), and returns the check-map flags of what
// it found. A chain is followed for at most as many links as the extension file has records.
template <typename Link, typename Dangling>
uint8_t walkChain(uint8_t first, const FileImage& ext, Link&& link, Dangling&& dangling)
{
    if (first == kNoLink)
        return 0;
    const int count = ext.recordCount;
    if (first == 0 || first > count)
        return CheckFlag::kBadLink;
    if (!inUse(ext, first)) {
        dangling(static_cast<int>(first));
        return CheckFlag::kEmptyLink;
    }
    link(first, false);
    uint8_t flags = 0;
    std::vector<bool> seen(static_cast<std::size_t>(count) + 1, false);
    int current = first;
    for (int links = 0; links < count; ++links) {
        seen[static_cast<std::size_t>(current)] = true;
        const auto bytes = ext.record(current);
        const uint8_t type = bytes[0] & 0x03;
        if (type == kTypeAdditionalData)
            flags |= CheckFlag::kAdditionalData;
        else if (type == kTypeSubaddress)
            flags |= CheckFlag::kSubaddress;
        const uint8_t next = bytes[12];
        if (next == kNoLink)
            break;
        if (next == 0 || next > count) {
            flags |= CheckFlag::kBadChainLink;
            break;
        }
        if (!inUse(ext, next)) {
            dangling(static_cast<int>(next));
            flags |= CheckFlag::kEmptyChainLink;
            break;
        }
        link(next, true);
        if (seen[next])
            break;
        current = next;
    }
    return flags;
}

template <typename Link>
uint8_t walkChain(uint8_t first, const FileImage& ext, Link&& link)
{
    return walkChain(first, ext, std::forward<Link>(link), [](int) {});
}

// Whether a dialling-number record (alpha length x) holds anything: a name or a number.
inline bool dialRecordUsed(std::span<const uint8_t> record, std::size_t x)
{
    return record[0] != kUnused || record[x] != kUnused;
}

} // namespace kestrel::dialchain
