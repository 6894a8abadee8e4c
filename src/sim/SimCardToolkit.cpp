// The toolkit side of the SimCard: a proactive command announced with SW1 = 91 is fetched,
// checked against its GSM 11.14 BER-TLV layout, given to the ToolkitHandler and answered.

#include "sim/SimCard.h"

#include "sim/ToolkitDecoder.h"

namespace kestrel {

namespace {

constexpr uint8_t kClass = 0xA0;
constexpr uint8_t kInsFetch = 0x12;
constexpr uint8_t kInsTerminalResponse = 0x14;
constexpr uint8_t kInsEnvelope = 0xC2;
// A card that keeps announcing proactive commands inside the answers to them is cut off here.
constexpr int kMaxProactiveDepth = 8;

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

    const int n = (sw & 0xFF) == 0 ? 256 : (sw & 0xFF);
    std::vector<uint8_t> buffer(256, 0);
    uint16_t fetchSw = 0;
    if (!sendCommand(kClass, kInsFetch, 0, 0, static_cast<uint8_t>(n & 0xFF), buffer, false, fetchSw))
        return false;
    if (fetchSw != 0x9000)
        return fail(CardStatus::NonSpecificError);
    buffer.resize(static_cast<std::size_t>(n));

    // Tag D0, its length and the command details: without them the command cannot be answered.
    CommandDetails details;
    if (!ToolkitDecoder::decodeHeader(buffer, details))
        return fail(CardStatus::NonSpecificError);
    // The elements its type of command calls for: a command missing one is refused, whether a
    // handler is installed or not.
    if (!ToolkitDecoder(details.type()).decode(buffer))
        return fail(CardStatus::StatusError);
    const ProactiveCommand command{details.number(), details.type(), details.qualifier(), std::move(buffer)};

    const ToolkitAnswer answer = m_toolkit ? m_toolkit->handleCommand(command) : ToolkitAnswer::Default;
    if (answer == ToolkitAnswer::Failed)
        return false;
    if (answer == ToolkitAnswer::Answered)
        return true;
    return sendTerminalResponse(command, 0x00);
}

bool SimCard::sendTerminalResponse(const ProactiveCommand& command, uint8_t result, std::optional<uint8_t> item,
                                   std::span<const uint8_t> text, bool withText)
{
    std::vector<uint8_t> data = {0x01, 0x03, command.number, command.type, command.qualifier, // command details
                                 0x02, 0x02, 0x82,           0x81,                            // ME to SIM
                                 0x03, 0x01, result};
    if (item) {
        data.insert(data.end(), {0x10, 0x01, *item});
    }
    if (withText) {
        // Text string, data coding scheme 04 (8-bit).
        const std::size_t valueLength = text.size() + 1;
        if (valueLength > 255)
            return fail(CardStatus::NonSpecificError);
        data.push_back(0x8D);
        if (valueLength > 127)
            data.push_back(0x81);
        data.push_back(static_cast<uint8_t>(valueLength));
        data.push_back(0x04);
        data.insert(data.end(), text.begin(), text.end());
    }
    if (data.size() > 255)
        return fail(CardStatus::NonSpecificError);
    uint16_t sw = 0;
    if (!sendCommand(kClass, kInsTerminalResponse, 0, 0, static_cast<uint8_t>(data.size()), data, true, sw))
        return false;
    if (sw != 0x9000)
        return fail(CardStatus::NonSpecificError);
    return true;
}

bool SimCard::sendEnvelope(std::span<const uint8_t> data, uint16_t& sw)
{
    if (data.size() > 255)
        return fail(CardStatus::NonSpecificError);
    std::vector<uint8_t> bytes(data.begin(), data.end());
    return sendCommand(kClass, kInsEnvelope, 0, 0, static_cast<uint8_t>(bytes.size()), bytes, true, sw);
}

} // namespace kestrel
