#include "emulator/SerialFace.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "HexBytes.h"
#include "VirtualClock.h"
#include "emulator/FakeIcc.h"
#include "emulator/FaultyIcc.h"

namespace kestrel::emulator {

namespace {

using test::FakeIcc;
using test::hexBytes;
using test::toSpacedHex;
using test::VirtualClock;
using namespace std::chrono_literals;

// Everything the face has for the host: right now (pacing off), or as it comes due.
std::string drain(SerialFace& face, int timeoutMs = 0)
{
    std::vector<uint8_t> got;
    for (int b = face.hostRead(timeoutMs); b >= 0; b = face.hostRead(timeoutMs))
        got.push_back(static_cast<uint8_t>(b));
    return toSpacedHex(got);
}

std::string send(SerialFace& face, std::string_view hex)
{
    for (uint8_t b : hexBytes(hex))
        face.hostWrite(b);
    return drain(face);
}

// DTR off with RTS on, then DTR on: the reader's reset pulse.
std::string resetPulse(SerialFace& face)
{
    face.setDtr(false);
    face.setRts(true);
    face.setDtr(true);
    return drain(face);
}

const std::string kKvr31 = "4B 56 52 33 31";

class SerialFaceTest : public ::testing::Test
{
protected:
    void cardOn(const SerialFace::Options& options = {})
    {
        face.setOptions(options);
        ASSERT_EQ(resetPulse(face), kKvr31);
        ASSERT_EQ(send(face, "07"), "07 40 C0 3B 02 14 50");
    }

    FakeIcc card;
    SerialFace face{card};
};

TEST_F(SerialFaceTest, ReaderStartsOnlyWithDtrAndRtsAndIdentifiesItself)
{
    EXPECT_FALSE(face.readerRunning());
    EXPECT_EQ(send(face, "01"), ""); // nobody listens yet
    face.setDtr(true);
    EXPECT_EQ(drain(face), "");
    EXPECT_EQ(resetPulse(face), kKvr31);
    EXPECT_TRUE(face.readerRunning());
    EXPECT_EQ(send(face, "01"), "01 40 C0");

    face.setRts(false); // reader off
    EXPECT_FALSE(face.readerRunning());
    EXPECT_EQ(send(face, "01"), "");

    SerialFace::Options options;
    options.identification = "\xFFKVR32";
    face.setOptions(options);
    EXPECT_EQ(resetPulse(face), "FF 4B 56 52 33 32");
}

TEST_F(SerialFaceTest, StatusAndSettingCommands)
{
    struct Case
    {
        bool present;
        bool prefix;
        uint8_t bits;
        const char* answer;
    };
    const Case cases[] = {
        {true, false, 0x00, "01 40 C0"}, {false, false, 0x00, "01 00 00"}, {true, true, 0x00, "A5 01 40 C0"},
        {true, false, 0x81, "01 C1 3F"}, {false, false, 0x41, "01 01 FF"}, // bit 0x40 follows the card alone
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        card.isPresent = c.present;
        SerialFace::Options options;
        options.statusPrefix = c.prefix;
        options.statusBits = c.bits;
        face.setOptions(options);
        resetPulse(face);
        EXPECT_EQ(send(face, "01"), c.answer);
    }

    EXPECT_EQ(send(face, "02"), "02");
    EXPECT_EQ(send(face, "1A"), "1A");
    EXPECT_EQ(face.lastSetting(), 0x1A);
    EXPECT_EQ(send(face, "02 07 01"), "02 07 01 01 FF"); // 07 was the setting value, not card on
    EXPECT_EQ(send(face, "33"), "");                     // no such reader command
}

TEST_F(SerialFaceTest, CardOnAnswersStatusThenAnswerToReset)
{
    cardOn();
    EXPECT_TRUE(face.cardPowered());
    EXPECT_EQ(card.powerOns, 1);
    // From now on the reader passes bytes through: a reader command byte is only echoed.
    EXPECT_EQ(send(face, "01"), "01");

    // A reset pulse takes the power from the card and brings the reader back.
    EXPECT_EQ(resetPulse(face), kKvr31);
    EXPECT_FALSE(face.cardPowered());
    EXPECT_EQ(card.powerOffs, 1);
    EXPECT_EQ(send(face, "01"), "01 40 C0");

    card.isPresent = false;
    EXPECT_EQ(send(face, "07"), "07 00 00");
    EXPECT_FALSE(face.cardPowered());
    EXPECT_EQ(card.powerOns, 1);
}

TEST_F(SerialFaceTest, SelectByteByByte)
{
    cardOn();
    const std::pair<const char*, const char*> steps[] = {
        {"A0", "A0"}, {"A4", "A4"}, {"00", "00"}, {"00", "00"}, {"02", "02 A4"}, {"3F", "3F"}, {"00", "00 9F 16"},
    };
    for (const auto& [in, out] : steps)
        EXPECT_EQ(send(face, in), out) << in;
    ASSERT_EQ(card.log.size(), 1u);
    EXPECT_EQ(card.log[0].ins, 0xA4);
    EXPECT_EQ(toSpacedHex(card.log[0].data), "3F 00");

    // The next header starts afresh.
    EXPECT_EQ(send(face, "A0 C0 00 00 02"), "A0 C0 00 00 02 C0 C0 C1 90 00");
}

TEST_F(SerialFaceTest, ReadingCommandsCarryTheirData)
{
    cardOn();
    auto expectedRead = [](size_t n) {
        std::vector<uint8_t> v{0xB0};
        for (size_t i = 0; i < n; ++i)
            v.push_back(FakeIcc::binaryByte(i));
        v.push_back(0x90);
        v.push_back(0x00);
        return toSpacedHex(v);
    };
    EXPECT_EQ(send(face, "A0 B0 00 00 16"), "A0 B0 00 00 16 " + expectedRead(0x16));
    EXPECT_EQ(send(face, "A0 B0 00 00 00"), "A0 B0 00 00 00 " + expectedRead(256));
    // An error comes without procedure byte or data.
    EXPECT_EQ(send(face, "A0 C0 00 00 20"), "A0 C0 00 00 20 67 00");
    // An incoming command without data is answered at once, and so is an INS that ISO/IEC 7816-3
    // forbids because it would read as a procedure byte (the card never sees it).
    EXPECT_EQ(send(face, "A0 A4 00 00 00"), "A0 A4 00 00 00 67 00");
    EXPECT_EQ(send(face, "A0 60 00 00 00"), "A0 60 00 00 00 6D 00");
    EXPECT_EQ(card.log.size(), 4u);
}

TEST_F(SerialFaceTest, EveryProcedureBytePath)
{
    using P = SerialFace::Procedure;
    struct Case
    {
        P procedure;
        int nulls;
        const char* select; // the host's bytes: header, then 3F 00
        const char* read;   // header only, three bytes asked for
    };
    // READ BINARY returns 01 08 0F; SELECT of the MF 9F 16.
    const Case cases[] = {
        {P::Ack, 0, "A0 A4 00 00 02 A4 3F 00 9F 16", "A0 B0 00 00 03 B0 01 08 0F 90 00"},
        {P::AckPlusOne, 0, "A0 A4 00 00 02 A5 3F 00 9F 16", "A0 B0 00 00 03 B1 01 08 0F 90 00"},
        {P::ByteByByte, 0, "A0 A4 00 00 02 5B 3F 5B 00 9F 16", "A0 B0 00 00 03 4F 01 4F 08 4F 0F 90 00"},
        {P::FirstByteThenAck, 0, "A0 A4 00 00 02 5B 3F A4 00 9F 16", "A0 B0 00 00 03 4F 01 B0 08 0F 90 00"},
        {P::Ack, 2, "A0 A4 00 00 02 60 60 A4 3F 00 60 60 9F 16", "A0 B0 00 00 03 60 60 B0 01 08 0F 60 60 90 00"},
        {P::ByteByByte, 1, "A0 A4 00 00 02 60 5B 3F 60 5B 00 60 9F 16",
         "A0 B0 00 00 03 60 4F 01 60 4F 08 60 4F 0F 60 90 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.select);
        SerialFace::Options options;
        options.procedure = c.procedure;
        options.nullBytes = c.nulls;
        cardOn(options);
        // The host sends each data byte only after the procedure byte that asks for it.
        std::string stream = send(face, "A0 A4 00 00 02");
        stream += " " + send(face, "3F");
        stream += " " + send(face, "00");
        EXPECT_EQ(stream, c.select);
        EXPECT_EQ(send(face, "A0 B0 00 00 03"), c.read);
    }
}

TEST_F(SerialFaceTest, MemoryCardReadReversesBitsAndSumsToZero)
{
    std::array<uint8_t, 32> memory{};
    for (size_t i = 0; i < memory.size(); ++i)
        memory[i] = static_cast<uint8_t>(0x83 + i * 13);
    memory[0] = 0x01; // read back as 0x80 on the line
    card.memory = memory;
    resetPulse(face);
    const std::vector<uint8_t> answer = hexBytes(send(face, "05"));
    ASSERT_EQ(answer.size(), 34u);
    EXPECT_EQ(answer[0], 0x05);
    EXPECT_EQ(answer[1], 0x80);
    unsigned sum = 0;
    for (size_t i = 1; i < answer.size(); ++i)
        sum += answer[i];
    EXPECT_EQ(sum % 256, 0u);
    for (size_t i = 0; i < memory.size(); ++i) {
        uint8_t back = 0;
        for (int bit = 0; bit < 8; ++bit)
            back = static_cast<uint8_t>(back | ((answer[i + 1] >> bit) & 1) << (7 - bit));
        EXPECT_EQ(back, memory[i]) << i;
    }

    // A SIM holds no such memory: the data line stays high.
    card.memory.reset();
    EXPECT_EQ(send(face, "05"), "05 " + toSpacedHex(std::vector<uint8_t>(32, 0xFF)) + " 20");
}

// ISO/IEC 7816-3 inverse convention through a direct UART: complement and reverse the bit order.
uint8_t inverse(uint8_t b)
{
    uint8_t out = 0;
    for (int bit = 0; bit < 8; ++bit)
        out = static_cast<uint8_t>(out | ((~b >> bit) & 1) << (7 - bit));
    return out;
}

std::string inverseHex(std::string_view hex)
{
    std::vector<uint8_t> v = hexBytes(hex);
    for (uint8_t& b : v)
        b = inverse(b);
    return toSpacedHex(v);
}

TEST_F(SerialFaceTest, InverseConventionCard)
{
    SerialFace::Options options;
    options.inverseConvention = true;
    face.setOptions(options);
    resetPulse(face);
    // TS 0x3F reads as 0x03; every further byte is converted too.
    EXPECT_EQ(send(face, "07"), "07 40 C0 " + inverseHex("3F 02 14 50"));
    EXPECT_EQ(inverseHex("3F").substr(0, 2), "03");

    // At even parity every character fails the card's parity check: only the echo comes back.
    const std::string header = inverseHex("A0 C0 00 00 02");
    EXPECT_EQ(send(face, header), header);
    EXPECT_TRUE(card.log.empty());

    face.setLine(9600, SerialFace::kParityOdd);
    EXPECT_EQ(send(face, header), header + " " + inverseHex("C0 C0 C1 90 00"));
    ASSERT_EQ(card.log.size(), 1u);
    EXPECT_EQ(card.log[0].p3, 0x02);
}

TEST_F(SerialFaceTest, ProtocolParameterSelectionAfterAnswerToReset)
{
    cardOn();
    EXPECT_EQ(send(face, "FF 00 FF"), "FF 00 FF FF 00 FF");
    EXPECT_EQ(send(face, "A0 C0 00 00 01"), "A0 C0 00 00 01 C0 C0 90 00");

    // A request for other rates is answered with the defaults the card keeps.
    cardOn();
    EXPECT_EQ(send(face, "FF 10 94 7B"), "FF 10 94 7B FF 00 FF");

    // A broken check byte gets no answer, and the card takes the next header as a command.
    cardOn();
    EXPECT_EQ(send(face, "FF 00 00"), "FF 00 00");
    EXPECT_EQ(send(face, "A0 C0 00 00 01"), "A0 C0 00 00 01 C0 C0 90 00");
}

TEST_F(SerialFaceTest, WrongLineSpeedGarblesEverything)
{
    resetPulse(face);
    face.setLine(19200, SerialFace::kParityEven);
    EXPECT_EQ(send(face, "01"), "");
    face.setLine(9600, SerialFace::kParityEven);
    EXPECT_EQ(send(face, "01"), "01 40 C0");
}

TEST_F(SerialFaceTest, PacingSchedulesEveryByteOnTheLine)
{
    VirtualClock clock;
    face.setClock(&clock);
    SerialFace::Options options;
    options.baud = 9600;
    face.setOptions(options);
    face.setDtr(true);
    face.setRts(true);
    EXPECT_EQ(drain(face, 50), kKvr31);
    face.hostWrite(0x07);
    EXPECT_EQ(drain(face, 50), "07 40 C0 3B 02 14 50");
    const auto bt = face.byteTime();
    EXPECT_EQ(bt, 1250us);

    clock.advance(10ms); // the line has been idle
    const auto t0 = clock.now();
    const uint64_t before = face.lineBytes();
    for (uint8_t b : hexBytes("A0 B0 00 00 04"))
        face.hostWrite(b);
    // Five echoes, the ACK, four data bytes and SW1 SW2, back to back.
    EXPECT_EQ(face.queuedBytes(), 12u);
    EXPECT_EQ(face.lineBytes() - before, 12u);
    ASSERT_TRUE(face.nextDue());
    EXPECT_EQ(*face.nextDue(), t0 + bt);

    EXPECT_EQ(face.hostRead(0), -1); // not there yet, and no waiting asked for
    EXPECT_EQ(clock.now(), t0);
    EXPECT_EQ(face.hostRead(1), -1); // 1 ms is not enough
    EXPECT_EQ(clock.now(), t0 + 1ms);
    EXPECT_EQ(face.hostRead(1), 0xA0); // due after 1.25 ms
    EXPECT_EQ(clock.now(), t0 + bt);

    std::vector<uint8_t> rest;
    for (int b = face.hostRead(100); b >= 0; b = face.hostRead(100))
        rest.push_back(static_cast<uint8_t>(b));
    EXPECT_EQ(toSpacedHex(rest), "B0 00 00 04 B0 01 08 0F 16 90 00");
    // The last read waited out its time-out; the SW2 came at the twelfth byte time.
    EXPECT_EQ(clock.now(), t0 + 12 * bt + 100ms);

    // A byte that is overdue is handed over at once.
    face.hostWrite(0xA0);
    clock.advance(1s);
    const auto later = clock.now();
    EXPECT_EQ(face.hostRead(0), 0xA0);
    EXPECT_EQ(clock.now(), later);

    // Purge drops what has arrived, not what the card has still to send.
    for (uint8_t b : hexBytes("A4 00 00 02"))
        face.hostWrite(b);
    clock.advance(2 * bt); // two echoes have arrived
    face.purge();
    EXPECT_EQ(face.hostRead(5), 0x00);
    EXPECT_EQ(face.hostRead(5), 0x02);
    EXPECT_EQ(face.hostRead(5), 0xA4); // the ACK
    EXPECT_EQ(face.hostRead(5), -1);
    EXPECT_EQ(face.wireTime(), bt * static_cast<int64_t>(face.lineBytes()));
}

TEST_F(SerialFaceTest, PacingSleepsForReal)
{
    SerialFace::Options options;
    options.baud = 1200; // 10 ms a byte
    face.setOptions(options);
    face.setDtr(true);
    face.setRts(true);
    const auto start = std::chrono::steady_clock::now();
    std::string id;
    while (id.size() < 5) {
        const int b = face.hostRead(1000);
        if (b < 0)
            break;
        id += static_cast<char>(b);
    }
    // Five bytes cannot come faster than the line carries them.
    EXPECT_EQ(id, "KVR31");
    EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);

    const auto idle = std::chrono::steady_clock::now();
    EXPECT_EQ(face.hostRead(20), -1);
    EXPECT_GE(std::chrono::steady_clock::now() - idle, 20ms);
}

// --- fault injection ------------------------------------------------------------------------------

class FaultyCardTest : public ::testing::Test
{
protected:
    void make(const FaultPlan& plan)
    {
        face.reset(); // before the card it refers to
        auto inner = std::make_unique<FakeIcc>();
        fake = inner.get();
        faulty = std::make_unique<FaultyIcc>(std::move(inner), plan);
        face = std::make_unique<SerialFace>(*faulty);
        resetPulse(*face);
        ASSERT_EQ(send(*face, "07"), "07 40 C0 3B 02 14 50");
    }

    FakeIcc* fake = nullptr;
    std::unique_ptr<FaultyIcc> faulty;
    std::unique_ptr<SerialFace> face;
};

TEST_F(FaultyCardTest, PulledCardFallsSilent)
{
    FaultPlan plan;
    plan.pullAtCommand = 2;
    make(plan);
    EXPECT_EQ(send(*face, "A0 C0 00 00 01"), "A0 C0 00 00 01 C0 C0 90 00");
    // The reader still echoes; the card is gone and says nothing, so the host's wait runs out.
    EXPECT_EQ(send(*face, "A0 C0 00 00 01"), "A0 C0 00 00 01");
    EXPECT_EQ(send(*face, "A0 A4 00 00 02 3F 00"), "A0 A4 00 00 02 3F 00");
    EXPECT_FALSE(faulty->present());
    EXPECT_EQ(faulty->commandCount(), 2);
    EXPECT_EQ(fake->log.size(), 1u);

    EXPECT_EQ(resetPulse(*face), kKvr31);
    EXPECT_EQ(send(*face, "01"), "01 00 00");
    EXPECT_EQ(send(*face, "07"), "07 00 00");

    faulty->reinsert();
    EXPECT_EQ(send(*face, "01"), "01 40 C0");
    EXPECT_EQ(send(*face, "07"), "07 40 C0 3B 02 14 50");
    EXPECT_EQ(send(*face, "A0 C0 00 00 01"), "A0 C0 00 00 01 C0 C0 90 00");
}

TEST_F(FaultyCardTest, WrongStatusInsteadOfTheAnswer)
{
    FaultPlan plan;
    plan.wrongStatusAtCommand = 1;
    plan.wrongStatus = 0x6F00;
    make(plan);
    EXPECT_EQ(send(*face, "A0 B0 00 00 04"), "A0 B0 00 00 04 6F 00");
    EXPECT_TRUE(fake->log.empty()); // the command was not carried out
    EXPECT_EQ(send(*face, "A0 B0 00 00 01"), "A0 B0 00 00 01 B0 01 90 00");

    plan.wrongStatusAtCommand = 1;
    plan.wrongStatus = 0x9240;
    make(plan);
    EXPECT_EQ(send(*face, "A0 A4 00 00 02 3F 00"), "A0 A4 00 00 02 A4 3F 00 92 40");
}

TEST_F(FaultyCardTest, GarbageIsDeterministicNoise)
{
    FaultPlan plan;
    plan.garbageAtCommand = 2;
    make(plan);
    const std::string header = "A0 B0 00 00 04";
    const std::string proper = header + " B0 01 08 0F 16 90 00";
    EXPECT_EQ(send(*face, header), proper);
    const std::string noisy = send(*face, header);
    EXPECT_EQ(noisy.substr(0, header.size()), header);
    EXPECT_NE(noisy, proper);
    EXPECT_EQ(hexBytes(noisy).size(), hexBytes(proper).size()); // as long as a proper answer
    EXPECT_EQ(fake->log.size(), 1u);
    EXPECT_EQ(send(*face, header), proper); // the card recovers

    // The same plan gives the same noise.
    const std::string first = noisy;
    make(plan);
    send(*face, header);
    EXPECT_EQ(send(*face, header), first);

    // Straight from the card: flagged, and no status word of ISO/IEC 7816-3 to trust.
    FaultPlan direct;
    direct.garbageAtCommand = 1;
    FaultyIcc card(std::make_unique<FakeIcc>(), direct);
    const CardResponse r = card.process(Apdu{0xA0, 0xA4, 0, 0, 2, {0x3F, 0x00}});
    EXPECT_TRUE(r.garbled);
    EXPECT_FALSE(r.silent);
    EXPECT_EQ(r.data.size(), 2u);
}

TEST_F(FaultyCardTest, StalledCardSendsNullBytesUntilItsPowerGoes)
{
    FaultPlan plan;
    plan.nullsFromCommand = 2;
    make(plan);
    VirtualClock clock;
    face->setClock(&clock);
    EXPECT_EQ(send(*face, "A0 B0 00 00 01"), "A0 B0 00 00 01 B0 01 90 00");
    EXPECT_EQ(send(*face, "A0 B0 00 00 01"), "A0 B0 00 00 01 60");
    // One NULL every interval, for as long as anyone listens; bytes sent meanwhile are only echoed.
    const auto t0 = clock.now();
    for (int i = 1; i <= 50; ++i)
        ASSERT_EQ(face->hostRead(1000), 0x60);
    EXPECT_EQ(clock.now() - t0, 50 * SerialFace::kStalledNullInterval);
    EXPECT_EQ(face->hostRead(5), -1);
    EXPECT_EQ(send(*face, "A0 C0 00 00 01"), "A0 C0 00 00 01");
    EXPECT_EQ(faulty->commandCount(), 2);
    EXPECT_EQ(fake->log.size(), 1u);

    // The reader's reset takes the card's power: silence. Every later command stalls again.
    EXPECT_EQ(resetPulse(*face), kKvr31);
    EXPECT_EQ(face->hostRead(1000), -1);
    EXPECT_EQ(send(*face, "07"), "07 40 C0 3B 02 14 50");
    EXPECT_EQ(send(*face, "A0 A4 00 00 02 3F 00"), "A0 A4 00 00 02 A4 3F 00 60");
    EXPECT_EQ(faulty->commandCount(), 3);
    EXPECT_EQ(fake->log.size(), 1u);
}

TEST_F(FaultyCardTest, PulledCardReadsNoMemoryAndPowersNothing)
{
    FaultPlan plan;
    plan.pullAtCommand = 1;
    FaultyIcc card(std::make_unique<FakeIcc>(), plan);
    auto& fakeCard = dynamic_cast<FakeIcc&>(card.inner());
    fakeCard.memory = std::array<uint8_t, 32>{};
    std::array<uint8_t, 32> out{};
    EXPECT_TRUE(card.readMemory(out));
    const CardResponse r = card.process(Apdu{0xA0, 0xC0, 0, 0, 1, {}});
    EXPECT_TRUE(r.silent);
    EXPECT_TRUE(r.data.empty());
    EXPECT_FALSE(card.readMemory(out));
    EXPECT_TRUE(card.powerOn().empty());
    EXPECT_TRUE(fakeCard.log.empty());
}

} // namespace
} // namespace kestrel::emulator
