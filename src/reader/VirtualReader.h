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
    emulator::CardSlot& slot() { return *m_slot; }

    // The user's own virtual card: $XDG_DATA_HOME/Kestrel/virtual-card.json.
    static QString userCardPath();
    // Writes the standard card there when there is none yet. False (with a reason) when it cannot.
    static bool ensureUserCard(QString& error);

private:
    struct Parts;
    VirtualReader(Parts parts);

    VirtualLine* m_line;
    emulator::CardSlot* m_slot;
    bool m_cardGiven = false;
    QString m_loadError;
};

} // namespace kestrel
