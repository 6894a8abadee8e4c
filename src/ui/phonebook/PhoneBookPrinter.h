#pragma once

#include <optional>

#include <QList>
#include <QString>

#include "codec/DialEntry.h"
#include "report/ReportHeader.h"

class QPagedPaintDevice;
class QWidget;

namespace kestrel {

class AppState;

// Printing the list of a phone book or fixed-dialling-number window: the header block of every
// page from the PrintHdr settings and the card's ICCID, then the entries by row, through the
// printed-report layout.
namespace PhoneBookPrinter {

// The header of a print job: shop details from the settings, the salesperson and comment of this
// job (with `PrnHdrAdj` on, as the adjust dialog returns them; nullopt when it was cancelled),
// now as the print time and the ICCID the SimCard holds.
std::optional<ReportHeader> jobHeader(AppState& app, QWidget* parent);

// Lays the entries out on device in the given print font family ("Arial", 10 points). Returns
// the number of pages.
int print(QPagedPaintDevice& device, const QList<DialEntry>& entries, const ReportHeader& header,
          const QString& fontFamily);

// The whole command: the adjust step, the system print dialog (all pages, no selection), the
// document named "Kestrel! Print". The number of pages printed; 0 when a dialog was cancelled or
// nothing could be printed.
int printWithDialogs(AppState& app, const QList<DialEntry>& entries, QWidget* parent);

} // namespace PhoneBookPrinter

} // namespace kestrel
