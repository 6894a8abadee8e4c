#pragma once

// Hex helpers shared by the codec tests.

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace kestrel::test {

// "A0 41 FF": upper-case hex bytes separated by single spaces.
inline std::string toSpacedHex(std::span<const uint8_t> bytes)
{
    std::string out;
    char buf[4];
    for (uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, "%02X ", b);
        out += buf;
    }
    if (!out.empty())
        out.pop_back();
    return out;
}

} // namespace kestrel::test
