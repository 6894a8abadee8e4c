#pragma once

// The abort on a broken promise, for every fuzz target: the place goes into the log, and the abort
// makes libFuzzer keep the input.

#include <cstdio>
#include <cstdlib>

namespace kestrel::fuzz {

inline void check(bool condition, const char* file = __builtin_FILE(), int line = __builtin_LINE())
{
    if (condition)
        return;
    std::fprintf(stderr, "fuzz check failed: %s:%d\n", file, line);
    std::abort();
}

} // namespace kestrel::fuzz
