#include "reader/SmartApiReader.h"

#include <algorithm>

namespace kestrel {

namespace {

// SmartOpen's arguments: device 1, input and output buffers of 256 bytes.
constexpr int32_t kOpenPort = 1;
constexpr int32_t kOpenBufferSize = 256;

constexpr int kDataRegister = 0;
constexpr int kLineRegister = 1;
constexpr int kControlRegister = 2;
constexpr int kTimingRegister3 = 3;
constexpr int kTimingRegister4 = 4;

constexpr int kByteWaiting = 0x02; // register 1
constexpr int kDeviceReady = 0x04; // register 2
constexpr int kCardPresent = 0x10; // register 2

constexpr int kIdle = 0x80;
constexpr int kStartActivation = 0x0B;
constexpr int kFirstAnswerByte = 0x03;

constexpr int kLineReset = 0x40;
constexpr int kLineEven = 0xFE;
constexpr int kLineOdd = 0xDE;
constexpr int kLineOther = 0xCE;
constexpr int kLineEnd = 0x15;

// An empty poll of a register or of the data stream waits this long before the next one.
constexpr int kPollMs = 1;
// The settle time after the answer to reset before the reader is told it is complete.
constexpr int kAnswerSettleMs = 30;

} // namespace

SmartApiReader::SmartApiReader()
{
    auto library = std::make_unique<ReaderLibrary>(kLibraryName);
    if (!library->isLoaded())
        return;
    Entries fn;
    fn.open = library->function<OpenFn>("SmartOpen");
    fn.close = library->function<CloseFn>("SmartClose");
    fn.inp = library->function<InpFn>("SmartInp");
    fn.outp = library->function<OutpFn>("SmartOutp");
    fn.read = library->function<ReadFn>("SmartRead");
    fn.write = library->function<WriteFn>("SmartWrite");
    fn.error = library->function<ErrorFn>("GetSmartError");
    fn.setCwt = library->function<CwtFn>("SetSmartCWT");
    fn.getCwt = library->function<CwtFn>("GetSmartCWT");
    if (!fn.open || !fn.close || !fn.inp || !fn.outp || !fn.read || !fn.write || !fn.error || !fn.setCwt || !fn.getCwt)
        return; // the library goes with `library`
    m_library = std::move(library);
    m_fn = fn;
}

SmartApiReader::~SmartApiReader()
{
    close();
    m_fn = Entries{};
    m_library.reset();
}

int SmartApiReader::inp(int reg)
{
    if (m_handle < 0)
        return -1;
    return m_fn.inp(m_handle, reg);
}

bool SmartApiReader::outp(int reg, int value)
{
    if (m_handle < 0)
        return false;
    return m_fn.outp(m_handle, reg, value) >= 0;
}

void SmartApiReader::counts(int32_t& waiting, int32_t& unsent)
{
    waiting = 0;
    unsent = 0;
    if (m_handle < 0)
        return;
    int32_t words[2] = {0, 0};
    if (m_fn.error(m_handle, words) < 0)
        return;
    waiting = std::max(words[0], 0);
    unsent = std::max(words[1], 0);
}

bool SmartApiReader::waitReady()
{
    const int64_t start = clockMs();
    for (;;) {
        const int value = inp(kControlRegister);
        if (value < 0)
            return false;
        if (value & kDeviceReady)
            return true;
        if (clockMs() - start > kReadyWaitMs)
            return false;
        sleepMs(kPollMs);
    }
}

void SmartApiReader::waitSent(int64_t start, int ms)
{
    for (;;) {
        int32_t waiting = 0;
        int32_t unsent = 0;
        counts(waiting, unsent);
        if (unsent == 0 || clockMs() - start > ms)
            return;
        sleepMs(kPollMs);
    }
}

CardStatus SmartApiReader::open(const QString& /*name*/, int /*reserved*/)
{
    if (!m_library)
        return CardStatus::ReaderLibraryError;
    if (m_handle >= 0) {
        m_fn.close(m_handle);
        m_handle = -1;
        m_portOpen = false;
        m_readerConnected = false;
    }
    m_cardActive = false;
    m_cardPowered = false;
    m_answerCount = 0;
    const int32_t handle = m_fn.open(kOpenPort, kOpenBufferSize, kOpenBufferSize);
    if (handle < 0)
        return CardStatus::SmartcardInitializationError;
    m_handle = handle;
    m_portOpen = true;
    const CardStatus r = shutDownReader();
    if (!isOk(r))
        return r;
    return startReader();
}

CardStatus SmartApiReader::close()
{
    CardStatus r = CardStatus::Ok;
    if (m_handle >= 0) {
        r = shutDownReader();
        m_fn.close(m_handle);
        m_handle = -1;
    }
    m_readerConnected = false;
    m_portOpen = false;
    m_cardActive = false;
    m_cardPowered = false;
    m_answerCount = 0;
    return r;
}

CardStatus SmartApiReader::startReader()
{
    m_answerCount = 0;
    m_readerConnected = false;
    if (m_handle < 0)
        return CardStatus::PortNotSet;
    if (outp(kControlRegister, kIdle) && waitReady() && outp(kTimingRegister3, 0) && waitReady() &&
        outp(kTimingRegister4, 0) && waitReady()) {
        m_readerConnected = true;
        return CardStatus::Ok;
    }
    outp(kControlRegister, kIdle);
    return CardStatus::NonSpecificError;
}

CardStatus SmartApiReader::shutDownReader()
{
    m_readerConnected = false;
    if (m_handle < 0)
        return CardStatus::PortNotSet;
    if (outp(kControlRegister, kIdle) && waitReady())
        return CardStatus::Ok;
    outp(kControlRegister, kIdle);
    return CardStatus::NonSpecificError;
}

CardStatus SmartApiReader::readerCardOff()
{
    return startReader();
}

CardStatus SmartApiReader::readerCardOn()
{
    // The card is powered through powerCard.
    return CardStatus::NonSpecificError;
}

CardStatus SmartApiReader::sendReaderSetting(uint8_t /*value*/)
{
    return CardStatus::Ok;
}

CardStatus SmartApiReader::sendPps()
{
    return CardStatus::Ok;
}

CardStatus SmartApiReader::setLineParameters(int parity, int /*baud*/)
{
    if (m_handle < 0)
        return CardStatus::ReaderNotConnected;
    const int setting = parity == 2 ? kLineEven : parity == 1 ? kLineOdd : kLineOther;
    const bool ok = outp(kLineRegister, kLineReset) && outp(kLineRegister, setting);
    outp(kLineRegister, kLineEnd);
    return ok ? CardStatus::Ok : CardStatus::PortOperationError;
}

CardStatus SmartApiReader::readStatus(uint16_t& status)
{
    if (m_handle < 0)
        return CardStatus::PortNotSet;
    const int value = inp(kControlRegister);
    if (value < 0)
        return CardStatus::NonSpecificError;
    status = (value & kCardPresent) ? CardReader::kStatusCardInserted : 0;
    m_cardPresent = status != 0;
    return CardStatus::Ok;
}

CardStatus SmartApiReader::powerOn()
{
    auto fail = [this] {
        shutDownReader();
        return CardStatus::NonSpecificError;
    };
    if (!outp(kControlRegister, kStartActivation))
        return fail();
    m_answerCount = 0;
    int index = 0;
    int length = 0;
    int64_t deadline = clockMs() + kAnswerWaitMs;
    for (;;) {
        if (clockMs() > deadline) {
            readerCardOff();
            shutDownReader();
            return CardStatus::ErrorInDataBlock;
        }
        const int line = inp(kLineRegister);
        if (line < 0)
            return fail();
        if (!(line & kByteWaiting)) {
            sleepMs(kPollMs);
            continue;
        }
        if (index == 0 && !outp(kControlRegister, kFirstAnswerByte))
            return fail();
        const int byte = inp(kDataRegister);
        if (byte < 0)
            return fail();
        // Byte 0 is the length, byte 1 is not part of the answer.
        if (index == 0)
            length = byte;
        else if (index >= 2 && m_answerCount < m_answer.size())
            m_answer[m_answerCount++] = static_cast<uint8_t>(byte);
        deadline = clockMs() + kNextAnswerByteMs;
        ++index;
        if (index > (length & 0x3F)) {
            delay(kAnswerSettleMs);
            if (!outp(kTimingRegister3, 3) || !outp(kTimingRegister4, 0x80))
                return fail();
            return CardStatus::Ok;
        }
    }
}

CardStatus SmartApiReader::powerOff()
{
    const CardStatus r = readerCardOff();
    if (!isOk(r)) {
        startReader();
        shutDownReader();
    }
    return r;
}

CardStatus SmartApiReader::powerCard(int mode)
{
    if (m_handle < 0)
        return CardStatus::PortNotSet;
    switch (mode) {
    case 1:
        return powerOn();
    case 0:
        return powerOff();
    case 2: {
        const CardStatus r = powerOff();
        if (!isOk(r))
            return r;
        return powerOn();
    }
    default:
        shutDownReader();
        return CardStatus::NonSpecificError;
    }
}

CardStatus SmartApiReader::transmit(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3,
                                    std::span<uint8_t> data, bool toCard, uint16_t& sw)
{
    CardStatus r = T0Engine::transmit(cla, ins, p1, p2, p3, data, toCard, sw);
    if (r != CardStatus::ErrorInterpretingCommand)
        return r;
    // Whatever the failed try left in the stream would be taken for the answer to the second.
    flushInput();
    return T0Engine::transmit(cla, ins, p1, p2, p3, data, toCard, sw);
}

uint16_t SmartApiReader::exchangeBytes(ReaderBuffer& buffer, int sendCount, int /*mode*/, int retries)
{
    buffer.count = 0;
    if (m_handle < 0)
        return 0;
    if (buffer.data.size() < buffer.capacity)
        buffer.data.resize(buffer.capacity, 0);
    retries = std::max(retries, 0);
    const int capacity = buffer.capacity;
    sendCount = std::clamp(sendCount, 0, static_cast<int>(buffer.data.size()));

    const int64_t start = clockMs();
    waitSent(start, retries * 10);
    if (sendCount > 0 && m_fn.write(m_handle, buffer.data.data(), sendCount) < sendCount)
        return 0;
    if (sendCount >= capacity) {
        buffer.count = static_cast<uint16_t>(sendCount);
        return buffer.count;
    }

    // The reader does not echo: what comes back goes after the bytes sent, first what is left of
    // the answer to reset, then the data stream.
    int pos = sendCount;
    while (pos < capacity && m_answerCount > 0)
        buffer.data[static_cast<size_t>(pos++)] = takeAnswerByte();
    const int wanted = capacity - pos;
    if (wanted > 0) {
        int32_t waiting = 0;
        int32_t unsent = 0;
        for (;;) {
            counts(waiting, unsent);
            if (waiting >= wanted || clockMs() - start > static_cast<int64_t>(retries) * 20)
                break;
            sleepMs(kPollMs);
        }
        const int32_t ask = std::min<int32_t>(waiting, wanted);
        if (ask > 0) {
            const int32_t got = m_fn.read(m_handle, buffer.data.data() + pos, ask);
            pos += std::clamp<int32_t>(got, 0, ask);
        }
    }
    buffer.count = static_cast<uint16_t>(pos);
    return buffer.count;
}

uint8_t SmartApiReader::takeAnswerByte()
{
    const uint8_t b = m_answer[0];
    std::copy(m_answer.begin() + 1, m_answer.begin() + static_cast<std::ptrdiff_t>(m_answerCount), m_answer.begin());
    --m_answerCount;
    return b;
}

bool SmartApiReader::byteAvailable()
{
    if (m_answerCount > 0)
        return true;
    if (m_handle < 0)
        return false;
    int32_t waiting = 0;
    int32_t unsent = 0;
    counts(waiting, unsent);
    return waiting > 0;
}

uint8_t SmartApiReader::readRawByte()
{
    if (m_answerCount > 0)
        return takeAnswerByte();
    uint8_t b = 0;
    if (m_handle >= 0 && m_fn.read(m_handle, &b, 1) != 1)
        b = 0;
    return b;
}

int SmartApiReader::readByte()
{
    const int64_t start = clockMs();
    while (!byteAvailable()) {
        if (clockMs() - start > m_byteTimeout)
            return -1;
        sleepMs(kPollMs);
    }
    return readRawByte();
}

void SmartApiReader::writeByte(uint8_t b)
{
    if (m_handle < 0)
        return;
    waitSent(clockMs(), kSendWaitMs);
    m_fn.write(m_handle, &b, 1);
}

} // namespace kestrel
