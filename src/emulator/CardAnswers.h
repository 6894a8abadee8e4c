#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "emulator/Icc.h"
#include "gsm/StatusWords.h"

// The answers the virtual card's command handlers build: a bare status word, 67 xx with the
// length the card wanted, and 9F xx with data waiting for GET RESPONSE.
namespace kestrel::emulator::answer {

inline CardResponse status(uint16_t word)
{
    return CardResponse{{}, word};
}

// 67 xx: P3 wrong, xx the length the card expects.
inline CardResponse wrongLength(std::size_t expected)
{
    return status(static_cast<uint16_t>(gsm::sw::kWrongP3 | (expected & 0xFF)));
}

// 9F xx carrying the xx bytes for GET RESPONSE; SimCardModel keeps them and passes on only the
// status word.
inline CardResponse responseWaiting(std::vector<uint8_t> data)
{
    const auto length = data.size();
    return CardResponse{std::move(data), static_cast<uint16_t>(gsm::sw::kSw1ResponseWaiting << 8 | (length & 0xFF))};
}

// Bytes a reading command expects: P3, 256 for 0.
inline int expectedLength(uint8_t p3)
{
    return p3 == 0 ? 256 : p3;
}

} // namespace kestrel::emulator::answer
