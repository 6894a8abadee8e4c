#include "phonebook/DialingCodeText.h"

#include <algorithm>
#include <string>

#include "base/StringTable.h"
#include "codec/DialDigits.h"
#include "codec/PcText.h"

namespace kestrel {

QString putCodeInFront(const QString& text, const QString& chosenCode)
{
    if (chosenCode.isEmpty())
        return text;
    QString rest = text;
    const qsizetype plus = rest.indexOf(QLatin1Char('+'));
    if (plus >= 0)
        rest.remove(plus, 1);
    return chosenCode + rest;
}

QString myCountryCodeFromChosen(const QString& field, const QString& chosenCode)
{
    if (chosenCode.isEmpty())
        return field;
    return chosenCode.startsWith(QLatin1Char('+')) ? chosenCode.mid(1) : chosenCode;
}

int checkMyCountryCode(QString& code)
{
    // Checked as PC text: a character the code page lacks becomes "?", which no number holds. A
    // "+" anywhere but in front would end up among the digits of every number it is put into.
    const std::string text = unicodeToPcText(code);
    if (!IsValidDialNumber(text) || text.find('+', 1) != std::string::npos)
        return strId(57561);
    if (code.startsWith(QLatin1Char('+')))
        code.remove(0, 1);
    return 0;
}

int checkAbroadPrefix(const QString& prefix)
{
    const bool digitsOnly = std::all_of(prefix.begin(), prefix.end(),
                                        [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); });
    return digitsOnly ? 0 : strId(57562);
}

} // namespace kestrel
