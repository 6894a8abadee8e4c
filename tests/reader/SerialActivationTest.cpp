#include "reader/T0Engine.h"

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

TEST(SerialActivation, ConvertByteIsItsOwnInverse)
{
    Bench direct;
    ASSERT_EQ(direct.activate(hexBytes("3B 00")), CardStatus::Ok);
    Bench inv;
    ASSERT_EQ(inv.activate(inverse(hexBytes("3F 00"))), CardStatus::Ok);
    ASSERT_EQ(inv.reader.atrParameters().inverseConvention, 1);
    for (int v = 0; v < 256; ++v) {
        const auto b = static_cast<uint8_t>(v);
        EXPECT_EQ(direct.reader.convertByte(b), b);
        EXPECT_EQ(inv.reader.convertByte(inv.reader.convertByte(b)), b);
    }
    // Inverse convention: logical 3F travels as 03; bit 0 of the line byte is bit 7 of the value.
    EXPECT_EQ(inv.reader.convertByte(0x03), 0x3F);
    EXPECT_EQ(inv.reader.convertByte(0xFE), 0x80);
    EXPECT_EQ(T0Engine::reverseBits(0x01), 0x80);
    EXPECT_EQ(T0Engine::reverseBits(0x35), 0xAC);
}

TEST(SerialActivation, AnswerToReset)
{
    struct Case
    {
        const char* name;
        std::vector<uint8_t> onLine;
        CardStatus result;
        std::vector<uint8_t> stored; // the answer as kept in the caller's buffer
        bool inverse;
        bool pps;
    };
    const std::vector<uint8_t> tdChain = hexBytes("3B 82 80 91 45 31 7A 15 AB CD");
    std::vector<uint8_t> endless = hexBytes("3B 80");
    endless.resize(40, 0x80);
    const Case cases[] = {
        {"direct 3B with history", hexBytes("3B 02 14 50"), CardStatus::Ok, hexBytes("3B 02 14 50"), false, false},
        {"3F received as such", hexBytes("3F 00"), CardStatus::Ok, hexBytes("3F 00"), false, false},
        {"inverse 03", inverse(hexBytes("3F 02 11 22")), CardStatus::Ok, hexBytes("3F 02 11 22"), true, false},
        {"TA1 11 keeps defaults", hexBytes("3B 10 11"), CardStatus::Ok, hexBytes("3B 10 11"), false, false},
        {"TA1 94 asks for defaults", hexBytes("3B 10 94"), CardStatus::Ok, hexBytes("3B 10 94"), false, true},
        {"TDi chain past TD2", tdChain, CardStatus::Ok, tdChain, false, false},
        {"no answer", {}, CardStatus::BadAnswerToReset, {}, false, false},
        {"bad TS", hexBytes("55 00"), CardStatus::BadAnswerToReset, hexBytes("55"), false, false},
        {"ends after TS", hexBytes("3B"), CardStatus::AuthenticationBlocked, hexBytes("3B"), false, false},
        {"ends in TA1", hexBytes("3B 12"), CardStatus::BadAnswerToReset, hexBytes("3B 12"), false, false},
        {"ends in TC2", hexBytes("3B 80 40"), CardStatus::BadAnswerToReset, hexBytes("3B 80 40"), false, false},
        {"ends in TD3 group", hexBytes("3B 80 80 91 45"), CardStatus::BadAnswerToReset, hexBytes("3B 80 80 91 45"),
         false, false},
        {"ends in history", hexBytes("3B 03 14 50"), CardStatus::BadAnswerToReset, hexBytes("3B 03 14 50"), false,
         false},
        {"never-ending TDi", endless, CardStatus::BadAnswerToReset,
         std::vector<uint8_t>(endless.begin(), endless.begin() + 33), false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bench bench;
        bench.line.status(0x40);
        bench.line.cardOn(c.onLine);
        if (c.pps) // the request FF 00 FF echoed, then the card's confirmation
            bench.line.expect("FF 00 FF", "FF 00 FF FF 00 FF");
        ReaderBuffer atr(40);
        unsigned flags = 0xFE;
        EXPECT_EQ(bench.reader.activateCard(&atr, flags), c.result);
        EXPECT_EQ(toSpacedHex(atr.received()), toSpacedHex(c.stored));
        EXPECT_EQ(atr.capacity, c.stored.size());
        EXPECT_EQ(bench.reader.cardActive(), c.result == CardStatus::Ok);
        EXPECT_TRUE(bench.reader.cardPowered());
        EXPECT_TRUE(bench.line.done()) << bench.problems();
        if (c.result == CardStatus::Ok) {
            EXPECT_EQ(bench.reader.atrParameters().inverseConvention, c.inverse ? 1 : 0);
            EXPECT_EQ(bench.lastConfigure(), c.inverse ? "configure 9600 odd" : "configure 9600 even");
            EXPECT_EQ(flags, c.pps ? 0xFFu : 0xFEu);
            EXPECT_TRUE(bench.line.input.empty());
        }
    }
}

TEST(SerialActivation, InterfaceBytesFillTheParameters)
{
    Bench bench;
    // TA1 TB1 TC1 TD1, then TA2 TB2 TC2, two historical bytes.
    ASSERT_EQ(bench.activate(hexBytes("3B F2 11 C5 07 71 80 2A 14 AA BB")), CardStatus::Ok);
    const AtrParameters& p = bench.reader.atrParameters();
    EXPECT_EQ(p.K, 2);
    EXPECT_EQ(p.Y1, 0xF);
    EXPECT_EQ(p.FI, 1);
    EXPECT_EQ(p.DI, 1);
    EXPECT_EQ(p.II, 3);
    EXPECT_EQ(p.PI1, 5);
    EXPECT_EQ(p.N, 7);
    EXPECT_EQ(p.T, 1);
    EXPECT_EQ(p.Y2, 7);
    EXPECT_EQ(p.PI2, 0x2A);
    EXPECT_EQ(p.WI, 0x14);
    EXPECT_TRUE(bench.line.input.empty());

    // Switching off resets the reader; a new activation starts from the defaults again.
    bench.line.readerStart();
    EXPECT_EQ(bench.reader.deactivateCard(), CardStatus::Ok);
    EXPECT_FALSE(bench.reader.cardPowered());
    EXPECT_FALSE(bench.reader.cardActive());
    ASSERT_EQ(bench.activate(hexBytes("3B 00")), CardStatus::Ok);
    EXPECT_EQ(bench.reader.atrParameters().WI, 10);
    EXPECT_EQ(bench.reader.atrParameters().PI1, 0);
    EXPECT_EQ(bench.reader.atrParameters().T, 0);
    EXPECT_TRUE(bench.line.done()) << bench.problems();
}

TEST(SerialActivation, ActivationRefusals)
{
    {
        SCOPED_TRACE("no card: the card is not switched on");
        Bench bench;
        bench.line.status(0x00);
        unsigned flags = 0;
        EXPECT_EQ(bench.reader.activateCard(nullptr, flags), CardStatus::CardNotInserted);
        EXPECT_FALSE(bench.reader.cardPowered());
        EXPECT_FALSE(bench.reader.cardPresent());
        EXPECT_TRUE(bench.line.done()) << bench.problems();
    }
    {
        SCOPED_TRACE("second activation");
        Bench bench;
        ASSERT_EQ(bench.activate(hexBytes("3B 00")), CardStatus::Ok);
        unsigned flags = 0;
        EXPECT_EQ(bench.reader.activateCard(nullptr, flags), CardStatus::RepeatActivation);
        EXPECT_FALSE(bench.reader.cardActive());
        EXPECT_TRUE(bench.line.done()) << bench.problems();
    }
    {
        SCOPED_TRACE("reset without power");
        Bench bench;
        EXPECT_EQ(bench.reader.resetCard(nullptr), CardStatus::CardNotActive);
        EXPECT_TRUE(bench.line.written.empty());
    }
    {
        SCOPED_TRACE("card-on command not echoed: the reader is reset");
        Bench bench;
        bench.line.status(0x40);
        bench.line.expect("07", "00");
        bench.line.readerStart();
        unsigned flags = 0;
        EXPECT_EQ(bench.reader.activateCard(nullptr, flags), CardStatus::InvalidReaderIdentification);
        EXPECT_FALSE(bench.reader.cardPowered());
        EXPECT_TRUE(bench.line.done()) << bench.problems();
    }
}

TEST(SerialActivation, ResetReadsTheAnswerAgain)
{
    Bench bench;
    ASSERT_EQ(bench.activate(hexBytes("3B 00")), CardStatus::Ok);
    bench.line.readerStart();
    bench.line.status(0x40);
    bench.line.cardOn(hexBytes("3B 01 77"));
    ReaderBuffer atr(33);
    EXPECT_EQ(bench.reader.resetCard(&atr), CardStatus::Ok);
    EXPECT_EQ(toSpacedHex(atr.received()), "3B 01 77");
    EXPECT_TRUE(bench.reader.cardActive());
    EXPECT_TRUE(bench.line.done()) << bench.problems();
}
