#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include <QString>

#include "base/CardStatus.h"
#include "reader/ReaderBuffer.h"

namespace kestrel {

// Parameters taken from the card's answer to reset (ISO/IEC 7816-3), one byte each.
struct AtrParameters
{
    uint8_t inverseConvention = 0; // TS was 3F seen through a direct-convention UART (03)
    uint8_t K = 0;                 // number of historical bytes (low nibble of T0)
    uint8_t Y1 = 0;                // interface-byte indicator (high nibble of T0)
    uint8_t FI = 1;                // TA1 high nibble
    uint8_t DI = 1;                // TA1 low nibble
    uint8_t II = 0;                // TB1 top two bits
    uint8_t PI1 = 0;               // TB1 low six bits
    uint8_t N = 0;                 // extra guard time, TC1
    uint8_t T = 0;                 // protocol, TD1 low nibble
    uint8_t Y2 = 0;                // TD1 high nibble
    uint8_t PI2 = 0;               // TB2
    uint8_t WI = 10;               // work waiting integer, TC2
};

// A smart-card reader. Besides being the interface of every reader kind, this class carries the
// byte-level card engine: answer-to-reset parsing, the T=0 procedure-byte transport and the
// serial reader's own command bytes, all built on a handful of byte primitives that a reader kind
// supplies (writeByte, readRawByte, byteAvailable and, where the common ones do not fit, readByte).
class CardReader
{
public:
    CardReader() = default;
    virtual ~CardReader() = default;
    CardReader(const CardReader&) = delete;
    CardReader& operator=(const CardReader&) = delete;

    // Asks the card to keep the default transmission parameters. Base: nothing to do.
    virtual CardStatus sendPps();
    // The 32 data bytes of a prepaid memory card; out is changed only on success.
    virtual CardStatus readMemoryCard(std::array<uint8_t, 32>& out);
    virtual CardStatus close() = 0;
    virtual CardStatus open(const QString& name, int reserved = 0) = 0;
    // Between line and program under the card's convention; its own inverse.
    virtual uint8_t convertByte(uint8_t b) const;
    // One T=0 command: header, p3 data bytes to the card (toCard) or from it (p3 0 reads 256), and
    // the status word SW1 * 256 + SW2 in sw. data must hold the data bytes. A card may ask for
    // more time (NULL procedure bytes, INS XOR FF past the data) only until the command time
    // limit has passed (StatusError) or the cancel check reports Abort (CancelledByUser).
    virtual CardStatus transmit(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3, std::span<uint8_t> data,
                                bool toCard, uint16_t& sw);
    // Sends sendCount bytes from buffer and receives into it. Mode 0 send only; 1 take only what
    // has already arrived; 2 wait for the capacity with up to retries idle pauses of 10 ms; 3 as 2,
    // then drop whatever is left over. Returns the number received (also in buffer.count).
    virtual uint16_t exchangeBytes(ReaderBuffer& buffer, int sendCount, int mode, int retries);
    virtual CardStatus resetCard(ReaderBuffer* atr);
    virtual CardStatus deactivateCard();
    // Powers the card and reads its answer to reset into atr (may be null; on return its capacity
    // and count hold the number of bytes stored). Bit 0 of flags tells whether a PPS was sent.
    virtual CardStatus activateCard(ReaderBuffer* atr, unsigned& flags);
    // 0 off, 1 on, 2 off and on again.
    virtual CardStatus powerCard(int mode);
    // The reader's status byte; bit 0x40 set when a card is inserted.
    virtual CardStatus readStatus(uint16_t& status);
    virtual CardStatus sendReaderSetting(uint8_t value);
    virtual CardStatus readerCardOn();
    // Parity 1 odd, 2 even.
    virtual CardStatus setLineParameters(int parity, int baud) = 0;
    virtual CardStatus readerCardOff() = 0;
    virtual CardStatus shutDownReader() = 0;
    virtual CardStatus startReader() = 0;
    // Waits ms milliseconds in slices of at most 10 ms.
    virtual void delay(int ms);
    virtual void writeByte(uint8_t b) = 0;
    virtual bool writeEchoedByte(uint8_t b);
    // Waits up to the byte timeout; the byte or -1.
    virtual int readByte();
    virtual void flushInput();
    virtual uint8_t readRawByte() = 0;
    virtual bool byteAvailable() = 0;

    // sendReceive and receive convert between line and program with convertByte around
    // exchangeBytes.
    uint16_t sendReceive(ReaderBuffer& buffer, int count, int mode, int retries);
    uint16_t receive(ReaderBuffer& buffer, int mode, int retries);

    static uint8_t reverseBits(uint8_t b);

    int readerOffSettleTime() const { return m_readerOffSettleTime; }
    void setReaderOffSettleTime(int ms) { m_readerOffSettleTime = ms; }
    int resetPulseTime() const { return m_resetPulseTime; }
    void setResetPulseTime(int ms) { m_resetPulseTime = ms; }
    int byteTimeout() const { return m_byteTimeout; }
    void setByteTimeout(int ms) { m_byteTimeout = ms; }
    int identificationTimeout() const { return m_identificationTimeout; }
    void setIdentificationTimeout(int ms) { m_identificationTimeout = ms; }
    // The longest time one command may take while the card keeps asking for more time.
    static constexpr int kDefaultCommandTimeLimit = 30000;
    int commandTimeLimit() const { return m_commandTimeLimit; }
    void setCommandTimeLimit(int ms) { m_commandTimeLimit = ms; }

    // Asked now and then while a command waits for a card that asks for more time; true ends the
    // command with CancelledByUser. The card-operation layer connects it to its progress
    // window's Abort; an empty check never cancels.
    using CancelCheck = std::function<bool()>;
    void setCancelCheck(CancelCheck check) { m_cancelCheck = std::move(check); }

    bool portOpen() const { return m_portOpen; }
    bool cardActive() const { return m_cardActive; }
    bool cardPowered() const { return m_cardPowered; }
    bool cardPresent() const { return m_cardPresent; }
    bool readerConnected() const { return m_readerConnected; }
    const AtrParameters& atrParameters() const { return m_atr; }

protected:
    // Ok while a command begun at start may go on waiting; else why it must stop.
    CardStatus mayWait(int64_t start, int64_t& lastCancelCheck);

    // The sleep and the millisecond clock all waiting is built on (monotonic).
    virtual void sleepMs(int ms);
    virtual int64_t clockMs() const;

    int m_readerOffSettleTime = 300;
    int m_resetPulseTime = 200;
    int m_byteTimeout = 100;
    int m_identificationTimeout = 300;
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
