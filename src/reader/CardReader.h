#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include <QString>

#include "base/CardStatus.h"
#include "reader/AnswerToReset.h"
#include "reader/ReaderBuffer.h"

namespace kestrel {

// A smart-card reader, as the card-access layer, the telephone-card reader and the command-line
// program use it: open and close it, power and activate the card, send it T=0 commands and ask the
// reader's status. ReaderBase carries the state and the activation every kind shares, T0Engine
// the byte-level engine of the readers that move the card's bytes themselves.
class CardReader
{
public:
    CardReader() = default;
    virtual ~CardReader() = default;
    CardReader(const CardReader&) = delete;
    CardReader& operator=(const CardReader&) = delete;

    virtual CardStatus open(const QString& name, int reserved = 0) = 0;
    virtual CardStatus close() = 0;

    // Powers the card and reads its answer to reset into atr (may be null; on return its capacity
    // and count hold the number of bytes stored). Bit 0 of flags tells whether a PPS was sent.
    virtual CardStatus activateCard(ReaderBuffer* atr, unsigned& flags) = 0;
    virtual CardStatus deactivateCard() = 0;
    // Deactivates a powered card and activates it again.
    virtual CardStatus resetCard(ReaderBuffer* atr) = 0;
    // 0 off, 1 on, 2 off and on again.
    virtual CardStatus powerCard(int mode) = 0;

    // One T=0 command: header, p3 data bytes to the card (toCard) or from it, and the status word
    // SW1 * 256 + SW2 in sw. data must hold the data bytes (256 for a read with p3 0).
    virtual CardStatus transmit(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3, std::span<uint8_t> data,
                                bool toCard, uint16_t& sw) = 0;
    // The reader's status byte; kStatusCardInserted set when a card is inserted.
    virtual CardStatus readStatus(uint16_t& status) = 0;
    static constexpr uint16_t kStatusCardInserted = 0x40;
    // The 32 data bytes of a prepaid memory card; out is changed only on success.
    virtual CardStatus readMemoryCard(std::array<uint8_t, 32>& out) = 0;

    // The longest time one command may take while the card keeps asking for more time.
    static constexpr int kDefaultCommandTimeLimit = 30000;
    virtual int commandTimeLimit() const = 0;
    virtual void setCommandTimeLimit(int ms) = 0;

    // Asked now and then while a command waits for a card that asks for more time; true ends the
    // command with CancelledByUser. The card-operation layer connects it to its progress
    // window's Abort; an empty check never cancels.
    using CancelCheck = std::function<bool()>;
    virtual void setCancelCheck(CancelCheck check) = 0;

    virtual bool portOpen() const = 0;
    virtual bool cardActive() const = 0;
    virtual bool cardPowered() const = 0;
    virtual bool cardPresent() const = 0;
    virtual bool readerConnected() const = 0;
    virtual const AtrParameters& atrParameters() const = 0;
};

} // namespace kestrel
