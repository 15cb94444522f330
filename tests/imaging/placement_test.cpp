// Placing a picture of any size into a sheet's picture rectangle, checked
// against Qt's own scaling and today's unscaled write-back.
#include "imaging/placement.h"
#include "skin/profiles.h"
#include "skin/sheet.h"
#include "testsupport.h"

#include <QPainter>

#include <gtest/gtest.h>

using namespace zelkor;
using namespace zelkor::test;

namespace {

constexpr QRgb kFrame = 0xff0ac81eu;

// A smooth picture with a one-pixel frame of kFrame, so its mean edge colour is known.
QImage framedGradient(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(255 * x / w, 255 * y / h, 128));
    for (int x = 0; x < w; ++x)
        img.setPixel(x, 0, kFrame), img.setPixel(x, h - 1, kFrame);
    for (int y = 0; y < h; ++y)
        img.setPixel(0, y, kFrame), img.setPixel(w - 1, y, kFrame);
    return img;
}

// Mean absolute difference of the channels.
double meanDifference(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// The picture as Qt's plain scaling and a copy would place it.
QImage reference(FitMode mode, const QImage &src, const QImage &under)
{
    const QSize t = under.size();
    QImage out = under.convertToFormat(QImage::Format_RGB32);
    QPainter p(&out);
    switch (mode) {
    case FitMode::AsIs:
        break;
    case FitMode::Stretch:
        p.drawImage(0, 0, src.scaled(t, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
        break;
    case FitMode::Cover: {
        const QImage big = src.scaled(t, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
        p.drawImage(0, 0, big.copy((big.width() - t.width()) / 2, (big.height() - t.height()) / 2, t.width(), t.height()));
        break;
    }
    case FitMode::Contain: {
        const QImage small = src.scaled(t, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        out.fill(kFrame);
        p.drawImage((t.width() - small.width()) / 2, (t.height() - small.height()) / 2, small);
        break;
    }
    }
    return out;
}

TEST(Placement, EveryModeAndSizeMatchesPlainScalingAndChangesOnlyTheRectangle)
{
    const int profile = 3, picture = Contacts;  // 240 x 304 at row 20
    const QRect rect = pictureRect(picture, profile)->rect();
    const QImage sheet = coordinateSheet(240, 740);
    const QSize sources[] = {{1600, 1200}, {960, 1216}, {60, 76}, {1600, 300}, {50, 900}, {240, 304}};
    for (const FitModeName &m : fitModeNames())
        for (const QSize &s : sources) {
            SCOPED_TRACE(testing::Message() << m.key << ' ' << s.width() << 'x' << s.height());
            const QImage src = framedGradient(s.width(), s.height());
            QImage placed = sheet;
            ASSERT_TRUE(placePicture(placed, profile, picture, src, {m.mode}));
            QImage expected = sheet;
            if (m.mode == FitMode::AsIs)
                ASSERT_TRUE(writeBackPicture(expected, profile, picture, src));  // today's write-back, exactly
            else
                writeBackPicture(expected, profile, picture, reference(m.mode, src, sheet.copy(rect)));
            for (int y = 0; y < sheet.height(); ++y)
                if (y < rect.top() || y > rect.bottom())
                    ASSERT_EQ(0, memcmp(placed.constScanLine(y), sheet.constScanLine(y), sheet.bytesPerLine())) << y;
            EXPECT_LT(meanDifference(placed.copy(rect), expected.copy(rect)), m.mode == FitMode::AsIs ? 1e-9 : 0.5);
        }
}

TEST(Placement, TransparentPixelsKeepTheOldOnesAndFineDetailDoesNotAlias)
{
    QImage clear(300, 500, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    const QImage under = coordinateSheet(176, 188);
    for (const FitModeName &m : fitModeNames())
        EXPECT_EQ(placeImage(clear, under, {m.mode}), under) << m.key;

    // One-pixel black and white columns shrunk almost tenfold: a grey field, no moiré.
    QImage stripes(4000, 300, QImage::Format_RGB32);
    for (int x = 0; x < stripes.width(); ++x)
        for (int y = 0; y < stripes.height(); ++y)
            stripes.setPixel(x, y, x % 2 ? 0xffffffffu : 0xff000000u);
    const QImage grey = smoothScaled(stripes, QSize(416, 31));
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            ASSERT_NEAR(qGreen(grey.pixel(x, y)), 128, 3) << x << ',' << y;
}

TEST(Placement, CoverCropIsTheLargestOfTheTargetsProportionsAroundTheFocus)
{
    struct Row {
        QSize source, target;
        std::optional<QPointF> focus;
        double zoom;
        QRect crop;
    };
    const Row rows[] = {
        {{4000, 3000}, {416, 320}, {}, 1, {50, 0, 3900, 3000}},
        {{4000, 3000}, {416, 320}, QPointF(0, 0), 1, {0, 0, 3900, 3000}},
        {{4000, 3000}, {416, 320}, QPointF(4000, 10), 1, {100, 0, 3900, 3000}},
        {{4000, 3000}, {416, 320}, QPointF(1000, 1000), 2, {25, 250, 1950, 1500}},
        {{4000, 3000}, {416, 320}, {}, 0.5, {50, 0, 3900, 3000}},  // no zoom below 1
        {{300, 900}, {416, 320}, {}, 1, {0, 335, 300, 231}},
        {{1000, 333}, {416, 320}, {}, 1, {284, 0, 433, 333}},  // 432.9 wide: rounded, not cut
        {{333, 1000}, {320, 416}, {}, 1, {0, 284, 333, 433}},
        {{10, 10}, {416, 36}, {}, 1, {0, 5, 10, 1}},
        {{0, 10}, {416, 36}, {}, 1, {}},
    };
    for (const Row &r : rows)
        EXPECT_EQ(coverCrop(r.source, r.target, r.focus, r.zoom), r.crop)
            << r.source.width() << 'x' << r.source.height() << " zoom " << r.zoom;

    // The crop chosen is the crop shown: the red left half alone.
    QImage halves(400, 100, QImage::Format_RGB32);
    halves.fill(Qt::blue);
    QPainter(&halves).fillRect(0, 0, 200, 100, Qt::red);
    const QImage shown = placeImage(halves, QSize(50, 50), {FitMode::Cover, coverCrop(halves.size(), {50, 50}, QPointF(0, 50))});
    EXPECT_EQ(shown.pixel(49, 49), qRgb(255, 0, 0));
}

TEST(Placement, ContainPutsTheFittedPictureExactlyWhereTheMarginsSplit)
{
    // Odd margins: the extra pixel goes to the far side. A flat source scales
    // to the same flat colour, so every pixel is known exactly.
    struct Row {
        QSize source, target;
        QRect inside;
    };
    const Row rows[] = {
        {{200, 100}, {100, 101}, {0, 25, 100, 50}},
        {{100, 200}, {101, 100}, {25, 0, 50, 100}},
        {{300, 100}, {100, 36}, {0, 1, 100, 33}},
        {{10, 10}, {176, 20}, {78, 0, 20, 20}},
    };
    constexpr QRgb kMargin = 0xff0000ffu, kPicture = 0xffff0000u;
    for (const Row &r : rows) {
        QImage flat(r.source, QImage::Format_RGB32);
        flat.fill(kPicture);
        const QImage placed = placeImage(flat, r.target, {FitMode::Contain, {}, kMargin});
        ASSERT_EQ(placed.size(), r.target);
        for (int y = 0; y < placed.height(); ++y)
            for (int x = 0; x < placed.width(); ++x)
                ASSERT_EQ(placed.pixel(x, y), r.inside.contains(x, y) ? kPicture : kMargin)
                    << r.source.width() << 'x' << r.source.height() << " in " << r.target.width() << 'x'
                    << r.target.height() << " at " << x << ',' << y;
    }
}

} // namespace
