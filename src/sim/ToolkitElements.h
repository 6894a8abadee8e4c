#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include <QString>

#include "gsm/Toolkit.h"

namespace kestrel {

struct ToolkitCommand;

// A read position in a proactive command. Every read is bounded by the end it was given; a read
// past it fails and leaves the position where it was.
class ToolkitReader
{
public:
    explicit ToolkitReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t position() const { return m_pos; }
    std::size_t left() const { return m_bytes.size() - m_pos; }
    bool take(uint8_t& byte);
    // The next byte without taking it.
    bool peek(uint8_t& byte) const;
    // n bytes from the position on, without taking them.
    bool view(std::size_t n, std::span<const uint8_t>& out) const;
    bool skip(std::size_t n);
    // Nothing beyond position + n is read any more (n is cut to what is left).
    void limit(std::size_t n);

private:
    std::span<const uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

// A write position with the room left; a write that does not fit fails and writes nothing.
class ToolkitWriter
{
public:
    explicit ToolkitWriter(std::span<uint8_t> room) : m_room(room) {}

    std::size_t size() const { return m_pos; }
    bool put(uint8_t byte);
    bool put(std::span<const uint8_t> bytes);

private:
    std::span<uint8_t> m_room;
    std::size_t m_pos = 0;
};

// One data object of a proactive command or of a TERMINAL RESPONSE (GSM 11.14 simple TLV; tags
// are compared without the comprehension-required bit 0x80).
class ToolkitElement
{
public:
    virtual ~ToolkitElement() = default;

    virtual bool decode(ToolkitReader& reader) = 0;
    virtual bool encode(ToolkitWriter& writer) const = 0;
    // Appends one line.
    virtual void describe(QString& text) const = 0;
    virtual void apply(ToolkitCommand& command) const = 0;
};

// BER length: 00-80 is the length itself, 81 is followed by one byte holding it. Written as one
// byte up to 127 and as 81 and the length from 128 to 255.
class ToolkitLength final : public ToolkitElement
{
public:
    ToolkitLength() = default;
    explicit ToolkitLength(std::size_t value) : m_value(value) {}
    std::size_t value() const { return m_value; }

    bool decode(ToolkitReader& reader) override;
    bool encode(ToolkitWriter& writer) const override;
    void describe(QString& text) const override;
    void apply(ToolkitCommand&) const override {}

private:
    std::size_t m_value = 0;
};

// Proactive command tag D0 (exactly) and its length; the reader is then limited to the command.
class ProactiveCommandTag final : public ToolkitElement
{
public:
    bool decode(ToolkitReader& reader) override;
    bool encode(ToolkitWriter& writer) const override;
    void describe(QString& text) const override;
    void apply(ToolkitCommand&) const override {}

private:
    ToolkitLength m_length;
};

// Command details (tag 01, length 3): command number, type of command, qualifier.
class CommandDetails final : public ToolkitElement
{
public:
    CommandDetails() = default;
    CommandDetails(uint8_t number, uint8_t type, uint8_t qualifier)
        : m_number(number), m_type(type), m_qualifier(qualifier)
    {}
    uint8_t number() const { return m_number; }
    uint8_t type() const { return m_type; }
    uint8_t qualifier() const { return m_qualifier; }

    bool decode(ToolkitReader& reader) override;
    bool encode(ToolkitWriter& writer) const override;
    void describe(QString& text) const override;
    void apply(ToolkitCommand& command) const override;

private:
    uint8_t m_number = 0;
    uint8_t m_type = 0;
    uint8_t m_qualifier = 0;
};

// Device identities (tag 02, length 2): source and destination device.
class DeviceIdentities final : public ToolkitElement
{
public:
    DeviceIdentities() = default;
    DeviceIdentities(uint8_t source, uint8_t destination) : m_source(source), m_destination(destination) {}

    bool decode(ToolkitReader& reader) override;
    bool encode(ToolkitWriter& writer) const override;
    void describe(QString& text) const override;
    void apply(ToolkitCommand&) const override {}

private:
    uint8_t m_source = 0;
    uint8_t m_destination = 0;
};

// Alpha identifier (tag 05): text bytes, ending at the element's end or at the first FF.
class AlphaIdentifier final : public ToolkitElement
{
public:
    bool decode(ToolkitReader& reader) override;
    bool encode(ToolkitWriter& writer) const override;
    void describe(QString& text) const override;
    void apply(ToolkitCommand& command) const override;

private:
    QString m_text;
};

// Item (tag 0F): item identifier, then its text (ending like an alpha identifier's).
class ToolkitItem final : public ToolkitElement
{
public:
    bool decode(ToolkitReader& reader) override;
    bool encode(ToolkitWriter& writer) const override;
    void describe(QString& text) const override;
    void apply(ToolkitCommand& command) const override;

private:
    uint8_t m_id = 0;
    QString m_text;
};

// Text string (tag 0D): data coding scheme, then the text; scheme 0 is GSM 7-bit packed, any
// other is taken byte by byte. Encoded as 8D with scheme 04 (8-bit).
class TextString final : public ToolkitElement
{
public:
    TextString() = default;
    explicit TextString(std::span<const uint8_t> bytes);

    bool decode(ToolkitReader& reader) override;
    bool encode(ToolkitWriter& writer) const override;
    void describe(QString& text) const override;
    void apply(ToolkitCommand& command) const override;

private:
    uint8_t m_dcs = gsm::toolkit::kDcs8Bit;
    QString m_text;
};

// Response length (tag 11, length 2): minimum and maximum.
class ResponseLength final : public ToolkitElement
{
public:
    bool decode(ToolkitReader& reader) override;
    bool encode(ToolkitWriter& writer) const override;
    void describe(QString& text) const override;
    void apply(ToolkitCommand& command) const override;

private:
    uint8_t m_min = 0;
    uint8_t m_max = 0;
};

// Result (tag 03, length 1): the general result. Written only.
class ToolkitResult final : public ToolkitElement
{
public:
    explicit ToolkitResult(uint8_t result = 0) : m_result(result) {}

    bool decode(ToolkitReader&) override { return false; }
    bool encode(ToolkitWriter& writer) const override;
    void describe(QString& text) const override;
    void apply(ToolkitCommand&) const override {}

private:
    uint8_t m_result;
};

// Item identifier (tag 10, length 1). Written only.
class ItemIdentifier final : public ToolkitElement
{
public:
    explicit ItemIdentifier(uint8_t id = 0) : m_id(id) {}

    bool decode(ToolkitReader&) override { return false; }
    bool encode(ToolkitWriter& writer) const override;
    void describe(QString& text) const override;
    void apply(ToolkitCommand&) const override {}

private:
    uint8_t m_id;
};

// Names for descriptions: "DisplayText", "GetInput", "SelectItem", "SetUpMenu", else
// "Unsupported"; devices "Keypad", "Display", "Earpiece", "SIM", "ME", "Network", else "Unknown".
const char* toolkitTypeName(uint8_t type);
const char* toolkitDeviceName(uint8_t device);

} // namespace kestrel
