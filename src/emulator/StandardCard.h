#pragma once

#include <cstdint>
#include <span>

#include "emulator/SimCardData.h"

namespace kestrel::emulator {

// The cards `kestrel-sim new` writes: a phase 2+ SIM with every mandatory file of GSM 11.11 under
// the MF, DF_TELECOM and DF_GSM (and the optional ones the program reads), filled in the way a
// used card is (phone book with an extension chain, messages of every status, networks, advice
// of charge), and a prepaid telephone card.
//
// Codes of the SIM: PIN1 1234 (enabled unless the shape says otherwise), PIN2 5678,
// PUK1 12345678, PUK2 87654321.
class StandardCard
{
public:
    // The card shapes people meet. Values outside their ranges are taken as the nearest end.
    struct Shape
    {
        // Record numbers run from 01 to FE (GSM 11.11): a record file holds at most 254.
        static constexpr int kMaxRecords = 254;
        static constexpr int kMaxNameLength = 255 - 14; // a record length is one byte

        bool blank = false;   // every user file empty; the card's identity and codes stay
        int adnRecords = 250; // EF_ADN records, 1-254 (kMaxRecords)
        int smsRecords = 20;  // EF_SMS records, 1-254
        int nameLength = 14;  // alpha bytes X of the dialling-number records (X + 14 bytes), 0-241
        bool pin1Disabled = false;
        // Beside the plain records, the ones phones write today: names in the three UCS2 forms,
        // a UCS2 message in three concatenated parts, an 8-bit message and a status report
        // (emulator/ModernRecords.h). Not on a blank card.
        bool modernRecords = false;
    };

    // The SIM service (EF_SST, gsm::service) an EF belongs to; df 0 = directly under the MF.
    struct ServiceFile
    {
        uint16_t df;
        uint16_t ef;
        int service;
    };
    static std::span<const ServiceFile> serviceFiles();
    // The EF_SST of card: every service whose files it holds, allocated and activated, and the
    // services tied to no file that the standard card offers (CHV1 disable, proactive SIM).
    static std::vector<uint8_t> serviceTable(const SimCardData& card);

    static SimCardData simCard(); // the default shape
    static SimCardData simCard(const Shape& shape);
    // 50 units, 12 of them used, issued in the Czech Republic.
    static SimCardData telephoneCard();

    static constexpr const char* kIccidDigits = "8942001234567890123"; // without its check digit
    static constexpr int kServiceTableSize = 10;                       // bytes: services 1-40
};

} // namespace kestrel::emulator
