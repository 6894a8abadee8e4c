// Reads EF_ADN records through the serial reader's engine from the virtual card, whose serial
// face paces every byte at 9600 baud (12 etu a byte), and compares the wall time with the time
// the bytes need on the line. The engine's own overhead is what the ratio shows; the goal is
// at most 1.10.
//
//   bench_adn_read [records]     (default: all 250)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "emulator/SimCardModel.h"
#include "emulator/StandardCard.h"
#include "reader/VirtualReader.h"

using namespace kestrel;

namespace {

bool send(CardReader& reader, std::vector<uint8_t> header, std::vector<uint8_t> data, uint16_t expectedSw1)
{
    uint16_t sw = 0;
    const bool toCard = !data.empty();
    if (!toCard)
        data.assign(header[4], 0);
    const CardStatus s = reader.transmit(header[0], header[1], header[2], header[3], header[4], data, toCard, sw);
    if (s != CardStatus::Ok || (sw >> 8) != expectedSw1) {
        std::fprintf(stderr, "command %02X failed: status %d, SW %04X\n", header[1], toInt(s), sw);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const int records = argc > 1 ? std::atoi(argv[1]) : 250;
    if (records < 1 || records > 250) {
        std::fprintf(stderr, "usage: bench_adn_read [records 1-250]\n");
        return 2;
    }

    emulator::SerialFace::Options options;
    options.baud = 9600;
    VirtualReader reader(std::make_unique<emulator::SimCardModel>(emulator::StandardCard::simCard()), options);
    unsigned flags = 0;
    if (reader.open(QString()) != CardStatus::Ok || reader.activateCard(nullptr, flags) != CardStatus::Ok) {
        std::fprintf(stderr, "the virtual card did not start\n");
        return 1;
    }
    const std::vector<uint8_t> pin{'1', '2', '3', '4', 0xFF, 0xFF, 0xFF, 0xFF};
    if (!send(reader, {0xA0, 0x20, 0x00, 0x01, 0x08}, pin, 0x90) ||
        !send(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x7F, 0x10}, 0x9F) ||
        !send(reader, {0xA0, 0xA4, 0x00, 0x00, 0x02}, {0x6F, 0x3A}, 0x9F))
        return 1;

    emulator::SerialFace& face = reader.line().face();
    const auto wireBefore = face.wireTime();
    const auto start = std::chrono::steady_clock::now();
    for (int n = 1; n <= records; ++n) {
        if (!send(reader, {0xA0, 0xB2, static_cast<uint8_t>(n), 0x04, 28}, {}, 0x90))
            return 1;
    }
    const auto wall = std::chrono::steady_clock::now() - start;
    const auto wire = face.wireTime() - wireBefore;

    const double wallMs = std::chrono::duration<double, std::milli>(wall).count();
    const double wireMs = std::chrono::duration<double, std::milli>(wire).count();
    std::printf("records read:      %d\n", records);
    std::printf("wall time:         %.1f ms\n", wallMs);
    std::printf("wire-time floor:   %.1f ms (%llu bytes on the line at 9600 baud, 12 etu each)\n", wireMs,
                static_cast<unsigned long long>(wire / face.byteTime()));
    std::printf("ratio:             %.3f (goal <= 1.10)\n", wallMs / wireMs);
    return 0;
}
