#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include <QString>

#include "sim/ToolkitElements.h"

namespace kestrel {

struct ToolkitCommand;

// The decoder for one type of command: the proactive command tag, its length and the command
// details, then
//   DISPLAY TEXT  device identities, text string
//   GET INPUT     device identities, text string, response length
//   SELECT ITEM   device identities, alpha identifier if present, items while they decode
//   SET UP MENU   device identities, alpha identifier (required), items while they decode
//   other types   nothing more
class ToolkitDecoder
{
public:
    explicit ToolkitDecoder(uint8_t type) : m_type(type) {}

    uint8_t type() const { return m_type; }
    // Decodes the whole command from its first byte; false when a required element fails.
    bool decode(std::span<const uint8_t> bytes);
    // Clears the command's item lists, then applies every decoded element.
    void applyTo(ToolkitCommand& command) const;
    // One line per decoded element.
    QString describe() const;

    // Only the tag, the length and the command details.
    static bool decodeHeader(std::span<const uint8_t> bytes, CommandDetails& details);

private:
    // Decodes element into the list when it decodes; the read position is kept otherwise.
    bool take(ToolkitReader& reader, std::unique_ptr<ToolkitElement> element);

    uint8_t m_type;
    std::vector<std::unique_ptr<ToolkitElement>> m_elements;
};

} // namespace kestrel
