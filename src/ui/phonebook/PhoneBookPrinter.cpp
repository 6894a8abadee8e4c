#include "ui/phonebook/PhoneBookPrinter.h"

#include <algorithm>
#include <cmath>

#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "app/AppState.h"
#include "base/StringTable.h"
#include "report/ReportLayout.h"
#include "sim/SimCard.h"
#include "ui/phonebook/AdjustPrintDialog.h"

namespace kestrel {

namespace {

// A ReportCanvas over a QPainter on a paged device, in 0.1 mm with y growing upwards from the top
// of the printable area (everything on the page at y <= 0).
class PainterCanvas final : public ReportCanvas
{
public:
    PainterCanvas(QPagedPaintDevice& device, const QString& family)
        : m_device(device), m_normal(family, 10), m_bold(family, 10)
    {
        m_normal.setWeight(QFont::Normal);
        m_bold.setWeight(QFont::Bold);
        m_dotsX = device.logicalDpiX() / 254.0;
        m_dotsY = device.logicalDpiY() / 254.0;
    }

    bool active() const { return m_painter.isActive(); }

    int pageWidth() const override { return static_cast<int>(m_device.width() / m_dotsX); }
    int pageHeight() const override { return static_cast<int>(m_device.height() / m_dotsY); }
    int textWidth(const QString& text, bool bold) const override
    {
        return static_cast<int>(std::ceil(metrics(bold).horizontalAdvance(text) / m_dotsX));
    }
    int lineHeight(bool bold) const override { return static_cast<int>(std::ceil(metrics(bold).height() / m_dotsY)); }

    void beginPage() override
    {
        if (!m_painter.isActive()) {
            m_painter.begin(&m_device);
            return;
        }
        m_device.newPage();
    }
    void endPage() override {}
    void drawText(int x, int y, const QString& text, bool bold) override
    {
        if (!m_painter.isActive())
            return;
        m_painter.setFont(bold ? m_bold : m_normal);
        m_painter.drawText(QPointF(x * m_dotsX, -y * m_dotsY + metrics(bold).ascent()), text);
    }
    void drawLine(int x1, int y1, int x2, int y2) override
    {
        if (m_painter.isActive())
            m_painter.drawLine(QPointF(x1 * m_dotsX, -y1 * m_dotsY), QPointF(x2 * m_dotsX, -y2 * m_dotsY));
    }

    void finish()
    {
        if (m_painter.isActive())
            m_painter.end();
    }

private:
    QFontMetricsF metrics(bool bold) const { return QFontMetricsF(bold ? m_bold : m_normal, &m_device); }

    QPagedPaintDevice& m_device;
    QPainter m_painter;
    QFont m_normal;
    QFont m_bold;
    double m_dotsX = 1;
    double m_dotsY = 1;
};

QByteArray heldIccid(AppState& app)
{
    const SimCard* sim = app.simCard();
    if (!sim)
        return {};
    const auto& bytes = sim->iccid();
    // A card never read leaves the array as it was made: all zero.
    if (std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; }))
        return {};
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

} // namespace

std::optional<ReportHeader> PhoneBookPrinter::jobHeader(AppState& app, QWidget* parent)
{
    const AppSettings& s = app.settings();
    ReportHeader header;
    header.shop = s.provozovna;
    header.address = s.address;
    header.phone = s.phone;
    header.fax = s.fax;
    header.email = s.email;
    header.salesperson = s.prodejce;
    header.comment = s.poznamka;
    if (s.prnHdrAdj == 1) {
        AdjustPrintDialog adjust(header.salesperson, header.comment, parent);
        if (adjust.exec() != QDialog::Accepted)
            return std::nullopt;
        header.salesperson = adjust.salesperson();
        header.comment = adjust.comment();
    }
    header.printTime = QDateTime::currentDateTime();
    header.iccid = heldIccid(app);
    return header;
}

int PhoneBookPrinter::print(QPagedPaintDevice& device, const QList<DialEntry>& entries, const ReportHeader& header,
                            const QString& fontFamily)
{
    PainterCanvas canvas(device, fontFamily);
    ReportLayout layout(canvas, header);
    const int pages = layout.printPhoneBook(entries);
    const bool printed = canvas.active();
    canvas.finish();
    return printed ? pages : 0;
}

int PhoneBookPrinter::printWithDialogs(AppState& app, const QList<DialEntry>& entries, QWidget* parent)
{
    const std::optional<ReportHeader> header = jobHeader(app, parent);
    if (!header)
        return 0;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return 0;
    printer.setDocName(StringTable::text(2300));
    const QString family = app.printFonts().value(0, QStringLiteral("Arial"));
    return print(printer, entries, *header, family);
}

} // namespace kestrel
