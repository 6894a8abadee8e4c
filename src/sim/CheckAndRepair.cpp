#include "sim/CheckAndRepair.h"

#include <algorithm>
#include <array>
#include <vector>

#include "base/StringTable.h"
#include "gsm/Instructions.h"
#include "sim/DialFiles.h"
#include "sim/SmsFiles.h"

namespace kestrel {

namespace {

using namespace gsm::fid;

const QString kEol = QStringLiteral("\r\n");

constexpr int kTextSerial = strId(sid::SerialNumber_2313);                  // "Serial Number: "
constexpr int kTextInvalidLink = strId(sid::LinkToInvalidExtension_2315);   // "Link to invalid extension"
constexpr int kTextEmptyLink = strId(sid::LinkToEmptyExtension_2316);       // "Link to empty extension"
constexpr int kTextRepaired = strId(sid::Repaired_2317);                    // "->Repaired"
constexpr int kTextRemoveLink = strId(sid::RemoveLinkToExtension_2318);     // "->Remove Link to Extension"
constexpr int kTextOk = strId(sid::Ok_2319);                                // "OK"
constexpr int kTextSms = strId(sid::Sms_2323);                              // "SMS:"
constexpr int kTextNumberFormat = strId(sid::UnsupportedNumberFormat_2324); // "Unsupported number format"
constexpr int kTextMessageType = strId(sid::UnsupportedMessageType_2325);   // "Unsupported message type"
constexpr int kTextRemoveItem = strId(sid::RemoveItem_2326);                // "->Remove Item"
constexpr int kTextExt1 = strId(sid::Extension1_2327);                      // "Extension 1:"
constexpr int kTextLostExtension = strId(sid::LostExtension_2328);          // "Lost extension"
constexpr int kTextExt2 = strId(sid::Extension2_2329);                      // "Extension 2:"
constexpr uint8_t kUnused = 0xFF;
constexpr int kAllScans = DialScan::kAdn | DialScan::kFdn | DialScan::kLnd | DialScan::kMsisdn | DialScan::kSms;

QString applicationError()
{
    return StringTable::text(sid::ApplicationErrorSomeParametersAre_9020);
}

QString text(int id)
{
    return StringTable::text(id);
}

QString recordLine(int record)
{
    return QStringLiteral(" %1\t").arg(record);
}

} // namespace

// One dialling-number file of the report.
struct CheckAndRepair::Section
{
    uint16_t id;
    CachedFile cached;
    int header;
    bool needsPin2;
};

bool CheckAndRepair::loadLinkMaps()
{
    DialFiles files(m_card);
    files.setSmsScan([this](int textId) { return SmsFiles(m_card).readSmsFile(textId); });
    if (!files.loadLinkMaps(kAllScans, 0))
        return false;
    // With an extension file unreadable every link into it would look broken, and a repair would
    // cut numbers that are whole on the card: no check without both.
    for (const bool ext2 : {false, true}) {
        if (const CardStatus broken = files.extensionStatus(ext2); broken != CardStatus::Ok) {
            m_card.flushCaches();
            m_card.setLastStatus(broken);
            return false;
        }
    }
    return true;
}

QString CheckAndRepair::serialNumber(std::span<const uint8_t> identityCopy)
{
    QString digits;
    if (identityCopy.empty())
        return digits;
    const std::size_t length = std::min<std::size_t>(identityCopy[0], identityCopy.size() - 1);
    for (std::size_t i = 1; i <= length; ++i) {
        for (const int nibble : {identityCopy[i] & 0x0F, identityCopy[i] >> 4}) {
            if (nibble == 0x0F)
                return digits;
            digits += nibble < 10 ? QChar(u'0' + nibble) : QChar(u'A' + nibble - 10);
        }
    }
    return digits;
}

int CheckAndRepair::smsFinding(std::span<const uint8_t> record)
{
    // GSM 11.11 EF_SMS: byte 0 status (0x00 free), then the service-centre address (length byte K
    // counting the TON/NPI byte and the digits), then the TPDU: its first octet FO at K + 2, for
    // SMS-SUBMIT and SMS-STATUS-REPORT TP-MR, then the originating, destination or recipient
    // address with its length in digits.
    if (record.empty() || record[0] == 0x00 || record[0] == 0xFF)
        return 0;
    if (record.size() < 2)
        return kTextNumberFormat;
    const std::size_t k = record[1];
    if (k >= 12)
        return kTextNumberFormat;
    if (k + 2 >= record.size())
        return kTextNumberFormat;
    // TP-MTI: 00 SMS-DELIVER, 01 SMS-SUBMIT, 10 SMS-STATUS-REPORT (its TP-MR, then the recipient
    // address), 11 reserved.
    const uint8_t mti = record[k + 2] & 0x03;
    if (mti == 0x03)
        return kTextMessageType;
    const std::size_t at = k + (mti != 0 ? 4 : 3);
    if (at >= record.size() || record[at] >= 21)
        return kTextNumberFormat;
    return 0;
}

bool CheckAndRepair::linksUnknown(bool ext2) const
{
    // A file sharing the extension file that has its service but was not scanned (EF_ADN while
    // invalidated cannot be read): its links are unknown, so an unlinked record may be its.
    struct Sharer
    {
        CachedFile cached;
        int service;
    };
    static const Sharer ext1Sharers[] = {{CachedFile::Adn, gsm::service::kAdn},
                                         {CachedFile::Lnd, gsm::service::kLnd},
                                         {CachedFile::Msisdn, gsm::service::kMsisdn}};
    static const Sharer ext2Sharers[] = {{CachedFile::Fdn, gsm::service::kFdn}};
    const std::span<const Sharer> sharers = ext2 ? std::span<const Sharer>(ext2Sharers) : ext1Sharers;
    SimCard& card = m_card;
    return std::any_of(sharers.begin(), sharers.end(),
                       [&card](const Sharer& s) { return card.hasService(s.service) && !card.recordMap(s.cached); });
}

bool CheckAndRepair::dialSection(const Section& section, QString& brief, QString& detailed, bool& errorsFound,
                                 bool& pin2Needed, bool repair)
{
    std::optional<FileImage>& image = m_card.image(section.cached);
    const std::optional<RecordMap>& map = m_card.recordMap(section.cached);
    if (!image || !map)
        return true;
    const QString header = text(section.header) + kEol;
    brief += header;
    detailed += header;

    bool found = false;
    bool cyclic = false;
    bool structureKnown = false;
    const int n = std::min(map->count(), image->recordCount);
    for (int w = 1; w <= n; ++w) {
        const uint8_t flags = map->flags[static_cast<std::size_t>(w - 1)];
        QString line = recordLine(w);
        if (flags & CheckFlag::kBadLink) {
            line += text(kTextInvalidLink);
        } else if (flags & CheckFlag::kEmptyLink) {
            line += text(kTextEmptyLink);
        } else {
            detailed += line + text(kTextOk) + kEol;
            continue;
        }
        found = true;
        errorsFound = true;
        if (section.needsPin2)
            pin2Needed = true;
        if (repair) {
            if (!structureKnown) {
                FileInfo info;
                if (!m_card.selectFile(kDfTelecom, section.id, nullptr, &info))
                    return false;
                cyclic = info.structure == FileStructure::Cyclic;
                structureKnown = true;
            }
            // The extension link is the last byte of a dialling-number record (X + 13).
            const std::span<uint8_t> record = image->record(w);
            record.back() = kUnused;
            int length = image->recordLength;
            // A cyclic file (EF_LND) takes no UPDATE RECORD in absolute mode: it is rewritten as a
            // whole below, once every link of the image is mended.
            if (!cyclic && !m_card.updateFile(kDfTelecom, section.id, record, length, w, gsm::recordMode::kAbsolute))
                return false;
            line += text(kTextRepaired);
        } else {
            line += text(kTextRemoveLink);
            brief += line + kEol;
        }
        detailed += line + kEol;
    }
    if (repair && found && cyclic) {
        // PREVIOUS mode writes the oldest record and makes it record 1: writing from the last
        // record to the first leaves the records in their order.
        for (int g = image->recordCount; g >= 1; --g) {
            int length = image->recordLength;
            if (!m_card.updateFile(kDfTelecom, section.id, image->record(g), length, 0, gsm::recordMode::kPrevious))
                return false;
        }
    }
    if (!found)
        brief += text(kTextOk) + kEol;
    return true;
}

bool CheckAndRepair::smsSection(QString& brief, QString& detailed, bool& errorsFound, bool repair)
{
    std::optional<FileImage>& image = m_card.image(CachedFile::Sms);
    if (!image)
        return true;
    const QString header = text(kTextSms) + kEol;
    brief += header;
    detailed += header;
    bool found = false;
    for (int w = 1; w <= image->recordCount; ++w) {
        const std::span<uint8_t> record = image->record(w);
        const int finding = smsFinding(record);
        QString line = recordLine(w);
        if (finding == 0) {
            detailed += line + text(kTextOk) + kEol;
            continue;
        }
        found = true;
        errorsFound = true;
        line += text(finding);
        if (repair) {
            std::fill(record.begin(), record.end(), kUnused);
            record[0] = 0x00; // free
            int length = image->recordLength;
            if (!m_card.updateFile(kDfTelecom, kEfSms, record, length, w, gsm::recordMode::kAbsolute))
                return false;
            line += text(kTextRepaired);
        } else {
            line += text(kTextRemoveItem);
            brief += line + kEol;
        }
        detailed += line + kEol;
    }
    if (!found)
        brief += text(kTextOk) + kEol;
    return true;
}

bool CheckAndRepair::extensionSection(bool ext2, QString& brief, QString& detailed, bool& errorsFound, bool& pin2Needed,
                                      bool repair)
{
    const CachedFile cached = ext2 ? CachedFile::Ext2 : CachedFile::Ext1;
    const uint16_t id = ext2 ? kEfExt2 : kEfExt1;
    std::optional<FileImage>& image = m_card.image(cached);
    const std::optional<RecordMap>& map = m_card.recordMap(cached);
    if (!image || !map) {
        m_card.setLastStatus(CardStatus::NonSpecificError);
        return false;
    }
    const QString header = text(ext2 ? kTextExt2 : kTextExt1) + kEol;
    brief += header;
    detailed += header;
    const bool unknown = linksUnknown(ext2);
    bool found = false;
    const int n = std::min(map->count(), image->recordCount);
    for (int i = 1; i <= n; ++i) {
        const uint8_t flags = map->flags[static_cast<std::size_t>(i - 1)];
        QString line = recordLine(i);
        if (!(flags & LinkFlag::kInUse) || (flags & LinkFlag::kLinked) || unknown) {
            detailed += line + text(kTextOk) + kEol;
            continue;
        }
        found = true;
        errorsFound = true;
        if (ext2)
            pin2Needed = true;
        line += text(kTextLostExtension);
        if (repair) {
            const std::span<uint8_t> record = image->record(i);
            std::fill(record.begin(), record.end(), kUnused);
            int length = image->recordLength;
            if (!m_card.updateFile(kDfTelecom, id, record, length, i, gsm::recordMode::kAbsolute))
                return false;
            line += text(kTextRepaired);
        } else {
            line += text(kTextRemoveItem);
            brief += line + kEol;
        }
        detailed += line + kEol;
    }
    if (!found)
        brief += text(kTextOk) + kEol;
    return true;
}

bool CheckAndRepair::checkAndRepair(QString& brief, QString& detailed, bool& errorsFound, bool& pin2Needed, bool repair)
{
    if (!m_card.recordMap(CachedFile::Ext1) || !m_card.recordMap(CachedFile::Ext2) || !m_card.identityCopy() ||
        !m_card.image(CachedFile::Ext1) || !m_card.image(CachedFile::Ext2)) {
        brief += applicationError() + kEol;
        detailed += applicationError() + kEol;
        m_card.setLastStatus(CardStatus::NonSpecificError);
        return false;
    }
    errorsFound = false;
    pin2Needed = false;

    const QString serial = text(kTextSerial) + serialNumber(*m_card.identityCopy()) + kEol + kEol;
    brief += serial;
    detailed += serial;

    static const Section sections[] = {
        {kEfAdn, CachedFile::Adn, strId(sid::DialingNumbers_2314), false},     // "Dialing Numbers: "
        {kEfFdn, CachedFile::Fdn, strId(sid::FixedDialingNumbers_2320), true}, // "Fixed Dialing Numbers:"
        {kEfLnd, CachedFile::Lnd, strId(sid::LastNumbersDialed_2321), false},  // "Last Numbers Dialed:"
        {kEfMsisdn, CachedFile::Msisdn, strId(sid::OtherLinks_2322), false},   // "Other Links:"
    };
    for (const Section& section : sections) {
        if (!dialSection(section, brief, detailed, errorsFound, pin2Needed, repair))
            return false;
    }
    if (!smsSection(brief, detailed, errorsFound, repair))
        return false;

    // The links just removed are gone from the card: the link maps are built again from the
    // images, so that extension records only those links reached show as lost and are cleared.
    if (repair && !loadLinkMaps())
        return false;

    for (const bool ext2 : {false, true}) {
        if (!extensionSection(ext2, brief, detailed, errorsFound, pin2Needed, repair))
            return false;
    }
    m_card.setLastStatus(CardStatus::Ok);
    return true;
}

} // namespace kestrel
