#include "windowfit.h"

#include <algorithm>

namespace zelkor {

WindowFit fitWindow(const QRect &available, const QSize &wanted, const QMargins &frame, int scrollBar)
{
    const QSize room = available.size().shrunkBy(frame);
    WindowFit fit;
    // A vertical scroll bar takes width and a horizontal one height, which may
    // make the other direction scroll too; two rounds settle it.
    for (int round = 0; round < 2; ++round) {
        fit.scrollsHorizontally = wanted.width() + (fit.scrollsVertically ? scrollBar : 0) > room.width();
        fit.scrollsVertically = wanted.height() + (fit.scrollsHorizontally ? scrollBar : 0) > room.height();
    }
    const QSize needed(wanted.width() + (fit.scrollsVertically ? scrollBar : 0),
                       wanted.height() + (fit.scrollsHorizontally ? scrollBar : 0));
    fit.size = needed.boundedTo(room).expandedTo(QSize(0, 0));

    const QSize outer = fit.size.grownBy(frame);
    fit.framePos = available.topLeft()
        + QPoint(std::max(0, (available.width() - outer.width()) / 2),
                 std::max(0, (available.height() - outer.height()) / 2));
    return fit;
}

WindowFit keptOnScreen(const QRect &available, const WindowFit &fit, const QMargins &frame,
                       const std::optional<QRect> &kept)
{
    if (!kept || kept->isEmpty() || !available.contains(QRect(kept->topLeft(), kept->size().grownBy(frame))))
        return fit;
    return {kept->topLeft(), kept->size(), false, false};
}

} // namespace zelkor
