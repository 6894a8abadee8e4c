#include "ui/PainterCanvas.h"

#include <cmath>

#include <QFontDatabase>
#include <QPainter>
#include <QPen>
#include <QPrinter>

#include "report/PrintFonts.h"

namespace kestrel {

namespace {

QFont printFont(const QString& face, PrintFontSlot slot, QPaintDevice* device)
{
    const PrintFace resolved = resolvePrintFace(face, QFontDatabase::families());
    QFont font(resolved.family, 10, slot == PrintFontSlot::Bold ? QFont::Bold : QFont::Normal, resolved.italic);
    return QFont(font, device);
}

} // namespace

PainterCanvas::PainterCanvas(QPrinter& printer, QPainter& painter, const QStringList& faces)
    : m_printer(printer), m_painter(painter),
      m_normal(printFont(printFaceOf(faces, PrintFontSlot::Regular), PrintFontSlot::Regular, &printer)),
      m_bold(printFont(printFaceOf(faces, PrintFontSlot::Bold), PrintFontSlot::Bold, &printer)),
      m_message(printFont(printFaceOf(faces, PrintFontSlot::Italic), PrintFontSlot::Italic, &printer)),
      m_normalMetrics(m_normal, &printer), m_boldMetrics(m_bold, &printer), m_messageMetrics(m_message, &printer)
{
    m_scale = printer.logicalDpiY() / 254.0;
    const QRectF area = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    m_pageWidth = static_cast<int>(area.width() * 10.0);
    m_pageHeight = static_cast<int>(area.height() * 10.0);
}

PainterCanvas::PainterCanvas(QPrinter& printer, QPainter& painter, const QString& family)
    : PainterCanvas(printer, painter, QStringList{family, family, family})
{}

int PainterCanvas::textWidth(const QString& text, bool bold) const
{
    const QFontMetricsF& m = metrics(bold);
    return static_cast<int>(std::ceil(m.horizontalAdvance(text) / m_scale));
}

int PainterCanvas::lineHeight(bool bold) const
{
    const QFontMetricsF& m = metrics(bold);
    return static_cast<int>(std::ceil(m.height() / m_scale));
}

void PainterCanvas::beginPage()
{
    // The painter began on the first page already.
    if (m_pages > 0)
        m_printer.newPage();
    ++m_pages;
}

void PainterCanvas::endPage() {}

void PainterCanvas::drawText(int x, int y, const QString& text, bool bold)
{
    const QFontMetricsF& m = metrics(bold);
    m_painter.setFont(font(bold));
    m_painter.setPen(Qt::black);
    m_painter.drawText(QPointF(x * m_scale, -y * m_scale + m.ascent()), text);
}

void PainterCanvas::drawLine(int x1, int y1, int x2, int y2)
{
    // A rule of 0.2 mm.
    m_painter.setPen(QPen(Qt::black, 2 * m_scale));
    m_painter.drawLine(QPointF(x1 * m_scale, -y1 * m_scale), QPointF(x2 * m_scale, -y2 * m_scale));
}

} // namespace kestrel
