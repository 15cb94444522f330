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
    const QSize areas[] = {{1366, 768}, {1920, 1080}, {2560, 1440}, {1280, 720}};
    const QMargins frame(4, 32, 4, 4);
    for (const QSize &available : areas)
        for (int profile = 1; profile <= 6; ++profile) {
            SCOPED_TRACE(testing::Message() << available.width() << "x" << available.height() << ", profile "
                                            << profile);
            NEED_DATA(profile);
            newSkin(profile);
            ui(*form).fitToArea(QRect(QPoint(0, 0), available), frame);
            // Never shown: the test platform's small screen would shrink the
            // window to itself. Drawing it lays it out at the fitted size.
            form->grab();
            QApplication::processEvents();
            EXPECT_LE(form->width() + frame.left() + frame.right(), available.width());
            EXPECT_LE(form->height() + frame.top() + frame.bottom(), available.height());

            // The stage is in sight, and it leaves out nothing of the phone
            // but the white around it.
            ZoomView *area = ui(*form)->previewArea;
            QWidget *viewport = area->viewport();
            const QRect stage(area->widget()->mapTo(viewport, QPoint(0, 0)), area->widget()->size());
            EXPECT_TRUE(viewport->rect().contains(stage)) << stage.x() << "," << stage.y() << " " << stage.width()
                                                          << "x" << stage.height() << " in " << viewport->width()
                                                          << "x" << viewport->height();
            const QImage photo = area->photo().convertToFormat(QImage::Format_RGB32);
            const QRect shown = area->shownPart();
            int hidden = 0;
            for (int y = 0; y < photo.height(); ++y)
                for (int x = 0; x < photo.width(); ++x)
                    if (!shown.contains(x, y) && qGray(photo.pixel(x, y)) < 240)
                        ++hidden;
            EXPECT_EQ(hidden, 0);
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
