#pragma once

#include <cstdint>
#include <vector>

namespace kestrel {

// One proactive command fetched from the card (GSM 11.11 FETCH), with its command details
// (GSM 11.14: command number, type of command, command qualifier) already taken from it.
// `bytes` holds what FETCH returned: the whole BER-TLV, tag D0 first, already checked to carry the
// elements its type of command calls for (ToolkitDecoder).
struct ProactiveCommand
{
    uint8_t number = 0;
    uint8_t type = 0;
    uint8_t qualifier = 0;
    std::vector<uint8_t> bytes;
};

// What a handler did with a proactive command.
enum class ToolkitAnswer
{
    Default,  // nothing: the SimCard answers "command performed successfully" (general result 00)
    Answered, // the handler sent the TERMINAL RESPONSE itself
    Failed,   // the command could not be handled; the SimCard's lastStatus says why
};

// The receiver of proactive commands. When a card answers a command with SW1 = 91, the SimCard
// fetches what is pending and hands it here; a command that does not decode never arrives (the
// card command that announced it fails with sid::StatusErrorDuringOperation_105). Without a handler every command that
// decodes gets the default answer.
class ToolkitHandler
{
public:
    virtual ~ToolkitHandler() = default;

    virtual ToolkitAnswer handleCommand(const ProactiveCommand& command) = 0;
};

} // namespace kestrel
