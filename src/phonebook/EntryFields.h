#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "codec/FixedText.h"

namespace kestrel {

// The fixed NUL-terminated text fields of a DialEntry (name, number).

// Copies text into the field, cut to the field's size less its terminator at a UTF-8 character
// boundary; the rest zeroed.
template <std::size_t N>
void setEntryField(char (&field)[N], std::string_view text)
{
    const std::size_t n = utf8Prefix(text, N - 1);
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, N - n);
}

// The text of the field up to its terminator (or its whole size when it has none).
template <std::size_t N>
std::string_view entryFieldText(const char (&field)[N])
{
    return std::string_view(field, ::strnlen(field, N));
}

} // namespace kestrel
