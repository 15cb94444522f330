// A whole skin from generated pictures, on the real templates: a sheet of the
// profile's size that keeps the template outside the pictures, every text
// readable at 24 and 16 bits by the legibility measure, backgrounds that come
// from the picture, and the same sheet every time.
#include "datatests.h"

#include "design/frompicture.h"
#include "design/interest.h"
#include "design/legibility.h"
#include "design/lightnessfix.h"
#include "design/roles.h"
#include "design/scrim.h"
#include "imaging/placement.h"
#include "skin/profiles.h"
#include "skin/programfiles.h"
#include "testsupport.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numeric>

namespace zelkor {
namespace {

QImage generated(int width, int height, const std::function<QRgb(int, int)> &pixel)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, pixel(x, y));
    return image;
}

// Lightness of a small copy, row by row.
std::vector<double> thumbnail(const QImage &image)
{
    const QImage small = smoothScaled(image, QSize(8, 8));
    std::vector<double> l;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            l.push_back(design::toLab(small.pixel(x, y)).L);
    return l;
}

TEST(FromPicture, GeneratedPicturesGiveReadableSkinsOfTheirPictures)
{
    IconSheets icons;
    ASSERT_TRUE(readIconSheets(programFilesIn(test::programFolder()), icons).ok());
    quint32 state = 1;  // a fixed start: the same noise every run
    auto noise = [&state](int, int) {
        state = state * 1664525u + 1013904223u;
        return qRgb(int(state >> 24), int(state >> 16) & 0xff, int(state >> 8) & 0xff);
    };
    const QImage twoColours =
        generated(400, 300, [](int x, int) { return x < 200 ? qRgb(220, 40, 40) : qRgb(250, 230, 90); });
    struct Case {
        const char *name;
        QImage picture;
        int profile;
        design::Variant variant;
        const char *depth = "/c16";
        bool readable = true;  // false: refused, the layout leaves no colours that read at that depth
        design::ColourScheme scheme = design::ColourScheme::Tonal;
        std::optional<QRgb> key = std::nullopt;
    } cases[] = {
        {"flat", generated(640, 480, [](int, int) { return qRgb(40, 120, 200); }), 1, design::Variant::Auto},
        // Messages a few L* apart at 24 bits that a 16-bit save brings nearer.
        {"flat, dark", generated(640, 480, [](int, int) { return qRgb(90, 122, 154); }), 1, design::Variant::Dark},
        // 208 x 176 draws the status line over the last contact: three tones
        // that all part by 4.5 : 1 exist at 16 and 24 bits, not among 256 colours.
        {"two colours", twoColours, 2, design::Variant::Dark},
        {"two colours, 256 colours", twoColours, 2, design::Variant::Dark, "/c8", false},
        {"gradient", generated(800, 200, [](int x, int y) { return qRgb(x * 255 / 799, 100, y * 255 / 199); }), 3,
         design::Variant::Light},
        {"noise", generated(300, 300, noise), 4, design::Variant::Auto},
        {"grey", generated(500, 500, [](int x, int y) { return qGray(x / 2, y / 2, 128) * 0x010101u | 0xff000000u; }),
         5, design::Variant::Dark},
        {"very dark", generated(400, 400, [](int x, int y) { return qRgb(x % 9, y % 7, 12); }), 6,
         design::Variant::Light},
        {"very light", generated(400, 400, [](int x, int y) { return qRgb(247 + x % 9, 250, 244 + y % 11); }), 2,
         design::Variant::Auto},
        {"very light, 24 bits", generated(400, 400, [](int x, int y) { return qRgb(247 + x % 9, 250, 244 + y % 11); }),
         4, design::Variant::Auto, "/c24"},
        {"1 x 4000 strip", generated(1, 4000, [](int, int y) { return qRgb(y / 16, 255 - y / 16, 90); }), 2,
         design::Variant::Auto},
        {"two colours, vivid", twoColours, 4, design::Variant::Light, "/c16", true, design::ColourScheme::Vivid},
        {"gradient, as in the picture", generated(800, 200, [](int x, int y) { return qRgb(x * 255 / 799, 100, y * 255 / 199); }),
         6, design::Variant::Dark, "/c16", true, design::ColourScheme::Fidelity},
        {"noise, monochrome", generated(300, 300, noise), 1, design::Variant::Auto, "/c16", true,
         design::ColourScheme::Mono},
        {"grey, vivid with a key colour", generated(500, 500, [](int x, int y) { return qGray(x / 2, y / 2, 128) * 0x010101u | 0xff000000u; }),
         2, design::Variant::Dark, "/c16", true, design::ColourScheme::Vivid, qRgb(230, 200, 20)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QImage base = test::templateSheet(c.profile);
        ASSERT_FALSE(base.isNull());
        design::FromPictureSettings settings{c.variant, QString::fromLatin1(c.depth)};
        settings.scheme = c.scheme;
        settings.key = c.key;
        design::SkinFromPicture made, again;
        const Status status = design::makeSkinFromPicture(c.picture, c.profile, base, icons, settings, made);
        if (!c.readable) {
            EXPECT_FALSE(status.ok());
            EXPECT_TRUE(made.sheet.isNull());
            EXPECT_TRUE(status.message.contains(profileByIndex(c.profile)->labelText()))
                << status.message.toStdString();
            continue;
        }
        ASSERT_TRUE(status.ok()) << status.message.toStdString();
        ASSERT_TRUE(design::makeSkinFromPicture(c.picture, c.profile, base, icons, settings, again).ok());
        EXPECT_TRUE(made.sheet == again.sheet);
        const Profile &p = *profileByIndex(c.profile);
        ASSERT_EQ(made.sheet.size(), QSize(p.screenWidth, std::max(base.height(), p.layoutRows)));

        // Outside the pictures and the colour row, the template as it is.
        QImage rest = made.sheet.copy(base.rect()), expected = base.convertToFormat(QImage::Format_RGB32);
        for (QImage *image : {&rest, &expected}) {
            QPainter painter(image);
            for (int picture = 0; picture < kPictureCount; ++picture)
                painter.fillRect(pictureRect(picture, c.profile)->rect(), Qt::black);
            const ColourRowOrigin row = *colourRow(c.profile);
            painter.fillRect(row.firstColumn, row.row, kColourSlotCount, 1, Qt::black);
        }
        EXPECT_TRUE(rest == expected);

        for (const QString depth : {QString(), settings.depthOption}) {
            const design::Legibility measured = design::measureSkinLegibility(made.sheet, c.profile, icons, depth);
            ASSERT_FALSE(measured.texts.empty());
            for (const design::TextLegibility &t : measured.texts)
                EXPECT_GE(t.contrast, t.slot >= 0 ? design::roleTarget(t.slot, 4.5) : 4.5)
                    << depth.toStdString() << " " << t.text.toStdString();
        }
        // The bars keep the key colour's chroma as far as their tone allows
        // (vivid and as in the picture), or have none (monochrome).
        const QRgb bar = made.sheet.pixel(pictureRect(Menuline, c.profile)->rect().center());
        const design::Lab barLab = design::toLab(bar), key = made.palette.key;
        const double allowed = std::min(design::chroma(key), design::chroma(design::toLab(design::tone(key, barLab.L))));
        if (c.scheme == design::ColourScheme::Mono)
            EXPECT_LT(design::chroma(barLab), 1.5);
        else if (c.scheme != design::ColourScheme::Tonal)
            EXPECT_GE(design::chroma(barLab), 0.7 * allowed - 1.0);
        if (c.key)
            EXPECT_LT(design::deltaE(key, design::toLab(*c.key)), 0.5);
        // Who said what: outgoing and incoming messages stay apart, as saved too.
        const ColourSlots colours = readColourSlots(made.sheet, c.profile);
        const design::AsDrawn saved = design::asDrawnAtDepth(settings.depthOption);
        EXPECT_GE(design::deltaE(design::toLab(colours[0]), design::toLab(colours[1])), 20.0);
        EXPECT_GE(design::deltaE(design::toLab(saved(colours[0])), design::toLab(saved(colours[1]))), 20.0);

        // Where the list's background is softened nearly flat, the selection
        // bar still stands out from it.
        const auto meanLightness = [&](int picture) {
            const std::vector<double> l = thumbnail(made.sheet.copy(pictureRect(picture, c.profile)->rect()));
            return std::accumulate(l.begin(), l.end(), 0.0) / double(l.size());
        };
        if (made.veils[0] > 0.9)
            EXPECT_GT(std::abs(meanLightness(Select1) - meanLightness(Contacts)), 12.0);

        // Each background is the picture's crop, softened only in the bands
        // under the texts: outside them the crop itself, pixel for pixel.
        const std::vector<design::TextBand> bands = design::textBands(made.sheet, c.profile, icons, design::kEveryText);
        for (const int picture : {int(Contacts), int(Chat)}) {
            const QRect rect = pictureRect(picture, c.profile)->rect();
            const QRect crop = coverCrop(c.picture.size(), rect.size(), design::centreOfInterest(c.picture, rect.size()));
            const QImage placed = placeImage(c.picture, rect.size(), {FitMode::Cover, crop, {}});
            int kept = 0;
            for (int y = 0; y < rect.height(); ++y)
                for (int x = 0; x < rect.width(); ++x) {
                    const QPoint at = rect.topLeft() + QPoint(x, y);
                    if (std::any_of(bands.begin(), bands.end(), [&](const design::TextBand &b) { return b.rect.contains(at); }))
                        continue;
                    ASSERT_EQ(made.sheet.pixel(at), placed.pixel(x, y) | 0xff000000u) << pictureInfo(picture).name;
                    ++kept;
                }
            EXPECT_GT(kept, 0) << pictureInfo(picture).name;
        }
    }
}

// How closely the lightness of `made` follows that of `picture` pixel by
// pixel (Pearson's correlation): 1 where a picture is kept or evenly veiled, 0
// where it became flat or unrelated tones; 0 for a flat `picture`.
double lightnessCorrelation(const QImage &picture, const QImage &made)
{
    double n = 0, sp = 0, sm = 0, spp = 0, smm = 0, spm = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const double p = design::toLab(picture.pixel(x, y)).L, m = design::toLab(made.pixel(x, y)).L;
            n += 1;
            sp += p;
            sm += m;
            spp += p * p;
            smm += m * m;
            spm += p * m;
        }
    const double vp = spp - sp * sp / n, vm = smm - sm * sm / n;
    return vp > 0 && vm > 0 ? (spm - sp * sm / n) / std::sqrt(vp * vm) : 0.0;
}

// At every size, the smallest included, the list or the chat still shows the
// photograph: its lightness follows the crop's (correlation 0.4 or more)
// after the scrims, however much of the screen the texts cover.
TEST(FromPicture, EverySizeKeepsATraceOfThePicture)
{
    IconSheets icons;
    ASSERT_TRUE(readIconSheets(programFilesIn(test::programFolder()), icons).ok());
    quint32 state = 7;
    const struct {
        const char *name;
        QImage picture;
    } pictures[] = {
        {"gradient", generated(800, 600, [](int x, int y) { return qRgb(x * 255 / 799, 100, y * 255 / 599); })},
        {"noise", generated(300, 300, [&state](int, int) {
             state = state * 1664525u + 1013904223u;
             return qRgb(int(state >> 24), int(state >> 16) & 0xff, int(state >> 8) & 0xff);
         })},
        {"stripes", generated(640, 480, [](int x, int) { return (x / 24) % 2 ? qRgb(20, 20, 30) : qRgb(240, 235, 220); })},
        {"very light", generated(400, 400, [](int x, int y) { return qRgb(200 + x * 55 / 399, 240, 200 + y * 55 / 399); })},
        {"very dark", generated(400, 400, [](int x, int y) { return qRgb(x * 30 / 399, y * 25 / 399, 30); })},
    };
    for (const auto &c : pictures)
        for (int profile = 1; profile <= kProfileCount; ++profile) {
            SCOPED_TRACE(testing::Message() << c.name << ", profile " << profile);
            design::SkinFromPicture made;
            ASSERT_TRUE(design::makeSkinFromPicture(c.picture, profile, test::templateSheet(profile), icons, {}, made).ok());
            double kept = 0;
            for (const int picture : {int(Contacts), int(Chat)}) {
                const QRect rect = pictureRect(picture, profile)->rect();
                const QRect crop = coverCrop(c.picture.size(), rect.size(), design::centreOfInterest(c.picture, rect.size()));
                kept = std::max(kept, lightnessCorrelation(placeImage(c.picture, rect.size(), {FitMode::Cover, crop, {}}),
                                                           made.sheet.copy(rect)));
            }
            EXPECT_GE(kept, 0.4);
        }
}

} // namespace
} // namespace zelkor
