// The virtual card receiving arbitrary commands: a fresh standard card (StandardCard) is powered
// and given the commands of the input one after the other.
//
// Input: commands back to back, each a 5-byte header CLA INS P1 P2 P3 followed, for a command that
// carries data to the card, by P3 data bytes (fewer when the input ends first). A header with CLA
// FF powers the card off and on again instead.
//
// Every answer must keep the T=0 rules the faces rely on: data only for a command that reads and
// only on success, then exactly the P3 bytes asked for (256 for 0); a status word of GSM 11.11.
// At the end the card's contents must still pass the card file's checks.

#include <cstddef>
#include <cstdint>
#include <span>

#include "FuzzSupport.h"
#include "emulator/CardFile.h"
#include "emulator/SimCardModel.h"
#include "emulator/StandardCard.h"

using namespace kestrel;
using namespace kestrel::emulator;

namespace {

bool knownSw1(uint8_t sw1)
{
    switch (sw1) {
    case 0x90:
    case 0x91:
    case 0x92:
    case 0x93:
    case 0x94:
    case 0x98:
    case 0x9E:
    case 0x9F:
    case 0x67:
    case 0x6B:
    case 0x6D:
    case 0x6E:
    case 0x6F:
        return true;
    default:
        return false;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const SimCardData standard = StandardCard::simCard();
    SimCardModel card(standard);
    fuzz::check(!card.powerOn().empty());

    std::span<const uint8_t> input(data, size);
    while (input.size() >= 5) {
        Apdu apdu{input[0], input[1], input[2], input[3], input[4], {}};
        input = input.subspan(5);
        if (apdu.cla == 0xFF) {
            card.powerOff();
            fuzz::check(!card.powerOn().empty());
            continue;
        }
        const bool incoming = Icc::isIncoming(apdu.ins);
        if (incoming) {
            const std::size_t n = std::min<std::size_t>(apdu.p3, input.size());
            apdu.data.assign(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(n));
            input = input.subspan(n);
        }
        const CardResponse r = card.process(apdu);
        fuzz::check(!r.silent && !r.garbled && !r.stalled);
        fuzz::check(knownSw1(static_cast<uint8_t>(r.sw >> 8)));
        if (!r.data.empty()) {
            fuzz::check(!incoming);
            fuzz::check(r.sw == 0x9000 || (r.sw >> 8) == 0x91);
            fuzz::check(r.data.size() == (apdu.p3 == 0 ? 256u : apdu.p3));
        }
    }
    fuzz::check(CardFile::check(card.data()).isEmpty());
    return 0;
}
