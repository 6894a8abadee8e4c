#pragma once

// Runs scripted APDU sessions against an Icc for the emulator tests.

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HexBytes.h"
#include "emulator/Icc.h"

namespace kestrel::test {

// The five header bytes, then the data of an incoming command.
inline emulator::Apdu apdu(const std::string& text)
{
    const auto b = hexBytes(text);
    emulator::Apdu a;
    if (b.size() < 5)
        return a;
    a.cla = b[0];
    a.ins = b[1];
    a.p1 = b[2];
    a.p2 = b[3];
    a.p3 = b[4];
    a.data.assign(b.begin() + 5, b.end());
    return a;
}

struct Step
{
    std::string command;   // header and data in hex
    uint16_t sw;           // expected status word
    std::string data = {}; // expected response data in hex; "*" = any
};

inline emulator::CardResponse send(emulator::Icc& card, const std::string& command)
{
    return card.process(apdu(command));
}

inline void runSession(emulator::Icc& card, const std::vector<Step>& steps)
{
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& s = steps[i];
        SCOPED_TRACE("step " + std::to_string(i + 1) + ": " + s.command);
        const emulator::CardResponse r = send(card, s.command);
        EXPECT_EQ(r.sw, s.sw) << std::hex << "got " << r.sw << " expected " << s.sw;
        if (s.data != "*") {
            EXPECT_EQ(toSpacedHex(r.data), toSpacedHex(hexBytes(s.data)));
        }
    }
}

} // namespace kestrel::test
