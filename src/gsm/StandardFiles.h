#pragma once

#include <cstdint>

#include "gsm/FileIds.h"

// The files GSM 11.11 / 3GPP TS 51.011 (phase 2+) define under the MF, DF_TELECOM and DF_GSM,
// with their names. A card holds those of its services; what it holds beyond them is found by a
// search of the directory. Dependency-free on purpose.
namespace kestrel::gsm {

struct StandardFile
{
    uint16_t df; // 0: directly under the MF
    uint16_t id;
    const char* name;
};

namespace detail {
using namespace fid;
inline constexpr StandardFile kStandardFiles[] = {
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
    {kDfTelecom, kEfEccp, "EF_ECCP"},
    {kDfTelecom, kEfSume, "EF_SUME"},
    {kDfTelecom, kEfCmi, "EF_CMI"},
    {kDfGsm, kEfLp, "EF_LP"},
    {kDfGsm, kEfImsi, "EF_IMSI"},
    {kDfGsm, kEfKc, "EF_Kc"},
    {kDfGsm, kEfDck, "EF_DCK"},
    {kDfGsm, kEfPlmnSel, "EF_PLMNsel"},
    {kDfGsm, kEfHplmn, "EF_HPLMN"},
    {kDfGsm, kEfCnl, "EF_CNL"},
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
    {kDfGsm, kEfNia, "EF_NIA"},
    {kDfGsm, kEfKcGprs, "EF_KcGPRS"},
    {kDfGsm, kEfLociGprs, "EF_LOCIGPRS"},
    {kDfGsm, kEfPlmnWAct, "EF_PLMNwAcT"},
    {kDfGsm, kEfOplmnWAct, "EF_OPLMNwAcT"},
    {kDfGsm, kEfHplmnWAct, "EF_HPLMNwAcT"},
    {kDfGsm, kEfCpbcch, "EF_CPBCCH"},
    {kDfGsm, kEfInvScan, "EF_InvScan"},
    {kDfGsm, kEfBcch, "EF_BCCH"},
    {kDfGsm, kEfAcc, "EF_ACC"},
    {kDfGsm, kEfFplmn, "EF_FPLMN"},
    {kDfGsm, kEfLoci, "EF_LOCI"},
    {kDfGsm, kEfAd, "EF_AD"},
    {kDfGsm, kEfPhase, "EF_Phase"},
    {kDfGsm, kEfVgcs, "EF_VGCS"},
    {kDfGsm, kEfVgcss, "EF_VGCSS"},
    {kDfGsm, kEfVbs, "EF_VBS"},
    {kDfGsm, kEfVbss, "EF_VBSS"},
    {kDfGsm, kEfEmlpp, "EF_eMLPP"},
    {kDfGsm, kEfAaem, "EF_AAeM"},
    {kDfGsm, kEfEcc, "EF_ECC"},
    {kDfGsm, kEfPnn, "EF_PNN"},
    {kDfGsm, kEfOpl, "EF_OPL"},
    {kDfGsm, kEfMbdn, "EF_MBDN"},
    {kDfGsm, kEfExt6, "EF_EXT6"},
    {kDfGsm, kEfMbi, "EF_MBI"},
    {kDfGsm, kEfMwis, "EF_MWIS"},
    {kDfGsm, kEfCfis, "EF_CFIS"},
    {kDfGsm, kEfExt7, "EF_EXT7"},
    {kDfGsm, kEfSpdi, "EF_SPDI"},
};
} // namespace detail

inline constexpr auto& kStandardFiles = detail::kStandardFiles;

// The name of file id under df (0: the MF), nullptr when GSM 11.11 gives it none there. DF_DCS1800
// holds the files of DF_GSM.
constexpr const char* standardFileName(uint16_t df, uint16_t id)
{
    const uint16_t dir = df == fid::kDfDcs1800 ? fid::kDfGsm : df;
    for (const StandardFile& f : kStandardFiles) {
        if (f.df == dir && f.id == id)
            return f.name;
    }
    return nullptr;
}

} // namespace kestrel::gsm
