#include "sim/ToolkitElements.h"

#include <algorithm>

#include "gsm/Toolkit.h"
#include "sim/ToolkitCommand.h"

namespace kestrel {

namespace {

using namespace gsm::toolkit;

// A simple TLV's tag (low seven bits) and length; value receives the value bytes, which the
// reader has passed. Nothing is taken when it fails.
bool readTlv(ToolkitReader& reader, uint8_t tag, std::span<const uint8_t>& value)
{
    ToolkitReader probe = reader;
    uint8_t t = 0;
    ToolkitLength length;
    if (!probe.take(t) || (t & kTagMask) != tag || !length.decode(probe) || !probe.view(length.value(), value))
        return false;
    probe.skip(length.value());
    reader = probe;
    return true;
}

bool writeTlv(ToolkitWriter& writer, uint8_t tag, std::span<const uint8_t> value)
{
    ToolkitWriter probe = writer;
    if (!probe.put(tag) || !ToolkitLength(value.size()).encode(probe) || !probe.put(value))
        return false;
    writer = probe;
    return true;
}

// Bytes as characters, up to the end or the first FF (the padding of GSM 11.11 alpha fields).
QString bytesText(std::span<const uint8_t> bytes)
{
    QString text;
    for (const uint8_t b : bytes) {
        if (b == 0xFF)
            break;
        text += QChar(static_cast<char16_t>(b));
    }
    return text;
}

// GSM 7-bit packed characters, septet k at bit 7k; stops at the last whole septet (the bits
// left over in the last byte are fill, not a character) or at a byte FF.
QString packedText(std::span<const uint8_t> bytes)
{
    QString text;
    for (std::size_t k = 0; 7 * k + 7 <= 8 * bytes.size(); ++k) {
        const std::size_t i = 7 * k / 8;
        const unsigned shift = 7 * k % 8;
        if (bytes[i] == 0xFF)
            break;
        unsigned v = bytes[i];
        if (shift > 1 && i + 1 < bytes.size())
            v |= static_cast<unsigned>(bytes[i + 1]) << 8;
        text += QChar(static_cast<ushort>((v >> shift) & 0x7F));
    }
    return text;
}

QString hex2(unsigned v)
{
    return QStringLiteral("%1").arg(v, 2, 16, QLatin1Char('0'));
}

} // namespace

// ---- read and write positions ---------------------------------------------------------------

bool ToolkitReader::take(uint8_t& byte)
{
    if (!peek(byte))
        return false;
    ++m_pos;
    return true;
}

bool ToolkitReader::peek(uint8_t& byte) const
{
    if (m_pos >= m_bytes.size())
        return false;
    byte = m_bytes[m_pos];
    return true;
}

bool ToolkitReader::view(std::size_t n, std::span<const uint8_t>& out) const
{
    if (n > left())
        return false;
    out = m_bytes.subspan(m_pos, n);
    return true;
}

bool ToolkitReader::skip(std::size_t n)
{
    if (n > left())
        return false;
    m_pos += n;
    return true;
}

void ToolkitReader::limit(std::size_t n)
{
    m_bytes = m_bytes.first(m_pos + std::min(n, left()));
}

bool ToolkitWriter::put(uint8_t byte)
{
    if (m_pos >= m_room.size())
        return false;
    m_room[m_pos++] = byte;
    return true;
}

bool ToolkitWriter::put(std::span<const uint8_t> bytes)
{
    if (bytes.size() > m_room.size() - m_pos)
        return false;
    std::copy(bytes.begin(), bytes.end(), m_room.begin() + static_cast<std::ptrdiff_t>(m_pos));
    m_pos += bytes.size();
    return true;
}

// ---- elements --------------------------------------------------------------------------------

bool ToolkitLength::decode(ToolkitReader& reader)
{
    ToolkitReader probe = reader;
    uint8_t b = 0;
    if (!probe.take(b))
        return false;
    if (b == 0x81) {
        if (!probe.take(b))
            return false;
    } else if (b > 0x80) {
        return false;
    }
    m_value = b;
    reader = probe;
    return true;
}

bool ToolkitLength::encode(ToolkitWriter& writer) const
{
    if (m_value > 0xFF)
        return false;
    if (m_value <= 0x7F)
        return writer.put(static_cast<uint8_t>(m_value));
    const uint8_t bytes[] = {0x81, static_cast<uint8_t>(m_value)};
    return writer.put(bytes);
}

void ToolkitLength::describe(QString& text) const
{
    text += QStringLiteral("Command Length:%1\n").arg(static_cast<qulonglong>(m_value), -4);
}

bool ProactiveCommandTag::decode(ToolkitReader& reader)
{
    ToolkitReader probe = reader;
    uint8_t tag = 0;
    if (!probe.take(tag) || tag != kProactiveCommandTag || !m_length.decode(probe) || m_length.value() > probe.left())
        return false;
    probe.limit(m_length.value());
    reader = probe;
    return true;
}

bool ProactiveCommandTag::encode(ToolkitWriter& writer) const
{
    ToolkitWriter probe = writer;
    if (!probe.put(kProactiveCommandTag) || !m_length.encode(probe))
        return false;
    writer = probe;
    return true;
}

void ProactiveCommandTag::describe(QString& text) const
{
    m_length.describe(text);
}

bool CommandDetails::decode(ToolkitReader& reader)
{
    std::span<const uint8_t> v;
    ToolkitReader probe = reader;
    if (!readTlv(probe, kTagCommandDetails, v) || v.size() != 3)
        return false;
    m_number = v[0];
    m_type = v[1];
    m_qualifier = v[2];
    reader = probe;
    return true;
}

bool CommandDetails::encode(ToolkitWriter& writer) const
{
    const uint8_t v[] = {m_number, m_type, m_qualifier};
    return writeTlv(writer, kTagCommandDetails, v);
}

void CommandDetails::describe(QString& text) const
{
    text += QStringLiteral("Command Number: %1, Type: %2 (%3), Qualifier: %4\n")
                .arg(hex2(m_number), hex2(m_type), QString::fromLatin1(toolkitTypeName(m_type)), hex2(m_qualifier));
}

void CommandDetails::apply(ToolkitCommand& command) const
{
    command.number = m_number;
    command.type = m_type;
    command.qualifier = m_qualifier;
}

bool DeviceIdentities::decode(ToolkitReader& reader)
{
    std::span<const uint8_t> v;
    ToolkitReader probe = reader;
    if (!readTlv(probe, kTagDeviceIdentities, v) || v.size() != 2)
        return false;
    m_source = v[0];
    m_destination = v[1];
    reader = probe;
    return true;
}

bool DeviceIdentities::encode(ToolkitWriter& writer) const
{
    const uint8_t v[] = {m_source, m_destination};
    return writeTlv(writer, kTagDeviceIdentities, v);
}

void DeviceIdentities::describe(QString& text) const
{
    text += QStringLiteral("Device Identities: Src = %1 (%2), Dst = %3 (%4)\n")
                .arg(hex2(m_source), QString::fromLatin1(toolkitDeviceName(m_source)), hex2(m_destination),
                     QString::fromLatin1(toolkitDeviceName(m_destination)));
}

// The text stops at the first FF, but the read position goes over the whole element, so that
// elements after an FF-padded one are still found.
bool AlphaIdentifier::decode(ToolkitReader& reader)
{
    std::span<const uint8_t> v;
    if (!readTlv(reader, kTagAlpha, v))
        return false;
    m_text = bytesText(v);
    return true;
}

bool AlphaIdentifier::encode(ToolkitWriter& writer) const
{
    const QByteArray bytes = m_text.toLatin1();
    return writeTlv(
        writer, kTagAlpha,
        std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
}

void AlphaIdentifier::describe(QString& text) const
{
    text += QStringLiteral("Alpha Identifier: %1\n").arg(m_text);
}

void AlphaIdentifier::apply(ToolkitCommand& command) const
{
    command.text = m_text;
}

bool ToolkitItem::decode(ToolkitReader& reader)
{
    std::span<const uint8_t> v;
    ToolkitReader probe = reader;
    if (!readTlv(probe, kTagItem, v) || v.empty())
        return false;
    m_id = v[0];
    m_text = bytesText(v.subspan(1));
    reader = probe;
    return true;
}

bool ToolkitItem::encode(ToolkitWriter& writer) const
{
    QByteArray bytes = m_text.toLatin1();
    bytes.prepend(static_cast<char>(m_id));
    return writeTlv(
        writer, kTagItem,
        std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
}

void ToolkitItem::describe(QString& text) const
{
    text += QStringLiteral("->Item Id: %1, Text: %2\n").arg(hex2(m_id), m_text);
}

void ToolkitItem::apply(ToolkitCommand& command) const
{
    command.itemIds.push_back(m_id);
    command.itemTexts.push_back(m_text);
}

TextString::TextString(std::span<const uint8_t> bytes) : m_dcs(kDcs8Bit)
{
    for (const uint8_t b : bytes)
        m_text += QChar(static_cast<char16_t>(b));
}

bool TextString::decode(ToolkitReader& reader)
{
    std::span<const uint8_t> v;
    ToolkitReader probe = reader;
    if (!readTlv(probe, kTagTextString, v) || v.empty())
        return false;
    m_dcs = v[0];
    m_text = m_dcs == kDcsPacked ? packedText(v.subspan(1)) : bytesText(v.subspan(1));
    reader = probe;
    return true;
}

// Always 8-bit (scheme 04); characters beyond one byte cannot be written.
bool TextString::encode(ToolkitWriter& writer) const
{
    QByteArray bytes;
    bytes.reserve(m_text.size() + 1);
    bytes.append(static_cast<char>(kDcs8Bit));
    for (const QChar c : m_text) {
        if (c.unicode() > 0xFF)
            return false;
        bytes.append(static_cast<char>(c.unicode()));
    }
    return writeTlv(
        writer, kTagTextString | kComprehension,
        std::span(reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())));
}

void TextString::describe(QString& text) const
{
    text += QStringLiteral("Text String: Dcs=%1, %2\n").arg(hex2(m_dcs), m_text);
}

void TextString::apply(ToolkitCommand& command) const
{
    command.text = m_text;
}

bool ResponseLength::decode(ToolkitReader& reader)
{
    std::span<const uint8_t> v;
    ToolkitReader probe = reader;
    if (!readTlv(probe, kTagResponseLength, v) || v.size() != 2)
        return false;
    m_min = v[0];
    m_max = v[1];
    reader = probe;
    return true;
}

bool ResponseLength::encode(ToolkitWriter& writer) const
{
    const uint8_t v[] = {m_min, m_max};
    return writeTlv(writer, kTagResponseLength, v);
}

void ResponseLength::describe(QString& text) const
{
    text += QStringLiteral("Response Length: Min=%1, Max=%2\n").arg(m_min).arg(m_max);
}

void ResponseLength::apply(ToolkitCommand& command) const
{
    command.responseMin = m_min;
    command.responseMax = m_max;
}

bool ToolkitResult::encode(ToolkitWriter& writer) const
{
    const uint8_t v[] = {m_result};
    return writeTlv(writer, kTagResult, v);
}

void ToolkitResult::describe(QString& text) const
{
    text += QStringLiteral("Result: %1\n").arg(hex2(m_result));
}

bool ItemIdentifier::encode(ToolkitWriter& writer) const
{
    const uint8_t v[] = {m_id};
    return writeTlv(writer, kTagItemIdentifier, v);
}

void ItemIdentifier::describe(QString& text) const
{
    text += QStringLiteral("Item Identifier: %1\n").arg(hex2(m_id));
}

const char* toolkitTypeName(uint8_t type)
{
    switch (type) {
    case kDisplayText:
        return "DisplayText";
    case kGetInput:
        return "GetInput";
    case kSelectItem:
        return "SelectItem";
    case kSetUpMenu:
        return "SetUpMenu";
    default:
        return "Unsupported";
    }
}

const char* toolkitDeviceName(uint8_t device)
{
    switch (device) {
    case kDeviceKeypad:
        return "Keypad";
    case kDeviceDisplay:
        return "Display";
    case kDeviceEarpiece:
        return "Earpiece";
    case kDeviceSim:
        return "SIM";
    case kDeviceMe:
        return "ME";
    case kDeviceNetwork:
        return "Network";
    default:
        return "Unknown";
    }
}

} // namespace kestrel
