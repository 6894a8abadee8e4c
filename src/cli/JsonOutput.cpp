#include "cli/JsonOutput.h"

#include <string>

#include <QJsonDocument>

#include "codec/FixedText.h"
#include "codec/PcText.h"
#include "codec/SmsCodec.h"
#include "networks/OperatorTable.h"

namespace kestrel::cli {

namespace {

QString pcText(std::string_view text)
{
    return pcTextToUnicode(text);
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
        {QStringLiteral("name"), pcText(fixedText(e.name))},
        {QStringLiteral("number"), QString::fromLatin1(fixedText(e.number))},
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
        {QStringLiteral("text"), pcText(fixedText(e.text))},
        {QStringLiteral("scNumber"), QString::fromLatin1(fixedText(e.scNumber))},
        {QStringLiteral("number"), QString::fromLatin1(fixedText(e.number))},
        {QStringLiteral("numberTon"), e.numberTon},
        {QStringLiteral("numberNpi"), e.numberNpi},
        {QStringLiteral("scTon"), e.scTon},
        {QStringLiteral("scNpi"), e.scNpi},
        {QStringLiteral("when"), pcText(fixedText(e.when))},
        {QStringLiteral("status"), QString::fromLatin1(smsStatusName(e.status))},
        {QStringLiteral("messageRef"), e.messageRef},
        {QStringLiteral("modified"), e.modified != 0},
    };
}

QJsonObject plmnJson(const PlmnEntry& e)
{
    std::string name;
    const bool found = e.used && LookupOperator(e.mcc, e.mnc, &name);
    return QJsonObject{
        {QStringLiteral("used"), e.used != 0},
        {QStringLiteral("mcc"), static_cast<qint64>(e.mcc)},
        {QStringLiteral("mnc"), static_cast<qint64>(e.mnc)},
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
    for (const SmsEntry& e : entries) {
        if (all || e.valid)
            list.append(smsJson(e));
    }
    return list;
}

QJsonArray plmnListJson(std::span<const PlmnEntry> entries, bool all)
{
    QJsonArray list;
    for (const PlmnEntry& e : entries) {
        if (all || e.used)
            list.append(plmnJson(e));
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

} // namespace kestrel::cli
