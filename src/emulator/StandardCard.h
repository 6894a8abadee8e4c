#pragma once

#include "emulator/SimCardData.h"

namespace kestrel::emulator {

// The cards `kestrel-sim new` writes: a phase 2+ SIM with DF_TELECOM and DF_GSM filled in the
// way a used card is (phone book with an extension chain, messages, networks, advice of charge,
// a toolkit menu), and a prepaid telephone card.
//
// Codes of the SIM: PIN1 1234 (enabled), PIN2 5678, PUK1 12345678, PUK2 87654321.
class StandardCard
{
public:
    static SimCardData simCard();
    // 50 units, 12 of them used, issued in the Czech Republic.
    static SimCardData telephoneCard();

    static constexpr const char* kIccidDigits = "8942001234567890123"; // without its check digit
};

} // namespace kestrel::emulator
