// A card that asks for more time without end: the T=0 transport gives up after its time limit, or
// at once when Abort is pressed, on the scripted line's virtual clock and through the virtual card.

#include <memory>
#include <optional>
#include <vector>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "HexBytes.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "reader/ReaderCommands.h"
#include "reader/ScriptedLine.h"
#include "reader/VirtualReader.h"

using namespace kestrel;
using kestrel::test::command;
using kestrel::test::hexBytes;
using kestrel::test::LineScript;
using kestrel::test::Reply;
using kestrel::test::ScriptedSerialReader;
using kestrel::test::operator+;

namespace {

constexpr int kLimit = CardReader::kDefaultCommandTimeLimit;

TEST(TransportBound, CardThatAsksForMoreTimeWithoutEnd)
{
    struct Case
    {
        const char* name;
        std::vector<uint8_t> reply; // after the header's echo
        std::optional<uint8_t> endless;
        int byteCostMs;
        int64_t abortAtMs; // the progress window's Abort is pressed then; -1 never
        CardStatus result;
        int64_t least; // virtual time the command took, at least and at most
        int64_t most;
    };
    const std::vector<uint8_t> slow = std::vector<uint8_t>(10000, 0x60) + hexBytes("B0 12 90 00");
    const Case cases[] = {
        {"NULL bytes for ever", hexBytes("60"), 0x60, 2, -1, CardStatus::StatusError, kLimit, kLimit + 50},
        {"INS XOR FF past the data for ever", hexBytes("4F 12"), 0x4F, 2, -1, CardStatus::StatusError, kLimit,
         kLimit + 50},
        {"NULL bytes on a clock that stands still", hexBytes("60"), 0x60, 0, -1, CardStatus::StatusError, 0, 0},
        {"Abort ends the wait", hexBytes("60"), 0x60, 2, 5000, CardStatus::CancelledByUser, 5000, 5110},
        {"Abort not pressed: a slow card is waited for", slow, std::nullopt, 2, -1, CardStatus::Ok, 20000, 20100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineScript line;
        ScriptedSerialReader reader(line);
        line.readerStart();
        ASSERT_EQ(reader.open(QStringLiteral("/dev/scripted")), CardStatus::Ok);
        line.status(0x40);
        line.cardOn(hexBytes("3B 00"));
        unsigned flags = 0;
        ASSERT_EQ(reader.activateCard(nullptr, flags), CardStatus::Ok);

        const int64_t start = line.clock;
        int checks = 0;
        reader.setCancelCheck([&] {
            ++checks;
            return c.abortAtMs >= 0 && line.clock - start >= c.abortAtMs;
        });
        line.echoed(hexBytes("A0 B0 00 00 01"), c.reply);
        line.endless = c.endless;
        line.byteCostMs = c.byteCostMs;
        const Reply r = command(reader, {0xA0, 0xB0, 0x00, 0x00, 0x01});
        const int64_t took = line.clock - start;
        EXPECT_EQ(r.status, c.result);
        EXPECT_GE(took, c.least);
        EXPECT_LE(took, c.most);
        if (c.result == CardStatus::Ok) {
            EXPECT_EQ(r.sw, 0x9000);
            EXPECT_EQ(r.data, hexBytes("12"));
        }
        // Abort is looked at while the card keeps the command waiting, not for every byte.
        EXPECT_GE(checks, took / 200);
        EXPECT_LE(checks, took / 100 + 1);
        EXPECT_TRUE(reader.cardPowered()); // the card-access layer decides what comes next
    }
}

TEST(TransportBound, CardFileFaultsReachTheReader)
{
    const std::vector<uint8_t> selectMf = {0xA0, 0xA4, 0x00, 0x00, 0x02};
    struct Case
    {
        const char* name;
        emulator::FaultPlan faults;
        CardStatus second; // the result of the second SELECT
        uint16_t sw;
    };
    const Case cases[] = {
        {"wrong status", {-1, 2, 0x6A82, -1, -1}, CardStatus::Ok, 0x6A82},
        {"card pulled after the data went out", {2, -1, 0, -1, -1}, CardStatus::StatusError, 0},
        {"garbage", {-1, -1, 0, 2, -1}, CardStatus::ErrorInterpretingCommand, 0},
        {"NULL bytes without end", {-1, -1, 0, -1, 2}, CardStatus::StatusError, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The card file opened as `--device VIRTUAL:<file>` opens it.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("card.json"));
        emulator::SimCardData data = emulator::StandardCard::simCard();
        data.options.faults = c.faults;
        QString error;
        ASSERT_TRUE(emulator::CardFile::save(data, path, error));
        VirtualReader reader;
        ASSERT_EQ(reader.open(path), CardStatus::Ok);
        unsigned flags = 0;
        ASSERT_EQ(reader.activateCard(nullptr, flags), CardStatus::Ok);
        reader.setCommandTimeLimit(300); // real time here: the virtual card sends real NULLs
        EXPECT_EQ(command(reader, selectMf, {0x3F, 0x00}).sw, 0x9F22);
        const Reply r = command(reader, selectMf, {0x3F, 0x00});
        EXPECT_EQ(r.status, c.second);
        EXPECT_EQ(r.sw, c.sw);
    }
}

} // namespace
