#include "reader/T0Engine.h"

#include <algorithm>
#include <vector>

namespace kestrel {

namespace {

// Reader command bytes of the serial reader.
constexpr uint8_t kCmdStatus = 0x01;
constexpr uint8_t kCmdSetting = 0x02;
constexpr uint8_t kCmdReadMemory = 0x05;
constexpr uint8_t kCmdCardOn = 0x07;
constexpr uint8_t kStatusPrefix = 0xA5;

constexpr int kAtrRetries = 50;
constexpr int kT0Retries = 100;
// Data phases go out and come in in pieces of at most this many bytes.
constexpr int kChunk = 62;
constexpr int kLineBaud = 9600;
constexpr int kEven = 2;
// While a card asks for more time, Abort is looked at this often.
constexpr int64_t kCancelCheckMs = 100;

} // namespace

uint8_t T0Engine::reverseBits(uint8_t b)
{
    uint8_t r = 0;
    for (int i = 0; i < 8; ++i) {
        r = static_cast<uint8_t>((r << 1) | (b & 1));
        b = static_cast<uint8_t>(b >> 1);
    }
    return r;
}

uint8_t T0Engine::convertByte(uint8_t b) const
{
    if (!m_atr.inverseConvention)
        return b;
    return reverseBits(static_cast<uint8_t>(~b));
}

uint16_t T0Engine::exchangeBytes(ReaderBuffer& buffer, int sendCount, int mode, int retries)
{
    if (buffer.data.size() < buffer.capacity)
        buffer.data.resize(buffer.capacity, 0);
    sendCount = std::clamp(sendCount, 0, static_cast<int>(buffer.data.size()));
    const int capacity = buffer.capacity;
    int received = 0;
    for (int i = 0; i < sendCount; ++i) {
        writeByte(buffer.data[static_cast<size_t>(i)]);
        // Drain echoes while a long block is still going out, so the port's input queue never
        // overflows. At most one byte per byte sent, and only from the tenth on, so the receive
        // position always stays behind the bytes still to be sent.
        if (i > 8 && mode != 0 && received < capacity && byteAvailable()) {
            const int b = readByte();
            if (b >= 0)
                buffer.data[static_cast<size_t>(received++)] = static_cast<uint8_t>(b);
        }
    }
    if (mode != 0) {
        while (received < capacity) {
            if (byteAvailable()) {
                const int b = readByte();
                if (b >= 0) {
                    buffer.data[static_cast<size_t>(received++)] = static_cast<uint8_t>(b);
                    continue;
                }
            }
            if (mode == 1 || retries <= 0)
                break;
            delay(10);
            --retries;
        }
    }
    if (mode == 3)
        flushInput();
    buffer.count = static_cast<uint16_t>(received);
    return buffer.count;
}

uint16_t T0Engine::sendReceive(ReaderBuffer& buffer, int count, int mode, int retries)
{
    count = std::clamp(count, 0, static_cast<int>(buffer.data.size()));
    for (int i = 0; i < count; ++i)
        buffer.data[static_cast<size_t>(i)] = convertByte(buffer.data[static_cast<size_t>(i)]);
    const uint16_t got = exchangeBytes(buffer, count, mode, retries);
    for (uint16_t i = 0; i < got; ++i)
        buffer.data[i] = convertByte(buffer.data[i]);
    return got;
}

uint16_t T0Engine::receive(ReaderBuffer& buffer, int mode, int retries)
{
    const uint16_t got = exchangeBytes(buffer, 0, mode, retries);
    for (uint16_t i = 0; i < got; ++i)
        buffer.data[i] = convertByte(buffer.data[i]);
    return got;
}

CardStatus T0Engine::readStatus(uint16_t& status)
{
    flushInput();
    writeByte(kCmdStatus);
    int echo = readByte();
    if (echo == kStatusPrefix)
        echo = readByte();
    if (echo != kCmdStatus)
        return CardStatus::GeneralReaderError;
    const int s = readByte();
    if (s < 0)
        return CardStatus::GeneralReaderError;
    const int chk = readByte();
    if (chk < 0)
        return CardStatus::GeneralReaderError;
    delay(1);
    if (((s + chk) & 0xFF) != 0)
        return CardStatus::GeneralReaderError;
    status = static_cast<uint16_t>(s);
    m_cardPresent = (s & CardReader::kStatusCardInserted) != 0;
    return CardStatus::Ok;
}

CardStatus T0Engine::sendReaderSetting(uint8_t value)
{
    flushInput();
    if (!writeEchoedByte(kCmdSetting) || !writeEchoedByte(value))
        return CardStatus::InvalidReaderIdentification;
    delay(1);
    return CardStatus::Ok;
}

CardStatus T0Engine::readerCardOn()
{
    if (!writeEchoedByte(kCmdCardOn))
        return CardStatus::InvalidReaderIdentification;
    const int s = readByte();
    if (s < 0)
        return CardStatus::InvalidReaderIdentification;
    const int chk = readByte();
    if (chk < 0 || ((s + chk) & 0xFF) != 0)
        return CardStatus::InvalidReaderIdentification;
    m_cardPresent = (s & CardReader::kStatusCardInserted) != 0;
    return setLineParameters(kEven, kLineBaud);
}

CardStatus T0Engine::transmit(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3, std::span<uint8_t> data,
                              bool toCard, uint16_t& sw)
{
    if (!m_portOpen || !m_cardActive || !m_cardPowered)
        return CardStatus::CardNotActive;
    const size_t n = (!toCard && p3 == 0) ? 256 : p3;
    if (data.size() < n)
        return CardStatus::NonSpecificError;

    const uint8_t header[5] = {cla, ins, p1, p2, p3};
    ReaderBuffer head(6, header);
    if (sendReceive(head, 5, 2, kT0Retries) != 6 || !std::equal(header, header + 5, head.data.begin()))
        return CardStatus::ErrorInterpretingCommand;
    int h = head.data[5];

    // Takes the next procedure byte; -1 when none came.
    auto nextByte = [&]() -> int {
        ReaderBuffer one(1);
        if (receive(one, 2, kT0Retries) != 1)
            return -1;
        return one.data[0];
    };

    // A card may ask for more time again and again; the command ends when the time limit has
    // passed, when Abort is pressed, or after as many requests as the limit has milliseconds (a
    // character takes over a millisecond at 9600 bit/s, so this count only ends a command whose
    // clock stands still).
    const int64_t start = clockMs();
    int64_t lastCancelCheck = start;
    int requests = 0;
    auto moreTime = [&]() -> CardStatus {
        if (++requests > m_commandTimeLimit)
            return CardStatus::StatusError;
        return mayWait(start, lastCancelCheck);
    };

    size_t pos = 0;
    for (;;) {
        if (h == 0x60) {
            // NULL: the card asks for more time.
            if (const CardStatus s = moreTime(); !isOk(s))
                return s;
            h = nextByte();
            if (h < 0)
                return CardStatus::ErrorInterpretingCommand;
        } else if ((h & 0xF0) == 0x60 || (h & 0xF0) == 0x90) {
            const int sw2 = nextByte();
            if (sw2 < 0)
                return CardStatus::StatusError;
            sw = static_cast<uint16_t>(h * 256 + sw2);
            return CardStatus::Ok;
        } else if (h == (ins ^ 0xFF)) {
            // One data byte, then the next procedure byte.
            if (pos < n) {
                ReaderBuffer two(2);
                if (toCard) {
                    two.data[0] = data[pos];
                    if (sendReceive(two, 1, 2, kT0Retries) != 2 || two.data[0] != data[pos])
                        return CardStatus::ErrorInDataBlock;
                } else {
                    if (receive(two, 2, kT0Retries) != 2)
                        return CardStatus::ErrorInDataBlock;
                    data[pos] = two.data[0];
                }
                h = two.data[1];
                ++pos;
            } else {
                // INS XOR FF with all data sent: nothing to do but wait, as for NULL.
                if (const CardStatus s = moreTime(); !isOk(s))
                    return s;
                h = nextByte();
                if (h < 0)
                    return CardStatus::ErrorInterpretingCommand;
            }
        } else if (h == ins || h == ins + 1) {
            // All remaining data bytes.
            while (pos < n) {
                const size_t len = std::min<size_t>(kChunk, n - pos);
                const std::span<uint8_t> part = data.subspan(pos, len);
                if (toCard) {
                    ReaderBuffer chunk(static_cast<uint16_t>(len), part);
                    if (sendReceive(chunk, static_cast<int>(len), 2, kT0Retries) != len ||
                        !std::equal(part.begin(), part.end(), chunk.data.begin()))
                        return CardStatus::ErrorInDataBlock;
                } else {
                    ReaderBuffer chunk(static_cast<uint16_t>(len));
                    if (receive(chunk, 2, kT0Retries) != len)
                        return CardStatus::ErrorInterpretingCommand;
                    std::copy_n(chunk.data.begin(), len, part.begin());
                }
                pos += len;
            }
            h = nextByte();
            if (h < 0)
                return CardStatus::StatusError;
        } else {
            return CardStatus::ErrorInterpretingCommand;
        }
    }
}

CardStatus T0Engine::mayWait(int64_t start, int64_t& lastCancelCheck)
{
    const int64_t now = clockMs();
    if (m_cancelCheck && now - lastCancelCheck >= kCancelCheckMs) {
        lastCancelCheck = now;
        if (m_cancelCheck())
            return CardStatus::CancelledByUser;
    }
    if (now - start > m_commandTimeLimit)
        return CardStatus::StatusError;
    return CardStatus::Ok;
}

CardStatus T0Engine::readMemoryCard(std::array<uint8_t, 32>& out)
{
    m_readerConnected = false;
    m_cardPresent = false;
    m_cardActive = false;
    m_cardPowered = false;

    CardStatus r = readerCardOff();
    if (!isOk(r))
        return r;
    if (!m_readerConnected)
        return CardStatus::ReaderNotConnected;
    uint16_t status = 0;
    r = readStatus(status);
    if (!isOk(r))
        return r;
    if (!(status & CardReader::kStatusCardInserted))
        return CardStatus::MemoryCardNotInserted;

    // The reader may be left in its memory-card mode by a failed read; reset it either way.
    auto fail = [&](CardStatus s) {
        readerCardOff();
        return s;
    };
    flushInput();
    if (!writeEchoedByte(kCmdReadMemory))
        return fail(CardStatus::InvalidReaderIdentification);
    // 32 data bytes, least significant bit first, and a check byte: all 33 sum to 0 mod 256.
    std::array<uint8_t, 32> bytes{};
    unsigned sum = 0;
    for (int i = 0; i < 33; ++i) {
        const int b = readByte();
        if (b < 0)
            return fail(CardStatus::InvalidReaderIdentification);
        sum += static_cast<unsigned>(b);
        if (i < 32)
            bytes[static_cast<size_t>(i)] = reverseBits(static_cast<uint8_t>(b));
    }
    if ((sum & 0xFF) != 0)
        return fail(CardStatus::InvalidReaderIdentification);
    r = readerCardOff();
    if (!isOk(r))
        return r;
    out = bytes;
    return CardStatus::Ok;
}

bool T0Engine::writeEchoedByte(uint8_t b)
{
    writeByte(b);
    return readByte() == b;
}

int T0Engine::readByte()
{
    const int64_t start = clockMs();
    while (!byteAvailable()) {
        if (clockMs() - start > m_byteTimeout)
            return -1;
    }
    return readRawByte();
}

void T0Engine::flushInput()
{
    // Bounded by the size of the port's input queue so that a line that never falls silent
    // cannot hold the program here.
    for (int i = 0; i < 1024 && byteAvailable(); ++i)
        readRawByte();
}

int T0Engine::nextAnswerByte()
{
    ReaderBuffer one(1);
    if (receive(one, 2, kAtrRetries) != 1)
        return -1;
    return one.data[0];
}

uint8_t T0Engine::inverseAnswerByte(uint8_t b)
{
    return convertByte(b);
}

} // namespace kestrel
