#pragma once

// Proactive commands for the toolkit tests, written as hex text.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::test {

// "D0 0B 81 03 ..." (spaces optional) as bytes.
inline std::vector<uint8_t> bytesOf(const std::string& hex)
{
    std::vector<uint8_t> out;
    std::string digits;
    for (const char c : hex) {
        if (c != ' ')
            digits += c;
    }
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        out.push_back(static_cast<uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return out;
}

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
    return proactive(bytesOf(bodyHex));
}

} // namespace kestrel::test
