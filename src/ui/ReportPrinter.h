#pragma once

#include <functional>

#include <QList>
#include <QString>

#include "codec/DialEntry.h"
#include "codec/SmsEntry.h"
#include "report/ReportHeader.h"

class QPrinter;
class QWidget;

namespace kestrel {

class AppState;
class ReportLayout;

// The three printers of the program - text reports, phone book lists and message lists - on a
// QPrinter. Before each job: the per-job salesperson and comment (asked in "Kestrel! - Adjust
// Print Information" when the PrnHdrAdj setting is on), then the print dialog; the document is
// named "Kestrel! Print". Printing to a PDF file is the print dialog's own choice (or the
// caller's, printToPdf). Text is drawn in the AppState's print fonts.
class ReportPrinter
{
public:
    // Lets the user pick the printer (and its output file); false cancels the job. The default
    // shows the print dialog; tests put a chooser that prints to a PDF file.
    using PrinterChooser = std::function<bool(QPrinter& printer, QWidget* parent)>;
    static void setPrinterChooser(PrinterChooser chooser);
    static bool defaultChooser(QPrinter& printer, QWidget* parent);

    ReportPrinter(AppState& state, QWidget* parent);

    // Every job of this printer goes into the PDF file `path` without asking anything: no adjust
    // step (the salesperson and comment of the settings are printed) and no print dialog. A job
    // that cannot write the file prints 0 pages.
    void printToPdf(const QString& path) { m_pdfPath = path; }

    // Each returns the number of pages printed, 0 when the job was cancelled.
    int PrintReport(const QString& text, const QString& title, const QList<int>& tabStops = {});
    int PrintPhoneBook(const QList<DialEntry>& entries);
    int PrintMessages(const QList<SmsEntry>& messages);

    // The header block of a job: the shop details from the settings, the salesperson and comment
    // given, the time now and the ICCID the SimCard holds (all filler before any card was opened).
    ReportHeader header(const QString& salesperson, const QString& comment) const;

private:
    int print(const std::function<int(ReportLayout&)>& body);
    // The adjust step: false when cancelled.
    bool adjust(QString& salesperson, QString& comment);

    AppState& m_state;
    QWidget* m_parent;
    QString m_pdfPath;
};

} // namespace kestrel
