#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QStringList>

#include "report/ReportCanvas.h"

class QPainter;
class QPrinter;

namespace kestrel {

// The report canvas on a printer: lengths in 0.1 mm from the top left corner of the printable
// area, y growing upwards (so the page lies at y <= 0), as the report layout works. Text is
// drawn at 10 points in the print font faces (regular, bold, italic; see PrintFonts.h): normal
// text in the regular face at weight 400, bold text in the bold face at weight 700, message texts
// in the italic face at weight 400.
class PainterCanvas final : public ReportCanvas
{
public:
    // painter is active on printer.
    PainterCanvas(QPrinter& printer, QPainter& painter, const QStringList& faces);
    // Every text in `family`, upright.
    PainterCanvas(QPrinter& printer, QPainter& painter, const QString& family);

    int pageWidth() const override { return m_pageWidth; }
    int pageHeight() const override { return m_pageHeight; }
    int textWidth(const QString& text, bool bold) const override;
    int lineHeight(bool bold) const override;

    void beginPage() override;
    void endPage() override;
    void drawText(int x, int y, const QString& text, bool bold) override;
    void drawLine(int x1, int y1, int x2, int y2) override;
    void useMessageFont(bool on) override { m_messageText = on; }

    // The fonts drawn with (tests).
    const QFont& font(bool bold) const { return bold ? m_bold : (m_messageText ? m_message : m_normal); }

    int pagesBegun() const { return m_pages; }

private:
    // Device units per 0.1 mm.
    double m_scale = 1.0;
    int m_pageWidth = 0;
    int m_pageHeight = 0;
    QPrinter& m_printer;
    QPainter& m_painter;
    const QFontMetricsF& metrics(bool bold) const
    {
        return bold ? m_boldMetrics : (m_messageText ? m_messageMetrics : m_normalMetrics);
    }

    QFont m_normal;
    QFont m_bold;
    QFont m_message;
    QFontMetricsF m_normalMetrics;
    QFontMetricsF m_boldMetrics;
    QFontMetricsF m_messageMetrics;
    bool m_messageText = false;
    int m_pages = 0;
};

} // namespace kestrel
