#pragma once

#include <memory>
#include <optional>

#include "reader/T0Engine.h"
#include "reader/KvriDriver.h"

namespace kestrel {

// The reader behind the reader driver library (KvriDriver). The driver does the reader's own work
// — status, card on and off, line settings, memory-card reads — and moves bytes between the
// program and the card's I/O line, echoes included, in one transfer request per exchange; the
// engine's (T0Engine) answer-to-reset reading and T=0 transport run over those transfers. There
// are no single-byte primitives: the driver only moves blocks, and the byte calls do nothing.
//
// A failed request's error code becomes a CardStatus by mapDriverError.
class KvriReader final : public T0Engine
{
public:
    // A reader on the process's driver library.
    KvriReader();
    // A reader on a given driver (tests).
    explicit KvriReader(std::shared_ptr<KvriDriver> driver);
    ~KvriReader() override;

    // Control numbers of the control request.
    static constexpr uint32_t kStartReader = 1;
    static constexpr uint32_t kShutDownReader = 2;
    static constexpr uint32_t kCardOff = 3;
    static constexpr uint32_t kCardOn = 4;
    static constexpr uint32_t kSetLine = 5;
    static constexpr uint32_t kCardOnParameter = 0x81202580;
    static constexpr uint32_t kSetLineBase = 0x80200000;
    static constexpr uint32_t kMemoryMode = 0x1200;
    static constexpr uint32_t kEndMemoryMode = 2;
    static constexpr size_t kMemoryAreaSize = 132;

    // The CardStatus a driver error code stands for.
    static CardStatus mapDriverError(uint32_t code);
    // The control parameter that sets the line: parity 1 odd, 2 even, anything else "other".
    static uint32_t lineParameter(int parity, int baud);

    bool driverOpen() const { return m_driverOpen != 0; }

    CardStatus readMemoryCard(std::array<uint8_t, 32>& out) override;
    CardStatus close() override;
    CardStatus open(const QString& name, int reserved = 0) override;
    uint16_t exchangeBytes(ReaderBuffer& buffer, int sendCount, int mode, int retries) override;
    CardStatus readStatus(uint16_t& status) override;
    CardStatus sendReaderSetting(uint8_t value) override;
    CardStatus readerCardOn() override;
    CardStatus setLineParameters(int parity, int baud) override;
    CardStatus readerCardOff() override;
    CardStatus shutDownReader() override;
    CardStatus startReader() override;
    void writeByte(uint8_t b) override;
    bool writeEchoedByte(uint8_t b) override;
    int readByte() override;
    void flushInput() override;
    uint8_t readRawByte() override;
    bool byteAvailable() override;

private:
    // One request on a zeroed block that carries only a function code and its argument.
    uint32_t simpleRequest(uint32_t function, uint32_t argument);
    CardStatus control(uint32_t number, std::optional<uint32_t> parameter = std::nullopt);

    std::shared_ptr<KvriDriver> m_driver;
    uint8_t m_driverOpen = 0;
};

} // namespace kestrel
