#include "reader/ReaderBase.h"

#include <chrono>
#include <thread>

namespace kestrel {

namespace {

constexpr int kLineBaud = 9600;
constexpr int kOdd = 1;
constexpr int kEven = 2;

} // namespace

CardStatus ReaderBase::sendPps()
{
    return CardStatus::Ok;
}

void ReaderBase::flushInput() {}

CardStatus ReaderBase::powerCard(int mode)
{
    flushInput();
    CardStatus r = CardStatus::Ok;
    switch (mode) {
    case 1:
        r = readerCardOn();
        if (!isOk(r))
            startReader();
        break;
    case 0:
        r = readerCardOff();
        if (!isOk(r))
            startReader();
        break;
    case 2:
        r = readerCardOff();
        if (isOk(r)) {
            r = readerCardOn();
            if (!isOk(r))
                startReader();
        }
        break;
    default:
        break;
    }
    delay(1);
    return r;
}

CardStatus ReaderBase::resetCard(ReaderBuffer* atr)
{
    if (!m_cardPowered)
        return CardStatus::CardNotActive;
    CardStatus r = deactivateCard();
    if (!isOk(r))
        return r;
    unsigned flags = 0;
    return activateCard(atr, flags);
}

CardStatus ReaderBase::deactivateCard()
{
    m_cardPowered = false;
    m_cardActive = false;
    return powerCard(0);
}

CardStatus ReaderBase::activateCard(ReaderBuffer* atr, unsigned& flags)
{
    m_cardActive = false;
    if (atr)
        atr->count = 0;
    if (m_cardPowered)
        return CardStatus::RepeatActivation;
    m_atr = AtrParameters{};

    uint16_t status = 0;
    CardStatus r = readStatus(status);
    if (!isOk(r))
        return r;
    if (!(status & CardReader::kStatusCardInserted))
        return CardStatus::CardNotInserted;
    r = powerCard(1);
    if (!isOk(r))
        return r;
    m_cardPowered = true;

    bool ta1Present = false;
    r = AnswerToReset::read([this] { return nextAnswerByte(); }, [this](uint8_t b) { return inverseAnswerByte(b); },
                            m_atr, atr, ta1Present);
    if (!isOk(r))
        return r;

    flags &= ~1u;
    if (ta1Present && (m_atr.FI != 1 || m_atr.DI != 1)) {
        flags |= 1u;
        sendPps();
    }

    r = setLineParameters(m_atr.inverseConvention ? kOdd : kEven, kLineBaud);
    if (isOk(r))
        m_cardActive = true;
    return r;
}

void ReaderBase::delay(int ms)
{
    if (ms > 10) {
        for (int i = 0; i < (ms - 1) / 10; ++i)
            sleepMs(10);
        sleepMs((ms - 1) % 10 + 1);
    } else {
        sleepMs(ms);
    }
}

void ReaderBase::sleepMs(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int64_t ReaderBase::clockMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace kestrel
