#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace kestrel {

// The card's data live in plain structures with fixed, NUL-terminated character fields (PC text,
// i.e. UTF-8). These helpers keep every copy inside the field.

// The length of the longest start of text that has at most max bytes and does not end inside a
// UTF-8 sequence.
inline std::size_t utf8Prefix(std::string_view text, std::size_t max)
{
    if (text.size() <= max)
        return text.size();
    std::size_t n = max;
    // Step back over continuation bytes (10xxxxxx) to the start of the character cut in two.
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return n;
}

// Copies text into the field, cut at a character boundary so that it fits with its NUL.
template <std::size_t N>
void setFixedText(char (&field)[N], std::string_view text)
{
    static_assert(N > 0);
    const std::size_t n = utf8Prefix(text, N - 1);
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
