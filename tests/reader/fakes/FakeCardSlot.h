#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "emulator/SerialFace.h"
#include "emulator/SimCardModel.h"

// The hardware a fake reader library plays: a slot with a virtual card, reached through the
// virtual card's serial face (its reader commands, and the card's I/O line once the card is on).
// The face runs unpaced, so every byte is there at once.
class FakeCardSlot
{
public:
    FakeCardSlot();

    // FakeCard: a fresh standard SIM or telephone card, or the card taken out.
    void insert(int32_t card);
    bool present() const { return m_card->present(); }

    kestrel::emulator::SerialFace& face() { return *m_face; }
    bool cardPowered() const { return m_face->cardPowered(); }
    bool readerRunning() const { return m_face->readerRunning(); }

    // Reader power (DTR and RTS together); off also takes the card's power.
    void powerReader(bool on);
    // A reset pulse; true when the reader then named itself.
    bool restartReader();
    // A reader command byte and its answer; empty unless exactly n bytes came.
    std::vector<uint8_t> command(uint8_t byte, size_t n);
    // Everything the face has for the host now.
    std::vector<uint8_t> drain();

private:
    std::unique_ptr<kestrel::emulator::SimCardModel> m_card;
    std::unique_ptr<kestrel::emulator::SerialFace> m_face;
    bool m_readerPowered = false;
};
