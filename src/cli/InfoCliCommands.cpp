#include "cli/InfoCliCommands.h"

#include <algorithm>

#include <QJsonArray>
#include <QJsonObject>

#include "base/StringTable.h"
#include "cli/CardSession.h"
#include "cli/CliCommands.h"
#include "cli/JsonOutput.h"
#include "cli/TerminalPrompter.h"
#include "info/SimInformationReader.h"
#include "info/SimInformationReport.h"
#include "sim/SimCard.h"
#include "telcard/TelephoneCard.h"

namespace kestrel::cli {

namespace {

const QString kReport = QStringLiteral("report");
const QString kText = QStringLiteral("text");
constexpr int kYes = strId(sid::Yes_57905); // "Yes"
constexpr int kNo = strId(sid::No_57906);   // "No"

QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

QJsonValue optionalNumber(const auto& value)
{
    return value ? QJsonValue(static_cast<double>(*value)) : QJsonValue();
}

// The information's texts as typed values: a count as a number, "Yes"/"No" as true/false; a
// value the card did not give ("None", or empty when not read) is null.
QJsonValue count(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok ? QJsonValue(n) : QJsonValue(QJsonValue::Null);
}

QJsonValue yesNo(const QString& text)
{
    if (text == StringTable::text(kYes))
        return true;
    if (text == StringTable::text(kNo))
        return false;
    return QJsonValue(QJsonValue::Null);
}

QJsonObject globalJson(const GlobalInfo& g)
{
    static const char* const kCodes[] = {"PIN1", "PIN2", "PUK1", "PUK2"};
    QJsonArray codes;
    for (std::size_t k = 0; k < g.chv.size(); ++k) {
        QJsonObject row{
            {QStringLiteral("code"), QString::fromLatin1(kCodes[k])},
            {QStringLiteral("supported"), yesNo(g.chv[k].supported)},
            {QStringLiteral("limit"), count(g.chv[k].limit)},
        };
        if (k == 0)
            row.insert(QStringLiteral("activated"), yesNo(g.chv[k].activated));
        codes.append(row);
    }
    const QJsonObject costs{
        {QStringLiteral("currency"), g.currency},
        {QStringLiteral("pricePerUnit"), g.pricePerUnit},
        {QStringLiteral("sumUsed"), g.sumUsed},
        {QStringLiteral("creditRemaining"), g.creditRemaining},
        {QStringLiteral("price"), optionalNumber(g.price)},
        {QStringLiteral("acmUnits"), optionalNumber(g.acmUnits)},
        {QStringLiteral("acmMaxUnits"), optionalNumber(g.acmMaxUnits)},
    };
    return QJsonObject{
        {QStringLiteral("iccid"), g.iccid},   {QStringLiteral("imsi"), g.imsi},
        {QStringLiteral("phase"), g.phase},   {QStringLiteral("codes"), codes},
        {QStringLiteral("callCosts"), costs}, {QStringLiteral("authenticationBlocked"), g.authenticationBlocked},
    };
}

QJsonObject capacityJson(const FileCapacity& c, bool named)
{
    QJsonObject o{{QStringLiteral("items"), count(c.items)}};
    if (named)
        o.insert(QStringLiteral("nameLength"), count(c.nameLength));
    return o;
}

QJsonObject listJson(const NumberListInfo& list)
{
    QJsonArray lines;
    for (const QString& line : list.lines)
        lines.append(line);
    return QJsonObject{
        {QStringLiteral("items"), count(list.items)},
        {QStringLiteral("nameLength"), count(list.nameLength)},
        {QStringLiteral("passwordProtected"), list.passwordProtected},
        {QStringLiteral("lines"), lines},
        {QStringLiteral("entries"), dialListJson(list.entries, false)},
    };
}

QJsonObject informationJson(const SimInformation& info)
{
    return QJsonObject{
        {QStringLiteral("global"), globalJson(info.global)},
        {QStringLiteral("capacities"),
         QJsonObject{
             {QStringLiteral("phoneBook"), capacityJson(info.capacities.phoneBook, true)},
             {QStringLiteral("fdn"), capacityJson(info.capacities.fdn, true)},
             {QStringLiteral("sms"), capacityJson(info.capacities.sms, false)},
         }},
        {QStringLiteral("lastDialled"), listJson(info.lastDialled)},
        {QStringLiteral("ownNumbers"), listJson(info.ownNumbers)},
    };
}

} // namespace

int runInfo(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    const CardCommandShape shape{QStringLiteral("info"), {}, {kReport, kText}, 0, 0};
    return runCardSession(device, shape, args, out, err, interactive, [](CardSession& s) {
        SimInformation info;
        SimInformationReader reader(s.sim, s.prompter, s.progress);
        if (!reader.readAll(info))
            return kExitFailed;
        if (s.args.has(kReport) || s.args.has(kText)) {
            const SimInformationReport report = SimInformationReport::build(info);
            s.out << report.title << QStringLiteral("\n")
                  << QString(report.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << QStringLiteral("\n");
            return kExitOk;
        }
        printJson(s.out, informationJson(info));
        return kExitOk;
    });
}

int runTelcard(const QString& device, const QStringList& args, QTextStream& out, QTextStream& err, bool interactive)
{
    const CardCommandShape shape{QStringLiteral("telcard"), {}, {}, 0, 0};
    return runCardSession(device, shape, args, out, err, interactive, [](CardSession& s) {
        const TelephoneCardReading reading = TelephoneCard::read(s.sim.reader());
        // A card that is no memory card (a SIM) leaves the data line high: every byte reads FF.
        const bool noMemoryCard =
            !reading.failed() && std::ranges::all_of(reading.values.bytes, [](uint8_t b) { return b == 0xFF; });
        if (reading.failed() || noMemoryCard) {
            s.err << QStringLiteral("kestrel-cli: ") << oneLine(reading.message) << QLatin1Char('\n');
            return kExitFailed;
        }
        if (reading.warning())
            s.err << QStringLiteral("kestrel-cli: ") << oneLine(reading.message) << QLatin1Char('\n');
        const TelephoneCardValues& v = reading.values;
        QJsonObject o{
            {QStringLiteral("valid"), v.valid},
            {QStringLiteral("unitsRemaining"), v.unitsRemaining},
            {QStringLiteral("totalUnits"), v.totalUnits},
            {QStringLiteral("country"), v.country},
            {QStringLiteral("rawData"), QString(v.rawData).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))},
        };
        if (reading.warning())
            o.insert(QStringLiteral("warning"), reading.message);
        printJson(s.out, o);
        return kExitOk;
    });
}

} // namespace kestrel::cli
