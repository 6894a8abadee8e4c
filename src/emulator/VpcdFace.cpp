#include "emulator/VpcdFace.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "gsm/StatusWords.h"

namespace kestrel::emulator {

namespace {

constexpr uint8_t kPowerOff = 0;
constexpr uint8_t kPowerOn = 1;
constexpr uint8_t kReset = 2;
constexpr uint8_t kGetAtr = 4;
constexpr size_t kLengthBytes = 2;
constexpr size_t kHeaderLength = 5;

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

void setOption(int fd, int level, int name)
{
    const int on = 1;
    setsockopt(fd, level, name, &on, sizeof on);
}

void appendFrame(std::vector<uint8_t>& out, std::span<const uint8_t> payload)
{
    out.push_back(static_cast<uint8_t>(payload.size() >> 8));
    out.push_back(static_cast<uint8_t>(payload.size()));
    out.insert(out.end(), payload.begin(), payload.end());
}

// Writes all of bytes; false when the peer is gone or the socket failed.
bool sendAll(int fd, std::span<const uint8_t> bytes)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pollfd p{fd, POLLOUT, 0};
                ::poll(&p, 1, -1);
                continue;
            }
            return false;
        }
        sent += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

VpcdFace::VpcdFace(Icc& card) : m_card(card) {}

VpcdFace::~VpcdFace()
{
    closeSocket();
}

void VpcdFace::closeSocket()
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
}

bool VpcdFace::parseAddress(const QString& text, QString& host, uint16_t& port, QString& error)
{
    host = QStringLiteral("localhost");
    port = kDefaultPort;
    QString portText;
    if (text.startsWith(u'[')) {
        const qsizetype close = text.indexOf(u']');
        if (close < 0) {
            error = QStringLiteral("\"%1\": no closing ] after the IPv6 address").arg(text);
            return false;
        }
        host = text.mid(1, close - 1);
        const QString rest = text.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(u':')) {
            error = QStringLiteral("\"%1\": expected :port after the address").arg(text);
            return false;
        }
        portText = rest.mid(1);
    } else if (const qsizetype colon = text.lastIndexOf(u':'); colon >= 0) {
        if (colon > 0)
            host = text.left(colon);
        portText = text.mid(colon + 1);
    } else {
        portText = text;
    }
    if (host.isEmpty()) {
        error = QStringLiteral("\"%1\": empty host name").arg(text);
        return false;
    }
    if (!portText.isEmpty()) {
        bool ok = false;
        const uint value = portText.toUInt(&ok, 10);
        if (!ok || value == 0 || value > 65535) {
            error = QStringLiteral("\"%1\": the port must be a number from 1 to 65535").arg(text);
            return false;
        }
        port = static_cast<uint16_t>(value);
    }
    return true;
}

bool VpcdFace::connectTo(const QString& host, uint16_t port, int timeoutMs, QString& error)
{
    closeSocket();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const QByteArray hostName = host.toUtf8();
    const QByteArray service = QByteArray::number(port);
    if (const int r = ::getaddrinfo(hostName.constData(), service.constData(), &hints, &found); r != 0) {
        error = QStringLiteral("%1: %2").arg(host, QString::fromLocal8Bit(::gai_strerror(r)));
        return false;
    }
    error.clear();
    for (addrinfo* a = found; a && m_socket < 0; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, a->ai_protocol);
        if (fd < 0) {
            error = systemError("socket");
            continue;
        }
        int result = ::connect(fd, a->ai_addr, a->ai_addrlen);
        if (result < 0 && errno == EINPROGRESS) {
            pollfd p{fd, POLLOUT, 0};
            int ready;
            do {
                ready = ::poll(&p, 1, timeoutMs);
            } while (ready < 0 && errno == EINTR);
            if (ready == 0) {
                errno = ETIMEDOUT;
            } else if (ready > 0) {
                int soError = 0;
                socklen_t len = sizeof soError;
                ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &soError, &len);
                errno = soError;
                result = soError == 0 ? 0 : -1;
            }
        }
        if (result < 0) {
            error = systemError("connect");
            ::close(fd);
            continue;
        }
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        adopt(fd);
    }
    ::freeaddrinfo(found);
    return m_socket >= 0;
}

void VpcdFace::adopt(int socket)
{
    closeSocket();
    m_socket = socket;
    m_pending.clear();
    setOption(m_socket, IPPROTO_TCP, TCP_NODELAY);
}

VpcdFace::End VpcdFace::serve(int stopFd, QString& error)
{
    error.clear();
    if (m_socket < 0) {
        error = QStringLiteral("not connected");
        return End::Failed;
    }
    std::vector<uint8_t> buffer(4096);
    for (;;) {
        pollfd fds[2] = {{m_socket, POLLIN, 0}, {stopFd, POLLIN, 0}};
        const int ready = ::poll(fds, stopFd >= 0 ? 2 : 1, -1);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            error = systemError("poll");
            return End::Failed;
        }
        if (stopFd >= 0 && fds[1].revents != 0)
            return End::Stopped;
        if (fds[0].revents == 0)
            continue;

        setOption(m_socket, IPPROTO_TCP, TCP_QUICKACK);
        const ssize_t n = ::recv(m_socket, buffer.data(), buffer.size(), 0);
        if (n == 0)
            return End::PeerClosed;
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            if (errno == ECONNRESET)
                return End::PeerClosed;
            error = systemError("recv");
            return End::Failed;
        }
        const std::vector<uint8_t> replies = feed(std::span<const uint8_t>(buffer.data(), static_cast<size_t>(n)));
        if (!replies.empty() && !sendAll(m_socket, replies)) {
            if (errno == EPIPE || errno == ECONNRESET)
                return End::PeerClosed;
            error = systemError("send");
            return End::Failed;
        }
    }
}

std::vector<uint8_t> VpcdFace::feed(std::span<const uint8_t> bytes)
{
    m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
    std::vector<uint8_t> out;
    size_t at = 0;
    while (m_pending.size() - at >= kLengthBytes) {
        const size_t length = static_cast<size_t>(m_pending[at] << 8 | m_pending[at + 1]);
        if (m_pending.size() - at - kLengthBytes < length)
            break;
        const std::span<const uint8_t> payload(m_pending.data() + at + kLengthBytes, length);
        if (const auto reply = handleMessage(payload))
            appendFrame(out, *reply);
        at += kLengthBytes + length;
    }
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(at));
    return out;
}

std::optional<std::vector<uint8_t>> VpcdFace::handleMessage(std::span<const uint8_t> payload)
{
    if (payload.empty())
        return std::nullopt;
    if (payload.size() == 1) {
        switch (payload[0]) {
        case kPowerOff:
            m_card.powerOff();
            return std::nullopt;
        case kPowerOn:
        case kReset:
            m_atr = m_card.powerOn();
            m_atrKnown = true;
            return std::nullopt;
        case kGetAtr:
            // The first poll comes before any power-up; the card is powered once to learn it.
            if (!m_atrKnown) {
                m_atr = m_card.powerOn();
                m_atrKnown = true;
            }
            return m_card.present() ? m_atr : std::vector<uint8_t>{};
        default:
            return std::nullopt;
        }
    }
    std::optional<std::vector<uint8_t>> reply = answerCommand(payload);
    ++m_commands;
    if (m_commandHook)
        m_commandHook();
    return reply;
}

std::optional<std::vector<uint8_t>> VpcdFace::answerCommand(std::span<const uint8_t> command)
{
    // Four bytes are a command without P3 (ISO/IEC 7816-4 case 1), which T=0 sends with P3 = 0.
    // Shorter, it is too short to be one: wrong length.
    if (command.size() < 4)
        return std::vector<uint8_t>{gsm::sw1(gsm::sw::kWrongP3), gsm::sw2(gsm::sw::kWrongP3)};
    Apdu apdu;
    apdu.cla = command[0];
    apdu.ins = command[1];
    apdu.p1 = command[2];
    apdu.p2 = command[3];
    apdu.p3 = command.size() > 4 ? command[4] : 0;
    const std::span<const uint8_t> body =
        command.size() > kHeaderLength ? command.subspan(kHeaderLength) : std::span<const uint8_t>{};
    // A command carrying data gets the bytes P3 announces (the card judges a shortfall); bytes
    // beyond them, such as a trailing Le, never reach a T=0 card. A reading command has no body.
    if (Icc::isIncoming(apdu.ins))
        apdu.data.assign(body.begin(),
                         body.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(body.size(), apdu.p3)));

    const CardResponse response = m_card.process(apdu);
    // A card that failed mid-command: silence becomes an empty answer (not even a status word),
    // noise goes back as it came. A stalled card never finishes the command: no answer at all;
    // how long pcscd waits for one is its own affair.
    if (response.stalled)
        return std::nullopt;
    if (response.silent)
        return std::vector<uint8_t>{};
    if (response.garbled)
        return response.data;
    std::vector<uint8_t> reply = response.data;
    reply.push_back(static_cast<uint8_t>(response.sw >> 8));
    reply.push_back(static_cast<uint8_t>(response.sw));
    return reply;
}

} // namespace kestrel::emulator
