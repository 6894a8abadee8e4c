#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include <QString>

namespace kestrel::cli {

// Parses hex bytes; spaces and colons between digits are allowed ("A0 B1", "a0:b1", "A0B1").
// An odd digit count or any other character gives nothing.
std::optional<std::vector<uint8_t>> parseHex(const QString& text);

// Upper-case hex without separators.
QString toHex(std::span<const uint8_t> bytes);

} // namespace kestrel::cli
