#include "emulator/SerialFace.h"

#include <algorithm>
#include <bit>
#include <thread>

#include "gsm/StatusWords.h"

namespace kestrel::emulator {

namespace {

constexpr uint8_t kNull = 0x60;
constexpr uint8_t kPpss = 0xFF;

uint8_t reverseBits(uint8_t b)
{
    b = static_cast<uint8_t>((b & 0xF0) >> 4 | (b & 0x0F) << 4);
    b = static_cast<uint8_t>((b & 0xCC) >> 2 | (b & 0x33) << 2);
    b = static_cast<uint8_t>((b & 0xAA) >> 1 | (b & 0x55) << 1);
    return b;
}

// An inverse-convention character as a direct-convention UART sees it, and back: the conversion is
// its own inverse.
uint8_t invert(uint8_t b)
{
    return reverseBits(static_cast<uint8_t>(~b));
}

class SteadyClock final : public SerialFace::Clock
{
public:
    SerialFace::TimePoint now() override { return std::chrono::steady_clock::now(); }
    void sleepUntil(SerialFace::TimePoint when) override { std::this_thread::sleep_until(when); }
};

SteadyClock g_steadyClock;

} // namespace

SerialFace::SerialFace(Icc& card) : SerialFace(card, Options{}) {}

SerialFace::SerialFace(Icc& card, const Options& options) : m_card(card), m_clock(&g_steadyClock)
{
    setOptions(options);
}

SerialFace::~SerialFace()
{
    if (m_cardPowered)
        m_card.powerOff();
}

void SerialFace::setOptions(const Options& options)
{
    m_options = options;
    // 12 etu per character; an etu is one bit time at the line speed.
    m_byteTime =
        m_options.baud > 0 ? std::chrono::nanoseconds(12'000'000'000LL / m_options.baud) : std::chrono::nanoseconds(0);
}

void SerialFace::setClock(Clock* clock)
{
    m_clock = clock ? clock : &g_steadyClock;
}

std::optional<SerialFace::TimePoint> SerialFace::nextDue() const
{
    if (m_out.empty())
        return std::nullopt;
    return m_out.front().due;
}

// --- host side -----------------------------------------------------------------------------------

void SerialFace::hostWrite(uint8_t byte)
{
    if (m_lineBaud != kReaderBaud)
        return; // framed at the wrong speed, the reader cannot make sense of it
    if (paced())
        m_lineFree = std::max(m_lineFree, m_clock->now());

    switch (m_mode) {
    case Mode::Off:
        return;
    case Mode::Reader:
        readerByte(byte);
        return;
    case Mode::Card: {
        emitRaw(byte); // the echo of the shared I/O line, bit for bit
        // The card checks each character's parity: even for a direct-convention card; for an
        // inverse-convention one the complemented parity bit makes it odd on a direct UART. A
        // character that fails is refused, and as the host's UART never repeats it, it is lost.
        const int cardParity = m_inverse ? kParityOdd : kParityEven;
        if (m_lineParity == cardParity)
            cardByte(m_inverse ? invert(byte) : byte);
        return;
    }
    }
}

int SerialFace::hostRead(int timeoutMs)
{
    const auto timeout = std::chrono::milliseconds(std::max(timeoutMs, 0));
    if (m_lineBaud != kReaderBaud)
        m_out.clear(); // whatever comes at the reader's speed arrives as garbage and is lost

    if (m_out.empty()) {
        if (m_stalled && m_mode == Mode::Card && m_lineBaud == kReaderBaud)
            return stalledNull(timeout);
        if (timeout.count() > 0)
            m_clock->sleepUntil(m_clock->now() + timeout);
        return -1;
    }
    if (paced()) {
        const TimePoint due = m_out.front().due;
        const TimePoint now = m_clock->now();
        if (due > now) {
            const TimePoint deadline = now + timeout;
            if (due > deadline) {
                if (timeout.count() > 0)
                    m_clock->sleepUntil(deadline);
                return -1;
            }
            m_clock->sleepUntil(due);
        }
    }
    const uint8_t byte = m_out.front().byte;
    m_out.pop_front();
    return byte;
}

void SerialFace::setDtr(bool on)
{
    m_dtr = on;
    updatePower();
}

void SerialFace::setRts(bool on)
{
    m_rts = on;
    updatePower();
}

void SerialFace::setLine(int baud, int parity)
{
    m_lineBaud = baud;
    m_lineParity = parity;
}

void SerialFace::purge()
{
    if (!paced()) {
        m_out.clear();
        return;
    }
    // Only what has already arrived is in the host's buffer; the rest is still to be sent.
    const TimePoint now = m_clock->now();
    while (!m_out.empty() && m_out.front().due <= now)
        m_out.pop_front();
}

// --- the reader ----------------------------------------------------------------------------------

void SerialFace::updatePower()
{
    const bool run = m_dtr && m_rts;
    if (run == (m_mode != Mode::Off))
        return;
    if (run)
        startReader();
    else
        stopReader();
}

void SerialFace::startReader()
{
    m_mode = Mode::Reader;
    m_settingPending = false;
    if (paced())
        m_lineFree = std::max(m_lineFree, m_clock->now());
    for (char c : m_options.identification)
        emitRaw(static_cast<uint8_t>(c));
}

void SerialFace::stopReader()
{
    if (m_cardPowered)
        m_card.powerOff();
    m_cardPowered = false;
    m_stalled = false;
    m_mode = Mode::Off;
    m_settingPending = false;
    dropUnsent();
}

void SerialFace::dropUnsent()
{
    if (!paced())
        return; // everything has arrived already
    const TimePoint now = m_clock->now();
    while (!m_out.empty() && m_out.back().due > now)
        m_out.pop_back();
    m_lineFree = std::min(m_lineFree, now);
}

uint8_t SerialFace::statusByte() const
{
    const uint8_t present = m_card.present() ? 0x40 : 0x00;
    return static_cast<uint8_t>((m_options.statusBits & ~0x40) | present);
}

void SerialFace::readerByte(uint8_t byte)
{
    if (m_settingPending) {
        m_settingPending = false;
        m_lastSetting = byte;
        emitRaw(byte);
        return;
    }
    switch (byte) {
    case 0x01: {
        if (m_options.statusPrefix)
            emitRaw(0xA5);
        emitRaw(0x01);
        const uint8_t s = statusByte();
        emitRaw(s);
        emitRaw(static_cast<uint8_t>(-s));
        return;
    }
    case 0x02:
        emitRaw(0x02);
        m_settingPending = true;
        return;
    case 0x05:
        readMemoryCard();
        return;
    case 0x07:
        cardOn();
        return;
    default:
        return; // not a command of this reader: no answer
    }
}

void SerialFace::cardOn()
{
    emitRaw(0x07);
    const uint8_t s = statusByte();
    emitRaw(s);
    emitRaw(static_cast<uint8_t>(-s));
    if (!m_card.present())
        return; // no contacts to power

    const std::vector<uint8_t> atr = m_card.powerOn();
    m_cardPowered = true;
    m_stalled = false;
    m_mode = Mode::Card;
    m_inverse = m_options.inverseConvention;
    m_cardState = CardState::Header;
    m_headerLength = 0;
    m_ppsLength = 0;
    m_ppsAllowed = true;
    for (size_t i = 0; i < atr.size(); ++i) {
        // TS announces the convention: 0x3B direct, 0x3F inverse.
        const uint8_t b = (i == 0 && m_inverse) ? uint8_t{0x3F} : atr[i];
        emitCard(b);
    }
}

void SerialFace::readMemoryCard()
{
    emitRaw(0x05);
    std::array<uint8_t, 32> memory{};
    // A card that is no memory card (or no card at all) leaves the data line high.
    if (!m_card.present() || !m_card.readMemory(memory))
        memory.fill(0xFF);
    uint8_t sum = 0;
    for (uint8_t b : memory) {
        const uint8_t onLine = reverseBits(b);
        sum = static_cast<uint8_t>(sum + onLine);
        emitRaw(onLine);
    }
    emitRaw(static_cast<uint8_t>(-sum));
}

// --- the card, T=0 -------------------------------------------------------------------------------

void SerialFace::cardByte(uint8_t byte)
{
    if (m_stalled)
        return; // busy for good: the card hears nothing
    switch (m_cardState) {
    case CardState::Header:
        if (m_headerLength == 0 && m_ppsAllowed && byte == kPpss) {
            m_cardState = CardState::Pps;
            m_pps[0] = byte;
            m_ppsLength = 1;
            return;
        }
        m_ppsAllowed = false;
        m_header[m_headerLength++] = byte;
        if (m_headerLength == m_header.size()) {
            m_headerLength = 0;
            startCommand();
        }
        return;
    case CardState::Pps:
        ppsByte(byte);
        return;
    case CardState::Data:
        dataByte(byte);
        return;
    }
}

// PPSS PPS0 [PPS1] [PPS2] [PPS3] PCK; PPS0 bits 5-7 announce PPS1-3, its low nibble the protocol.
void SerialFace::ppsByte(uint8_t byte)
{
    m_pps[m_ppsLength++] = byte;
    if (m_ppsLength < 2)
        return;
    const uint8_t pps0 = m_pps[1];
    const size_t length = 3 + static_cast<size_t>(std::popcount(static_cast<unsigned>((pps0 >> 4) & 0x07)));
    if (m_ppsLength < length)
        return;

    m_cardState = CardState::Header;
    m_ppsAllowed = false;
    uint8_t check = 0;
    for (size_t i = 0; i < length; ++i)
        check ^= m_pps[i];
    if (check != 0 || (pps0 & 0x0F) != 0)
        return; // a broken request, or one for a protocol this card lacks: no answer

    // The card stays at the default rate: it answers PPSS, PPS0 without PPS1, PCK, which equals
    // the request when that asked for nothing else.
    const bool keepsPps1 = (pps0 & 0x10) != 0 && m_pps[2] == 0x11;
    const uint8_t answer0 = keepsPps1 ? uint8_t{0x10} : uint8_t{0x00};
    emitCard(kPpss);
    emitCard(answer0);
    if (keepsPps1)
        emitCard(0x11);
    emitCard(static_cast<uint8_t>(kPpss ^ answer0 ^ (keepsPps1 ? 0x11 : 0x00)));
}

void SerialFace::startCommand()
{
    m_apdu = Apdu{m_header[0], m_header[1], m_header[2], m_header[3], m_header[4], {}};
    if (!m_card.present())
        return; // the header went nowhere; only the echo came back
    const uint8_t ins = m_apdu.ins;
    if ((ins & 0xF0) == 0x60 || (ins & 0xF0) == 0x90) {
        // Such an INS would read as a procedure byte: ISO/IEC 7816-3 makes it invalid.
        emitStatus(gsm::sw::kUnknownInstruction);
        return;
    }
    if (!Icc::isIncoming(ins)) {
        answerOutgoing(m_card.process(m_apdu));
        return;
    }
    if (m_apdu.p3 == 0) {
        finishIncoming(); // no data to ask for
        return;
    }
    m_cardState = CardState::Data;
    m_apdu.data.reserve(m_apdu.p3);
    switch (m_options.procedure) {
    case Procedure::Ack:
        emitProcedure(ins);
        break;
    case Procedure::AckPlusOne:
        emitProcedure(static_cast<uint8_t>(ins + 1));
        break;
    case Procedure::ByteByByte:
    case Procedure::FirstByteThenAck:
        emitProcedure(static_cast<uint8_t>(ins ^ 0xFF));
        break;
    }
}

void SerialFace::dataByte(uint8_t byte)
{
    m_apdu.data.push_back(byte);
    if (m_apdu.data.size() == m_apdu.p3) {
        m_cardState = CardState::Header;
        finishIncoming();
        return;
    }
    if (m_options.procedure == Procedure::ByteByByte)
        emitProcedure(static_cast<uint8_t>(m_apdu.ins ^ 0xFF));
    else if (m_options.procedure == Procedure::FirstByteThenAck && m_apdu.data.size() == 1)
        emitProcedure(m_apdu.ins);
}

void SerialFace::finishIncoming()
{
    const CardResponse response = m_card.process(m_apdu);
    if (!answerFault(response))
        emitStatus(response.sw); // a writing command returns no data
}

void SerialFace::answerOutgoing(const CardResponse& response)
{
    if (answerFault(response))
        return;
    if (response.data.empty()) {
        emitStatus(response.sw); // an error: no procedure byte, no data
        return;
    }
    const size_t expected = m_apdu.p3 == 0 ? 256 : m_apdu.p3;
    const size_t count = std::min(expected, response.data.size());
    const uint8_t ins = m_apdu.ins;
    const uint8_t one = static_cast<uint8_t>(ins ^ 0xFF);
    size_t i = 0;
    switch (m_options.procedure) {
    case Procedure::Ack:
        emitProcedure(ins);
        break;
    case Procedure::AckPlusOne:
        emitProcedure(static_cast<uint8_t>(ins + 1));
        break;
    case Procedure::ByteByByte:
        for (; i < count; ++i) {
            emitProcedure(one);
            emitCard(response.data[i]);
        }
        break;
    case Procedure::FirstByteThenAck:
        emitProcedure(one);
        emitCard(response.data[i++]);
        if (i < count)
            emitProcedure(ins);
        break;
    }
    for (; i < count; ++i)
        emitCard(response.data[i]);
    emitStatus(response.sw);
}

// A pulled card says nothing; a garbled one sends its noise instead of the answer; a stalled one
// asks for more time from now on.
bool SerialFace::answerFault(const CardResponse& response)
{
    if (response.silent || !m_card.present())
        return true;
    if (response.stalled) {
        m_stalled = true;
        m_nextNull = m_clock->now();
        return true;
    }
    if (!response.garbled)
        return false;
    for (uint8_t b : response.data)
        emitCard(b);
    return true;
}

// --- the line ------------------------------------------------------------------------------------

// The next NULL of a stalled card when it is due within timeout.
int SerialFace::stalledNull(std::chrono::milliseconds timeout)
{
    const TimePoint now = m_clock->now();
    if (m_nextNull > now + timeout) {
        if (timeout.count() > 0)
            m_clock->sleepUntil(now + timeout);
        return -1;
    }
    if (m_nextNull > now)
        m_clock->sleepUntil(m_nextNull);
    m_nextNull = std::max(m_nextNull, now) + kStalledNullInterval;
    ++m_lineBytes;
    return m_inverse ? invert(kNull) : kNull;
}

void SerialFace::emitRaw(uint8_t byte)
{
    ++m_lineBytes;
    if (!paced()) {
        m_out.push_back({byte, TimePoint{}});
        return;
    }
    // Callers have brought m_lineFree up to the present; each byte follows the previous one.
    m_lineFree += m_byteTime;
    m_out.push_back({byte, m_lineFree});
}

void SerialFace::emitCard(uint8_t byte)
{
    emitRaw(m_inverse ? invert(byte) : byte);
}

void SerialFace::emitProcedure(uint8_t byte)
{
    for (int i = 0; i < m_options.nullBytes; ++i)
        emitCard(kNull);
    emitCard(byte);
}

void SerialFace::emitStatus(uint16_t sw)
{
    emitProcedure(static_cast<uint8_t>(sw >> 8));
    emitCard(static_cast<uint8_t>(sw & 0xFF));
}

} // namespace kestrel::emulator
