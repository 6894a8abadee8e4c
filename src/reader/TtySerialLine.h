#pragma once

#include "reader/SerialLine.h"

namespace kestrel {

// A serial line on a POSIX terminal device (a serial port, a USB adapter, a pseudo-terminal):
// raw mode, 8 data bits, 2 stop bits, no flow control, waiting with poll().
class TtySerialLine final : public SerialLine
{
public:
    TtySerialLine() = default;
    ~TtySerialLine() override;
    TtySerialLine(const TtySerialLine&) = delete;
    TtySerialLine& operator=(const TtySerialLine&) = delete;

    bool open(const std::string& path) override;
    void close() override;
    bool isOpen() const override { return m_fd >= 0; }
    // The terminal's descriptor while open, else -1 (for waiting on it alongside others).
    int fileDescriptor() const { return m_fd; }

    bool configure(int baud, Parity parity) override;
    bool setDtr(bool on) override;
    bool setRts(bool on) override;
    bool purge() override;

    bool write(uint8_t byte) override;
    int read(int timeoutMs) override;

private:
    bool setModemLine(int bit, bool on);

    int m_fd = -1;
};

} // namespace kestrel
