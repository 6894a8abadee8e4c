#pragma once

// A SimCard on the virtual reader with the standard card (or a variant of it) in memory, and a
// tap on the card's side of the line that records every command the card is given.

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "HexBytes.h"
#include "emulator/FaultyIcc.h"
#include "emulator/SimCardModel.h"
#include "emulator/StandardCard.h"
#include "reader/VirtualReader.h"
#include "sim/SimCard.h"

namespace kestrel::test {

// Passes everything through to the card inside and records it: "ATR" for a power-on, and each
// command as spaced hex, header first, then the data of a command carrying data to the card.
class RecordingIcc final : public emulator::Icc
{
public:
    explicit RecordingIcc(std::unique_ptr<emulator::Icc> inner) : m_inner(std::move(inner)) {}

    bool present() const override { return m_inner->present(); }
    std::vector<uint8_t> powerOn() override
    {
        log.push_back("ATR");
        return m_inner->powerOn();
    }
    void powerOff() override { m_inner->powerOff(); }
    emulator::CardResponse process(const emulator::Apdu& apdu) override
    {
        std::vector<uint8_t> bytes = {apdu.cla, apdu.ins, apdu.p1, apdu.p2, apdu.p3};
        bytes.insert(bytes.end(), apdu.data.begin(), apdu.data.end());
        log.push_back(toSpacedHex(bytes));
        emulator::CardResponse r = m_inner->process(apdu);
        if (alter)
            alter(apdu, r);
        statusWords.push_back(r.sw);
        return r;
    }
    bool readMemory(std::array<uint8_t, 32>& out) const override { return m_inner->readMemory(out); }

    emulator::Icc& inner() { return *m_inner; }

    // Commands whose spaced hex starts with prefix ("A0 A4" for every SELECT).
    int count(const std::string& prefix) const
    {
        int n = 0;
        for (const std::string& line : log)
            n += line.rfind(prefix, 0) == 0 ? 1 : 0;
        return n;
    }

    std::vector<std::string> log;
    std::vector<uint16_t> statusWords;
    // Changes an answer before it leaves the card, for answers the virtual card never gives.
    std::function<void(const emulator::Apdu&, emulator::CardResponse&)> alter;

private:
    std::unique_ptr<emulator::Icc> m_inner;
};

// The reader, the card behind it and the SimCard. With a fault plan the card is wrapped in a
// FaultyIcc (inside the recorder).
struct SimBench
{
    // With a clock, the reader and the line wait on it (a virtual one makes time-outs free).
    explicit SimBench(emulator::SimCardData data = emulator::StandardCard::simCard(),
                      const emulator::FaultPlan* faults = nullptr, emulator::SerialFace::Clock* clock = nullptr)
    {
        auto model = std::make_unique<emulator::SimCardModel>(std::move(data));
        this->model = model.get();
        std::unique_ptr<emulator::Icc> card = std::move(model);
        if (faults) {
            auto f = std::make_unique<emulator::FaultyIcc>(std::move(card), *faults);
            faulty = f.get();
            card = std::move(f);
        }
        auto rec = std::make_unique<RecordingIcc>(std::move(card));
        recorder = rec.get();
        reader = std::make_unique<VirtualReader>(std::move(rec));
        if (clock)
            reader->useClock(clock);
        reader->open(QString());
        sim = std::make_unique<SimCard>([this] { return reader.get(); });
    }
    ~SimBench() { sim.reset(); }

    void clearLog()
    {
        recorder->log.clear();
        recorder->statusWords.clear();
    }

    emulator::SimCardModel* model = nullptr;
    emulator::FaultyIcc* faulty = nullptr;
    RecordingIcc* recorder = nullptr;
    std::unique_ptr<VirtualReader> reader;
    std::unique_ptr<SimCard> sim;
};

// A standard card changed by f.
template <typename F>
emulator::SimCardData standardCardWith(F f)
{
    emulator::SimCardData data = emulator::StandardCard::simCard();
    f(data);
    return data;
}

inline emulator::SimFile* findFile(emulator::SimCardData& data, uint16_t id)
{
    for (auto& file : data.files) {
        if (file.id() == id)
            return &file;
    }
    return nullptr;
}

inline const emulator::SimFile* findFile(const emulator::SimCardData& data, uint16_t id)
{
    for (const auto& file : data.files) {
        if (file.id() == id)
            return &file;
    }
    return nullptr;
}

// Record n (from 1) of a record file of a card.
inline std::span<uint8_t> fileRecord(emulator::SimCardData& data, uint16_t id, int n)
{
    emulator::SimFile* f = findFile(data, id);
    return std::span<uint8_t>(f->data).subspan(static_cast<std::size_t>((n - 1) * f->recordLength),
                                               static_cast<std::size_t>(f->recordLength));
}

} // namespace kestrel::test
