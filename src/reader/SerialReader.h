#pragma once

#include <memory>

#include <QString>

#include "reader/T0Engine.h"
#include "reader/SerialLine.h"

namespace kestrel {

// The reader on a serial line: its own one-byte commands (status, setting, card on, memory-card
// read), a reset through a DTR pulse after which it names itself "KVR31" or "KVR32", and, with
// the card on, every byte passed to the card's I/O line and echoed back before the card's answer.
class SerialReader : public T0Engine
{
public:
    explicit SerialReader(std::unique_ptr<SerialLine> line);
    ~SerialReader() override;

    // "COMn" names /dev/ttyS(n-1) unless the setting commData/COMn names another device (a USB
    // adapter: /dev/ttyUSB0). An absolute path is taken as it is; anything else names no device.
    static QString portPath(const QString& deviceName);

    CardStatus sendPps() override;
    CardStatus close() override;
    CardStatus open(const QString& name, int reserved = 0) override;
    CardStatus setLineParameters(int parity, int baud) override;
    CardStatus readerCardOff() override;
    CardStatus shutDownReader() override;
    CardStatus startReader() override;
    void writeByte(uint8_t b) override;
    uint8_t readRawByte() override;
    bool byteAvailable() override;

protected:
    // open on a line path (a device node, or whatever the line takes) instead of a device name.
    CardStatus openLine(const QString& path);

private:
    bool identify();

    std::unique_ptr<SerialLine> m_line;
    int m_lookAhead = -1;
    int64_t m_timerStart = 0;
};

} // namespace kestrel
