#pragma once

#include <cstdint>

#include "reader/CardReader.h"

namespace kestrel {

// What every reader kind shares: the reader's state, the command time limit and cancel check, the
// power switch and the card's activation (status, power, answer to reset, PPS, line settings),
// built on the reader's own steps that each kind supplies.
class ReaderBase : public CardReader
{
public:
    CardStatus resetCard(ReaderBuffer* atr) override;
    CardStatus deactivateCard() override;
    CardStatus activateCard(ReaderBuffer* atr, unsigned& flags) override;
    CardStatus powerCard(int mode) override;

    void setCancelCheck(CancelCheck check) override { m_cancelCheck = std::move(check); }
    int commandTimeLimit() const override { return m_commandTimeLimit; }
    void setCommandTimeLimit(int ms) override { m_commandTimeLimit = ms; }

    bool portOpen() const override { return m_portOpen; }
    bool cardActive() const override { return m_cardActive; }
    bool cardPowered() const override { return m_cardPowered; }
    bool cardPresent() const override { return m_cardPresent; }
    bool readerConnected() const override { return m_readerConnected; }
    const AtrParameters& atrParameters() const override { return m_atr; }

    // The reader's own steps.
    // Asks the card to keep the default transmission parameters. Base: nothing to do.
    virtual CardStatus sendPps();
    virtual CardStatus readerCardOn() = 0;
    virtual CardStatus readerCardOff() = 0;
    virtual CardStatus shutDownReader() = 0;
    virtual CardStatus startReader() = 0;
    // Parity 1 odd, 2 even.
    virtual CardStatus setLineParameters(int parity, int baud) = 0;
    // Drops whatever the reader has received and not yet taken. Base: nothing is kept.
    virtual void flushInput();
    // Waits ms milliseconds in slices of at most 10 ms.
    virtual void delay(int ms);

protected:
    // The next byte of the card's answer to reset under the convention in force, or -1.
    virtual int nextAnswerByte() = 0;
    // A byte of the answer seen under the inverse convention, once TS has asked for it.
    virtual uint8_t inverseAnswerByte(uint8_t b) = 0;

    // The sleep and the millisecond clock all waiting is built on (monotonic).
    virtual void sleepMs(int ms);
    virtual int64_t clockMs() const;

    int m_commandTimeLimit = kDefaultCommandTimeLimit;
    CancelCheck m_cancelCheck;
    bool m_portOpen = false;
    bool m_cardActive = false;
    bool m_cardPowered = false;
    bool m_cardPresent = false;
    bool m_readerConnected = false;
    AtrParameters m_atr;
};

} // namespace kestrel
