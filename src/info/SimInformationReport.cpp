#include "info/SimInformationReport.h"

#include <QStringList>

#include "base/StringTable.h"

namespace kestrel {

namespace {

constexpr int kTitle = sid::SimCardGlobalInformation_6271; // "SIM card global information"

// Labels of the report (string-table texts).
constexpr int kImsiLabel = strId(sid::InternationalCode_9000);
constexpr int kPhaseLabel = strId(sid::SimPhase_9001);
constexpr int kSupportedLabel = strId(sid::Supported_9002);
constexpr int kLimitLabel = strId(sid::Limit_9003);
constexpr int kActivatedLabel = strId(sid::Activated_9004);
constexpr int kCurrencyLabel = strId(sid::Currency_9005);
constexpr int kPriceLabel = strId(sid::PricePerUnit_9006);
constexpr int kSumLabel = strId(sid::SumUsed_9007);
constexpr int kCreditLabel = strId(sid::CreditRemaining_9008);
constexpr int kTableHead = strId(sid::ListItemsNameLengthMax_9009);
constexpr int kPhoneBookRow = strId(sid::PhoneBook_9010);
constexpr int kFdnRow = strId(sid::Fdn_9011);
constexpr int kSmsRow = strId(sid::Sms_9012);
constexpr int kLastDialledHead = strId(sid::LastNumberDialed_9013);
constexpr int kOwnNumbersHead = strId(sid::SelfDialNumber_9014);
constexpr int kItemsLabel = strId(sid::ItemsNumber_9015);
constexpr int kNameLengthLabel = strId(sid::NameLengthMax_9016);
const char* const kChvNames[] = {"PIN1", "PIN2", "PUK1", "PUK2"};

QString labelled(int label, const QString& value)
{
    return StringTable::text(label) + QStringLiteral(" \t") + value;
}

void addList(QStringList& lines, int head, const NumberListInfo& list)
{
    lines << QStringLiteral("{$B}") + StringTable::text(head);
    lines << labelled(kItemsLabel, list.items);
    lines << labelled(kNameLengthLabel, list.nameLength);
    for (const QString& line : list.lines)
        lines << line;
}

} // namespace

SimInformationReport SimInformationReport::build(const SimInformation& info)
{
    const GlobalInfo& g = info.global;
    QStringList lines;
    lines << labelled(kImsiLabel, g.imsi);
    lines << labelled(kPhaseLabel, g.phase);
    for (std::size_t k = 0; k < g.chv.size(); ++k) {
        QString line = QString::fromLatin1(kChvNames[k]) + QLatin1Char('\t') +
                       labelled(kSupportedLabel, g.chv[k].supported) + QLatin1Char('\t') +
                       labelled(kLimitLabel, g.chv[k].limit);
        if (k == 0)
            line += QLatin1Char('\t') + labelled(kActivatedLabel, g.chv[k].activated);
        lines << line;
    }
    lines << labelled(kCurrencyLabel, g.currency);
    lines << labelled(kPriceLabel, g.pricePerUnit);
    lines << labelled(kSumLabel, g.sumUsed);
    lines << labelled(kCreditLabel, g.creditRemaining);
    lines << QString();
    lines << StringTable::text(kTableHead);
    const auto row = [](int name, const FileCapacity& c) {
        return StringTable::text(name) + QLatin1Char('\t') + c.items + QLatin1Char('\t') + c.nameLength;
    };
    lines << row(kPhoneBookRow, info.capacities.phoneBook);
    lines << row(kFdnRow, info.capacities.fdn);
    lines << row(kSmsRow, info.capacities.sms);
    lines << QString();
    addList(lines, kLastDialledHead, info.lastDialled);
    addList(lines, kOwnNumbersHead, info.ownNumbers);
    return SimInformationReport{
        StringTable::text(kTitle), lines.join(QStringLiteral("\r\n")), {500, 800, 950, 1100, 1250, 1550}};
}

} // namespace kestrel
