#pragma once

// A small stand-in card for the faces' tests: a fixed answer to reset and canned answers to a few
// GSM 11.11 commands, with a log of what it was given.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "emulator/Icc.h"

namespace kestrel::test {

class FakeIcc final : public emulator::Icc
{
public:
    static constexpr uint8_t kResponseLength = 0x16;

    bool isPresent = true;
    std::vector<uint8_t> atr{0x3B, 0x02, 0x14, 0x50}; // direct convention, two historical bytes
    std::optional<std::array<uint8_t, 32>> memory;    // set: a prepaid memory card
    int powerOns = 0;
    int powerOffs = 0;
    std::vector<emulator::Apdu> log;

    // The bytes READ BINARY answers: a pattern that shows every position.
    static uint8_t binaryByte(size_t i) { return static_cast<uint8_t>(i * 7 + 1); }

    bool present() const override { return isPresent; }
    std::vector<uint8_t> powerOn() override
    {
        ++powerOns;
        return atr;
    }
    void powerOff() override { ++powerOffs; }
    bool readMemory(std::array<uint8_t, 32>& out) const override
    {
        if (!memory)
            return false;
        out = *memory;
        return true;
    }

    emulator::CardResponse process(const emulator::Apdu& apdu) override
    {
        log.push_back(apdu);
        emulator::CardResponse r;
        switch (apdu.ins) {
        case 0xA4: // SELECT: only the MF exists
            if (apdu.p3 != 2 || apdu.data.size() != 2)
                r.sw = 0x6700;
            else if (apdu.data[0] == 0x3F && apdu.data[1] == 0x00)
                r.sw = static_cast<uint16_t>(0x9F00 | kResponseLength);
            else
                r.sw = 0x9404;
            break;
        case 0xC0: // GET RESPONSE
            if (apdu.p3 == 0 || apdu.p3 > kResponseLength) {
                r.sw = 0x6700;
                break;
            }
            for (size_t i = 0; i < apdu.p3; ++i)
                r.data.push_back(static_cast<uint8_t>(0xC0 + i));
            break;
        case 0xB0: { // READ BINARY
            const size_t n = apdu.p3 == 0 ? 256 : apdu.p3;
            for (size_t i = 0; i < n; ++i)
                r.data.push_back(binaryByte(i));
            break;
        }
        default:
            r.sw = 0x6D00;
            break;
        }
        return r;
    }
};

} // namespace kestrel::test
