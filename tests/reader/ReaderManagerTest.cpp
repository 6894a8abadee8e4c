#include "reader/ReaderManager.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "emulator/CardFile.h"
#include "FakeReaderLibrary.h"
#include "emulator/StandardCard.h"
#include "reader/SmartApiReader.h"
#include "reader/PcscReader.h"
#include "reader/VirtualReader.h"
#include "TempXdg.h"

using namespace kestrel;

namespace {

// Points the runtime and data folders at a temporary folder for the life of a test.
class ReaderManagerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        kestrel::test::useTemporaryXdg(m_dir);
    }

    QString cardFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("card.json"));
        QString error;
        EXPECT_TRUE(emulator::CardFile::save(emulator::StandardCard::simCard(), path, error));
        return path;
    }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(ReaderManagerTest, DeviceTable)
{
    struct Case
    {
        const char* device;
        ReaderKind kind;
        const char* argument;
    };
    const Case cases[] = {
        {"COM1", ReaderKind::Serial, "COM1"},
        {"COM8", ReaderKind::Serial, "COM8"},
        {"COM10", ReaderKind::Serial, "COM10"},
        {"COM9", ReaderKind::Unknown, ""},
        {"COM", ReaderKind::Unknown, ""},
        {"com1", ReaderKind::Unknown, ""},
        {"KVRI DRIVER", ReaderKind::Kvri, "KVRI DRIVER"},
        {"kvri driver", ReaderKind::Unknown, ""},
        {"PCSC:", ReaderKind::Pcsc, ""},
        {"PCSC:Virtual PCD 00 00", ReaderKind::Pcsc, "Virtual PCD 00 00"},
        {"PCMCIA FY-1300", ReaderKind::SmartApi, ""},
        {"VIRTUAL:/tmp/x.json", ReaderKind::Virtual, "/tmp/x.json"},
        {"NOTHING", ReaderKind::None, ""},
        {"", ReaderKind::None, ""},
        {"LPT1", ReaderKind::Unknown, ""},
    };
    for (const Case& c : cases) {
        QString argument = QStringLiteral("unchanged");
        EXPECT_EQ(ReaderManager::classify(QString::fromLatin1(c.device), &argument), c.kind) << c.device;
        EXPECT_EQ(argument, QString::fromLatin1(c.argument)) << c.device;
    }
}

TEST_F(ReaderManagerTest, FailuresLeaveNothingAndEventsReset)
{
    ReaderManager manager;
    EXPECT_EQ(manager.currentDevice(), QStringLiteral("COM2"));
    EXPECT_EQ(manager.selectDevice(QStringLiteral("COM9")), CardStatus::NonSpecificError);
    EXPECT_EQ(manager.selectDevice(QStringLiteral("com1")), CardStatus::NonSpecificError);
    EXPECT_EQ(manager.currentDevice(), QStringLiteral("NOTHING"));

    ASSERT_EQ(manager.selectDevice(QStringLiteral("VIRTUAL:") + cardFile()), CardStatus::Ok);
    EXPECT_TRUE(manager.eventsSet());
    // COM10 is a serial device (its fourth character is 1): /dev/ttyS9 does not open.
    EXPECT_EQ(manager.selectDevice(QStringLiteral("COM10")), CardStatus::PortNotSet);
    EXPECT_EQ(manager.currentReader(), nullptr);
    EXPECT_EQ(manager.currentDevice(), QStringLiteral("NOTHING"));
    EXPECT_FALSE(manager.eventsSet());
}

TEST_F(ReaderManagerTest, ReselectingKeepsTheReaderAndItsCardState)
{
    ReaderManager manager;
    const QString device = QStringLiteral("VIRTUAL:") + cardFile();
    ASSERT_EQ(manager.selectDevice(device), CardStatus::Ok);
    CardReader* reader = manager.currentReader();
    ASSERT_NE(reader, nullptr);
    unsigned flags = 0;
    ASSERT_EQ(reader->activateCard(nullptr, flags), CardStatus::Ok);

    EXPECT_EQ(manager.selectDevice(device), CardStatus::Ok);
    EXPECT_EQ(manager.currentReader(), reader);
    EXPECT_TRUE(reader->cardActive());
    EXPECT_EQ(manager.currentDevice(), device);

    EXPECT_EQ(manager.selectDevice(QStringLiteral("NOTHING")), CardStatus::Ok);
    EXPECT_EQ(manager.currentReader(), nullptr);
    EXPECT_FALSE(manager.eventsSet());
    // Selecting nothing again is fine and keeps the events reset.
    EXPECT_EQ(manager.selectDevice(QString()), CardStatus::Ok);
    EXPECT_FALSE(manager.eventsSet());
}

TEST_F(ReaderManagerTest, UsersVirtualCardIsMadeOnFirstUse)
{
    const QString path = VirtualReader::userCardPath();
    EXPECT_TRUE(path.startsWith(m_dir.filePath(QStringLiteral("data"))));
    EXPECT_FALSE(QFile::exists(path));
    ReaderManager manager;
    ASSERT_EQ(manager.selectDevice(QStringLiteral("VIRTUAL")), CardStatus::Ok) << manager.lastDetail().toStdString();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(manager.currentDevice(), QStringLiteral("VIRTUAL"));
}

TEST_F(ReaderManagerTest, LibraryReadersWithoutTheirLibraries)
{
    const test::LibraryPath path(m_dir.filePath(QStringLiteral("no-libraries")).toStdString());
    struct Case
    {
        const char* device;
        CardStatus expected;
    };
    const Case cases[] = {
        // Every request to a driver library that cannot be loaded fails with a code that maps to 140.
        {"KVRI DRIVER", CardStatus::NonSpecificError},
        {"PCMCIA FY-1300", CardStatus::ReaderLibraryError},
    };
    ReaderManager manager;
    for (const Case& c : cases) {
        EXPECT_EQ(manager.selectDevice(QString::fromLatin1(c.device)), c.expected) << c.device;
        EXPECT_EQ(manager.currentDevice(), QStringLiteral("NOTHING"));
        EXPECT_EQ(manager.currentReader(), nullptr);
        EXPECT_FALSE(manager.eventsSet());
    }
}

TEST_F(ReaderManagerTest, PcmciaReaderThroughItsLibrary)
{
    const test::LibraryPath path(KESTREL_FAKE_READER_DIR);
    const test::FakeReaderLibrary fake(KESTREL_FAKE_READER_DIR, "libSMARTAPI.so");
    ASSERT_TRUE(fake.isLoaded());
    fake.hook<FakeResetFn>("fakeSmartReset")();
    ReaderManager manager;
    ASSERT_EQ(manager.selectDevice(QStringLiteral("PCMCIA FY-1300")), CardStatus::Ok);
    EXPECT_NE(dynamic_cast<SmartApiReader*>(manager.currentReader()), nullptr);
    EXPECT_EQ(manager.currentDevice(), QStringLiteral("PCMCIA FY-1300"));
    EXPECT_TRUE(manager.eventsSet());
    unsigned flags = 0;
    EXPECT_EQ(manager.currentReader()->activateCard(nullptr, flags), CardStatus::Ok);
    EXPECT_EQ(manager.selectDevice(QStringLiteral("NOTHING")), CardStatus::Ok);
}

TEST_F(ReaderManagerTest, PcscDeviceMakesAPcscReader)
{
    // Whether or not a PC/SC service runs here, a reader the service does not know never gets as
    // far as a card: without the service open fails and says why; with it, activation fails.
    ReaderManager manager;
    const CardStatus opened = manager.selectDevice(QStringLiteral("PCSC:No Such Reader"));
    if (opened == CardStatus::Ok) {
        auto* reader = dynamic_cast<PcscReader*>(manager.currentReader());
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(reader->readerName(), QStringLiteral("No Such Reader"));
        unsigned flags = 0;
        EXPECT_EQ(reader->activateCard(nullptr, flags), CardStatus::GeneralReaderError);
    } else {
        EXPECT_EQ(opened, CardStatus::GeneralReaderError);
        EXPECT_FALSE(manager.lastDetail().isEmpty());
        EXPECT_EQ(manager.currentReader(), nullptr);
        EXPECT_EQ(manager.currentDevice(), QStringLiteral("NOTHING"));
    }
    manager.selectDevice(QStringLiteral("NOTHING"));
    EXPECT_EQ(PcscReader::liveCount(), 0);
}

TEST_F(ReaderManagerTest, BrokenVirtualCardSaysWhy)
{
    const QString path = m_dir.filePath(QStringLiteral("broken.json"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{ not json");
    f.close();
    ReaderManager manager;
    EXPECT_EQ(manager.selectDevice(QStringLiteral("VIRTUAL:") + path), CardStatus::PortNotSet);
    EXPECT_FALSE(manager.lastDetail().isEmpty());
}
