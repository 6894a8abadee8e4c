#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include <QString>

#include "emulator/Icc.h"

namespace kestrel::emulator {

// The virtual card as the ICC of vsmartcard's vpcd reader driver, which pcscd loads: the card
// connects to vpcd over TCP, and every PC/SC application then sees it in the reader "Virtual PCD".
//
// Both directions carry frames of a 2-byte big-endian length and that many payload bytes. A 1-byte
// payload from vpcd is a control message: 0 power off, 1 power on, 2 reset, 4 get the answer to
// reset; only the last is answered (with the answer to reset). A longer payload is a command APDU
// as the application gave it, under T=0: CLA INS P1 P2 P3 and, for a command carrying data, P3
// data bytes. It is answered with the response APDU: for a reading command P3 data bytes (256 for
// P3 = 0) and SW1 SW2, otherwise SW1 SW2 alone. Nothing is added or taken away on the way: 9F xx
// reaches the application as it is, and GET RESPONSE is the application's to send.
//
// vpcd polls with "get ATR" every few hundred milliseconds, also between commands; that is how
// pcscd sees the card come and go. The poll must not disturb the card, so the answer to reset is
// remembered from the last power-up instead of powering the card again.
//
// Latency: vpcd sends the length and the payload of a frame with two writes and leaves Nagle's
// algorithm on, so its second write waits for our ACK; Linux delays that ACK (up to 40 ms) unless
// TCP_QUICKACK is set, and the kernel clears that flag again after a while, so it is set before
// every recv(). Our own frames go out in one write with TCP_NODELAY.
class VpcdFace
{
public:
    static constexpr uint16_t kDefaultPort = 35963;

    enum class End
    {
        PeerClosed, // vpcd (pcscd) closed the connection
        Stopped,    // the stop descriptor became readable
        Failed,     // a socket call failed
    };

    explicit VpcdFace(Icc& card);
    ~VpcdFace();
    VpcdFace(const VpcdFace&) = delete;
    VpcdFace& operator=(const VpcdFace&) = delete;

    // "[host:]port" or "host:" (default port) or "" (localhost, default port); an IPv6 address in
    // brackets, "[::1]:35963". False with a reason when it is not an address.
    static bool parseAddress(const QString& text, QString& host, uint16_t& port, QString& error);

    // Connects to vpcd, waiting at most timeoutMs for the connection. False with a reason.
    bool connectTo(const QString& host, uint16_t port, int timeoutMs, QString& error);
    // Serves an already connected stream socket (taken over: closed by this face).
    void adopt(int socket);
    bool connected() const { return m_socket >= 0; }

    // Answers vpcd until it goes away, stopFd (when >= 0) becomes readable, or the socket fails
    // (error then says why).
    End serve(int stopFd, QString& error);

    // The framed replies to a piece of the byte stream from vpcd. Partial frames are kept until
    // their remaining bytes arrive.
    std::vector<uint8_t> feed(std::span<const uint8_t> bytes);
    // The reply to one payload; none for the control messages that take none, and none for a
    // command the card never finishes (it keeps asking for more time).
    std::optional<std::vector<uint8_t>> handleMessage(std::span<const uint8_t> payload);

    // Called after every command APDU (the card may have saved itself, or failed to).
    void setCommandHook(std::function<void()> hook) { m_commandHook = std::move(hook); }
    uint64_t commandCount() const { return m_commands; }

private:
    std::optional<std::vector<uint8_t>> answerCommand(std::span<const uint8_t> command);
    void closeSocket();

    Icc& m_card;
    int m_socket = -1;
    std::vector<uint8_t> m_pending;
    std::vector<uint8_t> m_atr;
    bool m_atrKnown = false;
    uint64_t m_commands = 0;
    std::function<void()> m_commandHook;
};

} // namespace kestrel::emulator
