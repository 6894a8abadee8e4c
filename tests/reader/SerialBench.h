#pragma once

// A serial reader on a scripted line, opened and identified, and the script steps the engine's
// tests are written in.

#include <numeric>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "HexBytes.h"
#include "reader/ScriptedLine.h"

namespace kestrel::test {

// A serial reader on a scripted line, opened and identified.
struct Bench
{
    LineScript line;
    ScriptedSerialReader reader{line};

    Bench()
    {
        line.readerStart();
        const CardStatus r = reader.open(QStringLiteral("/dev/scripted"));
        EXPECT_EQ(r, CardStatus::Ok);
        EXPECT_TRUE(line.done());
        line.events.clear();
        line.written.clear();
    }

    // Status (card inserted), card on, then the answer to reset as the line carries it.
    CardStatus activate(const std::vector<uint8_t>& atrOnLine, ReaderBuffer* atr = nullptr, unsigned* flags = nullptr)
    {
        line.status(0x40);
        line.cardOn(atrOnLine);
        unsigned f = 0xFE;
        const CardStatus r = reader.activateCard(atr, f);
        if (flags)
            *flags = f;
        return r;
    }

    std::string lastConfigure() const
    {
        for (auto it = line.events.rbegin(); it != line.events.rend(); ++it) {
            if (it->starts_with("configure"))
                return *it;
        }
        return {};
    }

    std::string problems() const
    {
        std::string out;
        for (const std::string& e : line.errors)
            out += e + "; ";
        if (!line.steps.empty())
            out += std::to_string(line.steps.size()) + " steps left";
        return out;
    }
};

// The bytes of an inverse-convention card as a direct-convention UART sees them.
inline std::vector<uint8_t> inverse(std::vector<uint8_t> logical)
{
    for (uint8_t& b : logical)
        b = T0Engine::reverseBits(static_cast<uint8_t>(~b));
    return logical;
}

inline std::vector<uint8_t> sequence(size_t n, uint8_t start)
{
    std::vector<uint8_t> out(n);
    std::iota(out.begin(), out.end(), start);
    return out;
}

inline LineScript::Step echoed(std::string_view sent, std::string_view reply)
{
    return {hexBytes(sent), hexBytes(reply), true};
}
inline LineScript::Step echoed(const std::vector<uint8_t>& sent, const std::vector<uint8_t>& reply)
{
    return {sent, reply, true};
}
inline LineScript::Step answered(std::string_view sent, std::string_view reply)
{
    return {hexBytes(sent), hexBytes(reply), false};
}

} // namespace kestrel::test
