#pragma once

// The tests' one hex parser and formatter: card commands, answers and file bytes are written as
// hex text in the tests and compared as hex text in their messages.

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <QByteArray>

namespace kestrel::test {

// "A0 B0 00 00 02" or "A0B0000002" → bytes: pairs of hex digits in either case, white space
// anywhere between the pairs. "FF*5" repeats the byte before the star five times. Anything else
// (an odd digit, a stray character) is a mistake in the test and throws, which fails the test.
inline std::vector<uint8_t> hexBytes(std::string_view hex)
{
    const auto fail = [&](const char* what) {
        throw std::invalid_argument(std::string("hexBytes: ") + what + " in \"" + std::string(hex) + "\"");
    };
    std::vector<uint8_t> out;
    int high = -1; // the first digit of a pair, until its second arrives
    for (std::size_t i = 0; i < hex.size(); ++i) {
        const char c = hex[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            continue;
        } else if (std::isxdigit(static_cast<unsigned char>(c))) {
            const int v = std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::toupper(c) - 'A' + 10;
            if (high < 0) {
                high = v;
            } else {
                out.push_back(static_cast<uint8_t>(high * 16 + v));
                high = -1;
            }
        } else if (c == '*' && high < 0 && !out.empty()) {
            std::size_t count = 0;
            std::size_t digits = 0;
            for (; i + 1 < hex.size() && std::isdigit(static_cast<unsigned char>(hex[i + 1])); ++i, ++digits)
                count = count * 10 + static_cast<std::size_t>(hex[i + 1] - '0');
            if (digits == 0 || count == 0)
                fail("a repeat without a count");
            out.insert(out.end(), count - 1, out.back());
        } else {
            fail("not a hex digit");
        }
    }
    if (high >= 0)
        fail("an odd number of hex digits");
    return out;
}

// One byte as two upper-case hex digits: "0A".
inline std::string toHex(uint8_t byte)
{
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02X", byte);
    return buf;
}

// "A041FF": upper-case hex bytes, nothing between them.
inline std::string toHex(std::span<const uint8_t> bytes)
{
    std::string out;
    for (uint8_t b : bytes)
        out += toHex(b);
    return out;
}

// "A0 41 FF": upper-case hex bytes separated by single spaces.
inline std::string toSpacedHex(std::span<const uint8_t> bytes)
{
    std::string out;
    for (uint8_t b : bytes) {
        if (!out.empty())
            out += ' ';
        out += toHex(b);
    }
    return out;
}

inline std::string toSpacedHex(const QByteArray& bytes)
{
    return toSpacedHex(
        std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
}

// The bytes of a text as compact hex, for alpha fields in hand-written commands: "Anna" → "416E6E61".
inline std::string hexOf(std::string_view text)
{
    return toHex(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

} // namespace kestrel::test
