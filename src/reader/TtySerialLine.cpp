#include "reader/TtySerialLine.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace kestrel {

namespace {

// How long a write may wait for room in a full output queue.
constexpr int kWriteWaitMs = 2000;

bool speedFor(int baud, speed_t& speed)
{
    struct Rate
    {
        int baud;
        speed_t speed;
    };
    static constexpr Rate kRates[] = {
        {300, B300},     {600, B600},     {1200, B1200},   {2400, B2400},     {4800, B4800},     {9600, B9600},
        {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400},
    };
    for (const Rate& r : kRates) {
        if (r.baud == baud) {
            speed = r.speed;
            return true;
        }
    }
    return false;
}

int64_t nowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

TtySerialLine::~TtySerialLine()
{
    close();
}

bool TtySerialLine::open(const std::string& path)
{
    close();
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    // Exclusive: no second open of the port while we hold it. Fails on anything not a terminal.
    if (::ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void TtySerialLine::close()
{
    if (m_fd < 0)
        return;
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
}

bool TtySerialLine::configure(int baud, Parity parity)
{
    speed_t speed;
    if (m_fd < 0 || !speedFor(baud, speed))
        return false;
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0)
        return false;
    ::cfmakeraw(&tio);
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | ISTRIP | PARMRK | IGNPAR);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL);
    tio.c_cflag |= CS8 | CSTOPB | PARENB | CLOCAL | CREAD;
    if (parity == Parity::Odd)
        tio.c_cflag |= PARODD;
    // Reads never block in the driver; waiting is done with poll().
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0)
        return false;
    if (::tcsetattr(m_fd, TCSANOW, &tio) == 0)
        return true;
    // A pseudo-terminal has no parity: the kernel drops PARENB and the character size it is given,
    // and then refuses with EINVAL a request that would change nothing else. The line is as
    // configured as it can be when everything but those bits already matches.
    if (errno != EINVAL)
        return false;
    termios now{};
    if (::tcgetattr(m_fd, &now) != 0)
        return false;
    const tcflag_t ignored = CSIZE | PARENB | PARODD;
    return (now.c_cflag & ~ignored) == (tio.c_cflag & ~ignored) && now.c_iflag == tio.c_iflag &&
           now.c_oflag == tio.c_oflag && now.c_lflag == tio.c_lflag && ::cfgetispeed(&now) == speed &&
           ::cfgetospeed(&now) == speed;
}

bool TtySerialLine::setModemLine(int bit, bool on)
{
    if (m_fd < 0)
        return false;
    return ::ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bit) == 0;
}

bool TtySerialLine::setDtr(bool on)
{
    return setModemLine(TIOCM_DTR, on);
}

bool TtySerialLine::setRts(bool on)
{
    return setModemLine(TIOCM_RTS, on);
}

bool TtySerialLine::purge()
{
    return m_fd >= 0 && ::tcflush(m_fd, TCIOFLUSH) == 0;
}

bool TtySerialLine::write(uint8_t byte)
{
    if (m_fd < 0)
        return false;
    const int64_t deadline = nowMs() + kWriteWaitMs;
    for (;;) {
        const ssize_t n = ::write(m_fd, &byte, 1);
        if (n == 1)
            return true;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        const int64_t left = deadline - nowMs();
        if (left <= 0)
            return false;
        pollfd p{m_fd, POLLOUT, 0};
        const int rc = ::poll(&p, 1, static_cast<int>(left));
        if (rc < 0 && errno != EINTR)
            return false;
    }
}

int TtySerialLine::read(int timeoutMs)
{
    if (m_fd < 0)
        return -1;
    const int64_t deadline = nowMs() + (timeoutMs > 0 ? timeoutMs : 0);
    for (;;) {
        uint8_t b = 0;
        const ssize_t n = ::read(m_fd, &b, 1);
        if (n == 1)
            return b;
        if (n < 0 && errno == EINTR)
            continue;
        const int64_t left = deadline - nowMs();
        if (left <= 0)
            return -1;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            // A hung-up line (the other end of a pseudo-terminal closed) reports an error at once;
            // wait out the time-out so that callers polling the line do not spin.
            std::this_thread::sleep_for(std::chrono::milliseconds(left));
            return -1;
        }
        pollfd p{m_fd, POLLIN, 0};
        const int rc = ::poll(&p, 1, static_cast<int>(left));
        if (rc < 0 && errno != EINTR)
            return -1;
        if (rc > 0 && !(p.revents & POLLIN)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::max<int64_t>(0, deadline - nowMs())));
            return -1;
        }
    }
}

} // namespace kestrel
