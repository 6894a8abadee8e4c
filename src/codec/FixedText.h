#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace kestrel {

// The card's data live in plain structures with fixed, NUL-terminated character fields (PC text,
// i.e. Windows-1250 bytes). These helpers keep every copy inside the field.

template <std::size_t N>
void setFixedText(char (&field)[N], std::string_view text)
{
    static_assert(N > 0);
    const std::size_t n = text.size() < N - 1 ? text.size() : N - 1;
    if (n > 0)
        std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, N - n);
}

template <std::size_t N>
std::string_view fixedText(const char (&field)[N])
{
    return std::string_view(field, ::strnlen(field, N));
}

} // namespace kestrel
