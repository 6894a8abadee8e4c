#include "reader/VirtualLine.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "HexBytes.h"
#include "emulator/FakeIcc.h"
#include "emulator/FaultyIcc.h"

namespace kestrel {
namespace {

using test::FakeIcc;
using test::toSpacedHex;

std::string exchange(SerialLine& line, const std::vector<uint8_t>& out)
{
    for (uint8_t b : out)
        EXPECT_TRUE(line.write(b));
    std::vector<uint8_t> got;
    for (int b = line.read(0); b >= 0; b = line.read(0))
        got.push_back(static_cast<uint8_t>(b));
    return toSpacedHex(got);
}

// What a serial reader does to bring the reader up: line settings, reset pulse, identification.
void startReader(SerialLine& line)
{
    ASSERT_TRUE(line.configure(9600, SerialLine::Parity::Even));
    ASSERT_TRUE(line.setDtr(false));
    ASSERT_TRUE(line.setRts(true));
    ASSERT_TRUE(line.setDtr(true));
    EXPECT_EQ(exchange(line, {}), "4B 56 52 33 31");
}

TEST(VirtualLineTest, ClosedLineRefusesEverything)
{
    VirtualLine line(std::make_unique<FakeIcc>());
    EXPECT_FALSE(line.isOpen());
    EXPECT_FALSE(line.configure(9600, SerialLine::Parity::Even));
    EXPECT_FALSE(line.setDtr(true));
    EXPECT_FALSE(line.setRts(true));
    EXPECT_FALSE(line.purge());
    EXPECT_FALSE(line.write(0x01));
    EXPECT_EQ(line.read(0), -1);
    EXPECT_FALSE(line.face().readerRunning());
}

TEST(VirtualLineTest, DrivesTheCardThroughTheSerialFace)
{
    VirtualLine line(std::make_unique<FakeIcc>());
    auto& card = dynamic_cast<FakeIcc&>(line.card());
    ASSERT_TRUE(line.open("/dev/null-is-not-used"));
    EXPECT_TRUE(line.isOpen());
    startReader(line);
    EXPECT_EQ(exchange(line, {0x01}), "01 40 C0");
    EXPECT_EQ(exchange(line, {0x02, 0x1A}), "02 1A");
    EXPECT_EQ(exchange(line, {0x07}), "07 40 C0 3B 02 14 50");
    EXPECT_EQ(exchange(line, {0xA0, 0xA4, 0x00, 0x00, 0x02}), "A0 A4 00 00 02 A4");
    EXPECT_EQ(exchange(line, {0x3F, 0x00}), "3F 00 9F 16");
    ASSERT_EQ(card.log.size(), 1u);

    // Left-over bytes are dropped by a purge.
    line.write(0x01);
    EXPECT_TRUE(line.purge());
    EXPECT_EQ(line.read(0), -1);

    // Closing hangs up: DTR and RTS drop, the reader and the card lose power.
    line.close();
    EXPECT_FALSE(line.isOpen());
    EXPECT_FALSE(line.face().readerRunning());
    EXPECT_EQ(card.powerOffs, 1);
    ASSERT_TRUE(line.open("again"));
    startReader(line);
}

TEST(VirtualLineTest, CarriesFaultsAndFaceOptions)
{
    emulator::FaultPlan plan;
    plan.pullAtCommand = 1;
    emulator::SerialFace::Options options;
    options.statusPrefix = true;
    VirtualLine line(std::make_unique<emulator::FaultyIcc>(std::make_unique<FakeIcc>(), plan), options);
    ASSERT_TRUE(line.open(""));
    startReader(line);
    EXPECT_EQ(exchange(line, {0x01}), "A5 01 40 C0");
    EXPECT_EQ(exchange(line, {0x07}), "07 40 C0 3B 02 14 50");
    EXPECT_EQ(exchange(line, {0xA0, 0xC0, 0x00, 0x00, 0x01}), "A0 C0 00 00 01");
    EXPECT_EQ(line.read(5), -1); // the host waits in vain
    startReader(line);
    EXPECT_EQ(exchange(line, {0x01}), "A5 01 00 00");
}

} // namespace
} // namespace kestrel
