#pragma once

// Proactive commands for the toolkit tests, written as hex text.

#include <cstdint>
#include <string>
#include <vector>

#include "HexBytes.h"

namespace kestrel::test {

// A proactive command D0 with its length around body (command details first).
inline std::vector<uint8_t> proactive(const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> out = {0xD0};
    if (body.size() > 127)
        out.push_back(0x81);
    out.push_back(static_cast<uint8_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

inline std::vector<uint8_t> proactive(const std::string& bodyHex)
{
    return proactive(hexBytes(bodyHex));
}

} // namespace kestrel::test
