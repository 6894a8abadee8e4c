// READ RECORD through PcscReader::transmit beside the same commands sent with a bare SCardTransmit
// loop, over the real stack: pcscd -> vpcd -> kestrel-sim serve. Uses a pcscd that already serves a
// card in "Virtual PCD 00 00", or starts pcscd and kestrel-sim itself (as root) and stops them after.
//
// The two run in alternating blocks so that drift of the machine falls on both alike. Goal: the
// median through PcscReader at most 1.10 times the bare loop's.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <winscard.h>

#include <QTemporaryDir>

#include "PcscStack.h"
#include "emulator/CardFile.h"
#include "emulator/StandardCard.h"
#include "reader/PcscReader.h"

using kestrel::CardStatus;
using kestrel::PcscReader;
using kestrel::testing::PcscStack;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kCommands = 1000;
constexpr int kBlocks = 4;
constexpr int kWarmUp = 50;
const std::vector<std::vector<uint8_t>> kPrepare{
    {0xA0, 0xA4, 0x00, 0x00, 0x02, 0x3F, 0x00},
    {0xA0, 0xA4, 0x00, 0x00, 0x02, 0x7F, 0x10},
    {0xA0, 0xA4, 0x00, 0x00, 0x02, 0x6F, 0x3A},
    {0xA0, 0x20, 0x00, 0x01, 0x08, '1', '2', '3', '4', 0xFF, 0xFF, 0xFF, 0xFF},
};
// READ RECORD 1 of EF_ADN, absolute mode, 28 bytes.
const uint8_t kReadRecord[5] = {0xA0, 0xB2, 0x01, 0x04, 0x1C};

double microseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

double percentile(std::vector<double> v, double p)
{
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(p * static_cast<double>(v.size() - 1))];
}

// count READ RECORDs through PcscReader, each timed; false when the card did not answer.
bool throughReader(int count, std::vector<double>& times)
{
    PcscReader reader;
    unsigned flags = 0;
    if (reader.open(QString::fromLatin1(PcscStack::kReader)) != CardStatus::Ok ||
        reader.activateCard(nullptr, flags) != CardStatus::Ok) {
        std::fprintf(stderr, "PcscReader: no card: %s\n", qPrintable(reader.lastServiceErrorText()));
        return false;
    }
    for (std::vector<uint8_t> c : kPrepare) {
        uint16_t sw = 0;
        std::span<uint8_t> data(c.data() + 5, c.size() - 5);
        if (reader.transmit(c[0], c[1], c[2], c[3], c[4], data, true, sw) != CardStatus::Ok)
            return false;
    }
    std::vector<uint8_t> record(kReadRecord[4]);
    for (int i = 0; i < count; ++i) {
        uint16_t sw = 0;
        const auto start = Clock::now();
        const CardStatus s = reader.transmit(kReadRecord[0], kReadRecord[1], kReadRecord[2], kReadRecord[3],
                                             kReadRecord[4], record, false, sw);
        const auto end = Clock::now();
        if (s != CardStatus::Ok || sw != 0x9000) {
            std::fprintf(stderr, "PcscReader: READ RECORD gave status %d, %04X\n", static_cast<int>(s), sw);
            return false;
        }
        times.push_back(microseconds(end - start));
    }
    return true;
}

// The same through nothing but libpcsclite.
bool direct(int count, std::vector<double>& times)
{
    SCARDCONTEXT context = 0;
    if (SCardEstablishContext(SCARD_SCOPE_USER, nullptr, nullptr, &context) != SCARD_S_SUCCESS)
        return false;
    SCARDHANDLE card = 0;
    DWORD protocol = 0;
    bool ok = SCardConnect(context, PcscStack::kReader, SCARD_SHARE_EXCLUSIVE, SCARD_PROTOCOL_T0, &card, &protocol) ==
              SCARD_S_SUCCESS;
    const SCARD_IO_REQUEST pci{SCARD_PROTOCOL_T0, sizeof(SCARD_IO_REQUEST)};
    uint8_t answer[258];
    for (size_t i = 0; ok && i < kPrepare.size(); ++i) {
        DWORD length = sizeof answer;
        ok = SCardTransmit(card, &pci, kPrepare[i].data(), static_cast<DWORD>(kPrepare[i].size()), nullptr, answer,
                           &length) == SCARD_S_SUCCESS;
    }
    for (int i = 0; ok && i < count; ++i) {
        DWORD length = kReadRecord[4] + 2;
        const auto start = Clock::now();
        ok = SCardTransmit(card, &pci, kReadRecord, sizeof kReadRecord, nullptr, answer, &length) == SCARD_S_SUCCESS &&
             length == kReadRecord[4] + 2u && answer[length - 2] == 0x90;
        const auto end = Clock::now();
        times.push_back(microseconds(end - start));
    }
    if (card != 0)
        SCardDisconnect(card, SCARD_RESET_CARD);
    SCardReleaseContext(context);
    if (!ok)
        std::fprintf(stderr, "direct loop: the card did not answer\n");
    return ok;
}

} // namespace

int main()
{
    std::unique_ptr<PcscStack> stack;
    QTemporaryDir dir;
    if (!PcscStack::waitForCard(true, 0)) {
        const std::string why = PcscStack::unavailableReason();
        if (!why.empty()) {
            std::fprintf(stderr, "cannot run the PC/SC stack: %s\n", why.c_str());
            return 1;
        }
        QString error;
        const QString card = dir.filePath(QStringLiteral("card.json"));
        if (!kestrel::emulator::CardFile::save(kestrel::emulator::StandardCard::simCard(), card, error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        stack = std::make_unique<PcscStack>();
        std::string failure;
        if (!stack->startService(dir.filePath(QStringLiteral("pcscd.log")).toStdString(), failure) ||
            !stack->insertCard(KESTREL_SIM_TOOL, card.toStdString(),
                               dir.filePath(QStringLiteral("kestrel-sim.log")).toStdString(), failure)) {
            std::fprintf(stderr, "%s\n", failure.c_str());
            return 1;
        }
        std::printf("started pcscd and kestrel-sim serve\n");
    } else {
        std::printf("using the running pcscd and its card\n");
    }

    std::vector<double> scratch;
    if (!throughReader(kWarmUp, scratch) || !direct(kWarmUp, scratch))
        return 1;
    std::vector<double> reader;
    std::vector<double> bare;
    for (int block = 0; block < kBlocks; ++block) {
        if (!throughReader(kCommands / kBlocks, reader) || !direct(kCommands / kBlocks, bare))
            return 1;
    }

    const double readerMedian = percentile(reader, 0.5);
    const double bareMedian = percentile(bare, 0.5);
    const double ratio = readerMedian / bareMedian;
    std::printf("%d READ RECORD (28 bytes) each, in %d alternating blocks\n", kCommands, kBlocks);
    std::printf("PcscReader::transmit   median %8.1f us   p95 %8.1f us\n", readerMedian, percentile(reader, 0.95));
    std::printf("bare SCardTransmit     median %8.1f us   p95 %8.1f us\n", bareMedian, percentile(bare, 0.95));
    std::printf("ratio %.3f (goal <= 1.10): %s\n", ratio, ratio <= 1.10 ? "met" : "missed");
    return 0;
}
