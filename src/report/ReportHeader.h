#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace kestrel {

// The values printed in the header block on top of every page: the shop's details from the
// PrintHdr settings, the salesperson and comment of this print job, the print time and the card's
// ICCID as read from EF_ICCID (empty, or nothing but filler nibbles, when no card's ICCID is held).
struct ReportHeader
{
    QString shop;        // Provozovna
    QString address;     // Address
    QString salesperson; // this job's copy of Prodejce
    QString phone;       // Phone
    QString fax;         // Fax
    QString email;       // Email
    QString comment;     // this job's copy of Poznamka
    QDateTime printTime;
    QByteArray iccid; // EF_ICCID, BCD with swapped nibbles
};

} // namespace kestrel
