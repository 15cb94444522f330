// The drawing surface that every preview screen draws with.
#include "preview/canvas.h"
#include "testsupport.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

using namespace zelkor;
using namespace zelkor::test;

namespace {

constexpr QRgb kWhite = 0xffffffffu;

QImage whiteImage(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kWhite);
    return img;
}

struct BlitCase {
    const char *name;
    int dx, dy, w, h, sx, sy;
};

class BlitClipping : public testing::TestWithParam<BlitCase> {};

// Every target pixel is either the source pixel the block maps to, or white
// where the block does not reach, or reaches outside the source.
TEST_P(BlitClipping, CopiesExactlyTheOverlap)
{
    const BlitCase c = GetParam();
    const QImage src = coordinateSheet(40, 30);
    QImage dst = whiteImage(50, 35);
    blit(dst, c.dx, c.dy, c.w, c.h, src, c.sx, c.sy);
    for (int y = 0; y < dst.height(); ++y)
        for (int x = 0; x < dst.width(); ++x) {
            const int bx = x - c.dx, by = y - c.dy;
            const int sx = c.sx + bx, sy = c.sy + by;
            const bool copied = bx >= 0 && by >= 0 && bx < c.w && by < c.h && sx >= 0 && sy >= 0 && sx < 40 && sy < 30;
            const QRgb want = copied ? coordinateColour(sy, sx) : kWhite;
            ASSERT_EQ(dst.pixel(x, y), want) << c.name << " at (" << x << ", " << y << ")";
        }
}

INSTANTIATE_TEST_SUITE_P(Canvas, BlitClipping,
                         testing::Values(BlitCase{"inside", 3, 4, 10, 8, 5, 6},
                                         BlitCase{"whole", 0, 0, 40, 30, 0, 0},
                                         BlitCase{"pastTargetRightBottom", 45, 30, 20, 20, 0, 0},
                                         BlitCase{"negativeTarget", -5, -3, 12, 9, 2, 2},
                                         BlitCase{"negativeSource", 4, 4, 10, 10, -3, -6},
                                         BlitCase{"pastSourceBottom", 0, 2, 40, 40, 0, 20},
                                         BlitCase{"pastSourceRight", 10, 0, 30, 5, 30, 0},
                                         BlitCase{"entirelyOutsideSource", 0, 0, 10, 10, 0, 30},
                                         BlitCase{"empty", 0, 0, 0, 5, 0, 0}),
                         [](const testing::TestParamInfo<BlitCase> &i) { return std::string(i.param.name); });

TEST(Canvas, AndOrCombineTheRgbValue)
{
    QImage src(2, 1, QImage::Format_RGB32);
    src.setPixel(0, 0, qRgb(0x0f, 0xf0, 0x3c));
    src.setPixel(1, 0, qRgb(0x00, 0x00, 0x00));
    QImage dst(2, 1, QImage::Format_RGB32);
    dst.fill(qRgb(0x35, 0x35, 0x35));
    blit(dst, 0, 0, 2, 1, src, 0, 0, RasterOp::And);
    EXPECT_EQ(dst.pixel(0, 0), qRgb(0x05, 0x30, 0x34));
    EXPECT_EQ(dst.pixel(1, 0), qRgb(0, 0, 0));
    dst.fill(qRgb(0x35, 0x35, 0x35));
    blit(dst, 0, 0, 2, 1, src, 0, 0, RasterOp::Or);
    EXPECT_EQ(dst.pixel(0, 0), qRgb(0x3f, 0xf5, 0x3d));
    EXPECT_EQ(dst.pixel(1, 0), qRgb(0x35, 0x35, 0x35));
}

TEST(Canvas, BlitReadsOtherSourceFormats)
{
    QImage src = coordinateSheet(8, 8).convertToFormat(QImage::Format_RGB888);
    QImage dst = whiteImage(8, 8);
    blit(dst, 0, 0, 8, 8, src, 0, 0);
    EXPECT_EQ(dst.pixel(7, 5), coordinateColour(5, 7));
}

TEST(Canvas, FillAndRectangleExcludeRightAndBottomEdges)
{
    QImage img = whiteImage(20, 20);
    Canvas c(&img);
    c.setBrushColor(qRgb(1, 2, 3));
    c.setPenColor(qRgb(9, 9, 9));
    c.fillRect(2, 3, 6, 8);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool in = x >= 2 && x < 6 && y >= 3 && y < 8;
            ASSERT_EQ(img.pixel(x, y), in ? qRgb(1, 2, 3) : kWhite) << x << ", " << y;
        }

    img.fill(kWhite);
    c.rectangle(10, 10, 15, 19);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool in = x >= 10 && x < 15 && y >= 10 && y < 19;
            const bool edge = in && (x == 10 || x == 14 || y == 10 || y == 18);
            ASSERT_EQ(img.pixel(x, y), edge ? qRgb(9, 9, 9) : in ? qRgb(1, 2, 3) : kWhite) << x << ", " << y;
        }

    // Clipped at the image's edges; a clear brush leaves the interior alone.
    img.fill(kWhite);
    c.setBrushClear();
    c.rectangle(-1, -1, 4, 4);
    EXPECT_EQ(img.pixel(3, 0), qRgb(9, 9, 9));
    EXPECT_EQ(img.pixel(0, 3), qRgb(9, 9, 9));
    EXPECT_EQ(img.pixel(1, 1), kWhite);
}

TEST(Canvas, FontSizesAtNinetySixPixelsPerInch)
{
    EXPECT_EQ(pointsToPixels(8), 11);
    EXPECT_EQ(pointsToPixels(11), 15);
    EXPECT_EQ(pointsToPixels(18), 24);
    const QFont f = previewFont(18);
    EXPECT_EQ(f.pixelSize(), 24);
    EXPECT_TRUE(f.bold());
    EXPECT_EQ(QFontInfo(f).family(), QStringLiteral("Liberation Sans"));
}

struct TextRun {
    int changed = 0;      // pixels that are no longer white
    int textColour = 0;   // of them, in the text colour
    int brushColour = 0;  // of them, in the brush colour
    QRect bounds;         // of the changed pixels
};

TextRun runText(Canvas &c, QImage &img, int x, int y, const QString &s)
{
    img.fill(kWhite);
    c.textOut(x, y, s);
    TextRun r;
    for (int yy = 0; yy < img.height(); ++yy)
        for (int xx = 0; xx < img.width(); ++xx) {
            const QRgb p = img.pixel(xx, yy);
            if (p == kWhite)
                continue;
            ++r.changed;
            r.textColour += p == (c.textColor() | 0xff000000u);
            r.brushColour += p == c.brushColor();
            r.bounds |= QRect(xx, yy, 1, 1);
        }
    return r;
}

TEST(Canvas, TransparentTextDrawsOnlyGlyphsInItsCell)
{
    for (int points : {8, 11, 18}) {
        QImage img = whiteImage(200, 60);
        Canvas c(&img);
        c.setFontPoints(points);
        c.setTextColor(qRgb(200, 10, 30));
        c.setBrushColor(qRgb(0, 255, 0));
        c.setBrushClear();
        const QString s = QStringLiteral("Х-статус 15:40");
        const TextRun r = runText(c, img, 7, 9, s);
        const QSize cell = c.textExtent(s);
        EXPECT_EQ(cell.height(), QFontMetrics(previewFont(points)).height());
        EXPECT_GT(r.textColour, 20) << points;
        // No smoothing: every pixel drawn has exactly the text colour.
        EXPECT_EQ(r.changed, r.textColour) << points;
        EXPECT_TRUE(QRect(5, 9, cell.width() + 4, cell.height()).contains(r.bounds)) << points;
        // Glyphs start near the top-left of the cell, not above or far into it.
        EXPECT_LE(r.bounds.left(), 9) << points;
        EXPECT_LE(r.bounds.top(), 9 + cell.height() / 3) << points;

        // The same text elsewhere is the same picture shifted.
        const TextRun moved = runText(c, img, 20, 25, s);
        EXPECT_EQ(moved.bounds, r.bounds.translated(13, 16)) << points;
    }
}

TEST(Canvas, SettingABrushColourMakesTextOpaque)
{
    QImage img = whiteImage(200, 40);
    Canvas c(&img);
    c.setFontPoints(11);
    c.setTextColor(qRgb(0, 0, 0));
    c.setBrushClear();
    EXPECT_FALSE(c.brushSolid());
    c.setBrushColor(qRgb(10, 20, 30));
    EXPECT_TRUE(c.brushSolid());
    const QString s = QStringLiteral("Фильтр");
    const TextRun r = runText(c, img, 4, 6, s);
    const QSize cell = c.textExtent(s);
    EXPECT_EQ(r.bounds, QRect(QPoint(4, 6), cell));
    EXPECT_EQ(r.changed, r.textColour + r.brushColour);
    EXPECT_EQ(r.changed, cell.width() * cell.height());
    EXPECT_GT(r.textColour, 0);
}

TEST(Canvas, DrawingWithoutTargetDoesNothing)
{
    Canvas c;
    c.fillRect(0, 0, 5, 5);
    c.rectangle(0, 0, 5, 5);
    c.textOut(0, 0, QStringLiteral("x"));
    c.blit(0, 0, 2, 2, coordinateSheet(2, 2), 0, 0);
    QImage null;
    c.setTarget(&null);
    c.textOut(0, 0, QStringLiteral("x"));
    EXPECT_TRUE(null.isNull());
}

} // namespace
