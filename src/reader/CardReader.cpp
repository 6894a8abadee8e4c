#include "reader/CardReader.h"

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace kestrel {

namespace {

// Reader command bytes of the serial reader.
constexpr uint8_t kCmdStatus = 0x01;
constexpr uint8_t kCmdSetting = 0x02;
constexpr uint8_t kCmdReadMemory = 0x05;
constexpr uint8_t kCmdCardOn = 0x07;
constexpr uint8_t kStatusPrefix = 0xA5;
constexpr uint16_t kCardInserted = 0x40;

constexpr int kAtrRetries = 50;
constexpr int kT0Retries = 100;
// Data phases go out and come in in pieces of at most this many bytes.
constexpr int kChunk = 62;
// ISO/IEC 7816-3 limits an answer to reset to 33 bytes with TCK; a longer one is line noise.
constexpr int kMaxAtrBytes = 33;
constexpr int kLineBaud = 9600;
constexpr int kOdd = 1;
constexpr int kEven = 2;
// While a card asks for more time, Abort is looked at this often.
constexpr int64_t kCancelCheckMs = 100;

} // namespace

CardStatus CardReader::sendPps()
{
    return CardStatus::Ok;
}

uint8_t CardReader::reverseBits(uint8_t b)
{
    uint8_t r = 0;
    for (int i = 0; i < 8; ++i) {
        r = static_cast<uint8_t>((r << 1) | (b & 1));
        b = static_cast<uint8_t>(b >> 1);
    }
    return r;
}

uint8_t CardReader::convertByte(uint8_t b) const
{
    if (!m_atr.inverseConvention)
        return b;
    return reverseBits(static_cast<uint8_t>(~b));
}

uint16_t CardReader::exchangeBytes(ReaderBuffer& buffer, int sendCount, int mode, int retries)
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

uint16_t CardReader::sendReceive(ReaderBuffer& buffer, int count, int mode, int retries)
{
    count = std::clamp(count, 0, static_cast<int>(buffer.data.size()));
    for (int i = 0; i < count; ++i)
        buffer.data[static_cast<size_t>(i)] = convertByte(buffer.data[static_cast<size_t>(i)]);
    const uint16_t got = exchangeBytes(buffer, count, mode, retries);
    for (uint16_t i = 0; i < got; ++i)
        buffer.data[i] = convertByte(buffer.data[i]);
    return got;
}

uint16_t CardReader::receive(ReaderBuffer& buffer, int mode, int retries)
{
    const uint16_t got = exchangeBytes(buffer, 0, mode, retries);
    for (uint16_t i = 0; i < got; ++i)
        buffer.data[i] = convertByte(buffer.data[i]);
    return got;
}

CardStatus CardReader::readStatus(uint16_t& status)
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
    m_cardPresent = (s & kCardInserted) != 0;
    return CardStatus::Ok;
}

CardStatus CardReader::sendReaderSetting(uint8_t value)
{
    flushInput();
    if (!writeEchoedByte(kCmdSetting) || !writeEchoedByte(value))
        return CardStatus::InvalidReaderIdentification;
    delay(1);
    return CardStatus::Ok;
}

CardStatus CardReader::readerCardOn()
{
    if (!writeEchoedByte(kCmdCardOn))
        return CardStatus::InvalidReaderIdentification;
    const int s = readByte();
    if (s < 0)
        return CardStatus::InvalidReaderIdentification;
    const int chk = readByte();
    if (chk < 0 || ((s + chk) & 0xFF) != 0)
        return CardStatus::InvalidReaderIdentification;
    m_cardPresent = (s & kCardInserted) != 0;
    return setLineParameters(kEven, kLineBaud);
}

CardStatus CardReader::powerCard(int mode)
{
    flushInput();
    CardStatus r = CardStatus::Ok;
    switch (mode) {
    case 1:
        r = readerCardOn();
        if (!isOk(r))
            startReader();
        break;
    case 0:
        r = readerCardOff();
        if (!isOk(r))
            startReader();
        break;
    case 2:
        r = readerCardOff();
        if (isOk(r)) {
            r = readerCardOn();
            if (!isOk(r))
                startReader();
        }
        break;
    default:
        break;
    }
    delay(1);
    return r;
}

CardStatus CardReader::resetCard(ReaderBuffer* atr)
{
    if (!m_cardPowered)
        return CardStatus::CardNotActive;
    CardStatus r = deactivateCard();
    if (!isOk(r))
        return r;
    unsigned flags = 0;
    return activateCard(atr, flags);
}

CardStatus CardReader::deactivateCard()
{
    m_cardPowered = false;
    m_cardActive = false;
    return powerCard(0);
}

CardStatus CardReader::activateCard(ReaderBuffer* atr, unsigned& flags)
{
    m_cardActive = false;
    if (atr)
        atr->count = 0;
    if (m_cardPowered)
        return CardStatus::RepeatActivation;
    m_atr = AtrParameters{};

    uint16_t status = 0;
    CardStatus r = readStatus(status);
    if (!isOk(r))
        return r;
    if (!(status & kCardInserted))
        return CardStatus::CardNotInserted;
    r = powerCard(1);
    if (!isOk(r))
        return r;
    m_cardPowered = true;

    // Every byte of the answer (TS in its logical value) is kept while the caller's area has room.
    const int room = atr ? atr->capacity : 0;
    if (atr && atr->data.size() < atr->capacity)
        atr->data.resize(atr->capacity, 0);
    int stored = 0;
    int total = 0;
    auto store = [&](uint8_t b) {
        if (stored < room)
            atr->data[static_cast<size_t>(stored++)] = b;
    };
    auto finish = [&](CardStatus s) {
        if (atr) {
            atr->capacity = static_cast<uint16_t>(stored);
            atr->count = static_cast<uint16_t>(stored);
        }
        return s;
    };
    // The next byte of the answer after conversion, or -1 when none came (or the answer has grown
    // longer than any real one).
    auto next = [&]() -> int {
        if (total >= kMaxAtrBytes)
            return -1;
        ReaderBuffer one(1);
        if (receive(one, 2, kAtrRetries) != 1)
            return -1;
        ++total;
        store(one.data[0]);
        return one.data[0];
    };

    // TS: 3B direct, 3F inverse; an inverse-convention card through a direct UART reads 03.
    ReaderBuffer tsBuf(1);
    if (receive(tsBuf, 2, kAtrRetries) != 1)
        return finish(CardStatus::BadAnswerToReset);
    ++total;
    uint8_t ts = tsBuf.data[0];
    if (ts != 0x3B && ts != 0x3F) {
        m_atr.inverseConvention = 1;
        ts = convertByte(ts);
        if (ts != 0x3F) {
            store(ts);
            return finish(CardStatus::BadAnswerToReset);
        }
    }
    store(ts);

    const int t0 = next();
    if (t0 < 0)
        return finish(CardStatus::AuthenticationBlocked);
    m_atr.K = static_cast<uint8_t>(t0 & 0x0F);
    m_atr.Y1 = static_cast<uint8_t>(t0 >> 4);

    bool ta1Present = false;
    if (m_atr.Y1 & 0x1) {
        const int b = next();
        if (b < 0)
            return finish(CardStatus::BadAnswerToReset);
        ta1Present = true;
        m_atr.FI = static_cast<uint8_t>(b >> 4);
        m_atr.DI = static_cast<uint8_t>(b & 0x0F);
    }
    if (m_atr.Y1 & 0x2) {
        const int b = next();
        if (b < 0)
            return finish(CardStatus::BadAnswerToReset);
        m_atr.II = static_cast<uint8_t>(b >> 6);
        m_atr.PI1 = static_cast<uint8_t>(b & 0x3F);
    }
    if (m_atr.Y1 & 0x4) {
        const int b = next();
        if (b < 0)
            return finish(CardStatus::BadAnswerToReset);
        m_atr.N = static_cast<uint8_t>(b);
    }
    if (m_atr.Y1 & 0x8) {
        const int b = next();
        if (b < 0)
            return finish(CardStatus::BadAnswerToReset);
        m_atr.T = static_cast<uint8_t>(b & 0x0F);
        m_atr.Y2 = static_cast<uint8_t>(b >> 4);
    }

    if (m_atr.Y2 & 0x1) {
        if (next() < 0) // TA2
            return finish(CardStatus::BadAnswerToReset);
    }
    if (m_atr.Y2 & 0x2) {
        const int b = next();
        if (b < 0)
            return finish(CardStatus::BadAnswerToReset);
        m_atr.PI2 = static_cast<uint8_t>(b);
    }
    if (m_atr.Y2 & 0x4) {
        const int b = next();
        if (b < 0)
            return finish(CardStatus::BadAnswerToReset);
        m_atr.WI = static_cast<uint8_t>(b);
    }
    if (m_atr.Y2 & 0x8) {
        int td = next();
        if (td < 0)
            return finish(CardStatus::BadAnswerToReset);
        // Further groups TAi TBi TCi TDi, each announced by the high nibble of the TD before.
        while (td > 0x0F) {
            const int y = td >> 4;
            for (int bit = 0x1; bit <= 0x4; bit <<= 1) {
                if ((y & bit) && next() < 0)
                    return finish(CardStatus::BadAnswerToReset);
            }
            if (!(y & 0x8))
                break;
            td = next();
            if (td < 0)
                return finish(CardStatus::BadAnswerToReset);
        }
    }

    for (int i = 0; i < m_atr.K; ++i) {
        if (next() < 0)
            return finish(CardStatus::BadAnswerToReset);
    }
    finish(CardStatus::Ok);

    flags &= ~1u;
    if (ta1Present && (m_atr.FI != 1 || m_atr.DI != 1)) {
        flags |= 1u;
        sendPps();
    }

    r = setLineParameters(m_atr.inverseConvention ? kOdd : kEven, kLineBaud);
    if (isOk(r))
        m_cardActive = true;
    return r;
}

CardStatus CardReader::transmit(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3, std::span<uint8_t> data,
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

CardStatus CardReader::mayWait(int64_t start, int64_t& lastCancelCheck)
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

CardStatus CardReader::readMemoryCard(std::array<uint8_t, 32>& out)
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
    if (!(status & kCardInserted))
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

void CardReader::delay(int ms)
{
    if (ms > 10) {
        for (int i = 0; i < (ms - 1) / 10; ++i)
            sleepMs(10);
        sleepMs((ms - 1) % 10 + 1);
    } else {
        sleepMs(ms);
    }
}

bool CardReader::writeEchoedByte(uint8_t b)
{
    writeByte(b);
    return readByte() == b;
}

int CardReader::readByte()
{
    const int64_t start = clockMs();
    while (!byteAvailable()) {
        if (clockMs() - start > m_byteTimeout)
            return -1;
    }
    return readRawByte();
}

void CardReader::flushInput()
{
    // Bounded by the size of the port's input queue so that a line that never falls silent
    // cannot hold the program here.
    for (int i = 0; i < 1024 && byteAvailable(); ++i)
        readRawByte();
}

void CardReader::sleepMs(int ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int64_t CardReader::clockMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace kestrel
