#include "emulator/FaultyIcc.h"

#include <utility>

namespace kestrel::emulator {

FaultyIcc::FaultyIcc(std::unique_ptr<Icc> inner, FaultPlan plan) : m_inner(std::move(inner)), m_plan(plan) {}

std::unique_ptr<Icc> FaultyIcc::withFaults(std::unique_ptr<Icc> card, const FaultPlan& plan)
{
    if (!plan.any())
        return card;
    return std::make_unique<FaultyIcc>(std::move(card), plan);
}

bool FaultyIcc::present() const
{
    return !m_pulled && m_inner->present();
}

std::vector<uint8_t> FaultyIcc::powerOn()
{
    if (m_pulled)
        return {};
    return m_inner->powerOn();
}

void FaultyIcc::powerOff()
{
    m_inner->powerOff();
}

CardResponse FaultyIcc::process(const Apdu& apdu)
{
    const int command = ++m_commands;
    if (command == m_plan.pullAtCommand) {
        m_pulled = true;
        m_inner->powerOff(); // its contacts lost power with it
    }
    if (m_pulled) {
        CardResponse none;
        none.sw = 0;
        none.silent = true;
        return none;
    }
    if (m_plan.nullsFromCommand > 0 && command >= m_plan.nullsFromCommand) {
        CardResponse busy;
        busy.sw = 0;
        busy.stalled = true;
        return busy;
    }
    if (command == m_plan.wrongStatusAtCommand)
        return CardResponse{{}, m_plan.wrongStatus};
    if (command == m_plan.garbageAtCommand) {
        CardResponse garbage;
        garbage.data = noise(apdu);
        garbage.sw = static_cast<uint16_t>(garbage.data[0] << 8 | garbage.data[1]);
        garbage.garbled = true;
        return garbage;
    }
    return m_inner->process(apdu);
}

bool FaultyIcc::readMemory(std::array<uint8_t, 32>& out) const
{
    return !m_pulled && m_inner->readMemory(out);
}

// As many bytes as a proper answer would take (procedure byte, data, status word), drawn from a
// xorshift generator seeded by the command, so every run of a test sees the same noise.
std::vector<uint8_t> FaultyIcc::noise(const Apdu& apdu) const
{
    size_t length = 2;
    if (!Icc::isIncoming(apdu.ins))
        length += 1 + (apdu.p3 == 0 ? 256 : apdu.p3);
    uint32_t state = 0x9E3779B9u ^ (static_cast<uint32_t>(m_commands) * 0x85EBCA6Bu) ^
                     (static_cast<uint32_t>(apdu.ins) << 8 | apdu.p3);
    if (state == 0)
        state = 1;
    std::vector<uint8_t> out(length);
    for (uint8_t& b : out) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = static_cast<uint8_t>(state >> 24);
    }
    return out;
}

} // namespace kestrel::emulator
