#include "app/WindowCascade.h"

#include <algorithm>

namespace kestrel {

namespace {

// Inside the available area as far as the window's size allows: a side that would stick out
// starts again at the area's edge.
QPoint wrapped(QPoint p, QSize size, QRect available)
{
    if (!available.isValid())
        return p;
    if (p.x() + size.width() > available.right() + 1 || p.x() < available.left())
        p.setX(available.left());
    if (p.y() + size.height() > available.bottom() + 1 || p.y() < available.top())
        p.setY(available.top());
    return p;
}

} // namespace

QPoint WindowCascade::next(std::optional<QPoint> last, const std::vector<QPoint>& taken, QSize size, QRect available,
                           QPoint first)
{
    const QPoint step(kStep, kStep);
    QPoint p = wrapped(last ? *last + step : first, size, available);
    // One try more than there are open windows finds a free place unless the area holds fewer
    // places than that (then the last one tried is used).
    for (std::size_t tries = 0; tries <= taken.size(); ++tries) {
        if (std::find(taken.begin(), taken.end(), p) == taken.end())
            return p;
        const QPoint stepped = wrapped(p + step, size, available);
        // A window as large as the area: the diagonal has one place only; move sideways instead.
        p = stepped == p ? wrapped(p + QPoint(kStep, 0), size, available) : stepped;
    }
    return p;
}

} // namespace kestrel
