#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace kestrel {

// The byte area the card engine sends from and receives into. capacity is the number of bytes
// the caller accepts; bytes to send are taken from the start of data and received bytes are
// written from the start of data, over what was sent. count is the number of bytes received (or,
// for an answer to reset, stored).
struct ReaderBuffer
{
    uint16_t capacity = 0;
    std::vector<uint8_t> data;
    uint16_t count = 0;

    ReaderBuffer() = default;
    explicit ReaderBuffer(uint16_t cap) : capacity(cap), data(cap, 0) {}
    ReaderBuffer(uint16_t cap, std::span<const uint8_t> toSend) : capacity(cap), data(toSend.begin(), toSend.end())
    {
        if (data.size() < cap)
            data.resize(cap, 0);
    }

    std::span<const uint8_t> received() const { return {data.data(), count}; }
};

} // namespace kestrel
