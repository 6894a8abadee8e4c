#pragma once

#include <cstdint>

namespace kestrel {

// One network of EF_PLMNsel or EF_FPLMN.
struct PlmnEntry
{
    uint8_t used = 0;
    uint8_t modified = 0;
    uint32_t mcc = 0;
    uint32_t mnc = 0;
};

} // namespace kestrel
