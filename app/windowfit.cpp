#include "windowfit.h"

#include <QWindow>

#include <algorithm>

namespace zelkor {

QMargins frameOrUsual(const QWindow *window)
{
    if (window && !window->frameMargins().isNull())
        return window->frameMargins();
    return QMargins(4, 32, 4, 4);
}

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

std::optional<QPoint> besideRect(const QRect &available, const QSize &dialog, const QRect &keep)
{
    constexpr int gap = 8;
    // The dialog's top-left corner in one direction, clamped into the area.
    const auto within = [](int wanted, int low, int high) { return std::max(low, std::min(wanted, high)); };
    const int x = within(keep.left() + (keep.width() - dialog.width()) / 2, available.left(), available.right() + 1 - dialog.width());
    const int y = within(keep.top() + (keep.height() - dialog.height()) / 2, available.top(), available.bottom() + 1 - dialog.height());
    const QPoint sides[] = {
        {keep.right() + 1 + gap, y},
        {keep.left() - gap - dialog.width(), y},
        {x, keep.bottom() + 1 + gap},
        {x, keep.top() - gap - dialog.height()},
    };
    for (const QPoint &at : sides) {
        const QRect placed(at, dialog);
        if (available.contains(placed) && !placed.intersects(keep))
            return at;
    }
    return std::nullopt;
}

} // namespace zelkor
