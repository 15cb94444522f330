// Where the main window goes on screens of every size, and when its client
// scrolls: the frame never leaves the available area, whatever it is.
#include "app/windowfit.h"

#include <gtest/gtest.h>

using namespace zelkor;

namespace {

// The window as the editor builds it: the 1016 x 684 client under a 21-pixel menu.
const QSize kWanted(1016, 705);
const QMargins kFrame(4, 32, 4, 4);
constexpr int kBar = 15;

struct FitCase {
    const char *screen;
    QRect available;
    QPoint framePos;
    QSize size;
    bool scrollsH;
    bool scrollsV;
};

const FitCase kCases[] = {
    // Room enough: centred, nothing scrolls.
    {"1920x1080", {0, 0, 1920, 1080}, {448, 169}, {1016, 705}, false, false},
    {"exact fit", {0, 0, 1024, 741}, {0, 0}, {1016, 705}, false, false},
    // Too low: the frame starts at the area's top, the client scrolls
    // vertically, and the bar's width is added so nothing scrolls sideways.
    {"1280x720, panel of 40 below", {0, 0, 1280, 680}, {120, 0}, {1031, 644}, false, true},
    // Wide enough only without a vertical bar: the bar makes it scroll sideways too.
    {"1030 wide, too low", {0, 0, 1030, 700}, {0, 0}, {1022, 664}, true, true},
    // Too narrow but high enough: the horizontal bar is added below.
    {"1000x900", {0, 0, 1000, 900}, {0, 72}, {992, 720}, true, false},
    {"1024x600 netbook", {0, 0, 1024, 600}, {0, 0}, {1016, 564}, true, true},
    // A second monitor right of the first, with a panel on top.
    {"second monitor 800x600", {1920, 24, 800, 576}, {1920, 24}, {792, 540}, true, true},
};

class WindowFitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(WindowFitTest, FrameStaysInTheAvailableAreaAndTheClientScrollsWhenItMust)
{
    const FitCase &c = GetParam();
    SCOPED_TRACE(c.screen);
    const WindowFit fit = fitWindow(c.available, kWanted, kFrame, kBar);
    EXPECT_EQ(fit.framePos, c.framePos);
    EXPECT_EQ(fit.size, c.size);
    EXPECT_EQ(fit.scrollsHorizontally, c.scrollsH);
    EXPECT_EQ(fit.scrollsVertically, c.scrollsV);
    EXPECT_TRUE(c.available.contains(QRect(fit.framePos, fit.size.grownBy(kFrame))));
}

INSTANTIATE_TEST_SUITE_P(Screens, WindowFitTest, ::testing::ValuesIn(kCases));

// A dialog that must leave the preview it changes in sight.
TEST(BesideRect, SideWithRoomNearestTheMiddleAndNeverOverTheKeptArea)
{
    const QSize dialog(583, 392);
    const QRect screen(0, 0, 1600, 1000);
    const struct {
        const char *name;
        QRect available, keep;
        std::optional<QPoint> at;
    } cases[] = {
        {"room on the right", screen, {700, 100, 240, 320}, QPoint(948, 64)},
        {"only on the left", screen, {1000, 100, 240, 320}, QPoint(409, 64)},
        {"only below", screen, {100, 50, 1400, 300}, QPoint(508, 358)},
        {"only above", screen, {100, 600, 1400, 300}, QPoint(508, 200)},
        {"kept at the top edge", screen, {200, 0, 100, 100}, QPoint(308, 0)},
        {"on a second screen", {1600, 0, 1280, 1024}, {1700, 100, 240, 320}, QPoint(1948, 64)},
        {"no room at all", screen, {100, 100, 1400, 800}, std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const auto at = besideRect(c.available, dialog, c.keep);
        EXPECT_EQ(at, c.at);
        if (at) {
            EXPECT_TRUE(c.available.contains(QRect(*at, dialog)));
            EXPECT_FALSE(QRect(*at, dialog).intersects(c.keep));
        }
    }
}

} // namespace
