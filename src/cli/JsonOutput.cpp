#include "cli/JsonOutput.h"

#include <string>

#include <QJsonDocument>

#include "base/StringTable.h"

#include "codec/DialDigits.h"
#include "codec/FixedText.h"
#include "codec/PcText.h"
#include "codec/SmsMessageParts.h"
#include "codec/PlmnCodec.h"
#include "codec/SmsCodec.h"
#include "codec/SmsTime.h"
#include "networks/OperatorTable.h"

namespace kestrel::cli {

namespace {

QString pcText(std::string_view text)
{
    return pcTextToUnicode(text);
}

// The number as it is dialled: "+" in front when the type of number is international.
QString dialNumber(std::string_view digits, uint8_t ton)
{
    return QString::fromStdString(JoinPlus(digits, ton));
}

// An absolute "dd.mm.yy hh:mm" as ISO 8601 local time ("2003-01-31T10:00"); null for a validity
// period or a text that is no time. Two-digit years are 1991-2090.
QJsonValue isoTime(std::string_view when)
{
    SmsTime time;
    if (!ParseSmsTime(when, time) || !time.isAbsolute)
        return QJsonValue(QJsonValue::Null);
    const int year = time.year >= 91 ? 1900 + time.year : 2000 + time.year;
    return QStringLiteral("%1-%2-%3T%4:%5")
        .arg(year)
        .arg(time.month, 2, 10, QLatin1Char('0'))
        .arg(time.day, 2, 10, QLatin1Char('0'))
        .arg(time.hour, 2, 10, QLatin1Char('0'))
        .arg(time.minute, 2, 10, QLatin1Char('0'));
}

} // namespace

void printJson(QTextStream& out, const QJsonValue& value)
{
    const QJsonDocument doc = value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    out << QString::fromUtf8(doc.toJson(QJsonDocument::Indented));
}

QJsonObject dialJson(const DialEntry& e)
{
    return QJsonObject{
        {QStringLiteral("valid"), e.valid != 0},
        {QStringLiteral("position"), e.position},
        {QStringLiteral("item"), e.position + 1},
        {QStringLiteral("name"), pcText(fixedText(e.name))},
        {QStringLiteral("number"), QString::fromLatin1(fixedText(e.number))},
        {QStringLiteral("dialNumber"), dialNumber(fixedText(e.number), e.ton)},
        {QStringLiteral("ton"), e.ton},
        {QStringLiteral("npi"), e.npi},
        {QStringLiteral("ccpId"), e.ccpId},
        {QStringLiteral("extId"), e.extId},
    };
}

QJsonObject smsJson(const SmsEntry& e)
{
    return QJsonObject{
        {QStringLiteral("valid"), e.valid != 0},
        {QStringLiteral("position"), e.position},
        {QStringLiteral("item"), e.position + 1},
        {QStringLiteral("text"), pcText(fixedText(e.text))},
        {QStringLiteral("scNumber"), QString::fromLatin1(fixedText(e.scNumber))},
        {QStringLiteral("scDialNumber"), dialNumber(fixedText(e.scNumber), e.scTon)},
        {QStringLiteral("number"), QString::fromLatin1(fixedText(e.number))},
        {QStringLiteral("dialNumber"), dialNumber(fixedText(e.number), e.numberTon)},
        {QStringLiteral("numberTon"), e.numberTon},
        {QStringLiteral("numberNpi"), e.numberNpi},
        {QStringLiteral("scTon"), e.scTon},
        {QStringLiteral("scNpi"), e.scNpi},
        {QStringLiteral("when"), pcText(fixedText(e.when))},
        {QStringLiteral("whenIso"), isoTime(fixedText(e.when))},
        {QStringLiteral("status"), QString::fromLatin1(smsStatusName(e.status))},
        {QStringLiteral("messageRef"), e.messageRef},
        {QStringLiteral("modified"), e.modified != 0},
        // What the record is beyond a plain message.
        {QStringLiteral("kind"), QString::fromLatin1(SmsKindName(e))},
        {QStringLiteral("encoding"), QString::fromLatin1(SmsEncodingName(e.encoding))},
        {QStringLiteral("messageClass"), e.messageClass >= 0 ? QJsonValue(e.messageClass) : QJsonValue()},
        {QStringLiteral("concat"), e.concatTotal == 0 ? QJsonValue()
                                                      : QJsonObject{{QStringLiteral("reference"), e.concatRef},
                                                                    {QStringLiteral("part"), e.concatPart},
                                                                    {QStringLiteral("total"), e.concatTotal}}},
        {QStringLiteral("statusReport"),
         e.kind != SmsKind::StatusReport
             ? QJsonValue()
             : QJsonObject{{QStringLiteral("status"), e.reportStatus},
                           {QStringLiteral("statusText"), SmsReportStatusText(e.reportStatus)},
                           {QStringLiteral("recipient"), dialNumber(fixedText(e.number), e.numberTon)},
                           {QStringLiteral("serviceCentreTime"), pcText(fixedText(e.when))},
                           {QStringLiteral("dischargeTime"), pcText(fixedText(e.dischargeTime))}}},
    };
}

QJsonObject plmnJson(const PlmnEntry& e)
{
    std::string name;
    const bool found = e.used && LookupOperator(e.mcc, e.mnc, &name);
    const QString network = QString::fromStdString(formatPlmn(e.mcc, e.mnc));
    const auto text = [&](QString value) { return e.used ? QJsonValue(value) : QJsonValue(QJsonValue::Null); };
    return QJsonObject{
        {QStringLiteral("used"), e.used != 0},
        {QStringLiteral("mcc"), static_cast<qint64>(e.mcc)},
        {QStringLiteral("mnc"), static_cast<qint64>(e.mnc)},
        {QStringLiteral("mncDigits"), text(network.section(u'-', 1))},
        {QStringLiteral("network"), text(network)},
        {QStringLiteral("operator"), found ? QJsonValue(pcText(name)) : QJsonValue(QJsonValue::Null)},
    };
}

QJsonArray dialListJson(std::span<const DialEntry> entries, bool all)
{
    QJsonArray list;
    for (const DialEntry& e : entries) {
        if (all || e.valid)
            list.append(dialJson(e));
    }
    return list;
}

QJsonArray smsListJson(std::span<const SmsEntry> entries, bool all)
{
    QJsonArray list;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const SmsEntry& e = entries[i];
        if (!all && !e.valid)
            continue;
        QJsonObject o = smsJson(e);
        // A part of a long message: the whole message's text when every part is there.
        if (e.valid && e.concatTotal != 0) {
            const SmsJoinedMessage joined = JoinSmsParts(entries, static_cast<int>(i));
            o.insert(QStringLiteral("joinedText"), joined.whole ? QJsonValue(joined.text) : QJsonValue());
        }
        list.append(o);
    }
    return list;
}

QJsonArray plmnListJson(std::span<const PlmnEntry> entries, bool all)
{
    QJsonArray list;
    int item = 0;
    for (const PlmnEntry& e : entries) {
        ++item;
        if (!all && !e.used)
            continue;
        QJsonObject o = plmnJson(e);
        o.insert(QStringLiteral("item"), item);
        list.append(o);
    }
    return list;
}

QJsonObject backupJson(const BackupContents& c, bool all)
{
    const auto part = [](int count, QJsonArray entries) {
        return QJsonObject{{QStringLiteral("count"), count}, {QStringLiteral("entries"), entries}};
    };
    const auto dial = [&](const auto& entries, int count) {
        return part(count,
                    dialListJson(std::span<const DialEntry>(entries.data(), static_cast<std::size_t>(count)), all));
    };
    return QJsonObject{
        {QStringLiteral("phoneBook"), dial(c.phoneBook, c.phoneBookCount)},
        {QStringLiteral("fdn"), dial(c.fdn, c.fdnCount)},
        {QStringLiteral("sms"),
         part(c.smsCount,
              smsListJson(std::span<const SmsEntry>(c.sms.data(), static_cast<std::size_t>(c.smsCount)), all))},
        {QStringLiteral("smsParameters"), QJsonObject{{QStringLiteral("serviceCentre"), pcText(c.serviceCentre)},
                                                      {QStringLiteral("validity"), pcText(c.validity)}}},
        {QStringLiteral("plmn"), part(static_cast<int>(c.plmn.size()), plmnListJson(c.plmn, all))},
        {QStringLiteral("fplmn"), part(static_cast<int>(c.fplmn.size()), plmnListJson(c.fplmn, all))},
    };
}

QJsonObject doneJson(const QString& command, int messageId)
{
    QJsonObject o{{QStringLiteral("command"), command}, {QStringLiteral("result"), QStringLiteral("done")}};
    if (messageId != 0)
        o.insert(QStringLiteral("message"), plainText(StringTable::text(messageId)));
    return o;
}

QString plainText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

QJsonArray lineArray(const QString& text)
{
    QJsonArray lines;
    for (const QString& line : plainText(text).split(u'\n'))
        lines.append(line);
    while (!lines.isEmpty() && lines.last().toString().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace kestrel::cli
