#pragma once

#include <cstdint>
#include <span>

#include "reader/ReaderBase.h"

namespace kestrel {

// The byte-level card engine of the readers that move the card's bytes themselves: the T=0
// procedure-byte transport, the card's convention, byte exchange with echoes, the answer to reset
// read byte by byte, and the serial reader's own command bytes (status, setting, card on,
// memory-card read), all built on a handful of byte primitives that a reader kind supplies
// (writeByte, readRawByte, byteAvailable and, where the common ones do not fit, readByte or
// exchangeBytes).
class T0Engine : public ReaderBase
{
public:
    // The 32 data bytes of a prepaid memory card; out is changed only on success.
    CardStatus readMemoryCard(std::array<uint8_t, 32>& out) override;
    // One T=0 command: header, p3 data bytes to the card (toCard) or from it (p3 0 reads 256), and
    // the status word SW1 * 256 + SW2 in sw. data must hold the data bytes. A card may ask for
    // more time (NULL procedure bytes, INS XOR FF past the data) only until the command time
    // limit has passed (StatusError) or the cancel check reports Abort (CancelledByUser).
    CardStatus transmit(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3, std::span<uint8_t> data,
                        bool toCard, uint16_t& sw) override;
    // The reader's status byte; bit 0x40 set when a card is inserted.
    CardStatus readStatus(uint16_t& status) override;
    CardStatus readerCardOn() override;
    virtual CardStatus sendReaderSetting(uint8_t value);
    void flushInput() override;

    // Between line and program under the card's convention; its own inverse.
    virtual uint8_t convertByte(uint8_t b) const;
    // Sends sendCount bytes from buffer and receives into it. Mode 0 send only; 1 take only what
    // has already arrived; 2 wait for the capacity with up to retries idle pauses of 10 ms; 3 as 2,
    // then drop whatever is left over. Returns the number received (also in buffer.count).
    virtual uint16_t exchangeBytes(ReaderBuffer& buffer, int sendCount, int mode, int retries);
    // sendReceive and receive convert between line and program with convertByte around
    // exchangeBytes.
    uint16_t sendReceive(ReaderBuffer& buffer, int count, int mode, int retries);
    uint16_t receive(ReaderBuffer& buffer, int mode, int retries);

    virtual void writeByte(uint8_t b) = 0;
    virtual bool writeEchoedByte(uint8_t b);
    // Waits up to the byte timeout; the byte or -1.
    virtual int readByte();
    virtual uint8_t readRawByte() = 0;
    virtual bool byteAvailable() = 0;

    static uint8_t reverseBits(uint8_t b);

    int readerOffSettleTime() const { return m_readerOffSettleTime; }
    void setReaderOffSettleTime(int ms) { m_readerOffSettleTime = ms; }
    int resetPulseTime() const { return m_resetPulseTime; }
    void setResetPulseTime(int ms) { m_resetPulseTime = ms; }
    int byteTimeout() const { return m_byteTimeout; }
    void setByteTimeout(int ms) { m_byteTimeout = ms; }
    int identificationTimeout() const { return m_identificationTimeout; }
    void setIdentificationTimeout(int ms) { m_identificationTimeout = ms; }

protected:
    int nextAnswerByte() override;
    uint8_t inverseAnswerByte(uint8_t b) override;
    // Ok while a command begun at start may go on waiting; else why it must stop.
    CardStatus mayWait(int64_t start, int64_t& lastCancelCheck);

    int m_readerOffSettleTime = 300;
    int m_resetPulseTime = 200;
    int m_byteTimeout = 100;
    int m_identificationTimeout = 300;
};

} // namespace kestrel
