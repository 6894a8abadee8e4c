#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include <QString>

#include "base/CardStatus.h"
#include "sim/ToolkitDecoder.h"
#include "sim/ToolkitHandler.h"

namespace kestrel {

class SimCard;

// One fetched proactive command, decoded. A handler that wants to keep it (the menu page keeps
// SET UP MENU) moves it away; otherwise it ends with the fetch step.
struct ToolkitCommand
{
    uint8_t number = 0;
    uint8_t type = 0;
    uint8_t qualifier = 0;
    QString text; // the alpha identifier or the text string
    std::vector<QString> itemTexts;
    std::vector<uint8_t> itemIds; // parallel to itemTexts, in card order
    uint8_t responseMin = 0;
    uint8_t responseMax = 0;
    std::unique_ptr<ToolkitDecoder> decoder;
    SimCard* card = nullptr;

    // The command details as the SimCard answers them.
    ProactiveCommand details() const { return ProactiveCommand{number, type, qualifier, {}}; }
};

// Decodes a fetched proactive command (the whole BER-TLV, D0 first, at most the bytes given).
// A broken tag, length or command details give sid::NonSpecificError_140 in status, a broken body (an element its type
// of command calls for missing or malformed) 105.
std::optional<ToolkitCommand> decodeToolkitCommand(std::span<const uint8_t> bytes, CardStatus& status);

} // namespace kestrel
