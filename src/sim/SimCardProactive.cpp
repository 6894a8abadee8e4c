// The proactive session of the SimCard: a proactive command announced with SW1 = 91 is fetched,
// checked against its GSM 11.14 BER-TLV layout, given to the ToolkitHandler and answered with a
// TERMINAL RESPONSE; ENVELOPE carries the program's own events to the card.

#include "sim/SimCard.h"

#include "gsm/Instructions.h"
#include "gsm/StatusWords.h"
#include "gsm/Toolkit.h"
#include "sim/ToolkitCommand.h"
#include "sim/ToolkitResponse.h"

namespace kestrel {

namespace {

// A card that keeps announcing proactive commands inside the answers to them is cut off here.
constexpr int kMaxProactiveDepth = 8;
// The data of one command to the card: P3 is one byte.
constexpr std::size_t kMaxData = 255;

} // namespace

bool SimCard::handleProactive(uint16_t sw)
{
    struct Depth
    {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    } depth(m_proactiveDepth);
    if (m_proactiveDepth > kMaxProactiveDepth)
        return fail(CardStatus::NonSpecificError);

    const int n = gsm::sw2(sw) == 0 ? 256 : gsm::sw2(sw);
    std::vector<uint8_t> buffer(256, 0);
    uint16_t fetchSw = 0;
    if (!sendCommand(gsm::kClass, gsm::ins::kFetch, 0, 0, static_cast<uint8_t>(n & 0xFF), buffer, false, fetchSw))
        return false;
    if (fetchSw != gsm::sw::kOk)
        return fail(CardStatus::NonSpecificError);
    buffer.resize(static_cast<std::size_t>(n));

    // Tag D0, its length and the command details (sid::NonSpecificError_140 without them: the command cannot be
    // answered), then the elements its type of command calls for (sid::StatusErrorDuringOperation_105 when one is
    // missing), whether a handler is installed or not.
    CardStatus status = CardStatus::Ok;
    const std::optional<ToolkitCommand> decoded = decodeToolkitCommand(buffer, status);
    if (!decoded)
        return fail(status);
    const ProactiveCommand command{decoded->number, decoded->type, decoded->qualifier, std::move(buffer)};

    const ToolkitAnswer answer = m_toolkit ? m_toolkit->handleCommand(command) : ToolkitAnswer::Default;
    if (answer == ToolkitAnswer::Failed)
        return false;
    if (answer == ToolkitAnswer::Answered)
        return true;
    return sendTerminalResponse(command, gsm::toolkit::kResultOk);
}

bool SimCard::sendTerminalResponse(const ProactiveCommand& command, uint8_t result, std::optional<uint8_t> item,
                                   std::span<const uint8_t> text, bool withText)
{
    std::optional<std::vector<uint8_t>> data =
        encodeTerminalResponse(command, result, item, withText ? std::optional(text) : std::nullopt);
    if (!data)
        return fail(CardStatus::NonSpecificError);
    uint16_t sw = 0;
    if (!sendCommand(gsm::kClass, gsm::ins::kTerminalResponse, 0, 0, static_cast<uint8_t>(data->size()), *data, true,
                     sw))
        return false;
    if (sw != gsm::sw::kOk)
        return fail(CardStatus::NonSpecificError);
    return true;
}

bool SimCard::sendEnvelope(std::span<const uint8_t> data, uint16_t& sw)
{
    if (data.size() > kMaxData)
        return fail(CardStatus::NonSpecificError);
    std::vector<uint8_t> bytes(data.begin(), data.end());
    return sendCommand(gsm::kClass, gsm::ins::kEnvelope, 0, 0, static_cast<uint8_t>(bytes.size()), bytes, true, sw);
}

} // namespace kestrel
