#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include <QString>

#include "codec/DialEntry.h"

namespace kestrel {

// One row of the PIN table: PIN1, PIN2, PUK1 (unblock CHV1) or PUK2.
struct ChvRow
{
    QString supported; // "Yes" / "No"
    QString limit;     // attempts left, in decimal
    QString activated; // PIN1 only: "Yes" / "No"; empty for the others
};

// Identity, PIN counters and call costs, as shown.
struct GlobalInfo
{
    QString iccid;
    QString imsi;
    QString phase;
    std::array<ChvRow, 4> chv; // PIN1, PIN2, PUK1, PUK2
    QString currency;
    QString pricePerUnit;
    QString sumUsed;
    QString creditRemaining;

    // The card answered RUN GSM ALGORITHM with 94 08 or 6F 00: its authentication counter has run
    // out, and nothing else was read.
    bool authenticationBlocked = false;
    // The raw advice-of-charge values behind the texts, when the card has them.
    std::optional<double> price;         // per unit, in the currency
    std::optional<uint32_t> acmUnits;    // first non-zero accumulated call meter, 0 when none
    std::optional<uint32_t> acmMaxUnits; // the maximum, 0 when none is set
};

// Items possible and the name length of a file, or "None" for a service the card does not offer.
struct FileCapacity
{
    QString items;
    QString nameLength; // empty for EF_SMS
};

struct CapacityInfo
{
    FileCapacity phoneBook; // EF_ADN
    FileCapacity fdn;       // EF_FDN
    FileCapacity sms;       // EF_SMS
};

// EF_LND or EF_MSISDN: the number of records, the name length and one line per record.
struct NumberListInfo
{
    QString items;
    QString nameLength;
    std::vector<QString> lines;     // "%u\t%s\t%s" for a used record, "%u" for an empty one
    std::vector<DialEntry> entries; // the records as read
    // The file could not be read because the card keeps it behind a code not presented.
    bool passwordProtected = false;
};

// Everything the information about a SIM shows, as text values. Fields not read (a failed or
// stopped read) stay empty.
struct SimInformation
{
    GlobalInfo global;
    CapacityInfo capacities;
    NumberListInfo lastDialled; // EF_LND
    NumberListInfo ownNumbers;  // EF_MSISDN
};

} // namespace kestrel
