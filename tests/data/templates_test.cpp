// The six template skins in the program folder's skn/, unpacked through the
// real bmconv: their size, their colour row, their neutral gaps, and whether
// the colours that the preview draws on top of each other can be read.

#include "datatests.h"

#include "datagen/theme.h"

#include "design/colour.h"
#include "design/legibility.h"
#include "preview/screenimage.h"
#include "skin/profiles.h"
#include "skin/programfiles.h"
#include "skin/sheet.h"
#include "testsupport.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <string>
#include <vector>

namespace zelkor {
namespace {

using design::contrastRatio;
using test::contrastOn;

double deltaE(QRgb a, QRgb b)
{
    return design::deltaE(design::toLab(a), design::toLab(b));
}

// Readable text: WCAG AA for body text against the background's mean colour,
// and no pixel under a text that is worse than the large-text minimum.
constexpr double kReadable = 4.5;
constexpr double kReadableEverywhere = 3.0;

class TemplateTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        profile = GetParam();
        pr = profileByIndex(profile);
        ASSERT_NE(pr, nullptr);
        ASSERT_TRUE(QFileInfo::exists(test::programFile(QString::fromUtf8(pr->templateName))))
            << pr->templateName << " is missing from the program folder";
        sheet = test::templateSheet(profile);
        ASSERT_FALSE(sheet.isNull());
    }

    QRect picture(int p) const { return pictureRect(p, profile)->rect(); }
    bool large() const { return profile >= 5; }

    int profile = 0;
    const Profile *pr = nullptr;
    QImage sheet;
};

TEST_P(TemplateTest, IsAsWideAsTheScreenAndAsHighAsTheLayout)
{
    EXPECT_EQ(sheet.width(), pr->screenWidth);
    EXPECT_EQ(sheet.height(), pr->layoutRows);
    EXPECT_EQ(profileIndexByWidth(sheet.width()), profile);
}

TEST_P(TemplateTest, ColourRowHoldsTheDefaultColours)
{
    const ColourSlots &intended = datagen::defaultColourSlots();
    const ColourSlots found = readColourSlots(sheet, profile);
    for (int slot = 0; slot < kColourSlotCount; ++slot)
        EXPECT_EQ(found[slot] & 0xffffffu, intended[slot] & 0xffffffu) << "colour slot " << slot;
}

TEST_P(TemplateTest, GapRowsAndUnusedColumnsAreNeutral)
{
    const QRgb neutral = datagen::neutralColour();
    std::vector<bool> covered(sheet.height(), false);
    for (int p = 0; p < kPictureCount; ++p)
        for (int y = picture(p).top(); y <= picture(p).bottom(); ++y)
            covered[y] = true;
    int gapRows = 0;
    for (int y = 0; y < sheet.height(); ++y) {
        if (covered[y])
            continue;
        ++gapRows;
        for (int x = 0; x < sheet.width(); ++x)
            ASSERT_EQ(sheet.pixel(x, y), neutral) << "gap row " << y << ", column " << x;
    }
    EXPECT_EQ(gapRows, large() ? 6 : 3);

    const QRect select2 = picture(Select2);
    const ColourRowOrigin row = *colourRow(profile);
    for (int y = select2.top(); y <= select2.bottom(); ++y) {
        for (int x = select2.right() + 1; x < sheet.width(); ++x) {
            const bool slot = y == row.row && x >= row.firstColumn && x < row.firstColumn + kColourSlotCount;
            if (!slot) {
                ASSERT_EQ(sheet.pixel(x, y), neutral) << "row " << y << ", column " << x;
            }
        }
    }
}

TEST_P(TemplateTest, EveryPictureIsDrawnAtItsRectangle)
{
    for (int p = 0; p < kPictureCount; ++p) {
        const QRect r = picture(p);
        int neutral = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                neutral += sheet.pixel(x, y) == datagen::neutralColour();
        EXPECT_EQ(neutral, 0) << pictureInfo(p).name << " has neutral pixels";
    }
}

TEST_P(TemplateTest, EveryTextTheScreensDrawIsReadable)
{
    // Where the texts are and what lies under them comes from the screens' own
    // drawing. The contact list's status line is drawn over the list's last
    // rows (on the 208 x 176 screen into the names themselves), so a name that
    // reaches into the status line's rows is the one exception.
    IconSheets icons;
    ASSERT_TRUE(readIconSheets(locateProgramFiles(test::programFolder()), icons).ok());
    const design::Legibility measured = design::measureSkinLegibility(sheet, profile, icons);
    // The status line's top on the contact list (the popup menus draw the
    // same list under them).
    int statusTop = std::numeric_limits<int>::max();
    for (const design::TextLegibility &t : measured.texts)
        if (t.text == QStringLiteral("222333222"))
            statusTop = std::min(statusTop, t.ink.top());
    int checked = 0;
    for (const design::TextLegibility &t : measured.texts) {
        const bool nameInTheList = t.slot == 6 || t.slot == 7;
        if (nameInTheList && t.ink.bottom() >= statusTop)
            continue;
        ++checked;
        EXPECT_GE(t.contrast, design::kDefaultMinContrast)
            << qPrintable(t.text) << " (slot " << t.slot << ") on " << qPrintable(t.screen);
    }
    EXPECT_GE(checked, 60);
}

TEST_P(TemplateTest, SoftKeyLabelsAreReadableAllOverTheMenuline)
{
    // The screens put the labels at different heights on the bar
    // (account, contact list, chat, settings), so every pixel of the picture counts.
    const test::RegionContrast r = contrastOn(readColourSlot(sheet, profile, 9), sheet, picture(Menuline));
    EXPECT_GE(r.average, kReadable);
    EXPECT_GE(r.worst, kReadableEverywhere) << "worst at (" << r.worstAt.x() << ", " << r.worstAt.y() << ")";
}

TEST_P(TemplateTest, MenuAndAccountColoursAreReadableOnEachOther)
{
    const ColourSlots c = readColourSlots(sheet, profile);
    // Popup menu: menu text on the menu window and on the selection.
    EXPECT_GE(contrastRatio(c[10], c[3]), kReadable);
    EXPECT_GE(contrastRatio(c[10], c[4]), kReadable);
    // Account selection: account names on the screen fill, the title on the title bar.
    EXPECT_GE(contrastRatio(c[6], c[3]), kReadable);
    EXPECT_GE(contrastRatio(c[6], c[4]), kReadable);
    // The selection shows inside the menu window, and its outline shows around it.
    EXPECT_GE(contrastRatio(c[4], c[3]), 1.2);
    EXPECT_GE(contrastRatio(c[5], c[3]), kReadableEverywhere);
    EXPECT_GE(contrastRatio(c[5], c[4]), kReadableEverywhere);
}

TEST_P(TemplateTest, MessageColoursCanBeToldApart)
{
    const ColourSlots c = readColourSlots(sheet, profile);
    EXPECT_GE(deltaE(c[0], c[1]), 30.0) << "outgoing and incoming messages";
    EXPECT_GE(deltaE(c[0], c[2]), 20.0) << "outgoing message and x-status";
    EXPECT_GE(deltaE(c[1], c[2]), 20.0) << "incoming message and x-status";
}

INSTANTIATE_TEST_SUITE_P(Profiles, TemplateTest, ::testing::Range(1, kProfileCount + 1),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return std::string("profile") + std::to_string(info.param) + "_" +
                                    profileByIndex(info.param)->label;
                         });

} // namespace
} // namespace zelkor
