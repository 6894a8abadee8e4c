#pragma once

#include <QString>

#include "info/SimInformation.h"

namespace kestrel {

// The printed report of the information about a SIM: a title for the report printer and the text,
// lines separated by "\r\n", a label and its value by " \t", "{$B}" before a line printed bold.
struct SimInformationReport
{
    QString title;
    QString text;

    static SimInformationReport build(const SimInformation& info);
};

} // namespace kestrel
