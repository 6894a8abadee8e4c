#pragma once

#include <cstdint>
#include <string>

namespace kestrel {

// The byte line a SerialReader drives: a real serial port (TtySerialLine, termios) or the
// in-process line to the virtual card's serial face (VirtualLine). 8 data bits, 2 stop bits, no
// flow control; parity and speed set by configure.
class SerialLine
{
public:
    enum class Parity
    {
        Odd = 1,
        Even = 2
    };

    virtual ~SerialLine() = default;

    // Opens the line exclusively (an existing device only). False when it cannot be opened.
    virtual bool open(const std::string& path) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Speed in bits per second, 8 data bits, the parity, 2 stop bits, no flow control, no parity
    // checking on input.
    virtual bool configure(int baud, Parity parity) = 0;
    virtual bool setDtr(bool on) = 0;
    virtual bool setRts(bool on) = 0;
    // Drops everything queued in both directions.
    virtual bool purge() = 0;

    virtual bool write(uint8_t byte) = 0;
    // Waits at most timeoutMs for one byte (returning as soon as one arrives, never spinning);
    // the byte 0-255, or -1 when none came.
    virtual int read(int timeoutMs) = 0;
};

} // namespace kestrel
