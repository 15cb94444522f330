// Scrims under texts on generated photographs behind the menu bar, the
// contact list and the chat, one size each, fixed as check --fix does: a slot
// that no colour saves is saved by the least scrim (a hundredth less does not
// save it), the pixels outside the bands stay as they were, and at the end
// every text reads at 16 bits. 208 x 176 is not among them: there the status
// line crosses the last contact's text, and no scrim lies between two texts.
#include "datatests.h"

#include "design/legibility.h"
#include "design/lightnessfix.h"
#include "design/scrim.h"
#include "skin/profiles.h"
#include "skin/sheet.h"

#include <gtest/gtest.h>

#include <functional>

namespace zelkor {
namespace {

QImage generated(const QSize &size, const std::function<QRgb(int, int)> &pixel)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, pixel(x, y));
    return image;
}

TEST(Scrim, LeastScrimUnderTheTextsSavesEveryText)
{
    IconSheets icons;
    ASSERT_TRUE(readIconSheets(programFilesIn(test::programFile(QString())), icons).ok());
    const QString depth = QStringLiteral("/c16");
    struct Case {
        const char *name;
        int profile;
        std::function<QRgb(int, int)> pixel;
    } cases[] = {
        {"flat", 1, [](int, int) { return qRgb(128, 120, 110); }},
        {"gradient", 3, [](int x, int y) { return qRgb(x % 256, 90, (y * 3) % 256); }},
        {"noisy", 4,
         [](int x, int y) {
             const quint32 h = quint32(x) * 73856093u ^ quint32(y) * 19349663u;
             return qRgb(int(h & 0xff), int((h >> 8) & 0xff), int((h >> 16) & 0xff));
         }},
        {"stripes", 6, [](int x, int y) { return ((x / 3 + y / 3) % 2) ? qRgb(255, 255, 255) : qRgb(0, 0, 0); }},
        {"very bright", 5, [](int x, int) { return qRgb(250, 248, 240 + x % 10); }},
        {"very dark", 3, [](int, int y) { return qRgb(4, 6, y % 12); }},
    };
    int scrims = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QImage sheet = test::templateSheet(c.profile).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(sheet.isNull());
        for (const int picture : {int(Menuline), int(Contacts), int(Chat)})
            writeBackPicture(sheet, c.profile, picture,
                             generated(pictureRect(picture, c.profile)->rect().size(), c.pixel));
        const design::Legibility before = design::measureSkinLegibility(sheet, c.profile, icons, depth);
        for (const design::SlotLegibility &s : before.failingSlots(4.5)) {
            SCOPED_TRACE(s.slot);
            const QRgb colour = readColourSlot(sheet, c.profile, s.slot);
            const design::LightnessFix byColour =
                design::fixSlotLightness(before, s.slot, colour, 4.5, design::asDrawnAtDepth(depth));
            if (byColour.outcome == design::LightnessFix::Fixed) {
                writeColourSlot(sheet, c.profile, s.slot, byColour.colour);
                continue;
            }
            const design::ScrimFix fix = design::fixSlotWithScrim(sheet, c.profile, icons, s.slot, 4.5, depth);
            ASSERT_TRUE(fix.found);
            EXPECT_GE(fix.contrast, 4.5);
            const std::vector<design::TextBand> bands = design::textBands(sheet, c.profile, icons, s.slot);
            const QImage less = design::withScrim(sheet, bands, fix.tone, fix.strength - 0.01);
            const design::Legibility lessMeasured = design::measureSkinLegibility(less, c.profile, icons, depth);
            EXPECT_LT(lessMeasured.slot(s.slot)->worst, 4.5);
            for (int y = 0; y < sheet.height(); ++y)
                for (int x = 0; x < sheet.width(); ++x)
                    if (std::none_of(bands.begin(), bands.end(),
                                     [&](const design::TextBand &b) { return b.rect.contains(x, y); }))
                        ASSERT_EQ(fix.sheet.pixel(x, y), sheet.pixel(x, y)) << x << "," << y;
            sheet = fix.sheet;
            ++scrims;
        }
        EXPECT_GE(design::measureSkinLegibility(sheet, c.profile, icons, depth).lowest(), 4.5);
    }
    EXPECT_GE(scrims, 6);
}

} // namespace
} // namespace zelkor

namespace zelkor {
namespace {

// set-picture --scrim: nothing at 0; at 1 every band on the picture is flat
// black or white, and at any strength the pixels outside the bands and the
// other pictures stay as they were.
TEST(Scrim, UnderTextsOnOnePictureOnly)
{
    IconSheets icons;
    ASSERT_TRUE(readIconSheets(programFilesIn(test::programFile(QString())), icons).ok());
    const int profile = 3;
    QImage sheet = test::templateSheet(profile).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(sheet.isNull());
    const QRect chat = pictureRect(Chat, profile)->rect();
    writeBackPicture(sheet, profile, Chat, generated(chat.size(), [](int x, int y) { return qRgb(x % 256, y % 256, 90); }));
    std::vector<design::TextBand> bands = design::textBands(sheet, profile, icons, design::kEveryText);
    bands.erase(std::remove_if(bands.begin(), bands.end(), [](const design::TextBand &b) { return b.picture != Chat; }),
                bands.end());
    ASSERT_FALSE(bands.empty());
    for (const double strength : {0.0, 0.35, 1.0}) {
        SCOPED_TRACE(strength);
        const QImage made = design::scrimUnderTexts(sheet, profile, icons, Chat, strength);
        int changed = 0;
        for (int y = 0; y < sheet.height(); ++y)
            for (int x = 0; x < sheet.width(); ++x) {
                const bool inBand = std::any_of(bands.begin(), bands.end(),
                                                [&](const design::TextBand &b) { return b.rect.contains(x, y); });
                if (!inBand || strength == 0)
                    ASSERT_EQ(made.pixel(x, y), sheet.pixel(x, y)) << x << "," << y;
                else if (strength == 1)
                    ASSERT_TRUE(made.pixel(x, y) == qRgb(0, 0, 0) || made.pixel(x, y) == qRgb(255, 255, 255));
                changed += made.pixel(x, y) != sheet.pixel(x, y);
            }
        EXPECT_EQ(changed > 0, strength > 0);
    }
}

} // namespace
} // namespace zelkor
