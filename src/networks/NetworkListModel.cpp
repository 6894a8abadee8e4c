#include "networks/NetworkListModel.h"

#include <algorithm>
#include <limits>
#include <string>

#include "app/CardOperation.h"
#include "base/StringTable.h"
#include "codec/PcText.h"
#include "networks/OperatorTable.h"
#include "sim/NetworkFiles.h"
#include "sim/SimCard.h"

namespace kestrel {

namespace {

constexpr int kCaptionWorking = strId(sid::WorkingOnSimCard_5106);             // "Kestrel! - Working on SIM Card"
constexpr int kReadingPlmn = strId(sid::ReadingPreferredNetworks_5009);        // "Reading preferred networks"
constexpr int kWritingPlmn = strId(sid::WritingPreferredNetworks_5010);        // "Writing preferred networks"
constexpr int kReadingFplmn = strId(sid::ReadingListOfForbiddenNetworks_5019); // "Reading list of forbidden networks"
constexpr int kWritingFplmn = strId(sid::WritingListOfForbiddenNetworks_5020); // "Writing list of forbidden networks"
constexpr int kPreferredHeading = strId(sid::PrefferedNetworksList_6272);      // "Preffered networks list:"
constexpr int kForbiddenHeading = strId(sid::ForbiddenNetworksList_6273);      // "Forbidden networks list:"
constexpr int kPreferredCaption = strId(sid::PreferredNetworks_9670);          // "Kestrel! - Preferred Networks"
constexpr int kForbiddenCaption = strId(sid::ForbiddenNetworks_9671);          // "Kestrel! - Forbidden Networks"
constexpr int kProgressPercent = 70;

// Both files are read and updated under CHV1.
OpenFlags networkOpenFlags()
{
    OpenFlags open;
    open.chv1 = true;
    open.offerUnblock = true;
    return open;
}

QString threeDigits(uint32_t value)
{
    return QStringLiteral("%1").arg(value, 3, 10, QLatin1Char('0'));
}

QString twoDigits(uint32_t value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

} // namespace

NetworkListModel::NetworkListModel(SimCard& card, Prompter& prompter, ProgressSink* progress, bool forbidden)
    : m_card(card), m_prompter(prompter), m_progress(progress), m_forbidden(forbidden)
{}

int NetworkListModel::captionId() const
{
    return m_forbidden ? kForbiddenCaption : kPreferredCaption;
}

bool NetworkListModel::readFromCard()
{
    m_entries.clear();
    CardOperation op(m_card, m_prompter, m_progress);
    std::vector<PlmnEntry> read;
    const bool ok = op.run(kCaptionWorking, networkOpenFlags(), [&] {
        return m_card.showProgressText(m_forbidden ? kReadingFplmn : kReadingPlmn, kProgressPercent) &&
               NetworkFiles(m_card).readPlmnList(read, m_forbidden);
    });
    if (ok)
        m_entries = std::move(read);
    return ok;
}

bool NetworkListModel::writeToCard()
{
    CardOperation op(m_card, m_prompter, m_progress);
    const bool ok = op.run(kCaptionWorking, networkOpenFlags(), [&] {
        return m_card.showProgressText(m_forbidden ? kWritingFplmn : kWritingPlmn, kProgressPercent) &&
               NetworkFiles(m_card).writePlmnList(m_entries, m_forbidden);
    });
    for (PlmnEntry& e : m_entries)
        e.modified = 0;
    return ok;
}

QString NetworkListModel::line(int row) const
{
    if (!isRow(row))
        return {};
    const PlmnEntry& e = m_entries[static_cast<std::size_t>(row)];
    QString text = QString::number(row + 1);
    if (!e.used)
        return text;
    if (e.modified)
        text += QLatin1Char('*');
    text += QLatin1Char('\t') + threeDigits(e.mcc) + QLatin1Char('-') + twoDigits(e.mnc);
    std::string name;
    if (LookupOperator(e.mcc, e.mnc, &name))
        text += QLatin1Char('\t') + pcTextToUnicode(name);
    return text;
}

QStringList NetworkListModel::lines() const
{
    QStringList all;
    for (int row = 0; row < count(); ++row)
        all.append(line(row));
    return all;
}

NetworkListModel::Buttons NetworkListModel::buttons(int selected) const
{
    Buttons b;
    b.write = b.deleteAll = count() > 0;
    b.edit = isRow(selected);
    b.remove = b.edit && m_entries[static_cast<std::size_t>(selected)].used != 0;
    return b;
}

QString NetworkListModel::mccField(int row) const
{
    return isRow(row) && m_entries[static_cast<std::size_t>(row)].used
               ? threeDigits(m_entries[static_cast<std::size_t>(row)].mcc)
               : QString();
}

QString NetworkListModel::mncField(int row) const
{
    return isRow(row) && m_entries[static_cast<std::size_t>(row)].used
               ? twoDigits(m_entries[static_cast<std::size_t>(row)].mnc)
               : QString();
}

bool NetworkListModel::applyEdit(int row, const QString& mcc, const QString& mnc)
{
    if (!isRow(row))
        return false;
    const PlmnEntry& e = m_entries[static_cast<std::size_t>(row)];
    uint32_t mccValue = e.mcc;
    uint32_t mncValue = e.mnc;
    readNumberField(mcc, mccValue);
    readNumberField(mnc, mncValue);
    return setNetwork(row, mccValue, mncValue);
}

bool NetworkListModel::setNetwork(int row, uint32_t mcc, uint32_t mnc)
{
    if (!isRow(row))
        return false;
    PlmnEntry& e = m_entries[static_cast<std::size_t>(row)];
    e.mcc = mcc;
    e.mnc = mnc;
    e.used = 1;
    e.modified = 1;
    return true;
}

bool NetworkListModel::removeEntry(int row)
{
    if (!isRow(row) || !m_entries[static_cast<std::size_t>(row)].used)
        return false;
    PlmnEntry& e = m_entries[static_cast<std::size_t>(row)];
    e.used = 0;
    e.modified = 1;
    return true;
}

void NetworkListModel::removeAll()
{
    for (PlmnEntry& e : m_entries) {
        e.used = 0;
        e.modified = 1;
    }
}

QString NetworkListModel::copyText() const
{
    QString text;
    for (const QString& l : lines()) {
        if (l.contains(QLatin1Char('\t')))
            text += l + QStringLiteral("\r\n");
    }
    return text;
}

QString NetworkListModel::printText() const
{
    QString text;
    for (const QString& l : lines())
        text += l + QStringLiteral("\r\n");
    return text;
}

int NetworkListModel::printHeadingId() const
{
    return m_forbidden ? kForbiddenHeading : kPreferredHeading;
}

QList<int> NetworkListModel::printTabStops()
{
    return {400, 700, 1100, 1400, 1700};
}

bool NetworkListModel::readNumberField(const QString& text, uint32_t& value)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    if (i < text.size() && text[i] == QLatin1Char('+'))
        ++i;
    if (i >= text.size() || text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
        return false;
    uint64_t v = 0;
    constexpr uint64_t kMax = std::numeric_limits<uint32_t>::max();
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
        v = std::min(kMax, v * 10 + static_cast<uint64_t>(text[i].unicode() - u'0'));
    value = static_cast<uint32_t>(v);
    return true;
}

} // namespace kestrel
