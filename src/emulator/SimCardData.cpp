#include "emulator/SimCardData.h"

#include <cstdio>

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
    struct Known
    {
        uint16_t df;
        uint16_t id;
        const char* name;
    };
    // df 0: directly under the MF.
    static constexpr Known kKnown[] = {
        {0, 0x2FE2, "EF_ICCID"},       {0, 0x7F10, "DF_TELECOM"},      {0, 0x7F20, "DF_GSM"},
        {0x7F10, 0x6F3A, "EF_ADN"},    {0x7F10, 0x6F3B, "EF_FDN"},     {0x7F10, 0x6F3C, "EF_SMS"},
        {0x7F10, 0x6F3D, "EF_CCP"},    {0x7F10, 0x6F40, "EF_MSISDN"},  {0x7F10, 0x6F42, "EF_SMSP"},
        {0x7F10, 0x6F43, "EF_SMSS"},   {0x7F10, 0x6F44, "EF_LND"},     {0x7F10, 0x6F4A, "EF_EXT1"},
        {0x7F10, 0x6F4B, "EF_EXT2"},   {0x7F20, 0x6F05, "EF_LP"},      {0x7F20, 0x6F07, "EF_IMSI"},
        {0x7F20, 0x6F20, "EF_Kc"},     {0x7F20, 0x6F30, "EF_PLMNsel"}, {0x7F20, 0x6F31, "EF_HPLMN"},
        {0x7F20, 0x6F37, "EF_ACMmax"}, {0x7F20, 0x6F38, "EF_SST"},     {0x7F20, 0x6F39, "EF_ACM"},
        {0x7F20, 0x6F3E, "EF_GID1"},   {0x7F20, 0x6F3F, "EF_GID2"},    {0x7F20, 0x6F41, "EF_PUCT"},
        {0x7F20, 0x6F45, "EF_CBMI"},   {0x7F20, 0x6F46, "EF_SPN"},     {0x7F20, 0x6F74, "EF_BCCH"},
        {0x7F20, 0x6F78, "EF_ACC"},    {0x7F20, 0x6F7B, "EF_FPLMN"},   {0x7F20, 0x6F7E, "EF_LOCI"},
        {0x7F20, 0x6FAD, "EF_AD"},     {0x7F20, 0x6FAE, "EF_Phase"},
    };
    if (path.size() == 1 && path[0] == 0x3F00)
        return "MF";
    if (path.size() < 2 || path.size() > 3 || path[0] != 0x3F00)
        return {};
    const uint16_t df = path.size() == 3 ? path[1] : 0;
    for (const Known& k : kKnown) {
        if (k.df == df && k.id == path.back())
            return k.name;
    }
    return {};
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
