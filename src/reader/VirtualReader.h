#pragma once

#include <memory>

#include <QString>

#include "emulator/CardSlot.h"
#include "reader/CardReader.h"
#include "reader/VirtualLine.h"

namespace kestrel {

// The reader of the virtual card: a serial reader (its own engine, byte by byte) over an
// in-process line to the virtual card's serial face, which this reader owns and hands every call
// to. Only the reader's settle and reset-pulse waits are dropped (nothing physical needs them).
// `open` takes the card file's path.
class VirtualReader final : public CardReader
{
public:
    VirtualReader();
    // A reader with this card already in its slot (tests, benchmarks); open's name is then unused.
    explicit VirtualReader(std::unique_ptr<emulator::Icc> card, const emulator::SerialFace::Options& options = {});
    ~VirtualReader() override;

    CardStatus open(const QString& name, int reserved = 0) override;
    CardStatus close() override;
    CardStatus activateCard(ReaderBuffer* atr, unsigned& flags) override;
    CardStatus deactivateCard() override;
    CardStatus resetCard(ReaderBuffer* atr) override;
    CardStatus powerCard(int mode) override;
    CardStatus transmit(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3, std::span<uint8_t> data,
                        bool toCard, uint16_t& sw) override;
    CardStatus readStatus(uint16_t& status) override;
    CardStatus readMemoryCard(std::array<uint8_t, 32>& out) override;
    int commandTimeLimit() const override;
    void setCommandTimeLimit(int ms) override;
    void setCancelCheck(CancelCheck check) override;
    bool portOpen() const override;
    bool cardActive() const override;
    bool cardPowered() const override;
    bool cardPresent() const override;
    bool readerConnected() const override;
    const AtrParameters& atrParameters() const override;

    // Why the last open could not load its card file (empty when it could).
    const QString& loadError() const { return m_loadError; }

    VirtualLine& line() { return *m_line; }
    // Every wait of the reader and of the card's line on this clock instead of the steady clock
    // (nullptr: back to real time): a virtual clock makes the engine's time-outs cost nothing, for
    // sweeps over many failing runs. The clock must outlive its use.
    void useClock(emulator::SerialFace::Clock* clock);
    emulator::CardSlot& slot() { return *m_slot; }

    // The user's own virtual card: $XDG_DATA_HOME/Kestrel/virtual-card.json.
    static QString userCardPath();
    // Writes the standard card there when there is none yet. False (with a reason) when it cannot.
    static bool ensureUserCard(QString& error);

private:
    struct Parts;
    // The serial reader on the line, waiting on the reader's clock.
    class Engine;
    VirtualReader(Parts parts);

    std::unique_ptr<Engine> m_engine;
    VirtualLine* m_line;
    emulator::CardSlot* m_slot;
    bool m_cardGiven = false;
    QString m_loadError;
};

} // namespace kestrel
