#pragma once

#include <memory>
#include <string>

#include "emulator/Icc.h"
#include "emulator/SerialFace.h"
#include "reader/SerialLine.h"

namespace kestrel {

// The in-process serial line to the virtual card: a SerialReader drives the virtual card's serial
// face exactly as it drives a reader on a tty, byte by byte, with echoes and T=0 procedure bytes.
// The line owns the card and the face. Any path opens it; closing drops DTR and RTS, which powers
// the reader down as a tty's hang-up on close does.
class VirtualLine final : public SerialLine
{
public:
    // card must not be null.
    explicit VirtualLine(std::unique_ptr<emulator::Icc> card);
    VirtualLine(std::unique_ptr<emulator::Icc> card, const emulator::SerialFace::Options& options);
    ~VirtualLine() override;
    VirtualLine(const VirtualLine&) = delete;
    VirtualLine& operator=(const VirtualLine&) = delete;

    bool open(const std::string& path) override;
    void close() override;
    bool isOpen() const override { return m_open; }

    bool configure(int baud, Parity parity) override;
    bool setDtr(bool on) override;
    bool setRts(bool on) override;
    bool purge() override;

    bool write(uint8_t byte) override;
    int read(int timeoutMs) override;

    emulator::SerialFace& face() { return m_face; }
    emulator::Icc& card() { return *m_card; }

private:
    std::unique_ptr<emulator::Icc> m_card; // declared before the face, which refers to it
    emulator::SerialFace m_face;
    bool m_open = false;
};

} // namespace kestrel
