// The workspace on the screens a skin author uses: on each available area
// (1366 x 768, 1920 x 1080, 2560 x 1440, and 2560 x 1440 at scale factor 2,
// which leaves 1280 x 720 logical pixels) and each phone, the window as it
// first opens shows the whole phone at x1 or more and all thirteen swatches
// without scrolling.
#include "filesfixture.h"
#include "skin/profiles.h"

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>

using namespace zelkor;
using namespace zelkor::test;

namespace {

class WorkspaceTest : public FilesTest {};

TEST_F(WorkspaceTest, PhoneAndSwatchesAreInSightOnCommonScreens)
{
    const struct {
        QSize available;
        std::vector<int> profiles;  // those whose phone must show whole at x1
    } cases[] = {
        {{1366, 768}, {1, 2, 3, 4, 5, 6}},
        {{1920, 1080}, {1, 2, 3, 4, 5, 6}},
        {{2560, 1440}, {1, 2, 3, 4, 5, 6}},
        // 680-pixel portrait phones and the menu and status bars need more
        // than 720: only the landscape ones fit there at x1.
        {{1280, 720}, {2, 4, 6}},
    };
    const QMargins frame(4, 32, 4, 4);
    for (const auto &c : cases)
        for (int profile : c.profiles) {
            SCOPED_TRACE(testing::Message() << c.available.width() << "x" << c.available.height() << ", profile "
                                            << profile);
            NEED_DATA(profile);
            newSkin(profile);
            ui(*form).fitToArea(QRect(QPoint(0, 0), c.available), frame);
            // Never shown: the test platform's small screen would shrink the
            // window to itself. Drawing it lays it out at the fitted size.
            form->grab();
            QApplication::processEvents();
            EXPECT_LE(form->width() + frame.left() + frame.right(), c.available.width());
            EXPECT_LE(form->height() + frame.top() + frame.bottom(), c.available.height());

            QWidget *viewport = ui(*form)->previewArea->viewport();
            const QRect phone(ui(*form)->phone->mapTo(viewport, QPoint(0, 0)), ui(*form)->phone->size());
            EXPECT_TRUE(viewport->rect().contains(phone)) << phone.x() << "," << phone.y() << " " << phone.width()
                                                          << "x" << phone.height() << " in " << viewport->width()
                                                          << "x" << viewport->height();
            EXPECT_GE(ui(*form)->previewArea->zoom(), 1);

            QScrollArea *controls = ui(*form)->controlsArea;
            EXPECT_EQ(controls->verticalScrollBar()->maximum(), 0);
            for (int i = 0; i < kColourSlotCount; ++i) {
                const QRect swatch(ui(*form)->dx[i]->mapTo(controls->viewport(), QPoint(0, 0)), ui(*form)->dx[i]->size());
                EXPECT_TRUE(controls->viewport()->rect().contains(swatch)) << "swatch " << i;
            }
        }
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

} // namespace
