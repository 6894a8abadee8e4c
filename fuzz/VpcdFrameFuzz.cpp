// Input: the byte stream vpcd sends to the card, cut into pieces: byte 0 of each piece is its
// length, then that many stream bytes. Every framed reply must be well formed: a 2-byte length
// and exactly that many bytes, and no reply larger than a response APDU can be.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "FuzzCheck.h"
#include "emulator/SimCardModel.h"
#include "emulator/StandardCard.h"
#include "emulator/VpcdFace.h"

using namespace kestrel::emulator;
using kestrel::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    static const SimCardData standard = StandardCard::simCard();
    SimCardModel card(standard);
    VpcdFace face(card);
    const std::span<const uint8_t> input(data, size);
    std::size_t at = 0;
    while (at < input.size()) {
        const std::size_t piece = std::min<std::size_t>(input[at], input.size() - at - 1);
        const std::vector<uint8_t> out = face.feed(input.subspan(at + 1, piece));
        at += 1 + piece;
        std::size_t pos = 0;
        while (pos < out.size()) {
            check(out.size() - pos >= 2);
            const std::size_t length = static_cast<std::size_t>(out[pos] << 8 | out[pos + 1]);
            check(length <= 258);
            check(out.size() - pos - 2 >= length);
            pos += 2 + length;
        }
    }
    return 0;
}
