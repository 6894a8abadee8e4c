#include "emulator/SimCardData.h"

#include <cstdio>

#include "gsm/FileIds.h"
#include "gsm/StandardFiles.h"

namespace kestrel::emulator {

std::array<uint8_t, 8> chvBlock(std::string_view digits)
{
    std::array<uint8_t, 8> block;
    block.fill(0xFF);
    for (std::size_t i = 0; i < digits.size() && i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(digits[i]);
    return block;
}

bool isValidChvBlock(const std::array<uint8_t, 8>& block)
{
    std::size_t digits = 0;
    while (digits < block.size() && block[digits] >= '0' && block[digits] <= '9')
        ++digits;
    if (digits < 4)
        return false;
    for (std::size_t i = digits; i < block.size(); ++i) {
        if (block[i] != 0xFF)
            return false;
    }
    return true;
}

std::string chvDigits(const std::array<uint8_t, 8>& block)
{
    std::string out;
    for (uint8_t b : block) {
        if (b < '0' || b > '9')
            break;
        out += static_cast<char>(b);
    }
    return out;
}

bool isValidChvCode(std::string_view code)
{
    if (code.size() < 4 || code.size() > 8)
        return false;
    for (char c : code) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

std::string standardFileName(const std::vector<uint16_t>& path)
{
    using gsm::fid::kMf;
    if (path.size() == 1 && path[0] == kMf)
        return "MF";
    if (path.size() < 2 || path.size() > 3 || path[0] != kMf)
        return {};
    const char* name = gsm::standardFileName(path.size() == 3 ? path[1] : 0, path.back());
    return name ? name : std::string();
}

std::string formatPath(const std::vector<uint16_t>& path)
{
    std::string out;
    char buf[8];
    for (uint16_t id : path) {
        if (!out.empty())
            out += '/';
        std::snprintf(buf, sizeof buf, "%04X", id);
        out += buf;
    }
    return out;
}

} // namespace kestrel::emulator
