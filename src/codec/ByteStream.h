#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// The program's private byte streams (backup files, clipboard payloads): integers are 32-bit
// little-endian; a string is a length and that many bytes of PC text without terminator. The
// length is one byte when below 255; otherwise 0xFF and a 16-bit length when below 0xFFFE;
// otherwise 0xFF, 0xFFFF and a 32-bit length.
class ByteWriter
{
public:
    void u8(uint8_t v) { m_bytes.push_back(v); }
    void u16(uint16_t v);
    void u32(uint32_t v);
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void string(std::string_view text);

    const std::vector<uint8_t>& bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

// Reads the same stream over a fixed buffer. Every read checks the bytes left; a read past the
// end fails and leaves the reader failed (every later read fails too).
class ByteReader
{
public:
    explicit ByteReader(std::span<const uint8_t> data) : m_data(data) {}

    bool u8(uint8_t& v);
    bool u16(uint16_t& v);
    bool u32(uint32_t& v);
    bool i32(int32_t& v);
    // Reads a whole string and keeps at most maxKeep bytes of it (the rest is skipped).
    bool string(std::string& out, std::size_t maxKeep = SIZE_MAX);

    std::size_t remaining() const { return m_failed ? 0 : m_data.size() - m_pos; }
    bool failed() const { return m_failed; }

private:
    bool take(std::size_t n, const uint8_t*& p);

    std::span<const uint8_t> m_data;
    std::size_t m_pos = 0;
    bool m_failed = false;
};

} // namespace kestrel
