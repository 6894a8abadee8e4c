#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include <QString>

#include "info/SimInformation.h"

namespace kestrel {

class ProgressSink;
class Prompter;
class SimCard;

// Reads the information about a SIM into its values. Each read is a card operation of its own
// (card opened with PIN1, progress window, failures through the Prompter), so a page can read its
// part alone, or readAll reads everything in one operation. The global values and the capacities
// report a failure in an error box of their own: "Error during smartcard reader operation:", a
// line break and the status message (stop icon, Prompter::messageText); the other reads through
// the card-error dialog.
//
// Global values, in card order: RUN GSM ALGORITHM as a test of the authentication counter (94 08
// or 6F 00: the card is blocked by it, the user is told and nothing more is read), the MF response
// (CHV1/UNBLOCK CHV1/CHV2/UNBLOCK CHV2 status bytes 19-22, file characteristics byte 14),
// EF_ICCID, EF_Phase, EF_IMSI (98 04 leaves it empty, 98 10 shows it cannot be read), and, when
// service 5 is allocated and activated, EF_PUCT, EF_ACM and EF_ACMmax for the call costs.
class SimInformationReader
{
public:
    SimInformationReader(SimCard& card, Prompter& prompter, ProgressSink* progress = nullptr);

    // All four pages in one card operation. On failure the values read so far are kept.
    bool readAll(SimInformation& info);
    bool readGlobal(GlobalInfo& global);
    bool readCapacities(CapacityInfo& capacities);
    // EF_LND or EF_MSISDN (at most 150 records).
    bool readNumberList(uint16_t fileId, NumberListInfo& list);

    // The failure text of the last read, empty after a success.
    const QString& errorText() const { return m_errorText; }

    // ---- decoding of the files ---------------------------------------------------------------
    // Every nibble, low first, as a hexadecimal digit; nibbles F are left out.
    static QString iccidText(std::span<const uint8_t> data);
    // EF_IMSI: after the length byte, from the high nibble of the first data byte (the low one is
    // the parity), 2 x length - 1 digits, nibbles F left out.
    static QString imsiText(std::span<const uint8_t> data);
    // EF_PUCT bytes 1-3; "???" when the first is FF (not set).
    static QString currencyText(std::span<const uint8_t> puct);
    // EPPU x 10^EX of EF_PUCT bytes 4-5; nullopt when EPPU is 0 or the file is short.
    static std::optional<double> unitPrice(std::span<const uint8_t> puct);
    // "%7.2f".
    static QString amountText(double amount);
    // A list line: "%u\t%s\t%s" (record number, name, number with "+" when international) for a
    // used record, "%u" for an empty one.
    static QString numberLine(const DialEntry& entry);

private:
    // The card operation of the global values or the capacities, with their own failure box.
    bool runPage(const std::function<bool()>& work);
    bool globalWork(GlobalInfo& global);
    bool capacityWork(CapacityInfo& capacities);
    bool numberListWork(uint16_t fileId, NumberListInfo& list);
    bool step(int percent);
    bool readTransparent(uint16_t df, uint16_t ef, std::vector<uint8_t>& data);
    bool callCosts(GlobalInfo& global);
    void tellAfterRun(const GlobalInfo* global, const NumberListInfo* lnd, const NumberListInfo* msisdn);

    SimCard& m_card;
    Prompter& m_prompter;
    ProgressSink* m_progress;
    QString m_stepText;
    QString m_errorText;
};

} // namespace kestrel
