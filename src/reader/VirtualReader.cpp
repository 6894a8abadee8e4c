#include "reader/VirtualReader.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "emulator/CardFile.h"
#include "emulator/FaultyIcc.h"
#include "emulator/SimCardModel.h"
#include "emulator/StandardCard.h"

namespace kestrel {

struct VirtualReader::Parts
{
    std::unique_ptr<VirtualLine> line;
    VirtualLine* lineView = nullptr;
    emulator::CardSlot* slotView = nullptr;

    Parts(std::unique_ptr<emulator::Icc> card, const emulator::SerialFace::Options& options)
    {
        auto slot = std::make_unique<emulator::CardSlot>();
        slotView = slot.get();
        slot->insert(std::move(card));
        line = std::make_unique<VirtualLine>(std::move(slot), options);
        lineView = line.get();
    }
};

VirtualReader::VirtualReader() : VirtualReader(Parts(nullptr, {})) {}

VirtualReader::VirtualReader(std::unique_ptr<emulator::Icc> card, const emulator::SerialFace::Options& options)
    : VirtualReader(Parts(std::move(card), options))
{
    m_cardGiven = true;
}

VirtualReader::VirtualReader(Parts parts)
    : SerialReader(std::move(parts.line)), m_line(parts.lineView), m_slot(parts.slotView)
{
    // Nothing physical to wait for: no reader to power down, no reset pulse to hold.
    setReaderOffSettleTime(0);
    setResetPulseTime(0);
}

CardStatus VirtualReader::open(const QString& name, int /*reserved*/)
{
    m_loadError.clear();
    if (!m_cardGiven) {
        std::unique_ptr<emulator::SimCardModel> card = emulator::SimCardModel::fromFile(name, m_loadError);
        if (!card)
            return CardStatus::PortNotSet;
        // The faults the card file plans for rehearsals.
        const emulator::FaultPlan faults = card->data().options.faults;
        m_slot->insert(emulator::FaultyIcc::withFaults(std::move(card), faults));
    }
    return openLine(m_cardGiven ? QStringLiteral("virtual") : QFileInfo(name).absoluteFilePath());
}

void VirtualReader::useClock(emulator::SerialFace::Clock* clock)
{
    m_clock = clock;
    m_line->face().setClock(clock);
}

void VirtualReader::sleepMs(int ms)
{
    if (!m_clock) {
        SerialReader::sleepMs(ms);
        return;
    }
    if (ms > 0)
        m_clock->sleepUntil(m_clock->now() + std::chrono::milliseconds(ms));
}

int64_t VirtualReader::clockMs() const
{
    if (!m_clock)
        return SerialReader::clockMs();
    return std::chrono::duration_cast<std::chrono::milliseconds>(m_clock->now().time_since_epoch()).count();
}

QString VirtualReader::userCardPath()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.local/share");
    return base + QStringLiteral("/Kestrel/virtual-card.json");
}

bool VirtualReader::ensureUserCard(QString& error)
{
    const QString path = userCardPath();
    if (QFileInfo::exists(path))
        return true;
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        error = QStringLiteral("cannot create the folder of %1").arg(path);
        return false;
    }
    return emulator::CardFile::save(emulator::StandardCard::simCard(), path, error);
}

} // namespace kestrel
