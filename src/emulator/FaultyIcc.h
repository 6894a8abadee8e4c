#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "emulator/FaultPlan.h"
#include "emulator/Icc.h"

namespace kestrel::emulator {

// A card that fails on purpose, wrapped around a working one, for reliability tests. A faulty
// command never reaches the card inside: a pulled card loses it, a refused or garbled one is not
// carried out. Slow bytes are the serial face's pacing, not a card fault.
class FaultyIcc final : public Icc
{
public:
    FaultyIcc(std::unique_ptr<Icc> inner, FaultPlan plan);

    // card itself when nothing is planned, else card wrapped in a FaultyIcc.
    static std::unique_ptr<Icc> withFaults(std::unique_ptr<Icc> card, const FaultPlan& plan);

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
