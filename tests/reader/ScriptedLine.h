#pragma once

// A serial line that plays the serial reader and its card from a script, on virtual time.
//
// The script is a list of steps: the bytes the program is expected to write and what the far end
// answers once the last of them has arrived. An echoed step also sends every byte straight back as
// it is written, as the reader does while the card is on. Each rise of DTR (the reader's reset)
// releases the next queued identification answer. Reads of an empty line advance the virtual
// clock by their time-out instead of waiting. A far end may also send one byte without end once
// everything queued has gone (endless), and each byte read may cost virtual time (byteCostMs).

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include <memory>
#include <optional>

#include "HexBytes.h"
#include "reader/SerialLine.h"
#include "reader/SerialReader.h"

namespace kestrel::test {

inline std::vector<uint8_t> asciiBytes(std::string_view text)
{
    return {text.begin(), text.end()};
}

inline std::vector<uint8_t> operator+(std::vector<uint8_t> a, const std::vector<uint8_t>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct LineScript
{
    struct Step
    {
        std::vector<uint8_t> expect;
        std::vector<uint8_t> reply;
        bool echo = false;
    };

    // Script.
    std::deque<Step> steps;
    std::deque<std::vector<uint8_t>> identifications;
    bool openFails = false;
    bool configureFails = false;
    bool modemFails = false;
    std::optional<uint8_t> endless;
    int byteCostMs = 0;

    // Far end and observations.
    int64_t clock = 0;
    std::deque<uint8_t> input;
    std::vector<uint8_t> written;
    std::vector<std::string> events;
    std::vector<std::string> errors;
    bool dtr = false;
    size_t stepPos = 0;

    void expect(const std::vector<uint8_t>& sent, const std::vector<uint8_t>& reply = {})
    {
        steps.push_back({sent, reply, false});
    }
    void expect(std::string_view sent, std::string_view reply = {}) { expect(hexBytes(sent), hexBytes(reply)); }
    void echoed(const std::vector<uint8_t>& sent, const std::vector<uint8_t>& reply = {})
    {
        steps.push_back({sent, reply, true});
    }
    void echoed(std::string_view sent, std::string_view reply = {}) { echoed(hexBytes(sent), hexBytes(reply)); }

    // The reader after a reset: names itself, then takes the setting 02 1A.
    void readerStart(std::string_view id = "KVR31")
    {
        identifications.push_back(asciiBytes(id));
        echoed("02");
        echoed("1A");
    }
    // Status command: echo 01, status byte, check byte.
    void status(uint8_t s) { expect({0x01}, {0x01, s, static_cast<uint8_t>(-s)}); }
    // Card on: echo 07, status, check, then the card's answer to reset as it appears on the line.
    void cardOn(const std::vector<uint8_t>& atr, uint8_t s = 0x40)
    {
        expect({0x07}, std::vector<uint8_t>{0x07, s, static_cast<uint8_t>(-s)} + atr);
    }

    bool done() const { return steps.empty() && errors.empty(); }

    void onWrite(uint8_t b)
    {
        written.push_back(b);
        if (steps.empty()) {
            errors.push_back("unexpected byte " + toHex(b));
            return;
        }
        Step& step = steps.front();
        if (step.expect[stepPos] != b)
            errors.push_back("expected " + toHex(step.expect[stepPos]) + " got " + toHex(b));
        if (step.echo)
            input.push_back(b);
        if (++stepPos == step.expect.size()) {
            input.insert(input.end(), step.reply.begin(), step.reply.end());
            steps.pop_front();
            stepPos = 0;
        }
    }

    void onDtr(bool on)
    {
        events.push_back(on ? "DTR on" : "DTR off");
        if (on && !dtr && !identifications.empty()) {
            input.insert(input.end(), identifications.front().begin(), identifications.front().end());
            identifications.pop_front();
        }
        dtr = on;
    }
};

class ScriptedLine final : public SerialLine
{
public:
    explicit ScriptedLine(LineScript& script) : m_s(script) {}

    bool open(const std::string& path) override
    {
        m_s.events.push_back("open " + path);
        if (m_s.openFails)
            return false;
        m_open = true;
        return true;
    }
    void close() override
    {
        m_s.events.push_back("close");
        m_open = false;
    }
    bool isOpen() const override { return m_open; }
    bool configure(int baud, Parity parity) override
    {
        m_s.events.push_back("configure " + std::to_string(baud) + (parity == Parity::Odd ? " odd" : " even"));
        return !m_s.configureFails;
    }
    bool setDtr(bool on) override
    {
        if (m_s.modemFails)
            return false;
        m_s.onDtr(on);
        return true;
    }
    bool setRts(bool on) override
    {
        if (m_s.modemFails)
            return false;
        m_s.events.push_back(on ? "RTS on" : "RTS off");
        return true;
    }
    bool purge() override
    {
        m_s.events.push_back("purge");
        m_s.input.clear();
        return true;
    }
    bool write(uint8_t byte) override
    {
        m_s.onWrite(byte);
        return true;
    }
    int read(int timeoutMs) override
    {
        if (m_s.input.empty() && m_s.endless && m_s.steps.empty()) {
            m_s.clock += m_s.byteCostMs;
            return *m_s.endless;
        }
        m_s.clock += m_s.input.empty() ? 0 : m_s.byteCostMs;
        if (m_s.input.empty()) {
            m_s.clock += timeoutMs > 0 ? timeoutMs : 1;
            return -1;
        }
        const uint8_t b = m_s.input.front();
        m_s.input.pop_front();
        return b;
    }

private:
    LineScript& m_s;
    bool m_open = false;
};

// The serial reader on a scripted line, sleeping and timing on the script's virtual clock.
class ScriptedSerialReader final : public SerialReader
{
public:
    explicit ScriptedSerialReader(LineScript& script)
        : SerialReader(std::make_unique<ScriptedLine>(script)), m_s(script)
    {}

    std::vector<int> sleeps;

protected:
    void sleepMs(int ms) override
    {
        sleeps.push_back(ms);
        m_s.clock += ms;
    }
    int64_t clockMs() const override { return m_s.clock; }

private:
    LineScript& m_s;
};

} // namespace kestrel::test
