// The serial reader's card engine against a card that answers with the fuzz input: the answer to
// reset, the T=0 procedure bytes, data bytes and status words. The line plays the reader itself
// (its name after the DTR pulse, status and card-on answers, echoes while the card is on) and runs
// on virtual time, so time-outs cost nothing.
//
// Input: a sequence of chunks, each a length byte and that many card bytes. The first chunk follows
// the reader's card-on answer; each further chunk is released after the next byte the program
// writes while the card is on. A length byte of FF (255 bytes) releases the next chunk straight
// after it. A missing chunk is a silent card.
//
// On every input the card is activated and, when that succeeds, given SELECT, READ BINARY, READ
// RECORD (256 bytes), UPDATE RECORD and GET RESPONSE, then deactivated.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "reader/ReaderBuffer.h"
#include "reader/SerialLine.h"
#include "reader/SerialReader.h"

using namespace kestrel;
using kestrel::fuzz::check;

namespace {

struct FarEnd
{
    std::span<const uint8_t> card; // the rest of the fuzz input
    std::deque<uint8_t> input;     // bytes on their way to the program
    int64_t clock = 0;
    bool dtr = false;
    bool cardOn = false;
    bool settingValueNext = false;

    void releaseChunk()
    {
        for (;;) {
            if (card.empty())
                return;
            const std::size_t length = std::min<std::size_t>(card[0], card.size() - 1);
            const bool more = card[0] == 0xFF;
            input.insert(input.end(), card.begin() + 1, card.begin() + 1 + static_cast<std::ptrdiff_t>(length));
            card = card.subspan(1 + length);
            if (!more)
                return;
        }
    }

    void onWrite(uint8_t b)
    {
        if (cardOn) {
            input.push_back(b);
            releaseChunk();
            return;
        }
        if (settingValueNext) {
            settingValueNext = false;
            input.push_back(b);
            return;
        }
        switch (b) {
        case 0x01: // status: card inserted
            input.insert(input.end(), {0x01, 0x40, 0xC0});
            break;
        case 0x02: // setting, its value follows
            input.push_back(b);
            settingValueNext = true;
            break;
        case 0x07: // card on, then the card's answer to reset
            input.insert(input.end(), {0x07, 0x40, 0xC0});
            cardOn = true;
            releaseChunk();
            break;
        default:
            break;
        }
    }

    void onDtr(bool on)
    {
        if (on && !dtr) {
            // The reader restarts with the card off and names itself.
            cardOn = false;
            settingValueNext = false;
            input.insert(input.end(), {'K', 'V', 'R', '3', '1'});
        }
        dtr = on;
    }
};

class FuzzLine final : public SerialLine
{
public:
    explicit FuzzLine(FarEnd& far) : m_far(far) {}

    bool open(const std::string&) override
    {
        m_open = true;
        return true;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    bool configure(int, Parity) override { return true; }
    bool setDtr(bool on) override
    {
        m_far.onDtr(on);
        return true;
    }
    bool setRts(bool) override { return true; }
    bool purge() override
    {
        m_far.input.clear();
        return true;
    }
    bool write(uint8_t byte) override
    {
        m_far.onWrite(byte);
        return true;
    }
    int read(int timeoutMs) override
    {
        if (m_far.input.empty()) {
            m_far.clock += timeoutMs > 0 ? timeoutMs : 1;
            return -1;
        }
        const uint8_t b = m_far.input.front();
        m_far.input.pop_front();
        return b;
    }

private:
    FarEnd& m_far;
    bool m_open = false;
};

class FuzzReader final : public SerialReader
{
public:
    explicit FuzzReader(FarEnd& far) : SerialReader(std::make_unique<FuzzLine>(far)), m_far(far) {}

    CardStatus openFuzzLine() { return openLine(QStringLiteral("fuzz")); }

protected:
    void sleepMs(int ms) override { m_far.clock += ms > 0 ? ms : 0; }
    int64_t clockMs() const override { return m_far.clock; }

private:
    FarEnd& m_far;
};

struct Command
{
    uint8_t ins, p1, p2, p3;
    bool toCard;
};

constexpr Command kCommands[] = {
    {0xA4, 0x00, 0x00, 0x02, true},  // SELECT 3F00
    {0xB0, 0x00, 0x00, 0x0A, false}, // READ BINARY, 10 bytes (EF_ICCID)
    {0xB2, 0x01, 0x04, 0x00, false}, // READ RECORD, 256 bytes
    {0xDC, 0x01, 0x04, 0x1C, true},  // UPDATE RECORD, 28 bytes
    {0xC0, 0x00, 0x00, 0x0F, false}, // GET RESPONSE
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    FarEnd far;
    far.card = std::span<const uint8_t>(data, size);
    FuzzReader reader(far);
    check(isOk(reader.openFuzzLine()));
    check(reader.readerConnected());

    ReaderBuffer atr(40);
    unsigned flags = 0;
    const CardStatus activated = reader.activateCard(&atr, flags);
    check(atr.count <= 33 && atr.count == atr.capacity);
    if (activated != CardStatus::Ok) {
        check(!reader.cardActive());
        return 0;
    }
    check(reader.cardActive());

    for (const Command& c : kCommands) {
        std::vector<uint8_t> buffer(256, 0x5A);
        uint16_t sw = 0;
        const CardStatus r = reader.transmit(0xA0, c.ins, c.p1, c.p2, c.p3, buffer, c.toCard, sw);
        if (r == CardStatus::Ok)
            check((sw >> 12) == 0x6 || (sw >> 12) == 0x9);
    }
    reader.deactivateCard();
    check(!reader.cardActive());
    return 0;
}
