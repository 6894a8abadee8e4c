#pragma once

#include <memory>

#include <QString>

#include "emulator/CardSlot.h"
#include "reader/SerialReader.h"
#include "reader/VirtualLine.h"

namespace kestrel {

// The reader of the virtual card: the serial reader's own engine, byte by byte, over an
// in-process line to the virtual card's serial face. Only the reader's settle and reset-pulse
// waits are dropped (nothing physical needs them). `open` takes the card file's path.
class VirtualReader final : public SerialReader
{
public:
    VirtualReader();
    // A reader with this card already in its slot (tests, benchmarks); open's name is then unused.
    explicit VirtualReader(std::unique_ptr<emulator::Icc> card, const emulator::SerialFace::Options& options = {});

    CardStatus open(const QString& name, int reserved = 0) override;

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

protected:
    void sleepMs(int ms) override;
    int64_t clockMs() const override;

private:
    struct Parts;
    VirtualReader(Parts parts);

    VirtualLine* m_line;
    emulator::CardSlot* m_slot;
    bool m_cardGiven = false;
    emulator::SerialFace::Clock* m_clock = nullptr;
    QString m_loadError;
};

} // namespace kestrel
