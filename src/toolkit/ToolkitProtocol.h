#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include <QByteArray>

#include "base/CardStatus.h"
#include "sim/ToolkitHandler.h"
#include "sim/ToolkitCommand.h"

namespace kestrel {

class SimCard;

// TERMINAL RESPONSE (A0 14) to command, sent by SimCard::sendTerminalResponse: command details as
// decoded, device identities ME -> SIM, the general result, then the item identifier and an 8-bit
// text string when given. A response that does not fit in 255 bytes, or one the card does not end
// with 90 00, fails with 140.
bool sendTerminalResponse(SimCard& card, const ToolkitCommand& command, uint8_t result,
                          std::optional<uint8_t> item = std::nullopt,
                          const std::optional<QByteArray>& text = std::nullopt);

// ENVELOPE (A0 C2) MENU SELECTION of item, from the keypad to the SIM. The card's follow-up
// commands are handled inside. True when the card ends with 90 00.
bool sendMenuSelection(SimCard& card, uint8_t item);

// The toolkit side of a SimCard's handler: decodes each proactive command the SimCard fetched
// and passes it to handleToolkitCommand. The base class handles nothing, so every command gets
// the default answer (general result 00), as with no handler at all. The SimCard refuses an
// undecodable command (sid::StatusErrorDuringOperation_105) before any handler sees it.
class ToolkitCommandHandler : public ToolkitHandler
{
public:
    explicit ToolkitCommandHandler(SimCard& card) : m_card(card) {}

    ToolkitAnswer handleCommand(const ProactiveCommand& command) final;

    SimCard& card() { return m_card; }

protected:
    // Answered when the handler sent the TERMINAL RESPONSE itself (it may move the command away to
    // keep it), Failed when that failed (the card's lastStatus says why), Default otherwise.
    virtual ToolkitAnswer handleToolkitCommand(ToolkitCommand& command);

private:
    SimCard& m_card;
};

} // namespace kestrel
