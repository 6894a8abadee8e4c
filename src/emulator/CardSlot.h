#pragma once

#include <memory>

#include "emulator/Icc.h"

namespace kestrel::emulator {

// The slot of a reader: holds the card put into it, or none (then nothing answers, as with an
// empty real reader). Lets a reader exist before its card is loaded, and tests swap cards.
class CardSlot final : public Icc
{
public:
    void insert(std::unique_ptr<Icc> card) { m_card = std::move(card); }
    std::unique_ptr<Icc> remove() { return std::move(m_card); }
    Icc* card() const { return m_card.get(); }

    bool present() const override { return m_card && m_card->present(); }
    std::vector<uint8_t> powerOn() override;
    void powerOff() override;
    CardResponse process(const Apdu& apdu) override;
    bool readMemory(std::array<uint8_t, 32>& out) const override;

private:
    std::unique_ptr<Icc> m_card;
};

} // namespace kestrel::emulator
