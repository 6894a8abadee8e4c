#include "sim/ToolkitResponse.h"

#include <array>

#include "gsm/Toolkit.h"
#include "sim/ToolkitElements.h"
#include "sim/ToolkitHandler.h"

namespace kestrel {

namespace {

namespace tk = gsm::toolkit;

// The data of one command to the card: P3 is one byte.
constexpr std::size_t kMaxData = 255;

} // namespace

std::optional<std::vector<uint8_t>> encodeTerminalResponse(const ProactiveCommand& command, uint8_t result,
                                                           std::optional<uint8_t> item,
                                                           std::optional<std::span<const uint8_t>> text)
{
    std::array<uint8_t, kMaxData> buffer{};
    ToolkitWriter writer(buffer);
    bool fits = CommandDetails(command.number, command.type, command.qualifier).encode(writer) &&
                DeviceIdentities(tk::kDeviceMe, tk::kDeviceSim).encode(writer) && ToolkitResult(result).encode(writer);
    if (fits && item)
        fits = ItemIdentifier(*item).encode(writer);
    if (fits && text)
        fits = TextString(*text).encode(writer);
    if (!fits)
        return std::nullopt;
    return std::vector<uint8_t>(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(writer.size()));
}

std::vector<uint8_t> encodeMenuSelection(uint8_t item)
{
    return {tk::kMenuSelectionTag,
            0x07,
            tk::kTagDeviceIdentities | tk::kComprehension,
            0x02,
            tk::kDeviceKeypad,
            tk::kDeviceSim,
            tk::kTagItemIdentifier | tk::kComprehension,
            0x01,
            item};
}

} // namespace kestrel
