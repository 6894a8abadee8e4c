#include "reader/T0Engine.h"

#include <vector>

#include <gtest/gtest.h>

#include "reader/SerialBench.h"

using namespace kestrel;
using kestrel::test::answered;
using kestrel::test::asciiBytes;
using kestrel::test::Bench;
using kestrel::test::echoed;
using kestrel::test::hexBytes;
using kestrel::test::inverse;
using kestrel::test::LineScript;
using kestrel::test::ScriptedSerialReader;
using kestrel::test::sequence;
using kestrel::test::toSpacedHex;
using kestrel::test::operator+;

TEST(T0Engine, TransmitT0)
{
    struct Case
    {
        const char* name;
        uint8_t ins;
        uint8_t p3;
        bool toCard;
        std::vector<uint8_t> data; // sent to the card, or expected from it
        std::vector<LineScript::Step> script;
        CardStatus result;
        uint16_t sw;
    };
    const std::vector<uint8_t> big = sequence(256, 0x10);
    const std::vector<uint8_t> block = sequence(200, 0x80);
    const Case cases[] = {
        {"read",
         0xB0,
         2,
         false,
         hexBytes("12 34"),
         {echoed("A0 B0 00 00 02", "B0 12 34 90 00")},
         CardStatus::Ok,
         0x9000},
        {"NULL bytes skipped",
         0xB0,
         2,
         false,
         hexBytes("12 34"),
         {echoed("A0 B0 00 00 02", "60 60 60 60 60 60 60 B0 12 34 60 60 60 90 00")},
         CardStatus::Ok,
         0x9000},
        {"ins + 1 like ins",
         0xB0,
         2,
         false,
         hexBytes("12 34"),
         {echoed("A0 B0 00 00 02", "B1 12 34 90 00")},
         CardStatus::Ok,
         0x9000},
        {"~ins one byte at a time",
         0xB0,
         2,
         false,
         hexBytes("12 34"),
         {echoed("A0 B0 00 00 02", "4F 12 4F 34 4F 91 0A")},
         CardStatus::Ok,
         0x910A},
        {"~ins then ins for the rest",
         0xB0,
         3,
         false,
         hexBytes("12 34 56"),
         {echoed("A0 B0 00 00 03", "4F 12 B0 34 56 90 00")},
         CardStatus::Ok,
         0x9000},
        {"p3 0 reads 256 bytes",
         0xB0,
         0,
         false,
         big,
         {echoed(hexBytes("A0 B0 00 00 00"), hexBytes("B0") + big + hexBytes("90 00"))},
         CardStatus::Ok,
         0x9000},
        {"61xx ends the command", 0xC0, 2, false, {0, 0}, {echoed("A0 C0 00 00 02", "61 0F")}, CardStatus::Ok, 0x610F},
        {"9Fxx ends the command",
         0xA4,
         2,
         true,
         hexBytes("3F 00"),
         {echoed("A0 A4 00 00 02", "60 9F 1A")},
         CardStatus::Ok,
         0x9F1A},
        {"write",
         0xD6,
         3,
         true,
         hexBytes("01 02 03"),
         {echoed("A0 D6 00 00 03", "D6"), echoed("01 02 03", "90 00")},
         CardStatus::Ok,
         0x9000},
        {"write ~ins byte by byte",
         0xD6,
         3,
         true,
         hexBytes("01 02 03"),
         {echoed("A0 D6 00 00 03", "29"), echoed("01", "29"), echoed("02", "29"), echoed("03", "90 00")},
         CardStatus::Ok,
         0x9000},
        {"write 200 bytes in pieces",
         0xDC,
         200,
         true,
         block,
         {echoed(hexBytes("A0 DC 00 00 C8"), hexBytes("DD")), echoed(block, hexBytes("90 00"))},
         CardStatus::Ok,
         0x9000},
        {"header echo wrong",
         0xB0,
         2,
         false,
         {0, 0},
         {answered("A0 B0 00 00 02", "A0 B0 00 01 02 B0")},
         CardStatus::ErrorInterpretingCommand,
         0},
        {"header echo short",
         0xB0,
         2,
         false,
         {0, 0},
         {answered("A0 B0 00 00 02", "A0 B0 00 00 02")},
         CardStatus::ErrorInterpretingCommand,
         0},
        {"unknown procedure byte",
         0xB0,
         2,
         false,
         {0, 0},
         {echoed("A0 B0 00 00 02", "42")},
         CardStatus::ErrorInterpretingCommand,
         0},
        {"NULL then silence",
         0xB0,
         2,
         false,
         {0, 0},
         {echoed("A0 B0 00 00 02", "60")},
         CardStatus::ErrorInterpretingCommand,
         0},
        {"SW2 missing", 0xB0, 2, false, {0, 0}, {echoed("A0 B0 00 00 02", "90")}, CardStatus::StatusError, 0},
        {"data short",
         0xB0,
         2,
         false,
         {0, 0},
         {echoed("A0 B0 00 00 02", "B0 12")},
         CardStatus::ErrorInterpretingCommand,
         0},
        {"no status after data",
         0xB0,
         2,
         false,
         {0, 0},
         {echoed("A0 B0 00 00 02", "B0 12 34")},
         CardStatus::StatusError,
         0},
        {"~ins byte missing",
         0xB0,
         2,
         false,
         {0, 0},
         {echoed("A0 B0 00 00 02", "4F")},
         CardStatus::ErrorInDataBlock,
         0},
        {"data echo wrong",
         0xD6,
         3,
         true,
         hexBytes("01 02 03"),
         {echoed("A0 D6 00 00 03", "D6"), answered("01 02 03", "01 02 04")},
         CardStatus::ErrorInDataBlock,
         0},
        {"data echo short",
         0xD6,
         3,
         true,
         hexBytes("01 02 03"),
         {echoed("A0 D6 00 00 03", "D6"), answered("01 02 03", "01 02")},
         CardStatus::ErrorInDataBlock,
         0},
        {"~ins echo wrong",
         0xD6,
         3,
         true,
         hexBytes("01 02 03"),
         {echoed("A0 D6 00 00 03", "29"), answered("01", "11 29")},
         CardStatus::ErrorInDataBlock,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        ASSERT_EQ(bench.activate(hexBytes("3B 00")), CardStatus::Ok);
        for (const LineScript::Step& step : c.script)
            bench.line.steps.push_back(step);
        std::vector<uint8_t> data = c.toCard ? c.data : std::vector<uint8_t>(c.data.size(), 0xEE);
        uint16_t sw = 0;
        EXPECT_EQ(bench.reader.transmit(0xA0, c.ins, 0, 0, c.p3, data, c.toCard, sw), c.result);
        EXPECT_TRUE(bench.line.done()) << bench.problems();
        if (c.result == CardStatus::Ok) {
            EXPECT_EQ(sw, c.sw);
            if (c.sw == 0x9000 || c.sw == 0x910A) {
                EXPECT_EQ(toSpacedHex(data), toSpacedHex(c.data));
            }
            EXPECT_TRUE(bench.line.input.empty());
        }
        EXPECT_TRUE(bench.reader.cardPowered()); // a failed command leaves the card on
    }
}

TEST(T0Engine, InverseConventionTraffic)
{
    Bench bench;
    ASSERT_EQ(bench.activate(inverse(hexBytes("3F 00"))), CardStatus::Ok);
    bench.line.echoed(inverse(hexBytes("A0 B0 00 00 02")), inverse(hexBytes("B0 12 34 90 00")));
    std::vector<uint8_t> data(2);
    uint16_t sw = 0;
    EXPECT_EQ(bench.reader.transmit(0xA0, 0xB0, 0, 0, 2, data, false, sw), CardStatus::Ok);
    EXPECT_EQ(sw, 0x9000);
    EXPECT_EQ(toSpacedHex(data), "12 34");
    EXPECT_TRUE(bench.line.done()) << bench.problems();
}

TEST(T0Engine, TransmitNeedsAnActiveCard)
{
    Bench bench;
    std::vector<uint8_t> data(2);
    uint16_t sw = 0;
    EXPECT_EQ(bench.reader.transmit(0xA0, 0xB0, 0, 0, 2, data, false, sw), CardStatus::CardNotActive);
    ASSERT_EQ(bench.activate(hexBytes("3B 00")), CardStatus::Ok);
    // Too small a buffer for the data phase is refused before anything goes to the card.
    EXPECT_EQ(bench.reader.transmit(0xA0, 0xB0, 0, 0, 0, data, false, sw), CardStatus::NonSpecificError);
    EXPECT_EQ(bench.reader.transmit(0xA0, 0xD6, 0, 0, 3, data, true, sw), CardStatus::NonSpecificError);
    EXPECT_TRUE(bench.line.done()) << bench.problems();
    EXPECT_EQ(bench.reader.close(), CardStatus::Ok);
    EXPECT_EQ(bench.reader.transmit(0xA0, 0xB0, 0, 0, 2, data, false, sw), CardStatus::CardNotActive);
}

TEST(T0Engine, StatusCommand)
{
    struct Case
    {
        const char* reply;
        CardStatus result;
        uint16_t status;
    };
    const Case cases[] = {
        {"01 40 C0", CardStatus::Ok, 0x40},
        {"A5 01 40 C0", CardStatus::Ok, 0x40},
        {"01 00 00", CardStatus::Ok, 0x00},
        {"01 C5 3B", CardStatus::Ok, 0xC5},
        {"A5 02 40 C0", CardStatus::GeneralReaderError, 0},
        {"A5 A5 01 40 C0", CardStatus::GeneralReaderError, 0},
        {"02 40 C0", CardStatus::GeneralReaderError, 0},
        {"01 40 C1", CardStatus::GeneralReaderError, 0},
        {"01 40", CardStatus::GeneralReaderError, 0},
        {"", CardStatus::GeneralReaderError, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        Bench bench;
        bench.line.input.push_back(0x77); // stale byte, dropped before the command
        bench.line.expect("01", c.reply);
        uint16_t status = 0xFFFF;
        EXPECT_EQ(bench.reader.readStatus(status), c.result);
        if (c.result == CardStatus::Ok) {
            EXPECT_EQ(status, c.status);
            EXPECT_EQ(bench.reader.cardPresent(), (c.status & 0x40) != 0);
        }
        EXPECT_TRUE(bench.line.done()) << bench.problems();
    }
}

TEST(T0Engine, ReaderSettingNeedsBothEchoes)
{
    struct Case
    {
        std::vector<LineScript::Step> script;
        CardStatus result;
    };
    const Case cases[] = {
        {{echoed("02", ""), echoed("1A", "")}, CardStatus::Ok},
        {{answered("02", "")}, CardStatus::InvalidReaderIdentification},
        {{answered("02", "03")}, CardStatus::InvalidReaderIdentification},
        {{echoed("02", ""), answered("1A", "1B")}, CardStatus::InvalidReaderIdentification},
    };
    for (const Case& c : cases) {
        Bench bench;
        for (const LineScript::Step& step : c.script)
            bench.line.steps.push_back(step);
        EXPECT_EQ(bench.reader.sendReaderSetting(0x1A), c.result);
        EXPECT_TRUE(bench.line.done()) << bench.problems();
    }
}

TEST(T0Engine, Identification)
{
    struct Case
    {
        const char* name;
        std::vector<uint8_t> sent;
        bool identified;
    };
    const Case cases[] = {
        {"KVR31", asciiBytes("KVR31"), true},
        {"KVR32", asciiBytes("KVR32"), true},
        {"after noise", hexBytes("00 FF 13 4B 56 00") + asciiBytes("KVR32"), true},
        {"after a stray K", asciiBytes("KKVR31"), true},
        {"KVR33", asciiBytes("KVR33"), false},
        {"cut short", asciiBytes("KVR3"), false},
        {"nothing", {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineScript line;
        ScriptedSerialReader reader(line);
        line.identifications.push_back(c.sent);
        if (c.identified) {
            line.echoed("02");
            line.echoed("1A");
        }
        EXPECT_EQ(reader.open(QStringLiteral("/dev/scripted")),
                  c.identified ? CardStatus::Ok : CardStatus::ReaderNotConnected);
        EXPECT_EQ(reader.readerConnected(), c.identified);
        EXPECT_TRUE(line.done());
        EXPECT_TRUE(reader.portOpen());
    }
}

TEST(T0Engine, MemoryCard)
{
    std::vector<uint8_t> raw = sequence(32, 0x21);
    const uint8_t sum = static_cast<uint8_t>(std::accumulate(raw.begin(), raw.end(), 0u));
    std::array<uint8_t, 32> expected{};
    for (size_t i = 0; i < 32; ++i)
        expected[i] = T0Engine::reverseBits(raw[i]);
    const std::array<uint8_t, 32> untouched{};

    struct Case
    {
        const char* name;
        uint8_t status;
        std::vector<uint8_t> answer; // after the echo of 05
        CardStatus result;
    };
    const Case cases[] = {
        {"good", 0x40, raw + std::vector<uint8_t>{static_cast<uint8_t>(-sum)}, CardStatus::Ok},
        {"bad sum", 0x40, raw + std::vector<uint8_t>{static_cast<uint8_t>(1 - sum)},
         CardStatus::InvalidReaderIdentification},
        {"short", 0x40, raw, CardStatus::InvalidReaderIdentification},
        {"no card", 0x00, {}, CardStatus::MemoryCardNotInserted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        bench.line.readerStart();
        bench.line.status(c.status);
        if (c.status & 0x40) {
            bench.line.expect(std::vector<uint8_t>{0x05}, std::vector<uint8_t>{0x05} + c.answer);
            bench.line.readerStart(); // the reader is reset afterwards, also after a failed read
        }
        std::array<uint8_t, 32> out{};
        EXPECT_EQ(bench.reader.readMemoryCard(out), c.result);
        EXPECT_EQ(out, c.result == CardStatus::Ok ? expected : untouched);
        EXPECT_FALSE(bench.reader.cardPowered());
        EXPECT_TRUE(bench.line.done()) << bench.problems();
    }
    {
        SCOPED_TRACE("reader silent");
        Bench bench;
        bench.line.identifications.push_back({});
        std::array<uint8_t, 32> out{};
        EXPECT_EQ(bench.reader.readMemoryCard(out), CardStatus::ReaderNotConnected);
    }
}

TEST(T0Engine, ExchangeModes)
{
    struct Case
    {
        int mode;
        const char* name;
        uint16_t received;
        size_t left;
    };
    // The far end has 4 bytes ready for a 3-byte area: 3 taken, 1 left (mode 3 drops it); mode 0
    // takes nothing.
    const Case cases[] = {
        {0, "send only", 0, 4},
        {1, "take what is there", 3, 1},
        {2, "wait for the capacity", 3, 1},
        {3, "then drop the rest", 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        bench.line.expect("C1 C2", "01 02 03 04");
        ReaderBuffer buffer(3, hexBytes("C1 C2"));
        EXPECT_EQ(bench.reader.exchangeBytes(buffer, 2, c.mode, 5), c.received);
        EXPECT_EQ(buffer.count, c.received);
        EXPECT_EQ(bench.line.input.size(), c.left);
        if (c.received) {
            EXPECT_EQ(toSpacedHex(buffer.received()), "01 02 03");
        }
        EXPECT_TRUE(bench.line.done()) << bench.problems();
    }
    {
        SCOPED_TRACE("retries are idle pauses of 10 ms");
        Bench bench;
        bench.line.input = {0x01};
        ReaderBuffer buffer(3);
        bench.reader.sleeps.clear();
        EXPECT_EQ(bench.reader.exchangeBytes(buffer, 0, 2, 7), 1);
        EXPECT_EQ(bench.reader.sleeps, std::vector<int>(7, 10));
        bench.reader.sleeps.clear();
        EXPECT_EQ(bench.reader.exchangeBytes(buffer, 0, 1, 7), 0);
        EXPECT_TRUE(bench.reader.sleeps.empty());
    }
}

TEST(T0Engine, DelaySlices)
{
    struct Case
    {
        int ms;
        std::vector<int> slices;
    };
    const Case cases[] = {
        {0, {0}},
        {1, {1}},
        {10, {10}},
        {11, {10, 1}},
        {25, {10, 10, 5}},
        {30, {10, 10, 10}},
        {300, std::vector<int>(30, 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ms);
        Bench bench;
        bench.reader.sleeps.clear();
        bench.reader.delay(c.ms);
        EXPECT_EQ(bench.reader.sleeps, c.slices);
    }
}

TEST(T0Engine, DataGoesOutInPiecesOf62)
{
    // A line that never echoes the data: the engine stops after its first piece.
    Bench bench;
    ASSERT_EQ(bench.activate(hexBytes("3B 00")), CardStatus::Ok);
    bench.line.written.clear();
    const std::vector<uint8_t> block = sequence(200, 0);
    bench.line.echoed(hexBytes("A0 DC 00 00 C8"), hexBytes("DC"));
    std::vector<uint8_t> data = block;
    uint16_t sw = 0;
    EXPECT_EQ(bench.reader.transmit(0xA0, 0xDC, 0, 0, 200, data, true, sw), CardStatus::ErrorInDataBlock);
    EXPECT_EQ(bench.line.written.size(), 5u + 62u);
}
