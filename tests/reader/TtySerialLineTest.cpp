#include "reader/TtySerialLine.h"

#include <cerrno>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

using namespace kestrel;

namespace {

// A pseudo-terminal: the line opens the slave, the test plays the far end on the master.
class Pty : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(m_master, 0);
        ASSERT_EQ(::grantpt(m_master), 0);
        ASSERT_EQ(::unlockpt(m_master), 0);
        const char* name = ::ptsname(m_master);
        ASSERT_NE(name, nullptr);
        m_slavePath = name;
        ASSERT_TRUE(m_line.open(m_slavePath));
        ASSERT_TRUE(m_line.configure(9600, SerialLine::Parity::Even));
    }
    void TearDown() override
    {
        m_line.close();
        if (m_master >= 0)
            ::close(m_master);
    }

    // The byte the line sent, as the far end receives it; -1 when none comes within a second.
    int masterRead()
    {
        pollfd p{m_master, POLLIN, 0};
        if (::poll(&p, 1, 1000) <= 0)
            return -1;
        uint8_t b = 0;
        return ::read(m_master, &b, 1) == 1 ? b : -1;
    }
    void masterWrite(uint8_t b) { ASSERT_EQ(::write(m_master, &b, 1), 1); }

    termios slaveSettings()
    {
        termios tio{};
        const int fd = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) {
            ADD_FAILURE() << "cannot open " << m_slavePath << " errno " << errno;
            return tio;
        }
        EXPECT_EQ(::tcgetattr(fd, &tio), 0);
        ::close(fd);
        return tio;
    }

    int m_master = -1;
    std::string m_slavePath;
    TtySerialLine m_line;
};

} // namespace

TEST_F(Pty, LineSettings)
{
    struct Case
    {
        int baud;
        SerialLine::Parity parity;
        speed_t speed;
    };
    const Case cases[] = {
        {9600, SerialLine::Parity::Even, B9600},
        {9600, SerialLine::Parity::Odd, B9600},
        {19200, SerialLine::Parity::Even, B19200},
        {115200, SerialLine::Parity::Odd, B115200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baud);
        ASSERT_TRUE(m_line.configure(c.baud, c.parity));
        // The line holds the slave exclusively; the settings stay with the terminal once it lets go.
        m_line.close();
        const termios tio = slaveSettings();
        ASSERT_TRUE(m_line.open(m_slavePath));
        EXPECT_EQ(::cfgetispeed(&tio), c.speed);
        EXPECT_EQ(::cfgetospeed(&tio), c.speed);
        EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        // A pseudo-terminal drops PARENB (it has no parity); it keeps PARODD.
        EXPECT_EQ((tio.c_cflag & PARODD) != 0, c.parity == SerialLine::Parity::Odd);
        EXPECT_TRUE(tio.c_cflag & CSTOPB);
        EXPECT_TRUE(tio.c_cflag & CLOCAL);
        EXPECT_TRUE(tio.c_cflag & CREAD);
        EXPECT_FALSE(tio.c_cflag & CRTSCTS);
        EXPECT_FALSE(tio.c_iflag & (IXON | IXOFF | INPCK));
        EXPECT_FALSE(tio.c_lflag & (ICANON | ECHO | ISIG));
        EXPECT_FALSE(tio.c_oflag & OPOST);
    }
    // Setting what is already set (the engine does so before every card) is no failure.
    EXPECT_TRUE(m_line.configure(9600, SerialLine::Parity::Even));
    EXPECT_TRUE(m_line.configure(9600, SerialLine::Parity::Even));
    EXPECT_TRUE(m_line.configure(9600, SerialLine::Parity::Odd));
    EXPECT_TRUE(m_line.configure(9600, SerialLine::Parity::Odd));
    EXPECT_FALSE(m_line.configure(12345, SerialLine::Parity::Even));
}

TEST_F(Pty, BytesBothWays)
{
    // Every byte value passes unchanged: the line is raw in both directions.
    for (int v : {0x00, 0x0A, 0x0D, 0x11, 0x13, 0x3B, 0x7F, 0x80, 0xA0, 0xFF}) {
        SCOPED_TRACE(v);
        masterWrite(static_cast<uint8_t>(v));
        EXPECT_EQ(m_line.read(1000), v);
        ASSERT_TRUE(m_line.write(static_cast<uint8_t>(v)));
        EXPECT_EQ(masterRead(), v);
    }
}

TEST_F(Pty, ReadTimesOutOnASilentLine)
{
    EXPECT_EQ(m_line.read(20), -1);
    EXPECT_EQ(m_line.read(0), -1);
}

TEST_F(Pty, PurgeDropsPendingInput)
{
    masterWrite(0x41);
    masterWrite(0x42);
    // Wait (bounded) until both bytes wait on the line's side before dropping them.
    int queued = 0;
    for (int i = 0; i < 100 && queued < 2; ++i) {
        ASSERT_EQ(::ioctl(m_line.fileDescriptor(), FIONREAD, &queued), 0);
        if (queued < 2)
            ::poll(nullptr, 0, 10);
    }
    ASSERT_EQ(queued, 2);
    EXPECT_TRUE(m_line.purge());
    EXPECT_EQ(m_line.read(20), -1);
    masterWrite(0x43);
    EXPECT_EQ(m_line.read(1000), 0x43);
}

TEST_F(Pty, ModemLinesOnAPseudoTerminal)
{
    // A pseudo-terminal has no DTR or RTS: refused, and the line goes on working.
    EXPECT_FALSE(m_line.setDtr(true));
    EXPECT_FALSE(m_line.setDtr(false));
    EXPECT_FALSE(m_line.setRts(true));
    masterWrite(0x5A);
    EXPECT_EQ(m_line.read(1000), 0x5A);
}

TEST_F(Pty, ExclusiveOpen)
{
    TtySerialLine second;
    const bool opened = second.open(m_slavePath);
    if (::geteuid() == 0) {
        // The superuser is let through an exclusive terminal by the kernel.
        second.close();
    } else {
        EXPECT_FALSE(opened);
    }
    m_line.close();
    EXPECT_TRUE(second.open(m_slavePath)); // free again once the first line lets go
    EXPECT_TRUE(second.isOpen());
}

TEST_F(Pty, ClosedAndMissing)
{
    TtySerialLine line;
    EXPECT_FALSE(line.isOpen());
    EXPECT_FALSE(line.open("/nonexistent/kestrel-tty"));
    EXPECT_FALSE(line.open("/dev/null")); // not a terminal
    EXPECT_FALSE(line.isOpen());
    EXPECT_FALSE(line.write(0x00));
    EXPECT_EQ(line.read(1), -1);
    EXPECT_FALSE(line.configure(9600, SerialLine::Parity::Even));
    EXPECT_FALSE(line.purge());
    EXPECT_FALSE(line.setDtr(true));
}

TEST_F(Pty, FarEndGone)
{
    ::close(m_master);
    m_master = -1;
    EXPECT_EQ(m_line.read(20), -1);
}
