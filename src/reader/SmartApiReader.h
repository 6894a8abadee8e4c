#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "reader/T0Engine.h"
#include "reader/ReaderLibrary.h"

namespace kestrel {

// The PCMCIA reader "PCMCIA FY-1300" behind its access library SMARTAPI (libSMARTAPI.so, found as
// ReaderLibrary describes). The library opens the device and gives access to the reader's
// registers and to its data stream:
//
//   register 0  the received data byte (while the card's answer to reset comes in)
//   register 1  bit 0x02: a received byte is waiting; written with the line settings
//   register 2  bit 0x04: device ready; bit 0x10: card inserted; written with 0x80 (idle),
//               0x0B (start the card's activation) and 0x03 (first answer byte seen)
//   registers 3 and 4  written with 0 when the reader starts, with 3 and 0x80 when the card's
//               answer to reset is complete
//
// The answer to reset arrives through the registers, framed: a length byte L, one byte that is not
// part of the answer, then the answer's bytes up to index L AND 0x3F. They are kept in the answer
// buffer, from which the engine's first reads are served. Afterwards the bytes to and from the
// card go through the data stream (SmartWrite, SmartRead); the reader does not echo them, so
// exchangeBytes leaves the sent bytes in place and puts what comes back after them, and the base
// class's T=0 transport sees the echo it expects.
//
// Entry points, as this port calls them (C linkage, 32-bit int arguments):
//   int32_t SmartOpen(int32_t port, int32_t inSize, int32_t outSize)   handle >= 0, < 0 failure
//   void    SmartClose(int32_t handle)
//   int32_t SmartInp(int32_t handle, int32_t reg)                      value >= 0, < 0 failure
//   int32_t SmartOutp(int32_t handle, int32_t reg, int32_t value)      >= 0 success, < 0 failure
//   int32_t SmartRead(int32_t handle, uint8_t* buffer, int32_t count)  bytes read
//   int32_t SmartWrite(int32_t handle, const uint8_t* buffer, int32_t count)  bytes written
//   int32_t GetSmartError(int32_t handle, int32_t counts[2])  counts[0] bytes waiting to be read,
//                                                             counts[1] bytes still to be sent
//   SetSmartCWT, GetSmartCWT                                  looked up, never called
//
// All waiting is by polling with the base class's clock and sleep.
class SmartApiReader : public T0Engine
{
public:
    static constexpr const char* kLibraryName = "SMARTAPI";
    static constexpr size_t kAnswerCapacity = 128;
    static constexpr int kAnswerWaitMs = 2000;
    static constexpr int kNextAnswerByteMs = 400;
    static constexpr int kReadyWaitMs = 1000;
    static constexpr int kSendWaitMs = 500;

    using OpenFn = int32_t (*)(int32_t port, int32_t inSize, int32_t outSize);
    using CloseFn = void (*)(int32_t handle);
    using InpFn = int32_t (*)(int32_t handle, int32_t reg);
    using OutpFn = int32_t (*)(int32_t handle, int32_t reg, int32_t value);
    using ReadFn = int32_t (*)(int32_t handle, uint8_t* buffer, int32_t count);
    using WriteFn = int32_t (*)(int32_t handle, const uint8_t* buffer, int32_t count);
    using ErrorFn = int32_t (*)(int32_t handle, int32_t* counts);
    using CwtFn = void (*)();

    // Loads the library and looks up its entry points; when one is missing the library is
    // released again and the reader has none (open then gives sid::ErrorInSmartcardReaderDll_144).
    SmartApiReader();
    ~SmartApiReader() override;

    bool hasLibrary() const { return m_library != nullptr; }
    bool deviceOpen() const { return m_handle >= 0; }
    // Answer-to-reset bytes received during power-up and not yet taken.
    size_t answerCount() const { return m_answerCount; }

    CardStatus sendPps() override;
    CardStatus close() override;
    CardStatus open(const QString& name, int reserved = 0) override;
    CardStatus transmit(uint8_t cla, uint8_t ins, uint8_t p1, uint8_t p2, uint8_t p3, std::span<uint8_t> data,
                        bool toCard, uint16_t& sw) override;
    uint16_t exchangeBytes(ReaderBuffer& buffer, int sendCount, int mode, int retries) override;
    CardStatus powerCard(int mode) override;
    CardStatus readStatus(uint16_t& status) override;
    CardStatus sendReaderSetting(uint8_t value) override;
    CardStatus readerCardOn() override;
    CardStatus setLineParameters(int parity, int baud) override;
    CardStatus readerCardOff() override;
    CardStatus shutDownReader() override;
    CardStatus startReader() override;
    void writeByte(uint8_t b) override;
    int readByte() override;
    uint8_t readRawByte() override;
    bool byteAvailable() override;

private:
    struct Entries
    {
        OpenFn open = nullptr;
        CloseFn close = nullptr;
        InpFn inp = nullptr;
        OutpFn outp = nullptr;
        ReadFn read = nullptr;
        WriteFn write = nullptr;
        ErrorFn error = nullptr;
        CwtFn setCwt = nullptr;
        CwtFn getCwt = nullptr;
    };

    int inp(int reg);
    bool outp(int reg, int value);
    // Bytes waiting to be read and bytes still to be sent; both 0 when the library cannot tell.
    void counts(int32_t& waiting, int32_t& unsent);
    bool waitReady();
    // Polls until nothing is left to send or ms have passed since start.
    void waitSent(int64_t start, int ms);
    CardStatus powerOn();
    CardStatus powerOff();
    uint8_t takeAnswerByte();

    std::unique_ptr<ReaderLibrary> m_library;
    Entries m_fn;
    int32_t m_handle = -1;
    std::array<uint8_t, kAnswerCapacity> m_answer{};
    size_t m_answerCount = 0;
};

} // namespace kestrel
