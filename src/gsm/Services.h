#pragma once

// GSM 11.11 SIM service table (EF_SST, clause 10.3.7): service n is bits 2n-1 (allocated) and 2n
// (activated), counted from bit 1 of the first byte. Dependency-free on purpose.
namespace kestrel::gsm::service {

inline constexpr int kChv1Disable = 1;
inline constexpr int kAdn = 2;
inline constexpr int kFdn = 3;
inline constexpr int kSms = 4;
inline constexpr int kAdviceOfCharge = 5;
inline constexpr int kCcp = 6;
inline constexpr int kPlmnSel = 7;
inline constexpr int kMsisdn = 9;
inline constexpr int kExt1 = 10;
inline constexpr int kExt2 = 11;
inline constexpr int kSmsp = 12;
inline constexpr int kLnd = 13;
inline constexpr int kCbmi = 14;
inline constexpr int kGid1 = 15;
inline constexpr int kGid2 = 16;
inline constexpr int kSpn = 17;
inline constexpr int kSdn = 18;
inline constexpr int kExt3 = 19;
inline constexpr int kCbDataDownload = 25; // data download via SMS-CB (EF_CBMID)
inline constexpr int kSmsPp = 26;          // data download via SMS-PP
inline constexpr int kMenuSelection = 27;
inline constexpr int kCallControl = 28;
inline constexpr int kProactiveSim = 29;
inline constexpr int kCbmir = 30;
inline constexpr int kBdn = 31;
inline constexpr int kExt4 = 32;
inline constexpr int kSmsStatusReports = 35;
inline constexpr int kGprs = 38; // EF_KcGPRS, EF_LOCIGPRS

} // namespace kestrel::gsm::service

// EF_Phase (clause 10.3.19): the phase of the SIM, in its one byte.
namespace kestrel::gsm::phase {

inline constexpr int kPhase1 = 0x00;
inline constexpr int kPhase2 = 0x02;
inline constexpr int kPhase2Plus = 0x03; // and above

} // namespace kestrel::gsm::phase
