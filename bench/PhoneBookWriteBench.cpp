// Writing a full phone book after one edit: a virtual standard card with 250 EF_ADN records all in
// use (every tenth with a number long enough for an EF_EXT1 record), read, one entry's name
// changed, written. Prints the UPDATE RECORD commands the write sent and its time; the exit status
// says whether only the edited record was updated (a write of the unchanged book must send none).
//
//   bench_phonebook_write [runs]     (default 10; the time is the mean)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "SimBench.h"
#include "codec/DialRecord.h"
#include "codec/FixedText.h"
#include "sim/DialFiles.h"

using namespace kestrel;

namespace {

constexpr int kEntries = 250;

class Pin1 final : public PinPrompt
{
public:
    std::optional<SecretText> askPin(int chv) override
    {
        return chv == 1 ? std::optional<SecretText>(SecretText("1234")) : std::nullopt;
    }
};

emulator::SimCardData fullCard()
{
    emulator::StandardCard::Shape shape;
    shape.blank = true;
    shape.adnRecords = kEntries;
    emulator::SimCardData data = emulator::StandardCard::simCard(shape);
    const emulator::SimFile* adn = test::findFile(data, gsm::fid::kEfAdn);
    const std::size_t length = static_cast<std::size_t>(adn->recordLength);
    uint8_t nextExtension = 1;
    for (int g = 1; g <= kEntries; ++g) {
        DialEntry e;
        e.valid = 1;
        setFixedText(e.name, "Entry " + std::to_string(g));
        setFixedText(e.number, g % 10 == 0 && nextExtension <= 10 ? "4206031234567890123456" : "420603123456");
        e.npi = 1;
        std::vector<uint8_t> record(length);
        const DialEncodeResult r = EncodeDialRecord(e, record, [&]() -> std::optional<uint8_t> {
            return nextExtension <= 10 ? std::optional<uint8_t>(nextExtension++) : std::nullopt;
        });
        if (!r.ok)
            continue;
        std::copy(record.begin(), record.end(), test::fileRecord(data, gsm::fid::kEfAdn, g).begin());
        for (const ExtensionRecord& piece : r.extensions)
            std::copy(piece.bytes.begin(), piece.bytes.end(),
                      test::fileRecord(data, gsm::fid::kEfExt1, piece.id).begin());
    }
    return data;
}

struct Run
{
    bool ok = false;
    int unchangedUpdates = 0;
    int editUpdates = 0;
    double writeMs = 0;
};

Run runOnce(int editRow)
{
    Run run;
    test::SimBench bench(fullCard());
    Pin1 pin;
    bench.sim->setPinPrompt(&pin);
    DialFiles files(*bench.sim);
    std::vector<DialEntry> book(kEntries);
    DialListSize size;
    if (!bench.sim->openCard(true, false, true, false) || !files.readDialList(gsm::fid::kEfAdn, book, size))
        return run;
    bench.clearLog();
    if (!files.writeDialList(gsm::fid::kEfAdn, book, size))
        return run;
    run.unchangedUpdates = bench.recorder->count("A0 DC");

    setFixedText(book[static_cast<std::size_t>(editRow)].name, "Edited entry");
    bench.clearLog();
    const auto start = std::chrono::steady_clock::now();
    run.ok = files.writeDialList(gsm::fid::kEfAdn, book, size);
    run.writeMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.editUpdates = bench.recorder->count("A0 DC");
    bench.sim->closeCard();
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    double total = 0;
    int worstUpdates = 0;
    int worstUnchanged = 0;
    for (int i = 0; i < runs; ++i) {
        const Run run = runOnce((i * 37) % kEntries);
        if (!run.ok) {
            std::fprintf(stderr, "bench_phonebook_write: the card could not be read or written\n");
            return 2;
        }
        total += run.writeMs;
        worstUpdates = std::max(worstUpdates, run.editUpdates);
        worstUnchanged = std::max(worstUnchanged, run.unchangedUpdates);
    }
    // The edited rows of these runs hold numbers of 12 digits: their record alone is to change.
    const bool good = worstUpdates == 1 && worstUnchanged == 0;
    std::printf("phone book of %d entries, one name edited: %d UPDATE RECORD (goal 1), unchanged book: %d (goal 0), "
                "write %.1f ms mean over %d runs: %s\n",
                kEntries, worstUpdates, worstUnchanged, total / runs, runs, good ? "ok" : "TOO MANY");
    return good ? 0 : 1;
}
