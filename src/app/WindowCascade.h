#pragma once

#include <optional>
#include <vector>

#include <QPoint>
#include <QRect>
#include <QSize>

namespace kestrel {

// Where a new editor window goes: one step (+20, +20) on from the window opened last that is still
// open, or at `first` when none is; a window that would leave the screen's available area starts
// again at that area's left or top edge; a place an open window already holds is passed over, so
// two new windows never share a position while the area has room for them.
struct WindowCascade
{
    static constexpr int kStep = 20;

    // last: the position of the window opened last that is still open; taken: the positions of the
    // open windows; size: the new window's size (frame included where known).
    static QPoint next(std::optional<QPoint> last, const std::vector<QPoint>& taken, QSize size, QRect available,
                       QPoint first);
};

} // namespace kestrel
