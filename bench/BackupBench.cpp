// A full backup of the standard virtual card through VirtualReader (unpaced): the commands the
// card is given, by instruction, beside the least a backup can send, and the time it takes.
//
// The least is what the commands themselves need: the card operation's own opening and closing
// and the EF_SMSP access's own (each measured alone, with no file work), and for every file read
// one path of SELECTs (MF, DF, EF, each with its GET RESPONSE) and one READ per record (one READ
// BINARY per 255 bytes of a transparent file). Anything above that is waste.
//
//   bench_backup [runs]     (default 20; the time is the mean)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include <QTemporaryDir>

#include "SimBench.h"
#include "app/CardOperation.h"
#include "app/Prompter.h"
#include "backup/BackupOperations.h"
#include "sim/SmsParameters.h"

using namespace kestrel;

namespace {

// Answers the PIN prompt with the standard card's PIN1 and nothing else.
class Pin1Prompter final : public Prompter
{
public:
    PromptAnswer question(int, PromptButtons, PromptIcon) override { return PromptAnswer::No; }
    void message(int id, PromptIcon) override { last = id; }
    void messageText(const QString& text, PromptIcon) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    PromptAnswer questionText(const QString&, PromptButtons, PromptIcon) override { return PromptAnswer::No; }
    void showCardError(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    std::optional<SecretText> askPin(int chv) override
    {
        if (chv != 1)
            return std::nullopt;
        return SecretText("1234");
    }
    int last = 0;

protected:
    std::optional<PinFields> enterPinChange(int, const PinFields*) override { return std::nullopt; }
    std::optional<PinFields> enterUnblock(int, const PinFields*) override { return std::nullopt; }
};

struct Tally
{
    std::map<std::string, int> byInstruction;
    int total = 0;

    void add(const std::string& name, int n)
    {
        byInstruction[name] += n;
        total += n;
    }
};

std::string instructionName(const std::string& apdu)
{
    if (apdu == "ATR")
        return "power-up";
    static const std::map<std::string, std::string> kNames = {
        {"A4", "SELECT"},        {"C0", "GET RESPONSE"},  {"B2", "READ RECORD"},
        {"B0", "READ BINARY"},   {"20", "VERIFY CHV"},    {"F2", "STATUS"},
        {"DC", "UPDATE RECORD"}, {"D6", "UPDATE BINARY"}, {"10", "TERMINAL PROFILE"},
    };
    const std::string ins = apdu.size() >= 5 ? apdu.substr(3, 2) : std::string();
    const auto it = kNames.find(ins);
    return it != kNames.end() ? it->second : "other (" + ins + ")";
}

Tally tally(const test::RecordingIcc& recorder)
{
    Tally t;
    for (const std::string& apdu : recorder.log)
        t.add(instructionName(apdu), 1);
    return t;
}

int recordsOf(const emulator::SimCardData& card, uint16_t id)
{
    const emulator::SimFile* f = test::findFile(card, id);
    return f ? f->recordCount() : 0;
}

int sizeOf(const emulator::SimCardData& card, uint16_t id)
{
    const emulator::SimFile* f = test::findFile(card, id);
    return f ? static_cast<int>(f->data.size()) : 0;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
    if (runs < 1 || runs > 10000) {
        std::fprintf(stderr, "usage: bench_backup [runs 1-10000]\n");
        return 2;
    }
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    const QString target = dir.filePath(QStringLiteral("card.sim"));
    const emulator::SimCardData card = emulator::StandardCard::simCard();

    // The frames alone: an empty card operation, and an EF_SMSP access less its file work.
    Tally frame;
    {
        test::SimBench bench;
        Pin1Prompter prompter;
        CardOperation operation(*bench.sim, prompter);
        OpenFlags flags;
        flags.chv1 = true;
        flags.offerUnblock = true;
        if (!operation.run(5108, flags))
            return 1;
        const Tally t = tally(*bench.recorder);
        for (const auto& [name, n] : t.byInstruction)
            frame.add(name, n);
    }
    {
        test::SimBench bench;
        Pin1Prompter prompter;
        bench.sim->rememberPin(1, SecretText("1234"));
        if (!ReadSmsParameters(*bench.sim, &prompter, nullptr, std::chrono::milliseconds(0)).result.isOk())
            return 1;
        const Tally t = tally(*bench.recorder);
        for (const auto& [name, n] : t.byInstruction)
            frame.add(name, n);
        // Its file work: the path to EF_SMSP and the first record, which holds the parameters.
        frame.add("SELECT", -3);
        frame.add("GET RESPONSE", -3);
        frame.add("READ RECORD", -1);
    }

    // The least for the files: one path each, one READ per record or 255 bytes.
    struct FileWork
    {
        const char* name;
        uint16_t id;
        bool records;
    };
    const FileWork files[] = {
        {"EF_EXT1", gsm::fid::kEfExt1, true},    {"EF_EXT2", gsm::fid::kEfExt2, true},
        {"EF_ADN", gsm::fid::kEfAdn, true},      {"EF_FDN", gsm::fid::kEfFdn, true},
        {"EF_SMS", gsm::fid::kEfSms, true},      {"EF_PLMNsel", gsm::fid::kEfPlmnSel, false},
        {"EF_FPLMN", gsm::fid::kEfFplmn, false}, {"EF_SMSP (1st record)", gsm::fid::kEfSmsp, false},
    };
    Tally least = frame;
    for (const FileWork& f : files) {
        least.add("SELECT", 3);
        least.add("GET RESPONSE", 3);
        if (f.id == gsm::fid::kEfSmsp)
            least.add("READ RECORD", 1);
        else if (f.records)
            least.add("READ RECORD", recordsOf(card, f.id));
        else
            least.add("READ BINARY", (sizeOf(card, f.id) + 254) / 255);
    }

    Tally actual;
    double totalMs = 0;
    for (int run = 0; run < runs; ++run) {
        test::SimBench bench;
        Pin1Prompter prompter;
        BackupOperations operations(*bench.sim, prompter, nullptr, BackupPacing::unpaced());
        const auto start = std::chrono::steady_clock::now();
        const BackupOutcome outcome = operations.BackupCard(target);
        totalMs += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (!outcome.ok) {
            std::fprintf(stderr, "the backup failed (message %d)\n", outcome.messageId);
            return 1;
        }
        if (run == 0)
            actual = tally(*bench.recorder);
    }

    std::printf("full backup of the standard card, %d run(s), unpaced VirtualReader\n\n", runs);
    std::printf("%-18s %8s %8s\n", "command", "sent", "least");
    std::map<std::string, bool> names;
    for (const auto& [name, n] : actual.byInstruction)
        names[name] = true;
    for (const auto& [name, n] : least.byInstruction)
        names[name] = true;
    for (const auto& [name, unused] : names)
        std::printf("%-18s %8d %8d\n", name.c_str(), actual.byInstruction[name], least.byInstruction[name]);
    std::printf("%-18s %8d %8d\n\n", "total", actual.total, least.total);
    std::printf("ratio sent / least: %.3f\n", static_cast<double>(actual.total) / least.total);
    std::printf("time per backup:    %.2f ms\n", totalMs / runs);
    return 0;
}
