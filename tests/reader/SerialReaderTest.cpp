#include "reader/SerialReader.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "HexBytes.h"
#include "TempXdg.h"
#include "reader/ScriptedLine.h"
#include "reader/TtySerialLine.h"

using namespace kestrel;
using kestrel::test::hexBytes;
using kestrel::test::LineScript;
using kestrel::test::ScriptedSerialReader;
using kestrel::test::toSpacedHex;
using kestrel::test::operator+;

namespace {

// Settings and runtime files of these tests live in a folder of their own, for each SerialReader
// case and only for those: the other tests of the program keep their environment. QSettings takes
// the user's settings folder from XDG_CONFIG_HOME only once in a process, so it is pointed at the
// folder too, and back at the environment's afterwards.
class IsolatedHome : public ::testing::EmptyTestEventListener
{
public:
    IsolatedHome() { s_dir = m_dir.path(); }
    void OnTestStart(const ::testing::TestInfo& test) override
    {
        if (std::string_view(test.test_suite_name()) != "SerialReader")
            return;
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            m_variables.emplace_back(
                std::make_unique<test::ScopedEnvironmentVariable>(name, QFile::encodeName(m_dir.path())));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    }
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        if (m_variables.empty())
            return;
        m_variables.clear();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           qEnvironmentVariable("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config")));
    }
    static QString path() { return s_dir; }

private:
    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<test::ScopedEnvironmentVariable>> m_variables;
    inline static QString s_dir;
};

[[maybe_unused]] const bool kHome = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new IsolatedHome);
    return true;
}();

QSettings userSettings()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Brantwick"),
                     QStringLiteral("Kestrel! 4.0"));
}

} // namespace

TEST(SerialReader, PortPaths)
{
    struct Case
    {
        const char* device;
        const char* path;
    };
    const Case cases[] = {
        {"COM1", "/dev/ttyS0"},
        {"COM2", "/dev/ttyS1"},
        {"COM8", "/dev/ttyS7"},
        {"COM10", "/dev/ttyS9"},
        {"/dev/pts/7", "/dev/pts/7"},
        {"COM0", ""},
        {"COM1A", ""},
        {"com1", ""},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SerialReader::portPath(QString::fromUtf8(c.device)), QString::fromUtf8(c.path)) << c.device;

    {
        QSettings settings = userSettings();
        settings.setValue(QStringLiteral("commData/COM3"), QStringLiteral("/dev/ttyUSB0"));
        settings.sync();
        ASSERT_EQ(settings.status(), QSettings::NoError);
    }
    EXPECT_TRUE(QFile::exists(IsolatedHome::path() + QStringLiteral("/Brantwick/Kestrel! 4.0.conf")));
    EXPECT_EQ(SerialReader::portPath(QStringLiteral("COM3")), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(SerialReader::portPath(QStringLiteral("COM4")), QStringLiteral("/dev/ttyS3"));
    userSettings().remove(QStringLiteral("commData/COM3"));
}

TEST(SerialReader, OpenFailsWithoutADevice)
{
    {
        QSettings settings = userSettings();
        settings.setValue(QStringLiteral("commData/COM5"), IsolatedHome::path() + QStringLiteral("/no-such-tty"));
    }
    QFile plain(IsolatedHome::path() + QStringLiteral("/plain-file"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    for (const QString& name : {QStringLiteral("COM5"), IsolatedHome::path() + QStringLiteral("/no-such-tty"),
                                plain.fileName(), QStringLiteral("COM1A")}) {
        SerialReader reader(std::make_unique<TtySerialLine>());
        EXPECT_EQ(reader.open(name), CardStatus::PortNotSet) << name.toStdString();
        EXPECT_FALSE(reader.portOpen());
        EXPECT_FALSE(reader.readerConnected());
        EXPECT_EQ(reader.close(), CardStatus::Ok);
    }
    userSettings().remove(QStringLiteral("commData/COM5"));
}

TEST(SerialReader, Session)
{
    LineScript line;
    {
        ScriptedSerialReader reader(line);
        line.readerStart("KVR32");
        ASSERT_EQ(reader.open(QStringLiteral("COM2")), CardStatus::Ok);
        const std::vector<std::string> opening = {
            "open /dev/ttyS1",     "purge",   "DTR off", "RTS off", // reader off
            "configure 9600 even", "DTR off", "RTS on",  "DTR on",  // reset pulse
        };
        EXPECT_EQ(line.events, opening);
        // Settle 300 ms and pulse 200 ms in 10-ms slices, then 1 ms after the setting.
        std::vector<int> sleeps(50, 10);
        sleeps.push_back(1);
        EXPECT_EQ(reader.sleeps, sleeps);
        EXPECT_EQ(toSpacedHex(line.written), "02 1A");
        EXPECT_TRUE(reader.readerConnected());
        EXPECT_TRUE(reader.portOpen());

        // SELECT MF, then GET RESPONSE of its 0x16 bytes.
        line.status(0x40);
        line.cardOn(hexBytes("3B 02 14 50"));
        unsigned flags = 0;
        ASSERT_EQ(reader.activateCard(nullptr, flags), CardStatus::Ok);
        line.echoed("A0 A4 00 00 02", "A4");
        line.echoed("3F 00", "9F 16");
        std::vector<uint8_t> fid = hexBytes("3F 00");
        uint16_t sw = 0;
        EXPECT_EQ(reader.transmit(0xA0, 0xA4, 0, 0, 2, fid, true, sw), CardStatus::Ok);
        EXPECT_EQ(sw, 0x9F16);
        const std::vector<uint8_t> response =
            hexBytes("00 00 00 00 3F 00 01 00 00 00 00 00 09 13 00 0A 04 00 83 8A 83 8A");
        line.echoed(hexBytes("A0 C0 00 00 16"), hexBytes("C0") + response + hexBytes("90 00"));
        std::vector<uint8_t> data(0x16);
        EXPECT_EQ(reader.transmit(0xA0, 0xC0, 0, 0, 0x16, data, false, sw), CardStatus::Ok);
        EXPECT_EQ(sw, 0x9000);
        EXPECT_EQ(data, response);
        EXPECT_TRUE(line.done());

        line.events.clear();
        reader.sleeps.clear();
        EXPECT_EQ(reader.close(), CardStatus::Ok);
        EXPECT_EQ(line.events, (std::vector<std::string>{"DTR off", "RTS off", "close"}));
        EXPECT_EQ(reader.sleeps, std::vector<int>(30, 10));
        EXPECT_FALSE(reader.portOpen());
        EXPECT_FALSE(reader.readerConnected());
        EXPECT_FALSE(reader.cardActive());
        EXPECT_EQ(reader.close(), CardStatus::Ok);

        // Opened again, then destroyed while open.
        line.readerStart();
        reader.setReaderOffSettleTime(0);
        reader.setResetPulseTime(0);
        ASSERT_EQ(reader.open(QStringLiteral("COM1")), CardStatus::Ok);
        line.events.clear();
    }
    EXPECT_EQ(line.events, (std::vector<std::string>{"DTR off", "RTS off", "close"}));
}

TEST(SerialReader, PortFailures)
{
    struct Case
    {
        const char* name;
        bool configureFails;
        bool modemFails;
        CardStatus result;
    };
    const Case cases[] = {
        {"line settings refused", true, false, CardStatus::PortOperationError},
        {"modem lines refused", false, true, CardStatus::PortOperationError},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineScript line;
        line.configureFails = c.configureFails;
        line.modemFails = c.modemFails;
        ScriptedSerialReader reader(line);
        EXPECT_EQ(reader.open(QStringLiteral("COM1")), c.result);
        EXPECT_FALSE(reader.readerConnected());
    }
    LineScript line;
    ScriptedSerialReader reader(line);
    EXPECT_EQ(reader.startReader(), CardStatus::PortNotSet);
    EXPECT_EQ(reader.shutDownReader(), CardStatus::PortNotSet);
    EXPECT_EQ(reader.setLineParameters(2, 9600), CardStatus::PortNotSet);
    EXPECT_FALSE(reader.byteAvailable());
    EXPECT_EQ(reader.readByte(), -1);
}

TEST(SerialReader, PpsRequest)
{
    LineScript line;
    ScriptedSerialReader reader(line);
    line.readerStart();
    ASSERT_EQ(reader.open(QStringLiteral("COM1")), CardStatus::Ok);
    line.written.clear();
    // Stale input is dropped first; the echo and the card's answer (at most 8 bytes) are read.
    line.input = {0x55, 0x66};
    line.expect("FF 00 FF", "FF 00 FF FF 00 FF 00 00 00 00");
    EXPECT_EQ(reader.sendPps(), CardStatus::Ok);
    EXPECT_EQ(toSpacedHex(line.written), "FF 00 FF");
    EXPECT_EQ(line.input.size(), 2u);
}

TEST(SerialReader, OpenAgainClosesFirst)
{
    LineScript line;
    ScriptedSerialReader reader(line);
    line.readerStart();
    ASSERT_EQ(reader.open(QStringLiteral("COM1")), CardStatus::Ok);
    line.status(0x40);
    line.cardOn(hexBytes("3B 00"));
    unsigned flags = 0;
    ASSERT_EQ(reader.activateCard(nullptr, flags), CardStatus::Ok);
    line.events.clear();
    line.readerStart();
    ASSERT_EQ(reader.open(QStringLiteral("COM2")), CardStatus::Ok);
    ASSERT_GE(line.events.size(), 2u);
    EXPECT_EQ(line.events[0], "close");
    EXPECT_EQ(line.events[1], "open /dev/ttyS1");
    // The reader was reset: the card is off and must be activated again.
    EXPECT_FALSE(reader.cardPowered());
    EXPECT_FALSE(reader.cardActive());
    EXPECT_TRUE(line.done());
}
