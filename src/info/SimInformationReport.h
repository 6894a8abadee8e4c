#pragma once

#include <QList>
#include <QString>

#include "info/SimInformation.h"

namespace kestrel {

// The printed report of the information about a SIM: a title for the report printer and the text,
// lines separated by "\r\n", a label and its value by " \t", "{$B}" before a line printed bold.
struct SimInformationReport
{
    QString title;
    QString text;
    // Where its columns start on the page (report units): the PIN rows hold seven of them, which
    // the printer's default stops would push beyond the right edge.
    QList<int> tabStops;

    static SimInformationReport build(const SimInformation& info);
};

} // namespace kestrel
