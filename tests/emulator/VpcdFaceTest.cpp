#include "emulator/VpcdFace.h"

#include <future>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include "ApduSession.h"
#include "CliRun.h"
#include "emulator/CardFile.h"
#include "emulator/SimCardModel.h"
#include "emulator/SimTool.h"
#include "emulator/StandardCard.h"

using namespace kestrel::emulator;
using kestrel::test::hexBytes;
using kestrel::test::toSpacedHex;

namespace {

const std::vector<uint8_t> kGetAtr{4};
const std::string kVerifyChv1 = "A0 20 00 01 08 31 32 33 34 FF FF FF FF";
const std::string kSelectAdn[] = {"A0 A4 00 00 02 3F00", "A0 A4 00 00 02 7F10", "A0 A4 00 00 02 6F3A"};

std::vector<uint8_t> frame(const std::vector<uint8_t>& payload)
{
    std::vector<uint8_t> f{static_cast<uint8_t>(payload.size() >> 8), static_cast<uint8_t>(payload.size())};
    f.insert(f.end(), payload.begin(), payload.end());
    return f;
}

std::string answer(VpcdFace& face, const std::string& command)
{
    const auto reply = face.handleMessage(hexBytes(command));
    return reply ? toSpacedHex(*reply) : std::string("(none)");
}

std::string sw(const std::optional<std::vector<uint8_t>>& reply)
{
    if (!reply || reply->size() < 2)
        return "(none)";
    return toSpacedHex(std::span<const uint8_t>(*reply).last(2));
}

TEST(VpcdFace, ControlMessages)
{
    SimCardModel card(StandardCard::simCard());
    VpcdFace face(card);
    const std::string atr = toSpacedHex(StandardCard::simCard().atr);

    // The first poll learns the answer to reset; later polls answer it without a new power-up.
    EXPECT_EQ(answer(face, "04"), atr);
    EXPECT_EQ(answer(face, "01"), "(none)");
    EXPECT_EQ(answer(face, "A0 20 00 01 08 31 32 33 34 FF FF FF FF"), "90 00");
    EXPECT_EQ(answer(face, "04"), atr);
    for (const std::string& select : kSelectAdn)
        EXPECT_EQ(answer(face, select).substr(0, 2), "9F");
    EXPECT_EQ(answer(face, "A0 B2 01 04 1C").size(), 30u * 3 - 1) << "still verified after the poll";

    // Reset starts the card afresh (nothing verified); power off leaves it unanswering.
    EXPECT_EQ(answer(face, "02"), "(none)");
    for (const std::string& select : kSelectAdn)
        answer(face, select);
    EXPECT_EQ(answer(face, "A0 B2 01 04 1C"), "98 04");
    EXPECT_EQ(answer(face, "00"), "(none)");
    EXPECT_EQ(answer(face, "A0 A4 00 00 02 3F00"), "6F 00");
    EXPECT_EQ(answer(face, "04"), atr);
    // Control bytes vpcd does not send are passed over.
    EXPECT_EQ(answer(face, "03"), "(none)");
    EXPECT_EQ(answer(face, "FF"), "(none)");
}

TEST(VpcdFace, CommandApdus)
{
    SimCardModel card(StandardCard::simCard());
    VpcdFace face(card);
    face.handleMessage(hexBytes("01"));
    struct Case
    {
        std::string command;
        std::string reply; // "…" + status word: only the status word is compared
    };
    const Case cases[] = {
        // T=0 as it is: 9F xx goes back, GET RESPONSE is the terminal's to send.
        {"A0 A4 00 00 02 3F00", "9F 22"},
        {"A0 C0 00 00 02", "00 00 90 00"},
        // Too short to be a command; four bytes are a command without P3 (STATUS then reads 0 bytes,
        // and the card names the length it has).
        {"A0 A4 00", "67 00"},
        {"A0 A4", "67 00"},
        {"A0 F2 00 00", "67 22"},
        // A command carrying data takes P3 bytes; a trailing Le is not passed on, a shortfall is
        // the card's to judge.
        {"A0 A4 00 00 02 3F00 00", "…9F 22"},
        {"A0 A4 00 00 02 3F", "…67 01"},
        // Other classes and instructions are the card's business.
        {"00 A4 00 00 02 3F00", "6E 00"},
        {"A0 FE 00 00 00", "6D 00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const auto reply = face.handleMessage(hexBytes(c.command));
        ASSERT_TRUE(reply.has_value());
        if (c.reply.rfind("…", 0) == 0)
            EXPECT_EQ(sw(reply), c.reply.substr(std::string("…").size()));
        else
            EXPECT_EQ(toSpacedHex(*reply), c.reply);
    }
    EXPECT_EQ(face.commandCount(), std::size(cases));
    // An empty payload is nothing at all.
    EXPECT_FALSE(face.handleMessage({}).has_value());
}

TEST(VpcdFace, FramesMayArriveInAnyPieces)
{
    SimCardModel whole(StandardCard::simCard());
    SimCardModel split(StandardCard::simCard());
    VpcdFace a(whole);
    VpcdFace b(split);

    std::vector<uint8_t> stream;
    for (const char* m : {"04", "01", "A0 A4 00 00 02 3F00", "A0 C0 00 00 22", "00"}) {
        const auto f = frame(hexBytes(m));
        stream.insert(stream.end(), f.begin(), f.end());
    }
    // An empty frame in between is skipped.
    stream.push_back(0);
    stream.push_back(0);

    const std::vector<uint8_t> together = a.feed(stream);
    std::vector<uint8_t> pieces;
    for (uint8_t byte : stream) {
        const auto out = b.feed(std::span<const uint8_t>(&byte, 1));
        pieces.insert(pieces.end(), out.begin(), out.end());
    }
    EXPECT_EQ(pieces, together);
    // ATR, 9F 22, 34 bytes + 90 00: three framed replies.
    const size_t atrLength = StandardCard::simCard().atr.size();
    ASSERT_EQ(together.size(), 2 + atrLength + 2 + 2 + 2 + 36);
    EXPECT_EQ(together[0], 0);
    EXPECT_EQ(together[1], atrLength);
    EXPECT_EQ(together[2 + atrLength + 1], 2);
    EXPECT_EQ(together[2 + atrLength + 4], 0);
    EXPECT_EQ(together[2 + atrLength + 5], 36);
    EXPECT_EQ(together[together.size() - 2], 0x90);

    // A frame announced longer than what has come is kept until the rest arrives.
    EXPECT_TRUE(a.feed(hexBytes("00 01 01 00 07 A0 A4 00")).empty());
    EXPECT_EQ(toSpacedHex(a.feed(hexBytes("00 02 3F00"))), "00 02 9F 22") << "the rest completes it";
}

TEST(VpcdFace, ParseAddress)
{
    struct Case
    {
        const char* text;
        bool ok;
        const char* host;
        uint16_t port;
    };
    const Case cases[] = {
        {"", true, "localhost", 35963},
        {"35964", true, "localhost", 35964},
        {"pcbox:40000", true, "pcbox", 40000},
        {":40000", true, "localhost", 40000},
        {"pcbox:", true, "pcbox", 35963},
        {"[::1]:35963", true, "::1", 35963},
        {"[::1]", true, "::1", 35963},
        {"pcbox:0", false, "", 0},
        {"pcbox:65536", false, "", 0},
        {"pcbox:http", false, "", 0},
        {"[::1", false, "", 0},
        {"[::1]x", false, "", 0},
        {"[]:1", false, "", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QString host;
        uint16_t port = 0;
        QString error;
        ASSERT_EQ(VpcdFace::parseAddress(QString::fromLatin1(c.text), host, port, error), c.ok);
        if (c.ok) {
            EXPECT_EQ(host, QString::fromLatin1(c.host));
            EXPECT_EQ(port, c.port);
        } else {
            EXPECT_FALSE(error.isEmpty());
        }
    }
}

// A TCP listener on the loopback standing in for vpcd.
class FakeVpcd
{
public:
    FakeVpcd()
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(m_listen, 1);
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~FakeVpcd()
    {
        hangUp();
        ::close(m_listen);
    }
    FakeVpcd(const FakeVpcd&) = delete;
    FakeVpcd& operator=(const FakeVpcd&) = delete;

    uint16_t port() const { return m_port; }

    bool accept(int timeoutMs)
    {
        pollfd p{m_listen, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) != 1)
            return false;
        m_peer = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        return m_peer >= 0;
    }

    // Sends one message and waits (bounded) for the framed reply's payload.
    std::optional<std::vector<uint8_t>> exchange(const std::string& message, int timeoutMs = 5000)
    {
        send(message);
        std::vector<uint8_t> head = receive(2, timeoutMs);
        if (head.size() != 2)
            return std::nullopt;
        const std::vector<uint8_t> payload = receive(static_cast<size_t>(head[0] << 8 | head[1]), timeoutMs);
        return payload;
    }

    void send(const std::string& message)
    {
        const auto f = frame(hexBytes(message));
        // Length and payload in two writes, as vpcd does.
        ASSERT_EQ(::send(m_peer, f.data(), 2, MSG_NOSIGNAL), 2);
        ASSERT_EQ(::send(m_peer, f.data() + 2, f.size() - 2, MSG_NOSIGNAL), static_cast<ssize_t>(f.size() - 2));
    }

    void hangUp()
    {
        if (m_peer >= 0)
            ::close(m_peer);
        m_peer = -1;
    }

private:
    std::vector<uint8_t> receive(size_t count, int timeoutMs)
    {
        std::vector<uint8_t> out(count);
        size_t got = 0;
        while (got < count) {
            pollfd p{m_peer, POLLIN, 0};
            if (::poll(&p, 1, timeoutMs) != 1)
                break;
            const ssize_t n = ::recv(m_peer, out.data() + got, count - got, 0);
            if (n <= 0)
                break;
            got += static_cast<size_t>(n);
        }
        out.resize(got);
        return out;
    }

    int m_listen = -1;
    int m_peer = -1;
    uint16_t m_port = 0;
};

TEST(VpcdFace, ServesOverTcpUntilThePeerLeaves)
{
    FakeVpcd vpcd;
    SimCardModel card(StandardCard::simCard());
    VpcdFace face(card);
    QString error;
    ASSERT_TRUE(face.connectTo(QStringLiteral("127.0.0.1"), vpcd.port(), 5000, error)) << error.toStdString();
    ASSERT_TRUE(vpcd.accept(5000));

    auto served = std::async(std::launch::async, [&face] {
        QString why;
        return face.serve(-1, why);
    });
    EXPECT_EQ(vpcd.exchange("04"), StandardCard::simCard().atr);
    vpcd.send("01");
    EXPECT_EQ(sw(vpcd.exchange("A0 A4 00 00 02 3F00")), "9F 22");
    vpcd.hangUp();
    ASSERT_EQ(served.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(served.get(), VpcdFace::End::PeerClosed);
}

TEST(VpcdFace, StopsWhenAskedAndFailsToReachNobody)
{
    FakeVpcd vpcd;
    SimCardModel card(StandardCard::simCard());
    VpcdFace face(card);
    QString error;
    ASSERT_TRUE(face.connectTo(QStringLiteral("localhost"), vpcd.port(), 5000, error)) << error.toStdString();
    ASSERT_TRUE(vpcd.accept(5000));
    int stop[2];
    ASSERT_EQ(::pipe(stop), 0);
    auto served = std::async(std::launch::async, [&face, &stop] {
        QString why;
        return face.serve(stop[0], why);
    });
    EXPECT_EQ(vpcd.exchange("04"), StandardCard::simCard().atr);
    ASSERT_EQ(::write(stop[1], "x", 1), 1);
    ASSERT_EQ(served.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(served.get(), VpcdFace::End::Stopped);
    ::close(stop[0]);
    ::close(stop[1]);

    // Nobody listens on the listener's port once it is gone.
    uint16_t freePort = 0;
    {
        FakeVpcd gone;
        freePort = gone.port();
    }
    VpcdFace lonely(card);
    EXPECT_FALSE(lonely.connectTo(QStringLiteral("127.0.0.1"), freePort, 5000, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(lonely.connected());
    EXPECT_EQ(lonely.serve(-1, error), VpcdFace::End::Failed);
}

TEST(VpcdFace, SimToolServeSavesChangesAndEndsWhenVpcdGoesAway)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("card.json"));
    QString error;
    ASSERT_TRUE(CardFile::save(StandardCard::simCard(), path, error));

    FakeVpcd vpcd;
    const QString address = QStringLiteral("127.0.0.1:%1").arg(vpcd.port());
    auto tool = std::async(std::launch::async, [&] {
        return kestrel::test::captureOutput([&](QTextStream& out, QTextStream& err) {
            return runSimTool(
                {QStringLiteral("serve"), QStringLiteral("--card"), path, QStringLiteral("--vpcd"), address}, out, err);
        });
    });
    ASSERT_TRUE(vpcd.accept(10000));
    EXPECT_EQ(vpcd.exchange("04"), StandardCard::simCard().atr);
    vpcd.send("01");
    EXPECT_EQ(sw(vpcd.exchange(kVerifyChv1)), "90 00");
    for (const std::string& select : kSelectAdn)
        EXPECT_EQ(sw(vpcd.exchange(select)).substr(0, 2), "9F");
    const std::string record = "4B 45 53 54 52 45 4C FF FF FF FF FF FF FF 07 91 44 77 00 09 21 F3 FF FF FF FF FF FF";
    EXPECT_EQ(sw(vpcd.exchange("A0 DC 01 04 1C " + record)), "90 00");
    vpcd.hangUp();

    ASSERT_EQ(tool.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    const auto [code, out, err] = tool.get();
    EXPECT_EQ(code, 0) << err.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("vpcd closed the connection"))) << out.toStdString();

    // The change is in the file.
    const CardFileResult saved = CardFile::load(path);
    ASSERT_TRUE(saved.ok);
    SimCardModel reloaded(saved.card);
    VpcdFace check(reloaded);
    check.handleMessage(hexBytes("01"));
    answer(check, kVerifyChv1);
    for (const std::string& select : kSelectAdn)
        answer(check, select);
    EXPECT_EQ(answer(check, "A0 B2 01 04 1C"), record + " 90 00");
}

TEST(VpcdFace, SimToolServeRehearsesTheFaultsOfFileAndFlags)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("card.json"));
    SimCardData data = StandardCard::simCard();
    data.options.faults.wrongStatusAtCommand = 2;
    data.options.faults.wrongStatus = 0x9240;
    data.options.faults.garbageAtCommand = 3;
    QString error;
    ASSERT_TRUE(CardFile::save(data, path, error));

    FakeVpcd vpcd;
    auto tool = std::async(std::launch::async, [&] {
        // The flags' status word goes over the file's; the file's garbage stays.
        return kestrel::test::captureOutput([&](QTextStream& out, QTextStream& err) {
                   return runSimTool({QStringLiteral("serve"), QStringLiteral("--card"), path, QStringLiteral("--vpcd"),
                                      QStringLiteral("127.0.0.1:%1").arg(vpcd.port()), QStringLiteral("--status-at"),
                                      QStringLiteral("2:6A82"), QStringLiteral("--nulls-from"), QStringLiteral("4"),
                                      QStringLiteral("--pull-at"), QStringLiteral("5")},
                                     out, err);
               })
            .code;
    });
    ASSERT_TRUE(vpcd.accept(10000));
    EXPECT_EQ(vpcd.exchange("04"), StandardCard::simCard().atr);
    vpcd.send("01");
    const std::string selectMf = "A0 A4 00 00 02 3F00";
    EXPECT_EQ(sw(vpcd.exchange(selectMf)), "9F 22");
    EXPECT_EQ(sw(vpcd.exchange(selectMf)), "6A 82");
    const auto noise = vpcd.exchange(selectMf);
    ASSERT_TRUE(noise);
    EXPECT_NE(sw(noise), "9F 22");
    // The stalled card never answers; the pulled one answers with nothing at all.
    EXPECT_EQ(vpcd.exchange(selectMf, 300), std::nullopt);
    EXPECT_EQ(vpcd.exchange(selectMf), std::vector<uint8_t>{});
    vpcd.hangUp();
    ASSERT_EQ(tool.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(tool.get(), 0);
}

} // namespace
