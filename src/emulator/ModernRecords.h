#pragma once

#include "emulator/SimCardData.h"

// What phones store on a SIM today beside the plain records of the standard card: names in the
// three UCS2 forms of GSM 11.11 annex B and messages the 7-bit codec alone cannot read.
namespace kestrel::emulator::standard {

// EF_ADN 14: "Ελένη" (0x80 form), 15: "Čeněk Růžek" (0x81), 16: "Світлана" (0x82).
inline constexpr int kFirstModernName = 14;
// EF_SMS 5-7: one UCS2 message in three parts (IEI 00, reference 0x5C) whose text is
// kModernMessage; 8: an 8-bit message (a vCard); 9: a status report for TP-MR 2A.
inline constexpr int kFirstModernMessage = 5;
inline constexpr const char* kModernMessage =
    "Ahoj Pet\u0159e, pos\u00EDl\u00E1m ti adresu chaty: Horn\u00ED M\u00ED\u0161e\u010Dky 24, "
    "\u0160pindler\u016Fv Ml\u00FDn. Kl\u00ED\u010D je u soused\u016F v \u010D\u00EDsle 22. "
    "P\u0159ije\u010F v p\u00E1tek do \u0161esti, a\u0165 stihneme ve\u010De\u0159i.";

// Writes those records into the card's EF_ADN and EF_SMS (each only where its record exists and
// is long enough).
void fillModernRecords(SimCardData& card);

} // namespace kestrel::emulator::standard
