// The pieces a skin from a picture is built of: the palette's key colour and
// accent, the strip that repeats without a seam, and where the crop goes.
#include "design/frompicture.h"
#include "design/interest.h"
#include "design/palette.h"
#include "design/skinparts.h"
#include "design/tonesolver.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace zelkor::design;

namespace {

double hue(const Lab &c)
{
    return std::atan2(c.b, c.a) * 180.0 / M_PI;
}

// A picture of stripes: each (colour, share of the width) in turn.
QImage stripes(std::initializer_list<std::pair<QRgb, double>> parts, int width = 200, int height = 50)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter p(&image);
    double x = 0;
    for (const auto &[colour, share] : parts) {
        p.fillRect(QRectF(x, 0, share * width, height), QColor(colour));
        x += share * width;
    }
    return image;
}

TEST(Palette, KeyIsTheMostUsedColourWithChromaAndGreyGivesANeutralScheme)
{
    const QRgb red = qRgb(200, 30, 30), blue = qRgb(30, 40, 200), grey = qRgb(128, 128, 128);
    struct Case {
        const char *name;
        QImage picture;
        bool neutral;
        QRgb key;     // the hue it must have (ignored when neutral)
        QRgb accent;
    } cases[] = {
        {"red over blue", stripes({{red, 0.7}, {blue, 0.3}}), false, red, blue},
        {"grey, a little blue", stripes({{grey, 0.8}, {blue, 0.2}}), false, blue, blue},
        {"grey with a speck", stripes({{grey, 0.99}, {red, 0.01}}), true, 0, 0},
        {"greys only", stripes({{qRgb(20, 20, 20), 0.5}, {qRgb(230, 230, 230), 0.5}}), true, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Palette p = extractPalette(c.picture);
        EXPECT_EQ(p.neutral, c.neutral);
        if (c.neutral) {
            EXPECT_LT(chroma(p.key), 1.0);
            continue;
        }
        EXPECT_NEAR(hue(p.key), hue(toLab(c.key)), 5.0);
        EXPECT_NEAR(hue(p.accent), hue(toLab(c.accent)), 5.0);
    }
    // Determinism, and the mean lightness of black and white halves.
    const QImage halves = stripes({{qRgb(0, 0, 0), 0.5}, {qRgb(255, 255, 255), 0.5}});
    EXPECT_NEAR(extractPalette(halves).meanLightness, 50.0, 1.0);
    const Palette once = extractPalette(stripes({{red, 0.7}, {blue, 0.3}}));
    const Palette twice = extractPalette(stripes({{red, 0.7}, {blue, 0.3}}));
    ASSERT_EQ(once.colours.size(), twice.colours.size());
    for (size_t i = 0; i < once.colours.size(); ++i)
        EXPECT_EQ(once.colours[i].rgb, twice.colours[i].rgb);
}

TEST(Palette, ToneKeepsHueAtTheAskedLightness)
{
    const Lab orange = toLab(qRgb(230, 120, 20));
    for (const double lightness : {5.0, 30.0, 60.0, 95.0}) {
        const Lab t = toLab(tone(orange, lightness));
        EXPECT_NEAR(t.L, lightness, 1.0);
        if (chroma(t) > 3)
            EXPECT_NEAR(hue(t), hue(orange), 4.0) << lightness;
    }
    EXPECT_EQ(tone(orange, 100), qRgb(255, 255, 255));
    EXPECT_EQ(tone(orange, 0), qRgb(0, 0, 0));
}

// Tiling the strip: the step from its last row to its first is no larger
// than the largest step between two neighbouring rows of the source.
TEST(SkinParts, StripRepeatsWithoutASeam)
{
    QImage source(40, 33, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y)
        std::fill_n(reinterpret_cast<QRgb *>(source.scanLine(y)), 40, qRgb(7 * y, 255 - 7 * y, 100));
    auto step = [](const QImage &image, int a, int b) {
        return std::abs(qRed(image.pixel(0, a)) - qRed(image.pixel(0, b)));
    };
    int largest = 0;
    for (int y = 1; y < source.height(); ++y)
        largest = std::max(largest, step(source, y - 1, y));
    ASSERT_GT(step(source, source.height() - 1, 0), 10 * largest);  // the source has a seam
    const QImage strip = seamlessStrip(source);
    EXPECT_LE(step(strip, strip.height() - 1, 0), largest);
}

TEST(SkinParts, VeilMovesEveryChannelTowardTheBase)
{
    QImage picture(2, 1, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(0, 100, 255));
    picture.setPixel(1, 0, qRgb(255, 255, 255));
    const QRgb base = qRgb(20, 20, 20);
    EXPECT_EQ(veiled(picture, base, 0).pixel(0, 0), qRgb(0, 100, 255));
    EXPECT_EQ(veiled(picture, base, 1).pixel(1, 0), base);
    EXPECT_EQ(veiled(picture, base, 0.5).pixel(0, 0), qRgb(10, 60, 138));
}

TEST(Interest, CropGoesWhereTheDetailIs)
{
    // A wide flat picture with a checkerboard in one third; a tall crop.
    struct Case {
        int detailLeft;  // where the checkerboard starts, of 300
        double expected;
    } cases[] = {{0, 50}, {100, 150}, {200, 250}};
    for (const Case &c : cases) {
        QImage picture(300, 100, QImage::Format_RGB32);
        picture.fill(qRgb(90, 120, 150));
        for (int y = 0; y < 100; ++y)
            for (int x = c.detailLeft; x < c.detailLeft + 100; ++x)
                if ((x / 5 + y / 5) % 2)
                    picture.setPixel(x, y, qRgb(250, 250, 250));
        EXPECT_NEAR(centreOfInterest(picture, QSize(100, 100)).x(), c.expected, 6.0) << c.detailLeft;
    }
    QImage flat(300, 100, QImage::Format_RGB32);
    flat.fill(Qt::gray);
    EXPECT_EQ(centreOfInterest(flat, QSize(100, 100)), QPointF(150, 50));
}

TEST(Interest, AStripIsCutWhereItsRowsChangeLeast)
{
    // A tall picture: a vertical gradient, a checkerboard and a flat band; a
    // strip of 240 x 33 goes to the flat band, never across the checkerboard.
    for (const int flatTop : {0, 250, 500}) {
        QImage picture(240, 600, QImage::Format_RGB32);
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 240; ++x)
                picture.setPixel(x, y, y >= flatTop && y < flatTop + 100 ? qRgb(40, 60, 40)
                                       : (y / 100) % 2 ? ((x / 6 + y / 6) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0))
                                                       : qRgb(y % 256, 100, 200));
        const QRect strip = zelkor::coverCrop(picture.size(), QSize(240, 33), centreOfCalm(picture, QSize(240, 33)));
        EXPECT_GE(strip.top(), flatTop - 6) << flatTop;  // within a row of the small copy it is judged on
        EXPECT_LE(strip.bottom(), flatTop + 100 + 6) << flatTop;
    }
}

// A JPEG is decoded at the smallest of 1/2, 1/4, 1/8 that still covers the
// largest background of the profile (all profiles for 0: 416 x 376); a file
// claiming too many pixels, or cut short, is refused.
TEST(ReadPicture, ScaledWhileDecodingAndBounded)
{
    QTemporaryDir folder;
    const QDir dir(folder.path());
    QImage photo(1600, 1200, QImage::Format_RGB32);
    photo.fill(qRgb(90, 140, 60));
    ASSERT_TRUE(photo.save(dir.filePath(QStringLiteral("p.jpg")), "JPEG"));
    QFile jpeg(dir.filePath(QStringLiteral("p.jpg"))), cut(dir.filePath(QStringLiteral("cut.jpg")));
    ASSERT_TRUE(jpeg.open(QIODevice::ReadOnly) && cut.open(QIODevice::WriteOnly));
    cut.write(jpeg.readAll().left(int(jpeg.size() / 2)));
    cut.close();
    // Bitmap headers claiming 11 000 x 10 000 pixels, and exactly as many as a
    // picture may have, with nothing after them.
    const auto header = [&](const char *name, qint32 width, qint32 height) {
        QByteArray bytes(54, '\0');
        bytes[0] = 'B', bytes[1] = 'M';
        qToLittleEndian<quint32>(54, bytes.data() + 10);
        qToLittleEndian<quint32>(40, bytes.data() + 14);
        qToLittleEndian<qint32>(width, bytes.data() + 18);
        qToLittleEndian<qint32>(height, bytes.data() + 22);
        qToLittleEndian<quint16>(1, bytes.data() + 26);
        qToLittleEndian<quint16>(24, bytes.data() + 28);
        QFile file(dir.filePath(QString::fromLatin1(name)));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == 54;
    };
    ASSERT_TRUE(header("bomb.bmp", 11000, 10000));
    ASSERT_TRUE(header("edge.bmp", 10000, 10000));
    ASSERT_EQ(10000LL * 10000, zelkor::kMaxPicturePixels);

    struct Case {
        const char *file;
        int profile;
        QSize size;         // invalid: refused
        const char *cause;  // in the message when refused
    } cases[] = {
        {"p.jpg", 1, {400, 300}, ""},   {"p.jpg", 0, {800, 600}, ""},
        {"cut.jpg", 1, {}, "обрезан"},
        {"bomb.bmp", 0, {}, "слишком велика"},
        {"edge.bmp", 0, {}, "обрезан"},  // not too large: refused only for what is missing
    };
    for (const Case &c : cases) {
        QImage image;
        const zelkor::Status s = readPicture(dir.filePath(QString::fromLatin1(c.file)), c.profile, image);
        EXPECT_EQ(s.ok(), c.size.isValid()) << c.file << " " << s.message.toStdString();
        EXPECT_EQ(image.size(), c.size.isValid() ? c.size : QSize(0, 0)) << c.file;
        EXPECT_TRUE(s.message.contains(QString::fromUtf8(c.cause))) << c.file << " " << s.message.toStdString();
    }
}

} // namespace

// The closed form against a brute-force walk over L* in steps of 0.05: over a
// grid of backgrounds, ratios, colours and both directions, at 24 bits and as
// a 16-bit save draws it, the solver says "cannot" exactly when no tone that
// way reaches the ratio, and otherwise gives one that reaches it with no tone
// more than a little nearer the backgrounds reaching it too; and so do a
// tone between the backgrounds and a far end it must stay short of, and a
// tone far enough from another colour, and the shift that puts a clamped
// gradient's row at a tone.
TEST(ToneSolver, ClosedFormAgreesWithBruteForce)
{
    const AsDrawn c16 = asDrawnAtDepth(QStringLiteral("/c16"));
    const Lab colours[] = {toLab(qRgb(200, 40, 40)), toLab(qRgb(40, 90, 220)), toLab(qRgb(128, 128, 128)),
                           toLab(qRgb(250, 230, 90))};
    int solved = 0, refused = 0, solvedBetween = 0, solvedApart = 0;
    for (const AsDrawn &asDrawn : {AsDrawn(), c16}) {
        // A channel step of 8 bits is up to 0.3 L*; a quantised colour jumps by a 5- or 6-bit step.
        const double slack = asDrawn ? 2.5 : 0.3;
        for (const double darkest : {0.0, 0.02, 0.18, 0.5}) {
            for (const double spreadBy : {0.0, 0.1}) {
                const Flat against{darkest, std::min(1.0, darkest + spreadBy)};
                for (const double ratio : {1.5, 3.0, 4.5, 7.0, 12.0})
                    for (const Lab &colour : colours)
                        for (const ToneDirection direction : {ToneDirection::Lighter, ToneDirection::Darker}) {
                            const bool lighter = direction == ToneDirection::Lighter;
                            auto reaches = [&](double l) {
                                const QRgb rgb = tone(colour, l, 60);
                                const double y = relativeLuminance(asDrawn ? asDrawn(rgb) : rgb);
                                return lighter ? (y + 0.05) / (against.lightest + 0.05) >= ratio
                                               : (against.darkest + 0.05) / (y + 0.05) >= ratio;
                            };
                            // Brute force: the first tone from the backgrounds' side that reaches.
                            std::optional<double> first;
                            for (int i = 0; i <= 2000 && !first; ++i)
                                if (const double l = lighter ? i * 0.05 : 100 - i * 0.05; reaches(l))
                                    first = l;
                            const auto solvedL = toneReaching(colour, 60, against, ratio, direction, asDrawn);
                            SCOPED_TRACE(testing::Message() << "Y " << darkest << "+" << spreadBy << " ratio "
                                                            << ratio << (lighter ? " lighter" : " darker")
                                                            << (asDrawn ? " c16" : ""));
                            // Between: the same, and still 1.5 : 1 short of the far end (black
                            // or white), as it is and (c16) as saved too.
                            const Flat far{lighter ? 1.0 : 0.0, lighter ? 1.0 : 0.0};
                            const std::vector<AsDrawn> drawings =
                                asDrawn ? std::vector<AsDrawn>{AsDrawn(), asDrawn} : std::vector<AsDrawn>{AsDrawn()};
                            auto between = [&](double l) {
                                const QRgb rgb = tone(colour, l, 60);
                                return std::all_of(drawings.begin(), drawings.end(), [&](const AsDrawn &d) {
                                    const double y = relativeLuminance(d ? d(rgb) : rgb);
                                    const bool nearOk = lighter ? (y + 0.05) / (against.lightest + 0.05) >= ratio
                                                                : (against.darkest + 0.05) / (y + 0.05) >= ratio;
                                    return nearOk && (lighter ? 1.05 / (y + 0.05) : (y + 0.05) / 0.05) >= 1.5;
                                });
                            };
                            std::optional<double> firstBetween;
                            for (int i = 0; i <= 2000 && !firstBetween; ++i)
                                if (const double l = lighter ? i * 0.05 : 100 - i * 0.05; between(l))
                                    firstBetween = l;
                            const auto betweenL =
                                toneBetween(colour, 60, against, ratio, far, 1.5, direction, drawings);
                            ASSERT_EQ(betweenL.has_value(), firstBetween.has_value());
                            if (betweenL) {
                                ++solvedBetween;
                                EXPECT_TRUE(between(*betweenL));
                                EXPECT_LE(std::abs(*betweenL - *firstBetween), slack);
                            }
                            // Apart: from the backgrounds' tone toward the end, the first tone
                            // lying 4 x ratio (CIE76) from a tone of the next colour a little
                            // behind it (a text moving away from the one it must differ from).
                            const double from = lightnessOfLuminance(darkest), distance = 4 * ratio;
                            const double behind = (lighter ? -1 : 1) * (spreadBy > 0 ? 10 : 2);
                            const QRgb other =
                                tone(colours[(&colour - colours + 1) % 4], std::clamp(from + behind, 0.0, 100.0));
                            auto apart = [&](double l) {
                                return std::all_of(drawings.begin(), drawings.end(), [&](const AsDrawn &d) {
                                    const QRgb rgb = tone(colour, l, 60);
                                    return deltaE(toLab(d ? d(rgb) : rgb), toLab(d ? d(other) : other)) >= distance;
                                });
                            };
                            std::optional<double> firstApart;
                            const double end = lighter ? 100 : 0, step = lighter ? 0.05 : -0.05;
                            for (double l = from; !firstApart && (lighter ? l <= end : l >= end); l += step)
                                if (apart(l))
                                    firstApart = l;
                            const auto apartL = toneApart(colour, 60, other, distance, from, end, drawings);
                            ASSERT_EQ(apartL.has_value(), firstApart.has_value());
                            if (apartL) {
                                ++solvedApart;
                                EXPECT_TRUE(apart(*apartL));
                                EXPECT_LE(std::abs(*apartL - *firstApart), slack);
                            }
                            // A bar from 90 down to 20 or up to 95, moved until its row at
                            // ratio / 12 of the height stands at the backgrounds' tone.
                            const double top = 90, bottom = spreadBy > 0 ? 20 : 95, at = ratio / 12;
                            auto row = [&](double shift) {
                                return (1 - at) * std::clamp(top + shift, 0.0, 100.0)
                                       + at * std::clamp(bottom + shift, 0.0, 100.0);
                            };
                            auto puts = [&](double shift) {
                                return lighter ? row(shift) >= from - 1e-9 : row(shift) <= from + 1e-9;
                            };
                            double bestShift = lighter ? 100 : -100;
                            for (double shift = -100; shift <= 100; shift += 0.05)
                                if (puts(shift))
                                    bestShift = lighter ? std::min(bestShift, shift) : shift;
                            const double shift = gradientShift(top, bottom, at, from, direction);
                            EXPECT_TRUE(puts(shift));
                            EXPECT_NEAR(row(shift), row(bestShift), 0.05);
                            ASSERT_EQ(solvedL.has_value(), first.has_value());
                            if (!solvedL) {
                                ++refused;
                                continue;
                            }
                            ++solved;
                            EXPECT_TRUE(reaches(*solvedL));
                            EXPECT_LE(std::abs(*solvedL - *first), slack);
                        }
            }
        }
    }
    EXPECT_GT(solved, 100);
    EXPECT_GT(refused, 20);
    EXPECT_GT(solvedBetween, 50);
    EXPECT_LT(solvedBetween, solved);
    EXPECT_GT(solvedApart, 50);
    EXPECT_LT(solvedApart, 640);
}

// Luminance and L* are each other's inverse, and the ratio's closed forms
// land exactly on the ratio.
TEST(ToneSolver, LuminanceFormsAreExact)
{
    // Steps of 0.001, so that some ask for a hair more than white (0.301 x 3).
    for (int i = 0; i <= 1000; ++i) {
        const double y = i / 1000.0;
        EXPECT_NEAR(luminanceOfLightness(lightnessOfLuminance(y)), y, 1e-12);
        if (const auto up = lighterLuminance(y, 3.0)) {
            EXPECT_NEAR((*up + 0.05) / (y + 0.05), 3.0, 1e-12);
            EXPECT_LE(*up, 1.0) << y;
        } else {
            EXPECT_GT(3.0 * (y + 0.05) - 0.05, 1.0);
        }
        if (const auto down = darkerLuminance(y, 3.0)) {
            EXPECT_NEAR((y + 0.05) / (*down + 0.05), 3.0, 1e-12);
            EXPECT_GE(*down, 0.0) << y;
        } else
            EXPECT_LT((y + 0.05) / 3.0 - 0.05, 0.0);
    }
}
