#include "sim/ToolkitDecoder.h"

#include "gsm/Toolkit.h"
#include "sim/ToolkitCommand.h"

namespace kestrel {

namespace tk = gsm::toolkit;

bool ToolkitDecoder::decodeHeader(std::span<const uint8_t> bytes, CommandDetails& details)
{
    ToolkitReader reader(bytes);
    ProactiveCommandTag tag;
    return tag.decode(reader) && details.decode(reader);
}

bool ToolkitDecoder::take(ToolkitReader& reader, std::unique_ptr<ToolkitElement> element)
{
    if (!element->decode(reader))
        return false;
    m_elements.push_back(std::move(element));
    return true;
}

bool ToolkitDecoder::decode(std::span<const uint8_t> bytes)
{
    m_elements.clear();
    ToolkitReader reader(bytes);
    if (!take(reader, std::make_unique<ProactiveCommandTag>()) || !take(reader, std::make_unique<CommandDetails>()))
        return false;
    switch (m_type) {
    case tk::kDisplayText:
        return take(reader, std::make_unique<DeviceIdentities>()) && take(reader, std::make_unique<TextString>());
    case tk::kGetInput:
        return take(reader, std::make_unique<DeviceIdentities>()) && take(reader, std::make_unique<TextString>()) &&
               take(reader, std::make_unique<ResponseLength>());
    case tk::kSelectItem:
    case tk::kSetUpMenu: {
        if (!take(reader, std::make_unique<DeviceIdentities>()))
            return false;
        // SELECT ITEM may go without a title, SET UP MENU not.
        if (!take(reader, std::make_unique<AlphaIdentifier>()) && m_type == tk::kSetUpMenu)
            return false;
        while (take(reader, std::make_unique<ToolkitItem>())) {
        }
        return true;
    }
    default:
        return true;
    }
}

void ToolkitDecoder::applyTo(ToolkitCommand& command) const
{
    command.itemIds.clear();
    command.itemTexts.clear();
    for (const auto& element : m_elements)
        element->apply(command);
}

QString ToolkitDecoder::describe() const
{
    QString text;
    for (const auto& element : m_elements)
        element->describe(text);
    return text;
}

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

} // namespace kestrel
