#include "info/SimInformationReport.h"

#include <QStringList>

#include "base/StringTable.h"

namespace kestrel {

namespace {

constexpr int kTitle = 6271; // "SIM card global information"

// Labels of the report that have no number in the string table.
const char* const kImsiLabel = "International code:";
const char* const kPhaseLabel = "SIM Phase:";
const char* const kSupportedLabel = "Supported:";
const char* const kLimitLabel = "Limit:";
const char* const kActivatedLabel = "Activated:";
const char* const kCurrencyLabel = "Currency:";
const char* const kPriceLabel = "Price per unit:";
const char* const kSumLabel = "Sum used:";
const char* const kCreditLabel = "Credit remaining:";
const char* const kTableHead = "List:\tItems:\tName length max";
const char* const kPhoneBookRow = "Phone book";
const char* const kFdnRow = "FDN";
const char* const kSmsRow = "SMS";
const char* const kLastDialledHead = "Last number dialed";
const char* const kOwnNumbersHead = "Self dial number";
const char* const kItemsLabel = "Items number:";
const char* const kNameLengthLabel = "Name length max:";
const char* const kChvNames[] = {"PIN1", "PIN2", "PUK1", "PUK2"};

QString labelled(const char* label, const QString& value)
{
    return QString::fromLatin1(label) + QStringLiteral(" \t") + value;
}

void addList(QStringList& lines, const char* head, const NumberListInfo& list)
{
    lines << QStringLiteral("{$B}") + QString::fromLatin1(head);
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
    lines << QString::fromLatin1(kTableHead);
    const auto row = [](const char* name, const FileCapacity& c) {
        return QString::fromLatin1(name) + QLatin1Char('\t') + c.items + QLatin1Char('\t') + c.nameLength;
    };
    lines << row(kPhoneBookRow, info.capacities.phoneBook);
    lines << row(kFdnRow, info.capacities.fdn);
    lines << row(kSmsRow, info.capacities.sms);
    lines << QString();
    addList(lines, kLastDialledHead, info.lastDialled);
    addList(lines, kOwnNumbersHead, info.ownNumbers);
    return SimInformationReport{StringTable::text(kTitle), lines.join(QStringLiteral("\r\n"))};
}

} // namespace kestrel
