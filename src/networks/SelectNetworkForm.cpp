#include "networks/SelectNetworkForm.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "codec/PcText.h"
#include "networks/NetworkListModel.h"
#include "networks/OperatorTable.h"

namespace kestrel {

namespace {

// The real rows: every row but the end row.
std::span<const OperatorRow> realRows()
{
    const std::span<const OperatorRow> rows = operatorRows();
    return rows.first(rows.size() - 1);
}

QStringList sortedTexts()
{
    QStringList texts;
    for (const OperatorRow& row : realRows()) {
        const QString text = pcTextToUnicode(row.text);
        if (!texts.contains(text))
            texts.append(text);
    }
    std::sort(texts.begin(), texts.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    return texts;
}

} // namespace

const QStringList& SelectNetworkForm::operatorTexts()
{
    static const QStringList texts = sortedTexts();
    return texts;
}

SelectNetworkForm::SelectNetworkForm(const QString& mcc, const QString& mnc)
{
    setFields(mcc, mnc);
}

int SelectNetworkForm::operatorFor(const QString& mcc, const QString& mnc)
{
    uint32_t mccValue = 0;
    uint32_t mncValue = 0;
    std::string text;
    if (!NetworkListModel::readNumberField(mcc, mccValue) || !NetworkListModel::readNumberField(mnc, mncValue) ||
        !LookupOperator(mccValue, mncValue, &text))
        return -1;
    return static_cast<int>(operatorTexts().indexOf(pcTextToUnicode(text)));
}

void SelectNetworkForm::setFields(const QString& mcc, const QString& mnc)
{
    m_mcc = mcc;
    m_mnc = mnc;
    m_selected = operatorFor(mcc, mnc);
}

void SelectNetworkForm::chooseOperator(int index)
{
    if (index < 0 || index >= operatorTexts().size())
        return;
    const QString& chosen = operatorTexts()[index];
    for (const OperatorRow& row : realRows()) {
        if (pcTextToUnicode(row.text) == chosen) {
            m_mcc = QStringLiteral("%1").arg(row.mcc, 3, 10, QLatin1Char('0'));
            m_mnc = QStringLiteral("%1").arg(row.mnc, 2, 10, QLatin1Char('0'));
            // The chosen name stays selected even where an earlier row of the table gives the same
            // codes another name.
            m_selected = index;
            return;
        }
    }
}

} // namespace kestrel
