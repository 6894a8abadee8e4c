#pragma once

#include <cstdint>

// GSM 11.11 file identifiers (clause 10), always addressed from the MF down. Dependency-free on
// purpose.
namespace kestrel::gsm::fid {

// Under the MF
inline constexpr uint16_t kMf = 0x3F00;
inline constexpr uint16_t kEfIccid = 0x2FE2;
inline constexpr uint16_t kEfElp = 0x2F05;
inline constexpr uint16_t kDfTelecom = 0x7F10;
inline constexpr uint16_t kDfGsm = 0x7F20;
inline constexpr uint16_t kDfDcs1800 = 0x7F21;

// Under DF_TELECOM
inline constexpr uint16_t kEfAdn = 0x6F3A;
inline constexpr uint16_t kEfFdn = 0x6F3B;
inline constexpr uint16_t kEfSms = 0x6F3C;
inline constexpr uint16_t kEfCcp = 0x6F3D;
inline constexpr uint16_t kEfMsisdn = 0x6F40;
inline constexpr uint16_t kEfSmsp = 0x6F42;
inline constexpr uint16_t kEfSmss = 0x6F43;
inline constexpr uint16_t kEfLnd = 0x6F44;
inline constexpr uint16_t kEfSmsr = 0x6F47;
inline constexpr uint16_t kEfSdn = 0x6F49;
inline constexpr uint16_t kEfExt1 = 0x6F4A;
inline constexpr uint16_t kEfExt2 = 0x6F4B;
inline constexpr uint16_t kEfExt3 = 0x6F4C;
inline constexpr uint16_t kEfBdn = 0x6F4D;
inline constexpr uint16_t kEfExt4 = 0x6F4E;
inline constexpr uint16_t kEfEccp = 0x6F4F;
inline constexpr uint16_t kEfSume = 0x6F54;
inline constexpr uint16_t kEfCmi = 0x6F58;

// Under DF_GSM
inline constexpr uint16_t kEfLp = 0x6F05;
inline constexpr uint16_t kEfImsi = 0x6F07;
inline constexpr uint16_t kEfKc = 0x6F20;
inline constexpr uint16_t kEfDck = 0x6F2C;
inline constexpr uint16_t kEfPlmnSel = 0x6F30;
inline constexpr uint16_t kEfHplmn = 0x6F31;
inline constexpr uint16_t kEfCnl = 0x6F32;
inline constexpr uint16_t kEfAcmMax = 0x6F37;
inline constexpr uint16_t kEfSst = 0x6F38;
inline constexpr uint16_t kEfAcm = 0x6F39;
inline constexpr uint16_t kEfGid1 = 0x6F3E;
inline constexpr uint16_t kEfGid2 = 0x6F3F;
inline constexpr uint16_t kEfPuct = 0x6F41;
inline constexpr uint16_t kEfCbmi = 0x6F45;
inline constexpr uint16_t kEfSpn = 0x6F46;
inline constexpr uint16_t kEfCbmid = 0x6F48;
inline constexpr uint16_t kEfCbmir = 0x6F50;
inline constexpr uint16_t kEfNia = 0x6F51;
inline constexpr uint16_t kEfKcGprs = 0x6F52;
inline constexpr uint16_t kEfLociGprs = 0x6F53;
inline constexpr uint16_t kEfPlmnWAct = 0x6F60;
inline constexpr uint16_t kEfOplmnWAct = 0x6F61;
inline constexpr uint16_t kEfHplmnWAct = 0x6F62;
inline constexpr uint16_t kEfCpbcch = 0x6F63;
inline constexpr uint16_t kEfInvScan = 0x6F64;
inline constexpr uint16_t kEfBcch = 0x6F74;
inline constexpr uint16_t kEfAcc = 0x6F78;
inline constexpr uint16_t kEfFplmn = 0x6F7B;
inline constexpr uint16_t kEfLoci = 0x6F7E;
inline constexpr uint16_t kEfAd = 0x6FAD;
inline constexpr uint16_t kEfPhase = 0x6FAE;
inline constexpr uint16_t kEfVgcs = 0x6FB1;
inline constexpr uint16_t kEfVgcss = 0x6FB2;
inline constexpr uint16_t kEfVbs = 0x6FB3;
inline constexpr uint16_t kEfVbss = 0x6FB4;
inline constexpr uint16_t kEfEmlpp = 0x6FB5;
inline constexpr uint16_t kEfAaem = 0x6FB6;
inline constexpr uint16_t kEfEcc = 0x6FB7;
inline constexpr uint16_t kEfPnn = 0x6FC5;
inline constexpr uint16_t kEfOpl = 0x6FC6;
inline constexpr uint16_t kEfMbdn = 0x6FC7;
inline constexpr uint16_t kEfExt6 = 0x6FC8;
inline constexpr uint16_t kEfMbi = 0x6FC9;
inline constexpr uint16_t kEfMwis = 0x6FCA;
inline constexpr uint16_t kEfCfis = 0x6FCB;
inline constexpr uint16_t kEfExt7 = 0x6FCC;
inline constexpr uint16_t kEfSpdi = 0x6FCD;

} // namespace kestrel::gsm::fid
