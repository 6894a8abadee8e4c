#include "emulator/CardSlot.h"

namespace kestrel::emulator {

std::vector<uint8_t> CardSlot::powerOn()
{
    return m_card ? m_card->powerOn() : std::vector<uint8_t>{};
}

void CardSlot::powerOff()
{
    if (m_card)
        m_card->powerOff();
}

CardResponse CardSlot::process(const Apdu& apdu)
{
    if (!m_card) {
        CardResponse silent;
        silent.silent = true;
        return silent;
    }
    return m_card->process(apdu);
}

bool CardSlot::readMemory(std::array<uint8_t, 32>& out) const
{
    return m_card && m_card->readMemory(out);
}

} // namespace kestrel::emulator
