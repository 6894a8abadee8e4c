#pragma once

// The dialling-number file tests' card, fixture and helpers.

#include "sim/DialFiles.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CardRecords.h"
#include "SimBench.h"
#include "codec/FixedText.h"
#include "sim/ProgressSink.h"

using namespace kestrel;
using namespace kestrel::test;
using namespace kestrel::gsm::fid;

namespace {

constexpr int kRecordLength = 28; // the standard card's dialling-number records: X = 14
constexpr std::size_t kX = 14;

class CodePrompt final : public PinPrompt
{
public:
    std::optional<SecretText> askPin(int chv) override
    {
        ++asked;
        return SecretText(chv == 2 ? "5678" : "1234");
    }
    int asked = 0;
};

// Keeps every text shown; presses Abort when the text starts with abortPrefix for the
// abortAtCount-th time.
class Sink final : public ProgressSink
{
public:
    bool open() override { return true; }
    void close() override {}
    void setCaption(const QString&) override {}
    void setText(const QString& t) override { texts.push_back(t); }
    void setPercent(int p) override { percents.push_back(p); }
    bool processEvents() override
    {
        if (abortPrefix.isEmpty() || !texts.back().startsWith(abortPrefix))
            return false;
        return ++seen == abortAtCount;
    }

    int count(const QString& prefix) const
    {
        return static_cast<int>(
            std::count_if(texts.begin(), texts.end(), [&](const QString& t) { return t.startsWith(prefix); }));
    }

    std::vector<QString> texts;
    std::vector<int> percents;
    QString abortPrefix;
    int abortAtCount = 0;
    int seen = 0;
};

inline std::string readRecordApdu(int record, int length)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "A0 B2 %02X 04 %02X", record, length);
    return buf;
}

inline std::vector<std::string> select(uint16_t id, int responseLength)
{
    char a[32];
    char b[32];
    std::snprintf(a, sizeof a, "A0 A4 00 00 02 %02X %02X", id >> 8, id & 0xFF);
    std::snprintf(b, sizeof b, "A0 C0 00 00 %02X", responseLength);
    return {a, b};
}

class DialFilesTest : public ::testing::Test
{
protected:
    void use(emulator::SimCardData data)
    {
        bench = std::make_unique<SimBench>(std::move(data));
        bench->sim->setPinPrompt(&prompt);
        files = std::make_unique<DialFiles>(*bench->sim);
    }
    void SetUp() override { use(emulator::StandardCard::simCard()); }

    SimCard& sim() { return *bench->sim; }
    RecordingIcc& rec() { return *bench->recorder; }
    const emulator::SimCardData& card() const { return bench->model->data(); }
    std::vector<uint8_t> cardRecord(uint16_t id, int record) const
    {
        const emulator::SimFile* f = findFile(card(), id);
        const auto from = f->data.begin() + static_cast<std::ptrdiff_t>((record - 1) * f->recordLength);
        return std::vector<uint8_t>(from, from + f->recordLength);
    }
    int usedExtensionRecords(uint16_t id) const
    {
        const emulator::SimFile* f = findFile(card(), id);
        int used = 0;
        for (int r = 1; r <= f->recordCount(); ++r)
            used += cardRecord(id, r)[0] != 0xFF ? 1 : 0;
        return used;
    }

    bool open(bool chv2 = false)
    {
        const bool ok = sim().openCard(true, chv2, true, false);
        EXPECT_TRUE(ok) << toInt(sim().lastStatus());
        return ok;
    }
    // Reads a file the way the phone book does, the card opened and closed around it.
    std::vector<DialEntry> read(uint16_t id, std::size_t capacity = 250, DialListSize* size = nullptr)
    {
        std::vector<DialEntry> entries(capacity);
        DialListSize result;
        if (!open())
            return {};
        const bool ok = files->readDialList(id, entries, result);
        EXPECT_TRUE(ok) << toInt(sim().lastStatus());
        sim().closeCard();
        entries.resize(static_cast<std::size_t>(result.count));
        if (size)
            *size = result;
        return entries;
    }
    bool write(uint16_t id, std::vector<DialEntry>& entries, bool chv2 = false)
    {
        if (!open(chv2))
            return false;
        DialListSize result;
        const bool ok = files->writeDialList(id, entries, result);
        sim().closeCard();
        return ok;
    }

    CodePrompt prompt;
    std::unique_ptr<SimBench> bench;
    std::unique_ptr<DialFiles> files;
};

inline std::string numberOf(const DialEntry& e)
{
    return std::string(fixedText(e.number));
}

inline std::string nameOf(const DialEntry& e)
{
    return std::string(fixedText(e.name));
}

} // namespace
