#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kestrel {

struct ProactiveCommand;

// The data of a TERMINAL RESPONSE (GSM 11.14) to command: its command details, device
// identities ME -> SIM, the general result, then the item identifier and a text string (data
// coding scheme 04, 8-bit) when given. None when it does not fit the 255 bytes of one command.
std::optional<std::vector<uint8_t>> encodeTerminalResponse(const ProactiveCommand& command, uint8_t result,
                                                           std::optional<uint8_t> item,
                                                           std::optional<std::span<const uint8_t>> text);

// The data of an ENVELOPE (GSM 11.14) MENU SELECTION of item: device identities keypad -> SIM and
// the item identifier, both tagged comprehension required.
std::vector<uint8_t> encodeMenuSelection(uint8_t item);

} // namespace kestrel
