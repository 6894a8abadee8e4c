#pragma once

#include <QString>

namespace kestrel {

// What the report layout needs from a printer. All lengths are in 0.1 mm. The coordinate system is
// the printer's metric mode: x grows to the right from the page's left edge, y grows upwards from
// the page's top edge, so everything on the page has y <= 0. A text is drawn with its top left
// corner at (x, y) and extends downwards by lineHeight().
class ReportCanvas
{
public:
    virtual ~ReportCanvas() = default;

    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    virtual int textWidth(const QString& text, bool bold) const = 0;
    virtual int lineHeight(bool bold) const = 0;

    virtual void beginPage() = 0;
    virtual void endPage() = 0;
    virtual void drawText(int x, int y, const QString& text, bool bold) = 0;
    virtual void drawLine(int x1, int y1, int x2, int y2) = 0;

    // While on, text that is not bold is measured and drawn in the font of printed message texts
    // (the message list's bodies); a canvas with one normal font ignores it.
    virtual void useMessageFont(bool on) { (void)on; }
};

} // namespace kestrel
