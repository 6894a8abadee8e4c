#include "emulator/ToolkitApplet.h"

#include <algorithm>
#include <optional>

#include "gsm/StatusWords.h"
#include "gsm/Toolkit.h"

namespace kestrel::emulator {

namespace {

using namespace gsm::toolkit;
using gsm::sw::kOk;
using gsm::sw::kTechnicalProblem;
using gsm::sw::kToolkitBusy;

// General results below this one: command performed (perhaps with a reservation).
constexpr uint8_t kFirstNotPerformed = 0x10;
// Qualifier of DISPLAY TEXT: wait for the user to clear the message.
constexpr uint8_t kWaitForUser = 0x80;
// Qualifier of GET INPUT: alphabet input in the default alphabet.
constexpr uint8_t kAlphabetInput = 0x01;

// Longest text a DISPLAY TEXT carries, so the whole command stays within one 256-byte FETCH.
constexpr std::size_t kMaxDisplayText = 200;

// BER length: one byte up to 127, 0x81 and the length up to 255.
void appendLength(std::vector<uint8_t>& out, std::size_t length)
{
    if (length >= 0x80)
        out.push_back(0x81);
    out.push_back(static_cast<uint8_t>(length));
}

void appendTlv(std::vector<uint8_t>& out, uint8_t tag, std::span<const uint8_t> value)
{
    out.push_back(tag);
    appendLength(out, value.size());
    out.insert(out.end(), value.begin(), value.end());
}

void appendText(std::vector<uint8_t>& out, uint8_t tag, const std::string& text)
{
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    appendTlv(out, tag, std::span<const uint8_t>(bytes, text.size()));
}

void appendTextString(std::vector<uint8_t>& out, const std::string& text)
{
    std::vector<uint8_t> value{kDcs8Bit};
    value.insert(value.end(), text.begin(), text.end());
    appendTlv(out, kTagTextString | kComprehension, value);
}

void appendItem(std::vector<uint8_t>& out, uint8_t id, const std::string& text)
{
    std::vector<uint8_t> value{id};
    value.insert(value.end(), text.begin(), text.end());
    appendTlv(out, kTagItem | kComprehension, value);
}

struct Tlv
{
    uint8_t tag = 0; // comprehension bit cleared
    std::span<const uint8_t> value;
};

// Reads simple TLVs up to the end of data; nullopt when one runs past the end or has a length
// form other than one byte or 0x81 plus one byte.
std::optional<std::vector<Tlv>> parseTlvs(std::span<const uint8_t> data)
{
    std::vector<Tlv> out;
    std::size_t pos = 0;
    while (pos < data.size()) {
        const uint8_t tag = data[pos++];
        if (tag == 0x00 || tag == 0xFF || pos >= data.size())
            return std::nullopt;
        std::size_t length = data[pos++];
        if (length == 0x81) {
            if (pos >= data.size())
                return std::nullopt;
            length = data[pos++];
        } else if (length > 0x80) {
            return std::nullopt;
        }
        if (length > data.size() - pos)
            return std::nullopt;
        out.push_back(Tlv{static_cast<uint8_t>(tag & kTagMask), data.subspan(pos, length)});
        pos += length;
    }
    return out;
}

const Tlv* findTlv(const std::vector<Tlv>& tlvs, uint8_t tag)
{
    for (const Tlv& t : tlvs) {
        if (t.tag == tag)
            return &t;
    }
    return nullptr;
}

// The text of a text string as the terminal sent it: 7-bit packed, 8-bit or UCS2 (characters
// beyond ASCII become '?').
std::string decodeTextString(std::span<const uint8_t> value)
{
    std::string out;
    if (value.empty())
        return out;
    const uint8_t dcs = value[0] & 0x0C;
    const auto text = value.subspan(1);
    if (dcs == kDcsPacked) {
        const std::size_t septets = text.size() * 8 / 7;
        for (std::size_t k = 0; k < septets; ++k) {
            const std::size_t bit = k * 7;
            const std::size_t i = bit / 8;
            const unsigned shift = bit % 8;
            unsigned v = text[i] >> shift;
            if (shift > 1 && i + 1 < text.size())
                v |= static_cast<unsigned>(text[i + 1]) << (8 - shift);
            out += static_cast<char>(v & 0x7F);
        }
        // Seven characters in seven bytes leave a last septet of zero bits.
        if (!out.empty() && septets * 7 == text.size() * 8 && out.back() == 0)
            out.pop_back();
    } else if (dcs == kDcsUcs2) {
        for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
            const unsigned c = static_cast<unsigned>(text[i]) << 8 | text[i + 1];
            out += c < 0x80 ? static_cast<char>(c) : '?';
        }
    } else {
        out.assign(text.begin(), text.end());
    }
    return out;
}

const char* serviceAnswer(uint8_t item)
{
    switch (item) {
    case 1:
        return "No news today";
    case 2:
        return "Sunny, 21 C";
    case 3:
        return "Balance: 38 units";
    default:
        return nullptr;
    }
}

} // namespace

void ToolkitApplet::reset()
{
    m_profileSeen = false;
    m_menuInstalled = false;
    m_nextNumber = 1;
    m_pending.clear();
    m_pendingStage = Stage::None;
    m_outstanding = Stage::None;
}

uint16_t ToolkitApplet::withPending(uint16_t okWord) const
{
    if (m_pending.empty())
        return okWord;
    return static_cast<uint16_t>(gsm::sw::kSw1ProactiveWaiting << 8 | (m_pending.size() & 0xFF));
}

void ToolkitApplet::queue(Stage stage, uint8_t type, uint8_t qualifier, std::vector<uint8_t> rest)
{
    const uint8_t number = m_nextNumber;
    m_nextNumber = m_nextNumber >= 0xFE ? 1 : m_nextNumber + 1;
    m_details[0] = number;
    m_details[1] = type;
    m_details[2] = qualifier;

    const uint8_t destination = type == kDisplayText ? kDeviceDisplay : kDeviceMe;
    std::vector<uint8_t> body;
    const uint8_t details[] = {number, type, qualifier};
    appendTlv(body, kTagCommandDetails | kComprehension, details);
    const uint8_t devices[] = {kDeviceSim, destination};
    appendTlv(body, kTagDeviceIdentities | kComprehension, devices);
    body.insert(body.end(), rest.begin(), rest.end());

    m_pending.clear();
    appendTlv(m_pending, kProactiveCommandTag, body);
    m_pendingStage = stage;
}

void ToolkitApplet::queueDisplayText(const std::string& text)
{
    std::vector<uint8_t> rest;
    appendTextString(rest, text.substr(0, kMaxDisplayText));
    queue(Stage::Display, kDisplayText, kWaitForUser, std::move(rest));
}

uint16_t ToolkitApplet::terminalProfile(std::span<const uint8_t> profile, bool proactive)
{
    (void)profile; // every terminal gets the same application
    m_profileSeen = true;
    if (!proactive)
        return kOk;
    m_menuInstalled = false;
    m_outstanding = Stage::None;
    std::vector<uint8_t> rest;
    appendText(rest, kTagAlpha | kComprehension, "Kestrel SIM");
    appendItem(rest, kMenuServices, "Services");
    appendItem(rest, kMenuGreeting, "Greeting");
    appendItem(rest, kMenuAbout, "About");
    queue(Stage::SetUpMenu, kSetUpMenu, 0x00, std::move(rest));
    return withPending(kOk);
}

CardResponse ToolkitApplet::fetch(int length)
{
    if (m_pending.empty())
        return {{}, kTechnicalProblem};
    if (static_cast<std::size_t>(length) != m_pending.size())
        return {{}, static_cast<uint16_t>(gsm::sw::kWrongP3 | (m_pending.size() & 0xFF))};
    CardResponse r{std::move(m_pending), kOk};
    m_pending.clear();
    m_outstanding = m_pendingStage;
    m_pendingStage = Stage::None;
    return r;
}

uint16_t ToolkitApplet::terminalResponse(std::span<const uint8_t> data)
{
    if (m_outstanding == Stage::None)
        return kTechnicalProblem;
    const auto tlvs = parseTlvs(data);
    if (!tlvs)
        return kTechnicalProblem;
    const Tlv* details = findTlv(*tlvs, kTagCommandDetails);
    const Tlv* devices = findTlv(*tlvs, kTagDeviceIdentities);
    const Tlv* result = findTlv(*tlvs, kTagResult);
    if (!details || details->value.size() != 3 || !std::equal(details->value.begin(), details->value.end(), m_details))
        return kTechnicalProblem;
    if (!devices || devices->value.size() != 2 || devices->value[0] != kDeviceMe || devices->value[1] != kDeviceSim)
        return kTechnicalProblem;
    if (!result || result->value.empty())
        return kTechnicalProblem;

    const Stage stage = m_outstanding;
    m_outstanding = Stage::None;
    const bool performed = result->value[0] < kFirstNotPerformed;
    switch (stage) {
    case Stage::SetUpMenu:
        m_menuInstalled = performed;
        break;
    case Stage::Services:
        if (performed) {
            const Tlv* item = findTlv(*tlvs, kTagItemIdentifier);
            if (item && item->value.size() == 1) {
                if (const char* answer = serviceAnswer(item->value[0]))
                    queueDisplayText(answer);
            }
        }
        break;
    case Stage::Greeting:
        if (performed) {
            const Tlv* text = findTlv(*tlvs, kTagTextString);
            if (text) {
                const std::string typed = decodeTextString(text->value);
                if (!typed.empty())
                    queueDisplayText(typed);
            }
        }
        break;
    case Stage::Display:
    case Stage::None:
        break;
    }
    return withPending(kOk);
}

uint16_t ToolkitApplet::envelope(std::span<const uint8_t> data)
{
    if (data.size() < 2 || data[0] != kMenuSelectionTag)
        return kTechnicalProblem;
    const auto outer = parseTlvs(data);
    if (!outer || outer->size() != 1)
        return kTechnicalProblem;
    const auto tlvs = parseTlvs(outer->front().value);
    if (!tlvs)
        return kTechnicalProblem;
    const Tlv* devices = findTlv(*tlvs, kTagDeviceIdentities);
    const Tlv* item = findTlv(*tlvs, kTagItemIdentifier);
    if (!devices || devices->value.size() != 2 || devices->value[0] != kDeviceKeypad || devices->value[1] != kDeviceSim)
        return kTechnicalProblem;
    if (!item || item->value.size() != 1)
        return kTechnicalProblem;
    if (!m_pending.empty() || m_outstanding != Stage::None)
        return kToolkitBusy;
    if (!m_menuInstalled)
        return kTechnicalProblem;

    std::vector<uint8_t> rest;
    switch (item->value[0]) {
    case kMenuServices:
        appendText(rest, kTagAlpha | kComprehension, "Services");
        appendItem(rest, 1, "News");
        appendItem(rest, 2, "Weather");
        appendItem(rest, 3, "Balance");
        queue(Stage::Services, kSelectItem, 0x00, std::move(rest));
        break;
    case kMenuGreeting: {
        appendTextString(rest, "Your name?");
        const uint8_t lengths[] = {1, 20};
        appendTlv(rest, kTagResponseLength | kComprehension, lengths);
        queue(Stage::Greeting, kGetInput, kAlphabetInput, std::move(rest));
        break;
    }
    case kMenuAbout:
        queueDisplayText("Kestrel virtual SIM card");
        break;
    default:
        return kTechnicalProblem;
    }
    return withPending(kOk);
}

} // namespace kestrel::emulator
