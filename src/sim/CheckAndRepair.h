#pragma once

#include <cstdint>
#include <span>

#include <QString>

#include "sim/SimCard.h"

namespace kestrel {

// The SIM check: examines the images of the dialling-number files (EF_ADN, EF_FDN, EF_LND,
// EF_MSISDN), of their extension files (EF_EXT1, EF_EXT2) and of EF_SMS, as loadLinkMaps leaves
// them in the SimCard with their link and check maps, and reports
//   - dialling-number records whose own extension link is 0, past the extension file or to an
//     empty extension record,
//   - SMS records the program cannot read (service-centre address longer than 11 bytes, a
//     reserved message type (other than SMS-DELIVER, SMS-SUBMIT and SMS-STATUS-REPORT), an
//     address of 21 digits or more),
//   - extension records in use that nothing links to ("lost").
// The repair removes the broken links and clears the lost extension records and the unreadable
// messages on the card.
//
// Reports are two texts: the brief one (section headers, the lines with findings and "OK" for each
// clean section) and the detailed one (a line for every record). Every line ends with "\r\n".
class CheckAndRepair
{
public:
    explicit CheckAndRepair(SimCard& card) : m_card(card) {}

    // Fills the images and maps the check works on: the extension files with both link maps, the
    // four dialling-number files with their check maps and EF_SMS (images present are used as they
    // are). Needs an open card; on false the reason is the SimCard's lastStatus and the images are
    // dropped.
    bool loadLinkMaps();

    // Appends the findings to brief and detailed. Without repair no card command is sent. With
    // repair the card must be open: every finding is repaired on the card (and in the image) as
    // it is met, then the link maps are built again before the extension files are judged. False
    // with lastStatus sid::NonSpecificError_140 (and an "Application error" line in both texts) when the images or maps
    // are missing; false with the card's status when a repair write or the new scan fails, earlier
    // repairs staying on the card.
    bool checkAndRepair(QString& brief, QString& detailed, bool& errorsFound, bool& pin2Needed, bool repair);

    // The ICCID of an identity copy (length byte, then the ICCID bytes) as printed: the nibbles, low
    // one of each byte first, up to the first nibble F, as "0"-"9" or "A"-"E".
    static QString serialNumber(std::span<const uint8_t> identityCopy);

    // The string-table number of what makes an EF_SMS record unreadable, 0 when it is free or
    // readable.
    static int smsFinding(std::span<const uint8_t> record);

private:
    struct Section;
    bool dialSection(const Section& section, QString& brief, QString& detailed, bool& errorsFound, bool& pin2Needed,
                     bool repair);
    bool smsSection(QString& brief, QString& detailed, bool& errorsFound, bool repair);
    bool extensionSection(bool ext2, QString& brief, QString& detailed, bool& errorsFound, bool& pin2Needed,
                          bool repair);
    bool linksUnknown(bool ext2) const;

    SimCard& m_card;
};

} // namespace kestrel
