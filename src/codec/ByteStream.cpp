#include "codec/ByteStream.h"

#include <algorithm>

namespace kestrel {

void ByteWriter::u16(uint16_t v)
{
    m_bytes.push_back(static_cast<uint8_t>(v));
    m_bytes.push_back(static_cast<uint8_t>(v >> 8));
}

void ByteWriter::u32(uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        m_bytes.push_back(static_cast<uint8_t>(v >> shift));
}

void ByteWriter::string(std::string_view text)
{
    const std::size_t n = text.size();
    if (n < 0xFF) {
        u8(static_cast<uint8_t>(n));
    } else if (n < 0xFFFE) {
        u8(0xFF);
        u16(static_cast<uint16_t>(n));
    } else {
        u8(0xFF);
        u16(0xFFFF);
        u32(static_cast<uint32_t>(n));
    }
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
}

bool ByteReader::take(std::size_t n, const uint8_t*& p)
{
    if (m_failed || n > m_data.size() - m_pos) {
        m_failed = true;
        return false;
    }
    p = m_data.data() + m_pos;
    m_pos += n;
    return true;
}

bool ByteReader::u8(uint8_t& v)
{
    const uint8_t* p = nullptr;
    if (!take(1, p))
        return false;
    v = p[0];
    return true;
}

bool ByteReader::i32(int32_t& v)
{
    uint32_t u = 0;
    if (!u32(u))
        return false;
    v = static_cast<int32_t>(u);
    return true;
}

bool ByteReader::u16(uint16_t& v)
{
    const uint8_t* p = nullptr;
    if (!take(2, p))
        return false;
    v = static_cast<uint16_t>(p[0] | p[1] << 8);
    return true;
}

bool ByteReader::u32(uint32_t& v)
{
    const uint8_t* p = nullptr;
    if (!take(4, p))
        return false;
    v = static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
        static_cast<uint32_t>(p[3]) << 24;
    return true;
}

bool ByteReader::string(std::string& out, std::size_t maxKeep)
{
    uint8_t first = 0;
    if (!u8(first))
        return false;
    std::size_t length = first;
    if (first == 0xFF) {
        uint16_t mid = 0;
        if (!u16(mid))
            return false;
        length = mid;
        if (mid == 0xFFFF) {
            uint32_t wide = 0;
            if (!u32(wide))
                return false;
            length = wide;
        }
    }
    const uint8_t* p = nullptr;
    if (!take(length, p))
        return false;
    out.assign(reinterpret_cast<const char*>(p), std::min(length, maxKeep));
    return true;
}

} // namespace kestrel
