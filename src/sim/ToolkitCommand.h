#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <QString>

#include "sim/ToolkitHandler.h"
#include "sim/ToolkitDecoder.h"

namespace kestrel {

class SimCard;

// Types of command (GSM 11.14 command details) the program answers itself.
namespace ToolkitType {
inline constexpr uint8_t kDisplayText = 0x21;
inline constexpr uint8_t kGetInput = 0x23;
inline constexpr uint8_t kSelectItem = 0x24;
inline constexpr uint8_t kSetUpMenu = 0x25;
} // namespace ToolkitType

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

} // namespace kestrel
