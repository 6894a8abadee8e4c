#pragma once

#include <QFont>
#include <QFontMetricsF>

#include "report/ReportCanvas.h"

class QPainter;
class QPrinter;

namespace kestrel {

// The report canvas on a printer: lengths in 0.1 mm from the top left corner of the printable
// area, y growing upwards (so the page lies at y <= 0), as the report layout works. Text is
// drawn in `family` at 10 points, normal (weight 400) or bold (weight 700).
class PainterCanvas final : public ReportCanvas
{
public:
    // painter is active on printer.
    PainterCanvas(QPrinter& printer, QPainter& painter, const QString& family);

    int pageWidth() const override { return m_pageWidth; }
    int pageHeight() const override { return m_pageHeight; }
    int textWidth(const QString& text, bool bold) const override;
    int lineHeight(bool bold) const override;

    void beginPage() override;
    void endPage() override;
    void drawText(int x, int y, const QString& text, bool bold) override;
    void drawLine(int x1, int y1, int x2, int y2) override;

    int pagesBegun() const { return m_pages; }

private:
    // Device units per 0.1 mm.
    double m_scale = 1.0;
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    QPrinter& m_printer;
    QPainter& m_painter;
    QFont m_normal;
    QFont m_bold;
    QFontMetricsF m_normalMetrics;
    QFontMetricsF m_boldMetrics;
    int m_pages = 0;
};

} // namespace kestrel
