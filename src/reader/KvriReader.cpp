#include "reader/KvriReader.h"

#include <algorithm>
#include <cstring>

namespace kestrel {

namespace {

// The memory-read parameter area: length, start address and destination, 32-bit little-endian
// words at these offsets; every other byte zero.
constexpr size_t kMemoryLengthOffset = 38;
constexpr size_t kMemoryStartOffset = 42;
constexpr size_t kMemoryDestinationOffset = 46;
constexpr uint32_t kMemoryBytes = 32;

void putWord(std::span<uint8_t> area, size_t offset, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i)
        area[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

CardStatus status(int value)
{
    return static_cast<CardStatus>(value);
}

} // namespace

KvriReader::KvriReader() : KvriReader(KvriDriver::processDriver()) {}

KvriReader::KvriReader(std::shared_ptr<KvriDriver> driver) : m_driver(std::move(driver)) {}

KvriReader::~KvriReader()
{
    if (m_driverOpen)
        close();
}

CardStatus KvriReader::mapDriverError(uint32_t code)
{
    // The driver's own codes.
    if (code >= 1000 && code <= 1010)
        return status(static_cast<int>(code) - 897);
    if (code >= 1011 && code <= 1023)
        return status(static_cast<int>(code) - 884);
    if (code == 1025)
        return CardStatus::PortOperationError;
    if (code == 1026)
        return CardStatus::ReaderInaccessible;
    // The platform's error codes.
    switch (code) {
    case 0:
        return CardStatus::Ok;
    case 3: // path not found: the entry point is missing
        return CardStatus::ReaderNotConnected;
    case 4:
    case 5:
    case 6:
        return CardStatus::PortOperationError;
    case 7:
        return CardStatus::ErrorInterpretingCommand;
    case 11:
        return CardStatus::StatusError;
    case 12:
        return CardStatus::ErrorInDataBlock;
    case 129:
        return CardStatus::CardNotInserted;
    case 130:
        return CardStatus::CardChanged;
    default:
        return CardStatus::NonSpecificError;
    }
}

uint32_t KvriReader::lineParameter(int parity, int baud)
{
    const uint32_t code = parity == 1 ? 1u : parity == 2 ? 2u : 0u;
    return kSetLineBase + (code << 24) + static_cast<uint32_t>(baud);
}

uint32_t KvriReader::simpleRequest(uint32_t function, uint32_t argument)
{
    KvriDriver::Block block{};
    block[KvriDriver::kCodeWord] = function;
    block[KvriDriver::kArgumentWord] = argument;
    return m_driver->request(block);
}

CardStatus KvriReader::control(uint32_t number, std::optional<uint32_t> parameter)
{
    KvriDriver::Block block{};
    block[KvriDriver::kCodeWord] = KvriDriver::kControl;
    block[KvriDriver::kArgumentWord] = number;
    uint32_t code = 0;
    if (parameter) {
        // The parameter as the 32-bit word in memory the driver reads it from.
        std::array<uint8_t, 4> value{};
        const uint32_t word = *parameter;
        std::memcpy(value.data(), &word, value.size());
        block[KvriDriver::kTimeoutWord] = KvriDriver::bufferHandle(0);
        code = m_driver->request(block, {std::span<uint8_t>(value)});
    } else {
        code = m_driver->request(block);
    }
    return code == 0 ? CardStatus::Ok : mapDriverError(code);
}

CardStatus KvriReader::open(const QString& /*name*/, int /*reserved*/)
{
    if (m_driverOpen)
        return CardStatus::Ok;
    const uint32_t code = simpleRequest(KvriDriver::kOpenDriver, 1);
    if (code != 0)
        return mapDriverError(code);
    m_driverOpen = 1;
    m_readerConnected = true;
    m_portOpen = true;
    return CardStatus::Ok;
}

CardStatus KvriReader::close()
{
    if (!m_driverOpen)
        return CardStatus::Ok;
    const uint32_t code = simpleRequest(KvriDriver::kCloseDriver, 1);
    m_driverOpen = 0;
    m_readerConnected = false;
    m_portOpen = false;
    // Closing the driver takes the reader, and the card with it, down.
    m_cardActive = false;
    m_cardPowered = false;
    return code == 0 ? CardStatus::Ok : mapDriverError(code);
}

CardStatus KvriReader::startReader()
{
    if (!m_driverOpen)
        return CardStatus::NonSpecificError;
    m_readerConnected = false;
    const CardStatus r = control(kStartReader);
    m_readerConnected = isOk(r);
    return r;
}

CardStatus KvriReader::shutDownReader()
{
    return control(kShutDownReader);
}

CardStatus KvriReader::readerCardOff()
{
    return control(kCardOff);
}

CardStatus KvriReader::readerCardOn()
{
    return control(kCardOn, kCardOnParameter);
}

CardStatus KvriReader::setLineParameters(int parity, int baud)
{
    return control(kSetLine, lineParameter(parity, baud));
}

CardStatus KvriReader::sendReaderSetting(uint8_t /*value*/)
{
    return CardStatus::NonSpecificError;
}

CardStatus KvriReader::readStatus(uint16_t& status)
{
    KvriDriver::Block block{};
    block[KvriDriver::kCodeWord] = KvriDriver::kReadStatus;
    const uint32_t code = m_driver->request(block);
    if (code != 0)
        return mapDriverError(code);
    status = static_cast<uint16_t>(block[KvriDriver::kArgumentWord] & 0xFFFF);
    m_cardPresent = (status & CardReader::kStatusCardInserted) != 0;
    return CardStatus::Ok;
}

uint16_t KvriReader::exchangeBytes(ReaderBuffer& buffer, int sendCount, int /*mode*/, int retries)
{
    if (buffer.data.size() < buffer.capacity)
        buffer.data.resize(buffer.capacity, 0);
    buffer.count = 0;
    const uint32_t room = static_cast<uint32_t>(buffer.data.size());
    KvriDriver::Block block{};
    block[KvriDriver::kCodeWord] = KvriDriver::kTransfer;
    block[KvriDriver::kDataWord] = KvriDriver::bufferHandle(0);
    block[KvriDriver::kTimeoutWord] = static_cast<uint32_t>(std::max(retries, 0)) * 10;
    block[KvriDriver::kArgumentWord] = 0;
    block[KvriDriver::kCapacityWord] = buffer.capacity;
    block[KvriDriver::kSendCountWord] = static_cast<uint32_t>(std::clamp<int64_t>(sendCount, 0, room));
    if (m_driver->request(block, {std::span<uint8_t>(buffer.data)}) != 0)
        return 0;
    // A driver that claims more than it was allowed to deliver delivered nothing usable.
    const uint32_t received = block[KvriDriver::kCapacityWord];
    if (received > buffer.capacity)
        return 0;
    buffer.count = static_cast<uint16_t>(received);
    return buffer.count;
}

CardStatus KvriReader::readMemoryCard(std::array<uint8_t, 32>& out)
{
    // The memory-card mode takes the contacts from whatever card was powered before.
    m_cardActive = false;
    m_cardPowered = false;

    uint32_t code = simpleRequest(KvriDriver::kSelectMode, kMemoryMode);
    if (code != 0)
        return mapDriverError(code);
    // Every way out leaves the memory-card mode again, so that a later SIM command finds the reader
    // as it expects it.
    auto finish = [&](CardStatus s) {
        simpleRequest(KvriDriver::kEndMode, kEndMemoryMode);
        return s;
    };

    KvriDriver::Block block{};
    block[KvriDriver::kCodeWord] = KvriDriver::kReadStatus;
    code = m_driver->request(block);
    // A failed status request leaves no status word: that reads as an empty slot first.
    if (!(block[KvriDriver::kArgumentWord] & CardReader::kStatusCardInserted))
        return finish(CardStatus::CardNotInserted);
    if (code != 0)
        return finish(mapDriverError(code));

    std::array<uint8_t, kMemoryAreaSize> area{};
    std::array<uint8_t, 32> bytes{};
    putWord(area, kMemoryLengthOffset, kMemoryBytes);
    putWord(area, kMemoryStartOffset, 0);
    putWord(area, kMemoryDestinationOffset, KvriDriver::bufferHandle(1));
    block = KvriDriver::Block{};
    block[KvriDriver::kCodeWord] = KvriDriver::kReadMemory;
    block[KvriDriver::kDataWord] = KvriDriver::bufferHandle(0);
    code = m_driver->request(block, {std::span<uint8_t>(area), std::span<uint8_t>(bytes)});
    if (code != 0)
        return finish(mapDriverError(code));
    finish(CardStatus::Ok); // the end of the mode cannot spoil data already read
    out = bytes;
    return CardStatus::Ok;
}

// The driver moves whole blocks; these primitives have nothing to do.
void KvriReader::writeByte(uint8_t /*b*/) {}

bool KvriReader::writeEchoedByte(uint8_t /*b*/)
{
    return false;
}

int KvriReader::readByte()
{
    return 0;
}

void KvriReader::flushInput() {}

uint8_t KvriReader::readRawByte()
{
    return 0;
}

bool KvriReader::byteAvailable()
{
    return true;
}

} // namespace kestrel
