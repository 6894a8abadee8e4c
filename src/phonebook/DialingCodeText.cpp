#include "phonebook/DialingCodeText.h"

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

} // namespace kestrel
