#include "codec/SmsMessageParts.h"

#include <QStringList>

#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/FixedText.h"
#include "codec/PcText.h"

namespace kestrel {

namespace {

QString entryText(const SmsEntry& e)
{
    return pcTextToUnicode(fixedText(e.text));
}

bool samePartsOf(const SmsEntry& a, const SmsEntry& b)
{
    return b.valid && b.concatTotal == a.concatTotal && b.concatRef == a.concatRef && b.numberTon == a.numberTon &&
           fixedText(b.number) == fixedText(a.number);
}

} // namespace

SmsJoinedMessage JoinSmsParts(std::span<const SmsEntry> entries, int row)
{
    SmsJoinedMessage joined;
    if (row < 0 || static_cast<std::size_t>(row) >= entries.size())
        return joined;
    const SmsEntry& e = entries[static_cast<std::size_t>(row)];
    if (e.concatTotal == 0 || !e.valid) {
        joined.text = entryText(e);
        joined.rows.push_back(row);
        return joined;
    }
    for (int part = 1; part <= e.concatTotal; ++part) {
        int found = -1;
        for (std::size_t i = 0; i < entries.size() && found < 0; ++i) {
            if (samePartsOf(e, entries[i]) && entries[i].concatPart == part)
                found = static_cast<int>(i);
        }
        if (found < 0) {
            joined.whole = false;
            joined.text += StringTable::text(sid::PartMissing_9887).arg(part);
            continue;
        }
        joined.rows.push_back(found);
        joined.text += entryText(entries[static_cast<std::size_t>(found)]);
    }
    return joined;
}

QString SmsReportStatusText(uint8_t st)
{
    int id = sid::UnknownDeliveryStatus_9894;
    if (st == 0x00)
        id = sid::Delivered_9888;
    else if (st == 0x01)
        id = sid::ForwardedDeliveryNotConfirmed_9889;
    else if (st == 0x02)
        id = sid::ReplacedByTheServiceCentre_9890;
    else if (st >= 0x20 && st <= 0x3F)
        id = sid::NotYetDeliveredTheService_9891;
    else if (st >= 0x40 && st <= 0x5F)
        id = sid::NotDeliveredPermanentError_9892;
    else if (st >= 0x60 && st <= 0x7F)
        id = sid::NotDeliveredTemporaryErrorNo_9893;
    return StringTable::text(id);
}

QString SmsEncodingText(SmsEncoding encoding)
{
    switch (encoding) {
    case SmsEncoding::Ucs2:
        return StringTable::text(sid::Ucs2_9883);
    case SmsEncoding::EightBit:
        return StringTable::text(sid::N8BitData_9884);
    case SmsEncoding::Undecodable:
        return StringTable::text(sid::NotDecodable_9885);
    case SmsEncoding::Default:
        break;
    }
    return {};
}

QString SmsKindMarker(const SmsEntry& e)
{
    if (!e.valid)
        return {};
    QStringList marks;
    if (e.kind == SmsKind::StatusReport)
        marks << StringTable::text(sid::StatusReport_9881) + QStringLiteral(": ") + SmsReportStatusText(e.reportStatus);
    if (e.concatTotal != 0)
        marks << StringTable::text(sid::PartOf_9882).arg(e.concatPart).arg(e.concatTotal);
    if (e.messageClass >= 0)
        marks << StringTable::text(sid::Class_9886).arg(e.messageClass);
    // UCS2 text shows as it is; data that are no text say so.
    if (e.encoding == SmsEncoding::EightBit || e.encoding == SmsEncoding::Undecodable)
        marks << SmsEncodingText(e.encoding);
    if (marks.isEmpty())
        return {};
    return QLatin1Char('[') + marks.join(QStringLiteral(", ")) + QLatin1Char(']');
}

const char* SmsEncodingName(SmsEncoding encoding)
{
    switch (encoding) {
    case SmsEncoding::EightBit:
        return "8bit";
    case SmsEncoding::Ucs2:
        return "ucs2";
    case SmsEncoding::Undecodable:
        return "undecodable";
    case SmsEncoding::Default:
        break;
    }
    return "default";
}

const char* SmsKindName(const SmsEntry& e)
{
    switch (e.kind) {
    case SmsKind::StatusReport:
        return "status-report";
    case SmsKind::Other:
        return "reserved";
    case SmsKind::Message:
        break;
    }
    return e.status >= static_cast<int>(SmsStatus::Sent) ? "submit" : "deliver";
}

QString SmsStatusReportDetails(const SmsEntry& e)
{
    const QString recipient = pcTextToUnicode(JoinPlus(fixedText(e.number), e.numberTon));
    QStringList lines;
    lines << StringTable::text(sid::StatusReport_9881);
    lines << StringTable::text(sid::Recipient_9895) + QLatin1Char(' ') + recipient;
    lines << StringTable::text(sid::ServiceCentreTime_9896) + QLatin1Char(' ') + pcTextToUnicode(fixedText(e.when));
    lines << StringTable::text(sid::DischargeTime_9897) + QLatin1Char(' ') +
                 pcTextToUnicode(fixedText(e.dischargeTime));
    lines << StringTable::text(sid::DeliveryStatus_9898) + QLatin1Char(' ') + SmsReportStatusText(e.reportStatus);
    if (e.text[0] != '\0')
        lines << entryText(e);
    return lines.join(QLatin1Char('\n'));
}

QString SmsPrintedText(std::span<const SmsEntry> entries, int row)
{
    if (row < 0 || static_cast<std::size_t>(row) >= entries.size())
        return {};
    const SmsEntry& e = entries[static_cast<std::size_t>(row)];
    if (e.kind == SmsKind::StatusReport)
        return SmsStatusReportDetails(e);
    QString body = entryText(e);
    if (e.concatTotal != 0) {
        const SmsJoinedMessage joined = JoinSmsParts(entries, row);
        if (joined.whole)
            body = joined.rows.front() == row ? joined.text : QString();
    }
    const QString marker = SmsKindMarker(e);
    if (marker.isEmpty())
        return body;
    return body.isEmpty() ? marker : marker + QLatin1Char('\n') + body;
}

} // namespace kestrel
