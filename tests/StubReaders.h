#pragma once

// Readers of every hardware kind played by the test: a device string opens when the test says
// so, and fails with the status it gives otherwise. The virtual card stays the real VirtualReader,
// so "VIRTUAL:<card file>" opens a real card. Memory cards cannot be read (139), as with PC/SC.

#include <memory>
#include <set>
#include <vector>

#include "reader/T0Engine.h"
#include "reader/ReaderManager.h"
#include "reader/VirtualReader.h"

namespace kestrel::test {

struct ReaderPlan
{
    std::set<QString> working;                   // device strings whose reader opens
    CardStatus failure = CardStatus::PortNotSet; // what the others' open gives
    std::vector<QString> tried;                  // device strings opened, in order
};

class StubReader final : public T0Engine
{
public:
    StubReader(ReaderKind kind, std::shared_ptr<ReaderPlan> plan) : m_kind(kind), m_plan(std::move(plan)) {}

    CardStatus readMemoryCard(std::array<uint8_t, 32>&) override { return CardStatus::InvalidReaderIdentification; }
    CardStatus close() override { return CardStatus::Ok; }
    CardStatus open(const QString& name, int) override
    {
        const QString device = deviceOf(name);
        m_plan->tried.push_back(device);
        return m_plan->working.count(device) ? CardStatus::Ok : m_plan->failure;
    }
    CardStatus setLineParameters(int, int) override { return CardStatus::Ok; }
    CardStatus readerCardOff() override { return CardStatus::Ok; }
    CardStatus shutDownReader() override { return CardStatus::Ok; }
    CardStatus startReader() override { return CardStatus::Ok; }
    void writeByte(uint8_t) override {}
    uint8_t readRawByte() override { return 0; }
    bool byteAvailable() override { return false; }

private:
    // The device string back from the argument open is given.
    QString deviceOf(const QString& name) const
    {
        switch (m_kind) {
        case ReaderKind::Pcsc:
            return QStringLiteral("PCSC:") + name;
        case ReaderKind::SmartApi:
            return QStringLiteral("PCMCIA FY-1300");
        default:
            return name;
        }
    }

    ReaderKind m_kind;
    std::shared_ptr<ReaderPlan> m_plan;
};

// A reader manager whose hardware readers are stubs following plan.
inline std::unique_ptr<ReaderManager> stubReaderManager(std::shared_ptr<ReaderPlan> plan)
{
    return std::make_unique<ReaderManager>([plan](ReaderKind kind) -> std::unique_ptr<CardReader> {
        if (kind == ReaderKind::Virtual)
            return std::make_unique<VirtualReader>();
        return std::make_unique<StubReader>(kind, plan);
    });
}

} // namespace kestrel::test
