#include "codec/PlmnCodec.h"

#include <cstdio>

namespace kestrel {

namespace {

constexpr std::size_t kPlmnSize = 3;

bool parseDigits(std::string_view text, uint32_t& value)
{
    if (text.empty() || text.size() > 3)
        return false;
    uint32_t v = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + static_cast<uint32_t>(c - '0');
    }
    value = v;
    return true;
}

} // namespace

std::vector<PlmnEntry> DecodePlmnList(std::span<const uint8_t> file)
{
    std::vector<PlmnEntry> list(file.size() / kPlmnSize);
    for (std::size_t i = 0; i < list.size(); ++i) {
        const uint8_t* b = file.data() + i * kPlmnSize;
        PlmnEntry& e = list[i];
        e.used = b[0] != 0xFF ? 1 : 0;
        if (!e.used)
            continue;
        // Nibbles above 9 are fillers and simply skipped; the high nibble of byte 1 (a third MNC
        // digit) is not read.
        uint32_t mcc = 0;
        if ((b[0] & 0x0F) <= 9)
            mcc = b[0] & 0x0Fu;
        if (b[0] < 0xA0)
            mcc = mcc * 10 + (b[0] >> 4);
        if ((b[1] & 0x0F) <= 9)
            mcc = mcc * 10 + (b[1] & 0x0Fu);
        uint32_t mnc = 0;
        if ((b[2] & 0x0F) <= 9)
            mnc = b[2] & 0x0Fu;
        if (b[2] < 0xA0)
            mnc = mnc * 10 + (b[2] >> 4);
        e.mcc = mcc;
        e.mnc = mnc;
    }
    return list;
}

std::vector<uint8_t> EncodePlmnList(std::span<const PlmnEntry> list, std::size_t fileSize)
{
    std::vector<uint8_t> file(fileSize, 0xFF);
    const std::size_t fits = fileSize / kPlmnSize;
    for (std::size_t i = 0; i < list.size() && i < fits; ++i) {
        const PlmnEntry& e = list[i];
        if (!e.used)
            continue;
        uint8_t* b = file.data() + i * kPlmnSize;
        b[0] = static_cast<uint8_t>((e.mcc / 10 % 10) << 4 | (e.mcc / 100 % 10));
        b[1] = static_cast<uint8_t>(0xF0 | (e.mcc % 10));
        b[2] = static_cast<uint8_t>((e.mnc % 10) << 4 | (e.mnc / 10 % 10));
    }
    return file;
}

std::string formatPlmn(uint32_t mcc, uint32_t mnc)
{
    char text[32];
    std::snprintf(text, sizeof text, "%03u-%02u", static_cast<unsigned>(mcc), static_cast<unsigned>(mnc));
    return text;
}

bool parsePlmn(std::string_view text, uint32_t& mcc, uint32_t& mnc)
{
    const std::size_t dash = text.find('-');
    if (dash == std::string_view::npos)
        return false;
    uint32_t c = 0;
    uint32_t n = 0;
    if (!parseDigits(text.substr(0, dash), c) || !parseDigits(text.substr(dash + 1), n))
        return false;
    mcc = c;
    mnc = n;
    return true;
}

} // namespace kestrel
