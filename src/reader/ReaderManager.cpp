#include "reader/ReaderManager.h"

#include "reader/KvriReader.h"
#include "reader/PcscReader.h"
#include "reader/SerialReader.h"
#include "reader/SmartApiReader.h"
#include "reader/TtySerialLine.h"
#include "reader/VirtualReader.h"

namespace kestrel {

namespace {

const QString kNothing = QStringLiteral("NOTHING");
const QString kVirtual = QStringLiteral("VIRTUAL");

} // namespace

ReaderManager::ReaderManager() : ReaderManager(&ReaderManager::makeReader) {}

ReaderManager::ReaderManager(Factory factory) : m_factory(std::move(factory)) {}

ReaderManager::~ReaderManager()
{
    // The reader's destructor releases what it holds; then both events are reset (their own
    // destructors do that as well, kept explicit for the order).
    m_reader.reset();
    resetEvents();
}

ReaderKind ReaderManager::classify(const QString& device, QString* openArgument)
{
    QString argument;
    ReaderKind kind = ReaderKind::Unknown;
    if (device.size() >= 4 && device.startsWith(QLatin1String("COM")) && device[3] >= u'1' && device[3] <= u'8') {
        kind = ReaderKind::Serial;
        argument = device;
    } else if (device == QLatin1String("KVRI DRIVER")) {
        kind = ReaderKind::Kvri;
        argument = device;
    } else if (device.startsWith(QLatin1String("PCSC:"))) {
        kind = ReaderKind::Pcsc;
        argument = device.mid(5);
    } else if (device == QLatin1String("PCMCIA FY-1300")) {
        kind = ReaderKind::SmartApi;
    } else if (device == kVirtual) {
        kind = ReaderKind::Virtual;
        argument = VirtualReader::userCardPath();
    } else if (device.startsWith(kVirtual + QLatin1Char(':'))) {
        kind = ReaderKind::Virtual;
        argument = device.mid(kVirtual.size() + 1);
    } else if (device == kNothing || device.isEmpty()) {
        kind = ReaderKind::None;
    }
    if (openArgument)
        *openArgument = argument;
    return kind;
}

QStringList ReaderManager::deviceStrings()
{
    QStringList out{kNothing};
    // Each PC/SC reader goes in right after "NOTHING", so they stand in reverse order of listing.
    QStringList pcsc;
    if (PcscReader::listPcscReaders(pcsc)) {
        for (const QString& name : pcsc)
            out.insert(1, QStringLiteral("PCSC:") + name);
    }
    for (int i = 1; i <= 8; ++i)
        out.append(QStringLiteral("COM%1").arg(i));
    out << QStringLiteral("KVRI DRIVER") << QStringLiteral("PCMCIA FY-1300") << kVirtual;
    return out;
}

std::unique_ptr<CardReader> ReaderManager::makeReader(ReaderKind kind)
{
    switch (kind) {
    case ReaderKind::Serial:
        return std::make_unique<SerialReader>(std::make_unique<TtySerialLine>());
    case ReaderKind::Virtual:
        return std::make_unique<VirtualReader>();
    case ReaderKind::Kvri:
        return std::make_unique<KvriReader>();
    case ReaderKind::SmartApi:
        return std::make_unique<SmartApiReader>();
    case ReaderKind::Pcsc:
        return std::make_unique<PcscReader>();
    default:
        // "NOTHING", or a device string no reader answers to.
        return nullptr;
    }
}

void ReaderManager::closeCurrent()
{
    if (m_reader) {
        m_reader->close();
        m_reader.reset();
    }
}

void ReaderManager::resetEvents()
{
    m_insertionInhibit.reset();
    m_removalInhibit.reset();
}

CardStatus ReaderManager::selectDevice(const QString& device)
{
    m_lastDetail.clear();
    if (device == kNothing || device.isEmpty()) {
        closeCurrent();
        m_device = kNothing;
        resetEvents();
        return CardStatus::Ok;
    }
    if (device == m_device && m_reader)
        return CardStatus::Ok;

    closeCurrent();
    m_device = kNothing;

    QString argument;
    const ReaderKind kind = classify(device, &argument);
    std::unique_ptr<CardReader> reader;
    if (kind != ReaderKind::Unknown && kind != ReaderKind::None)
        reader = m_factory(kind);
    if (!reader) {
        resetEvents();
        return CardStatus::NonSpecificError;
    }

    if (kind == ReaderKind::Virtual && device == kVirtual) {
        // The user's own virtual card is made from the standard card on first use.
        QString error;
        if (!VirtualReader::ensureUserCard(error)) {
            m_lastDetail = error;
            resetEvents();
            return CardStatus::PortNotSet;
        }
    }

    const CardStatus result = reader->open(argument, 0);
    if (result != CardStatus::Ok) {
        if (auto* virtualReader = dynamic_cast<VirtualReader*>(reader.get()))
            m_lastDetail = virtualReader->loadError();
        else if (auto* pcscReader = dynamic_cast<PcscReader*>(reader.get()))
            m_lastDetail = pcscReader->lastServiceErrorText();
        // Not closed: the destructor releases whatever open got hold of.
        reader.reset();
        resetEvents();
        return result;
    }
    m_reader = std::move(reader);
    m_device = device;
    m_insertionInhibit.set();
    m_removalInhibit.set();
    return CardStatus::Ok;
}

} // namespace kestrel
