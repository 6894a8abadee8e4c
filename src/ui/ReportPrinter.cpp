#include "ui/ReportPrinter.h"

#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "app/AppState.h"
#include "report/ReportLayout.h"
#include "sim/SimCard.h"
#include "ui/PainterCanvas.h"
#include "ui/UiText.h"

namespace kestrel {

namespace {

ReportPrinter::PrinterChooser& chooser()
{
    static ReportPrinter::PrinterChooser current = &ReportPrinter::defaultChooser;
    return current;
}

} // namespace

void ReportPrinter::setPrinterChooser(PrinterChooser c)
{
    chooser() = c ? std::move(c) : PrinterChooser(&ReportPrinter::defaultChooser);
}

bool ReportPrinter::defaultChooser(QPrinter& printer, QWidget* parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

ReportPrinter::ReportPrinter(AppState& state, QWidget* parent) : m_state(state), m_parent(parent) {}

int ReportPrinter::PrintReport(const QString& text, const QString& title, const QList<int>& tabStops)
{
    return print([&](ReportLayout& layout) { return layout.printReport(text, title, tabStops); });
}

int ReportPrinter::PrintPhoneBook(const QList<DialEntry>& entries)
{
    return print([&](ReportLayout& layout) { return layout.printPhoneBook(entries); });
}

int ReportPrinter::PrintMessages(const QList<SmsEntry>& messages)
{
    return print([&](ReportLayout& layout) { return layout.printMessages(messages); });
}

ReportHeader ReportPrinter::header(const QString& salesperson, const QString& comment) const
{
    const AppSettings& s = m_state.settings();
    ReportHeader h;
    h.shop = s.provozovna;
    h.address = s.address;
    h.salesperson = salesperson;
    h.phone = s.phone;
    h.fax = s.fax;
    h.email = s.email;
    h.comment = comment;
    h.printTime = QDateTime::currentDateTime();
    // The ICCID the last card opening read; the identity copy of the cached images would not do,
    // as every failed operation drops it while the card read before stays the one printed.
    if (const SimCard* card = m_state.simCard()) {
        for (const uint8_t byte : card->iccid())
            h.iccid.append(static_cast<char>(byte));
    }
    return h;
}

int ReportPrinter::print(const std::function<int(ReportLayout&)>& body)
{
    QString salesperson = m_state.settings().prodejce;
    QString comment = m_state.settings().poznamka;
    const bool toPdf = !m_pdfPath.isEmpty();
    if (!toPdf && m_state.settings().prnHdrAdj != 0 && !adjust(salesperson, comment))
        return 0;

    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(StringTable::text(sid::KestrelPrint_2300));
    if (toPdf) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_pdfPath);
    } else if (!chooser()(printer, m_parent)) {
        return 0;
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return 0; // no printer to draw on: the job ends without output
    PainterCanvas canvas(printer, painter, m_state.printFonts());
    ReportLayout layout(canvas, header(salesperson, comment));
    const int pages = body(layout);
    painter.end();
    return pages;
}

bool ReportPrinter::adjust(QString& salesperson, QString& comment)
{
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("printAdjustDialog"));
    dialog.setWindowTitle(uiText(strId(sid::AdjustPrintInformation_9331)));
    auto* seller = new QLineEdit(salesperson, &dialog);
    seller->setObjectName(QStringLiteral("salesperson"));
    auto* note = new QLineEdit(comment, &dialog);
    note->setObjectName(QStringLiteral("comment"));
    auto* form = new QFormLayout(&dialog);
    form->addRow(uiText(strId(sid::Salesperson_9024)), seller);
    form->addRow(uiText(strId(sid::Comment_9332)), note);
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(uiText(strId(sid::Ok_9324)), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    buttons->addButton(uiText(strId(sid::Cancel_9325)), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    salesperson = seller->text();
    comment = note->text();
    return true;
}

} // namespace kestrel
