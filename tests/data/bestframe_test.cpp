// "Лучший кадр" on generated photographs with one calm part and a busy rest:
// the framing found puts fewer texts below the threshold than the centre, and
// its quick judgement agrees with the same texts over the picture placed at
// full quality.
#include "datatests.h"

#include "design/bestframe.h"
#include "imaging/placement.h"
#include "skin/profiles.h"
#include "skin/sheet.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

TEST(BestFrame, TextsLandOnTheCalmPart)
{
    IconSheets icons;
    ASSERT_TRUE(readIconSheets(programFilesIn(test::programFile(QString())), icons).ok());
    struct Case {
        const char *name;
        int profile;
        int picture;
        QRect calm;  // in the 1200 x 800 source; the rest a fine black and white chequer
    } cases[] = {
        {"contacts, calm left", 3, Contacts, QRect(0, 0, 480, 800)},
        {"contacts, calm right", 6, Contacts, QRect(720, 0, 480, 800)},
        {"chat, calm left", 4, Chat, QRect(0, 0, 500, 800)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QImage sheet = test::templateSheet(c.profile);
        ASSERT_FALSE(sheet.isNull());
        const std::vector<design::InkOnPicture> ink = design::textInkOnPicture(sheet, c.profile, icons, c.picture);
        ASSERT_FALSE(ink.empty());
        // The calm part in the tone the first text reads on.
        const QRgb calm = qGray(ink.front().colour) < 128 ? qRgb(235, 235, 235) : qRgb(20, 20, 20);
        QImage source(1200, 800, QImage::Format_RGB32);
        for (int y = 0; y < source.height(); ++y)
            for (int x = 0; x < source.width(); ++x)
                source.setPixel(x, y, c.calm.contains(x, y) ? calm
                                                            : ((x / 2 + y / 2) % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255)));
        const QImage under = cutOutPicture(sheet, c.profile, c.picture);
        const auto placedAt = [&](std::optional<QPointF> focus, double zoom) {
            return placeImage(source, under, {FitMode::Cover, coverCrop(source.size(), under.size(), focus, zoom)});
        };
        const design::FrameScore centre = design::scoreFrame(ink, placedAt({}, 1.0), 4.5);
        const design::BestFrame best =
            design::findBestFrame(sheet, c.profile, icons, c.picture, source, 4.5);
        const design::FrameScore real = design::scoreFrame(ink, placedAt(best.focus, best.zoom), 4.5);
        EXPECT_GT(centre.failing, 0);
        EXPECT_LT(real.failing, centre.failing);
        EXPECT_EQ(real.failing, best.score.failing);
    }
}

} // namespace
} // namespace zelkor
