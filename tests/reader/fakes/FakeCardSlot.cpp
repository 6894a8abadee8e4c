#include "reader/fakes/FakeCardSlot.h"

#include <string>

#include "emulator/StandardCard.h"
#include "reader/fakes/FakeReaderHooks.h"

using namespace kestrel;

FakeCardSlot::FakeCardSlot()
{
    insert(kFakeSimCard);
}

void FakeCardSlot::insert(int32_t card)
{
    if (card == kFakeNoCard) {
        m_card->setPresent(false);
        return;
    }
    m_face.reset(); // it refers to the card
    m_card = std::make_unique<emulator::SimCardModel>(
        card == kFakeTelephoneCard ? emulator::StandardCard::telephoneCard() : emulator::StandardCard::simCard());
    m_face = std::make_unique<emulator::SerialFace>(*m_card);
    if (m_readerPowered)
        restartReader();
}

void FakeCardSlot::powerReader(bool on)
{
    m_readerPowered = on;
    m_face->setDtr(on);
    m_face->setRts(on);
}

bool FakeCardSlot::restartReader()
{
    powerReader(false);
    drain();
    // The reader talks at its own speed after a reset, whatever the line was set to before.
    m_face->setLine(emulator::SerialFace::kReaderBaud, emulator::SerialFace::kParityEven);
    powerReader(true);
    const std::vector<uint8_t> id = drain();
    return std::string(id.begin(), id.end()) == m_face->options().identification;
}

std::vector<uint8_t> FakeCardSlot::command(uint8_t byte, size_t n)
{
    drain();
    m_face->hostWrite(byte);
    std::vector<uint8_t> answer;
    for (size_t i = 0; i < n; ++i) {
        const int b = m_face->hostRead(0);
        if (b < 0)
            return {};
        answer.push_back(static_cast<uint8_t>(b));
    }
    return answer;
}

std::vector<uint8_t> FakeCardSlot::drain()
{
    std::vector<uint8_t> out;
    for (int b = m_face->hostRead(0); b >= 0; b = m_face->hostRead(0))
        out.push_back(static_cast<uint8_t>(b));
    return out;
}
