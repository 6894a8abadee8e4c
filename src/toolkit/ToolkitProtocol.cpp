#include "toolkit/ToolkitProtocol.h"

#include <array>
#include <vector>

#include "sim/SimCard.h"

namespace kestrel {

namespace {

constexpr uint8_t kClass = 0xA0;
constexpr uint8_t kInsTerminalResponse = 0x14;
constexpr uint8_t kDeviceKeypad = 0x01;
constexpr uint8_t kDeviceSim = 0x81;
constexpr uint8_t kDeviceMe = 0x82;
// The data of one command to the card: P3 is one byte.
constexpr std::size_t kMaxResponse = 255;

} // namespace

std::optional<ToolkitCommand> decodeToolkitCommand(std::span<const uint8_t> bytes, CardStatus& status)
{
    CommandDetails details;
    if (!ToolkitDecoder::decodeHeader(bytes, details)) {
        status = CardStatus::NonSpecificError;
        return std::nullopt;
    }
    ToolkitCommand command;
    command.decoder = std::make_unique<ToolkitDecoder>(details.type());
    if (!command.decoder->decode(bytes)) {
        status = CardStatus::StatusError;
        return std::nullopt;
    }
    command.decoder->applyTo(command);
    status = CardStatus::Ok;
    return command;
}

bool sendTerminalResponse(SimCard& card, const ToolkitCommand& command, uint8_t result, std::optional<uint8_t> item,
                          const std::optional<QByteArray>& text)
{
    std::array<uint8_t, kMaxResponse> buffer{};
    ToolkitWriter writer(buffer);
    bool fits = CommandDetails(command.number, command.type, command.qualifier).encode(writer) &&
                DeviceIdentities(kDeviceMe, kDeviceSim).encode(writer) && ToolkitResult(result).encode(writer);
    if (fits && item)
        fits = ItemIdentifier(*item).encode(writer);
    if (fits && text) {
        fits = TextString(std::span(reinterpret_cast<const uint8_t*>(text->constData()),
                                    static_cast<std::size_t>(text->size())))
                   .encode(writer);
    }
    if (!fits) {
        card.setLastStatus(CardStatus::NonSpecificError);
        return false;
    }
    std::vector<uint8_t> data(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(writer.size()));
    uint16_t sw = 0;
    if (!card.sendCommand(kClass, kInsTerminalResponse, 0, 0, static_cast<uint8_t>(data.size()), data, true, sw))
        return false;
    if (sw != 0x9000) {
        card.setLastStatus(CardStatus::NonSpecificError);
        return false;
    }
    return true;
}

bool sendMenuSelection(SimCard& card, uint8_t item)
{
    // Menu selection tag D3; device identities keypad -> SIM; item identifier (tags with the
    // comprehension bit).
    const std::array<uint8_t, 9> envelope = {0xD3, 0x07, 0x82, 0x02, kDeviceKeypad, kDeviceSim, 0x90, 0x01, item};
    uint16_t sw = 0;
    if (!card.sendEnvelope(envelope, sw))
        return false;
    if (sw != 0x9000) {
        card.setLastStatus(CardStatus::NonSpecificError);
        return false;
    }
    return true;
}

ToolkitAnswer ToolkitCommandHandler::handleCommand(const ProactiveCommand& fetched)
{
    CardStatus status = CardStatus::Ok;
    std::optional<ToolkitCommand> command = decodeToolkitCommand(fetched.bytes, status);
    if (!command) {
        m_card.setLastStatus(status);
        return ToolkitAnswer::Failed;
    }
    command->card = &m_card;
    return handleToolkitCommand(*command);
}

ToolkitAnswer ToolkitCommandHandler::handleToolkitCommand(ToolkitCommand&)
{
    return ToolkitAnswer::Default;
}

} // namespace kestrel
