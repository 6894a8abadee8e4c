#include "reader/VirtualReader.h"

#include <array>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "reader/ReaderCommands.h"

#include "HexBytes.h"
#include "codec/DialRecord.h"
#include "codec/FixedText.h"
#include "emulator/CardFile.h"
#include "emulator/FaultyIcc.h"
#include "emulator/SimCardModel.h"
#include "emulator/StandardCard.h"

using namespace kestrel;
using kestrel::test::command;
using kestrel::test::pinBlock;
using kestrel::test::Reply;

namespace {

void selectAdn(CardReader& reader)
{
    for (uint16_t id : {0x3F00, 0x7F10, 0x6F3A}) {
        const Reply r =
            command(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id)});
        ASSERT_EQ(r.status, CardStatus::Ok);
        ASSERT_EQ(r.sw >> 8, 0x9F) << std::hex << id;
    }
}

} // namespace

// A whole session between the engine and the virtual card's serial face: reader start, answer
// to reset, SELECT, GET RESPONSE, READ/UPDATE RECORD, VERIFY CHV wrong then right.
TEST(VirtualReader, WholeSessionThroughTheSerialFace)
{
    VirtualReader reader(std::make_unique<emulator::SimCardModel>(emulator::StandardCard::simCard()));
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    EXPECT_TRUE(reader.readerConnected());

    ReaderBuffer atr(64);
    unsigned flags = 0xFFFF;
    ASSERT_EQ(reader.activateCard(&atr, flags), CardStatus::Ok);
    EXPECT_EQ(test::toSpacedHex(atr.received()), "3B 96 11 00 4B 45 53 54 52 4C");
    EXPECT_EQ(flags & 1u, 0u); // TA1 0x11: no protocol request
    EXPECT_TRUE(reader.cardActive());

    Reply r = command(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x3F, 0x00});
    ASSERT_EQ(r.status, CardStatus::Ok);
    ASSERT_EQ(r.sw, 0x9F22);
    r = command(reader, {0xA0, 0xC0, 0x00, 0x00, 0x22});
    ASSERT_EQ(r.status, CardStatus::Ok);
    ASSERT_EQ(r.sw, 0x9000);
    EXPECT_EQ(r.data[4], 0x3F); // file id
    EXPECT_EQ(r.data[5], 0x00);
    EXPECT_EQ(r.data[18], 0x83); // CHV1 initialised, 3 attempts

    selectAdn(reader);
    // EF_ADN needs CHV1.
    r = command(reader, {0xA0, 0xB2, 0x01, 0x04, 28});
    EXPECT_EQ(r.sw, 0x9804);

    r = command(reader, {0xA0, 0x20, 0x00, 0x01, 0x08}, pinBlock("9999"));
    ASSERT_EQ(r.status, CardStatus::Ok);
    EXPECT_EQ(r.sw, 0x9804);
    r = command(reader, {0xA0, 0x20, 0x00, 0x01, 0x08}, pinBlock("1234"));
    ASSERT_EQ(r.status, CardStatus::Ok);
    EXPECT_EQ(r.sw, 0x9000);

    r = command(reader, {0xA0, 0xB2, 0x01, 0x04, 28});
    ASSERT_EQ(r.sw, 0x9000);
    EXPECT_EQ(fixedText(DecodeDialRecord(r.data, 1, {}).name), "Mother");

    DialEntry entry;
    entry.valid = 1;
    setFixedText(entry.name, "Virtual");
    setFixedText(entry.number, "123456789");
    std::vector<uint8_t> record(28);
    ASSERT_TRUE(EncodeDialRecord(entry, record, nullptr).ok);
    r = command(reader, {0xA0, 0xDC, 0x05, 0x04, 28}, record);
    ASSERT_EQ(r.status, CardStatus::Ok);
    EXPECT_EQ(r.sw, 0x9000);
    r = command(reader, {0xA0, 0xB2, 0x05, 0x04, 28});
    EXPECT_EQ(r.data, record);

    EXPECT_EQ(reader.deactivateCard(), CardStatus::Ok);
    EXPECT_EQ(command(reader, {0xA0, 0xB2, 0x05, 0x04, 28}).status, CardStatus::CardNotActive);
    EXPECT_EQ(reader.close(), CardStatus::Ok);
}

TEST(VirtualReader, CardFileKeepsUpdatesAndCountersAcrossOpens)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("card.json"));
    QString error;
    ASSERT_TRUE(emulator::CardFile::save(emulator::StandardCard::simCard(), path, error)) << error.toStdString();

    for (int run = 0; run < 2; ++run) {
        VirtualReader reader;
        ASSERT_EQ(reader.open(path), CardStatus::Ok) << reader.loadError().toStdString();
        unsigned flags = 0;
        ASSERT_EQ(reader.activateCard(nullptr, flags), CardStatus::Ok);
        const Reply wrong = command(reader, {0xA0, 0x20, 0x00, 0x01, 0x08}, pinBlock("0000"));
        EXPECT_EQ(wrong.sw, 0x9804) << "run " << run;
        command(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x3F, 0x00});
        const Reply mf = command(reader, {0xA0, 0xC0, 0x00, 0x00, 0x22});
        // One attempt used per run, remembered by the card file.
        EXPECT_EQ(mf.data[18] & 0x0F, 2 - run) << "run " << run;
        reader.close();
    }
}

TEST(VirtualReader, BrokenOrMissingCardFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    VirtualReader reader;
    EXPECT_EQ(reader.open(dir.filePath(QStringLiteral("absent.json"))), CardStatus::PortNotSet);
    EXPECT_FALSE(reader.loadError().isEmpty());
}

TEST(VirtualReader, PulledCardEndsTheCommand)
{
    emulator::FaultPlan plan;
    plan.pullAtCommand = 2;
    VirtualReader reader(std::make_unique<emulator::FaultyIcc>(
        std::make_unique<emulator::SimCardModel>(emulator::StandardCard::simCard()), plan));
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    unsigned flags = 0;
    ASSERT_EQ(reader.activateCard(nullptr, flags), CardStatus::Ok);
    EXPECT_EQ(command(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x3F, 0x00}).sw, 0x9F22);
    // The card is gone in the middle of the next command: the engine gives up, it does not hang.
    const Reply r = command(reader, {0xA0, 0xC0, 0x00, 0x00, 0x22});
    EXPECT_NE(r.status, CardStatus::Ok);
    // Powering down resets the reader, whose status then shows the empty slot.
    EXPECT_EQ(reader.deactivateCard(), CardStatus::Ok);
    uint16_t status = 0;
    ASSERT_EQ(reader.readStatus(status), CardStatus::Ok);
    EXPECT_EQ(status & 0x40, 0);
}

TEST(VirtualReader, TelephoneCardMemoryThroughTheReader)
{
    const emulator::SimCardData telephone = emulator::StandardCard::telephoneCard();
    VirtualReader reader(std::make_unique<emulator::SimCardModel>(telephone));
    ASSERT_EQ(reader.open(QString()), CardStatus::Ok);
    std::array<uint8_t, 32> memory{};
    ASSERT_EQ(reader.readMemoryCard(memory), CardStatus::Ok);
    EXPECT_EQ(memory, telephone.memory);
    // The read ends with a reader reset: the card is neither powered nor active afterwards.
    EXPECT_FALSE(reader.cardPowered());
    EXPECT_FALSE(reader.cardActive());
}
