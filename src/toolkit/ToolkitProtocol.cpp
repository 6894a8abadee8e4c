#include "toolkit/ToolkitProtocol.h"

#include "gsm/StatusWords.h"
#include "sim/SimCard.h"
#include "sim/ToolkitResponse.h"

namespace kestrel {

bool sendTerminalResponse(SimCard& card, const ToolkitCommand& command, uint8_t result, std::optional<uint8_t> item,
                          const std::optional<QByteArray>& text)
{
    std::span<const uint8_t> bytes;
    if (text)
        bytes = std::span(reinterpret_cast<const uint8_t*>(text->constData()), static_cast<std::size_t>(text->size()));
    return card.sendTerminalResponse(command.details(), result, item, bytes, text.has_value());
}

bool sendMenuSelection(SimCard& card, uint8_t item)
{
    const std::vector<uint8_t> envelope = encodeMenuSelection(item);
    uint16_t sw = 0;
    if (!card.sendEnvelope(envelope, sw))
        return false;
    if (sw != gsm::sw::kOk) {
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
