#pragma once

// GSM commands sent straight through a reader's T=0 transport, for the reader tests.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "reader/CardReader.h"

namespace kestrel::test {

struct Reply
{
    CardStatus status = CardStatus::NonSpecificError;
    uint16_t sw = 0;
    std::vector<uint8_t> data;
};

// One GSM command through the engine: data goes to the card when given, else p3 bytes come back.
inline Reply command(CardReader& reader, std::vector<uint8_t> header, std::vector<uint8_t> data = {})
{
    Reply r;
    const bool toCard = !data.empty();
    if (!toCard)
        data.assign(header[4] == 0 ? 256 : header[4], 0);
    r.status = reader.transmit(header[0], header[1], header[2], header[3], header[4], data, toCard, r.sw);
    if (!toCard)
        r.data = data;
    return r;
}

// A CHV block: the digits, padded with 0xFF to 8 bytes.
inline std::vector<uint8_t> pinBlock(const std::string& pin)
{
    std::vector<uint8_t> block(8, 0xFF);
    std::copy(pin.begin(), pin.end(), block.begin());
    return block;
}

} // namespace kestrel::test
