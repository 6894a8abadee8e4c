#include "emulator/SimCardData.h"

#include <cstdio>

#include "gsm/FileIds.h"

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
    using namespace gsm::fid;
    // df 0: directly under the MF.
    static constexpr Known kKnown[] = {
        {0, kEfIccid, "EF_ICCID"},
        {0, kEfElp, "EF_ELP"},
        {0, kDfTelecom, "DF_TELECOM"},
        {0, kDfGsm, "DF_GSM"},
        {0, kDfDcs1800, "DF_DCS1800"},
        {kDfTelecom, kEfAdn, "EF_ADN"},
        {kDfTelecom, kEfFdn, "EF_FDN"},
        {kDfTelecom, kEfSms, "EF_SMS"},
        {kDfTelecom, kEfCcp, "EF_CCP"},
        {kDfTelecom, kEfMsisdn, "EF_MSISDN"},
        {kDfTelecom, kEfSmsp, "EF_SMSP"},
        {kDfTelecom, kEfSmss, "EF_SMSS"},
        {kDfTelecom, kEfLnd, "EF_LND"},
        {kDfTelecom, kEfSmsr, "EF_SMSR"},
        {kDfTelecom, kEfSdn, "EF_SDN"},
        {kDfTelecom, kEfExt1, "EF_EXT1"},
        {kDfTelecom, kEfExt2, "EF_EXT2"},
        {kDfTelecom, kEfExt3, "EF_EXT3"},
        {kDfTelecom, kEfBdn, "EF_BDN"},
        {kDfTelecom, kEfExt4, "EF_EXT4"},
        {kDfGsm, kEfLp, "EF_LP"},
        {kDfGsm, kEfImsi, "EF_IMSI"},
        {kDfGsm, kEfKc, "EF_Kc"},
        {kDfGsm, kEfPlmnSel, "EF_PLMNsel"},
        {kDfGsm, kEfHplmn, "EF_HPLMN"},
        {kDfGsm, kEfAcmMax, "EF_ACMmax"},
        {kDfGsm, kEfSst, "EF_SST"},
        {kDfGsm, kEfAcm, "EF_ACM"},
        {kDfGsm, kEfGid1, "EF_GID1"},
        {kDfGsm, kEfGid2, "EF_GID2"},
        {kDfGsm, kEfPuct, "EF_PUCT"},
        {kDfGsm, kEfCbmi, "EF_CBMI"},
        {kDfGsm, kEfSpn, "EF_SPN"},
        {kDfGsm, kEfCbmid, "EF_CBMID"},
        {kDfGsm, kEfCbmir, "EF_CBMIR"},
        {kDfGsm, kEfKcGprs, "EF_KcGPRS"},
        {kDfGsm, kEfLociGprs, "EF_LOCIGPRS"},
        {kDfGsm, kEfBcch, "EF_BCCH"},
        {kDfGsm, kEfAcc, "EF_ACC"},
        {kDfGsm, kEfFplmn, "EF_FPLMN"},
        {kDfGsm, kEfLoci, "EF_LOCI"},
        {kDfGsm, kEfAd, "EF_AD"},
        {kDfGsm, kEfPhase, "EF_Phase"},
        {kDfGsm, kEfEcc, "EF_ECC"},
    };
    if (path.size() == 1 && path[0] == kMf)
        return "MF";
    if (path.size() < 2 || path.size() > 3 || path[0] != kMf)
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
