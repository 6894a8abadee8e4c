#include "reader/VirtualReader.h"

#include <chrono>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "emulator/CardFile.h"
#include "emulator/FaultyIcc.h"
#include "emulator/SimCardModel.h"
#include "emulator/StandardCard.h"
#include "reader/SerialReader.h"

namespace kestrel {

class VirtualReader::Engine final : public SerialReader
{
public:
    explicit Engine(std::unique_ptr<VirtualLine> line) : SerialReader(std::move(line)) {}

    using SerialReader::openLine;
    emulator::SerialFace::Clock* clock = nullptr;

protected:
    void sleepMs(int ms) override
    {
        if (!clock) {
            SerialReader::sleepMs(ms);
            return;
        }
        if (ms > 0)
            clock->sleepUntil(clock->now() + std::chrono::milliseconds(ms));
    }

    int64_t clockMs() const override
    {
        if (!clock)
            return SerialReader::clockMs();
        return std::chrono::duration_cast<std::chrono::milliseconds>(clock->now().time_since_epoch()).count();
    }
};

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
    : m_engine(std::make_unique<Engine>(std::move(parts.line))), m_line(parts.lineView), m_slot(parts.slotView)
{
    // Nothing physical to wait for: no reader to power down, no reset pulse to hold.
    m_engine->setReaderOffSettleTime(0);
    m_engine->setResetPulseTime(0);
}

VirtualReader::~VirtualReader() = default;

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
    return m_engine->openLine(m_cardGiven ? QStringLiteral("virtual") : QFileInfo(name).absoluteFilePath());
}

void VirtualReader::useClock(emulator::SerialFace::Clock* clock)
{
    m_engine->clock = clock;
    m_line->face().setClock(clock);
}

CardStatus VirtualReader::close()
{
    return m_engine->close();
}

CardStatus VirtualReader::activateCard(ReaderBuffer* atr, unsigned& flags)
{
    return m_engine->activateCard(atr, flags);
}

CardStatus VirtualReader::deactivateCard()
{
    return m_engine->deactivateCard();
}

CardStatus VirtualReader::resetCard(ReaderBuffer* atr)
{
    return m_engine->resetCard(atr);
}

CardStatus VirtualReader::powerCard(int mode)
{
    return m_engine->powerCard(mode);
}

CardStatus VirtualReader::transmit(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3,
                                   std::span<uint8_t> data, bool toCard, uint16_t& sw)
{
    return m_engine->transmit(cla, ins, p1, p2, p3, data, toCard, sw);
}

CardStatus VirtualReader::readStatus(uint16_t& status)
{
    return m_engine->readStatus(status);
}

CardStatus VirtualReader::readMemoryCard(std::array<uint8_t, 32>& out)
{
    return m_engine->readMemoryCard(out);
}

int VirtualReader::commandTimeLimit() const
{
    return m_engine->commandTimeLimit();
}

void VirtualReader::setCommandTimeLimit(int ms)
{
    m_engine->setCommandTimeLimit(ms);
}

void VirtualReader::setCancelCheck(CancelCheck check)
{
    m_engine->setCancelCheck(std::move(check));
}

bool VirtualReader::portOpen() const
{
    return m_engine->portOpen();
}

bool VirtualReader::cardActive() const
{
    return m_engine->cardActive();
}

bool VirtualReader::cardPowered() const
{
    return m_engine->cardPowered();
}

bool VirtualReader::cardPresent() const
{
    return m_engine->cardPresent();
}

bool VirtualReader::readerConnected() const
{
    return m_engine->readerConnected();
}

const AtrParameters& VirtualReader::atrParameters() const
{
    return m_engine->atrParameters();
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
