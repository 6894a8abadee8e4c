#pragma once

#include <QString>

#include "base/StringTable.h"

namespace kestrel {

// A text as a widget shows it: the table's "\r\n" and lone "\r" line breaks become "\n".
inline QString displayText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

// String-table entry id as a widget shows it.
inline QString uiText(int id)
{
    return displayText(StringTable::text(id));
}

} // namespace kestrel
