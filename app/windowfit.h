#pragma once
// Where the main window goes on a screen, and whether its client area must
// scroll. The window has one fixed size; a screen whose available area (less
// panels and docks) cannot hold it gets a window as large as the area allows,
// with scroll bars around the client, instead of a window whose title bar or
// bottom lies off the screen. Pure arithmetic, so it can be tested for any
// screen without one.

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

class QWindow;

namespace zelkor {

// The window manager's frame around `window`; before it has framed the
// window (or when it is not made yet) a usual title bar and border, so that a
// window placed by it still fits the screen.
QMargins frameOrUsual(const QWindow *window);

struct WindowFit {
    QPoint framePos;   // top-left corner of the window manager's frame
    QSize size;        // the window's size inside the frame
    bool scrollsHorizontally = false;
    bool scrollsVertically = false;
};

// `available`: the screen's available area; `wanted`: the window's size inside
// its frame when nothing scrolls; `frame`: the window manager's frame around
// it; `scrollBar`: the thickness of a scroll bar, which a scrolling direction
// adds to the other one. The window is centred in every direction it fits in
// and put at the area's edge (never beyond it) in the others.
WindowFit fitWindow(const QRect &available, const QSize &wanted, const QMargins &frame, int scrollBar);

// The window as the last run left it -- `kept`: the frame's top-left corner
// and the window's size inside the frame -- when that whole frame lies inside
// `available`, else `fit`; so a window remembered on a screen that is gone or
// smaller comes back on screen.
WindowFit keptOnScreen(const QRect &available, const WindowFit &fit, const QMargins &frame,
                       const std::optional<QRect> &kept);

// Where a dialog whose frame is `dialog` large goes in `available` so that it
// leaves `keep` (what the dialog changes, which the user must see meanwhile)
// uncovered: beside `keep`, on its right, left, lower or upper side, the
// first of these with room, and as near to `keep`'s middle as the area
// allows. Nothing when no side has room.
std::optional<QPoint> besideRect(const QRect &available, const QSize &dialog, const QRect &keep);

} // namespace zelkor
