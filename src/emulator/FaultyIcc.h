#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "emulator/Icc.h"

namespace kestrel::emulator {

// When a card misbehaves. Commands count from 1 over every command the card is given; -1 never.
struct FaultPlan
{
    int pullAtCommand = -1;        // the card leaves the reader as this command arrives
    int wrongStatusAtCommand = -1; // this command is refused with wrongStatus
    uint16_t wrongStatus = 0x6F00;
    int garbageAtCommand = -1; // this command is answered with noise
};

// A card that fails on purpose, wrapped around a working one, for reliability tests. A faulty
// command never reaches the card inside: a pulled card loses it, a refused or garbled one is not
// carried out. Slow bytes are the serial face's pacing, not a card fault.
class FaultyIcc final : public Icc
{
public:
    FaultyIcc(std::unique_ptr<Icc> inner, FaultPlan plan);

    bool present() const override;
    std::vector<uint8_t> powerOn() override;
    void powerOff() override;
    CardResponse process(const Apdu& apdu) override;
    bool readMemory(std::array<uint8_t, 32>& out) const override;

    Icc& inner() { return *m_inner; }
    const FaultPlan& plan() const { return m_plan; }
    int commandCount() const { return m_commands; }
    bool pulled() const { return m_pulled; }
    // The card goes back into the reader (it needs a new power-on, as after any removal).
    void reinsert() { m_pulled = false; }

private:
    std::vector<uint8_t> noise(const Apdu& apdu) const;

    std::unique_ptr<Icc> m_inner;
    FaultPlan m_plan;
    int m_commands = 0;
    bool m_pulled = false;
};

} // namespace kestrel::emulator
