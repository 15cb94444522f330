// The six template skins in the program folder's skn/, unpacked through the
// real bmconv: their size, their colour row, their neutral gaps, and whether
// the colours that the preview draws on top of each other can be read.

#include "datatests.h"

#include "datagen/theme.h"

#include "preview/canvas.h"
#include "skin/profiles.h"
#include "skin/sheet.h"

#include <QFileInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace zelkor {
namespace {

using test::contrast;
using test::contrastOn;

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

// A text that the preview draws on a picture: its colour
// slot, its picture, the text and the top-left corner of its text cell in the
// picture's own coordinates, at the font size of the screen.
struct TextOnPicture {
    std::string what;
    int slot;
    int picture;
    QString text;
    QPoint at;
    int points;
};

// The pixels of a picture that the text's glyphs can cover: the tight box of
// its ink in the preview font (the descenders of Cyrillic letters included).
QRect glyphBox(const TextOnPicture &t)
{
    const QFontMetrics fm(previewFont(t.points));
    return fm.tightBoundingRect(t.text).translated(t.at.x(), t.at.y() + fm.ascent());
}

TEST_P(TemplateTest, TextColoursAreReadableOnThePicturesUnderThem)
{
    const int i = profile - 1;
    const int pt = large() ? 18 : 11;
    // Contact list: contact rows, the first and second column's name x and prefix,
    // the selected row, the title line and the status line (profile 2's status
    // line is the preview's choice: ours to place).
    const int rowY0 = large() ? 45 : 20, rowPitch = large() ? 36 : 18;
    const int rowCount[] = {8, 8, 14, 10, 8, 7};
    const int name1X = large() ? 35 : 20;
    const int name2X[] = {110, 110, 140, 180, 220, 242};
    const char *const prefix1[] = {"Contact", "Contact", "MegaContact", "MegaContact", "Contact", "Contact"};
    const char *const prefix2[] = {"Друг", "Друг", "УльтраДруг", "УльтраДруг", "Друг", "Друг"};
    const int selectedRow = large() ? 0 : 1;
    const int ownNickX = large() ? 90 : 50;
    const int statusY[] = {173, 141, 283, 203, 345, 290};
    // Chat: header and message lines.
    const int clientX[] = {120, 140, 170, 240, 280, 300};
    const int line[3] = {large() ? 35 : 30, large() ? 65 : 45, large() ? 95 : 60};
    // Settings: captions at (2, top of the row); profile 1 writes them at 8 points.
    const int captionPt = profile == 1 ? 8 : pt;

    std::vector<TextOnPicture> checks = {
        {"time on the title line", 12, Contacts, QStringLiteral("15:40"), {5, 0}, pt},
        {"own nickname on the title line", 8, Contacts, QStringLiteral("Dunrel"), {ownNickX, 0}, pt},
        {"status text on the status line", 8, Contacts, QStringLiteral("222333222"), {5, statusY[i]}, pt},
        {"nickname on select1", 6, Select1, QString::fromUtf8(prefix1[i]) + QString::number(selectedRow), {name1X, 0}, pt},
        {"nickname on select2", 6, Select2, QString::fromUtf8(prefix1[i]) + QString::number(selectedRow), {name1X, 0}, pt},
        {"account name on account_sel", 6, AccountSel, QStringLiteral("dunrel"), {large() ? 40 : 20, 0}, pt},
        {"nickname in the chat header", 9, Chat, QStringLiteral("Dunrel"), {large() ? 40 : 20, 0}, pt},
        {"client name in the chat header", 9, Chat, QStringLiteral("Zelkor"), {clientX[i], 0}, pt},
        {"outgoing message", 0, Chat, QStringLiteral("[13:34]-> Привет!"), {0, line[0]}, pt},
        {"x-status", 2, Chat, QStringLiteral("Волосатая птица ..."), {0, line[1]}, pt},
        {"incoming message", 1, Chat, QStringLiteral("[13:34]<- Кривед..."), {0, line[2]}, pt},
        {"caption on settings_el", 11, SettingsEl, QStringLiteral("Группировать откр. чаты"), {2, 0}, captionPt},
        {"caption on settings_select", 11, SettingsSelect, QStringLiteral("Проверка на обновление"), {2, 0}, captionPt},
    };
    // Every contact name whose glyphs end above the status text's glyphs (in
    // profile 2 the last rows run into the status line and the soft-key bar).
    const TextOnPicture status = checks[2];
    for (int r = 0; r < rowCount[i]; ++r) {
        const int y = rowY0 + r * rowPitch;
        const TextOnPicture names[] = {
            {"nickname in the first column", 6, Contacts, QString::fromUtf8(prefix1[i]) + QString::number(r), {name1X, y}, pt},
            {"nickname in the second column", 6, Contacts, QString::fromUtf8(prefix2[i]) + QString::number(r + 10), {name2X[i], y}, pt},
            {"group name", 7, Contacts, QStringLiteral("Друзья"), {name1X, y}, pt},
        };
        for (const TextOnPicture &n : names) {
            if (glyphBox(n).bottom() < glyphBox(status).top())
                checks.push_back(n);
        }
    }

    const ColourSlots colours = readColourSlots(sheet, profile);
    int checked = 0;
    for (const TextOnPicture &c : checks) {
        // Clipped to the picture, as the screen clips a name that runs off its edge.
        const QRect box = glyphBox(c) & QRect(QPoint(0, 0), picture(c.picture).size());
        ASSERT_FALSE(box.isEmpty()) << c.what << ": " << qPrintable(c.text) << " lies outside "
                                    << pictureInfo(c.picture).name;
        const test::RegionContrast r = contrastOn(colours[c.slot], sheet, box.translated(0, picture(c.picture).top()));
        EXPECT_GE(r.average, kReadable) << c.what << " (slot " << c.slot << "): " << qPrintable(c.text);
        EXPECT_GE(r.worst, kReadableEverywhere) << c.what << " (slot " << c.slot << "): " << qPrintable(c.text)
                                                << ", worst at sheet (" << r.worstAt.x() << ", " << r.worstAt.y() << ")";
        ++checked;
    }
    EXPECT_GE(checked, 13 + 2 * 3);
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
    EXPECT_GE(contrast(c[10], c[3]), kReadable);
    EXPECT_GE(contrast(c[10], c[4]), kReadable);
    // Account selection: account names on the screen fill, the title on the title bar.
    EXPECT_GE(contrast(c[6], c[3]), kReadable);
    EXPECT_GE(contrast(c[6], c[4]), kReadable);
    // The selection shows inside the menu window, and its outline shows around it.
    EXPECT_GE(contrast(c[4], c[3]), 1.2);
    EXPECT_GE(contrast(c[5], c[3]), kReadableEverywhere);
    EXPECT_GE(contrast(c[5], c[4]), kReadableEverywhere);
}

TEST_P(TemplateTest, MessageColoursCanBeToldApart)
{
    const ColourSlots c = readColourSlots(sheet, profile);
    EXPECT_GE(test::deltaE(c[0], c[1]), 30.0) << "outgoing and incoming messages";
    EXPECT_GE(test::deltaE(c[0], c[2]), 20.0) << "outgoing message and x-status";
    EXPECT_GE(test::deltaE(c[1], c[2]), 20.0) << "incoming message and x-status";
}

TEST(ContrastMeasure, FollowsTheWcagDefinition)
{
    EXPECT_NEAR(contrast(qRgb(0, 0, 0), qRgb(255, 255, 255)), 21.0, 1e-9);
    EXPECT_NEAR(contrast(qRgb(119, 119, 119), qRgb(255, 255, 255)), 4.48, 0.01);
    EXPECT_NEAR(contrast(qRgb(10, 20, 30), qRgb(10, 20, 30)), 1.0, 1e-9);
    EXPECT_LT(test::deltaE(qRgb(100, 100, 100), qRgb(101, 100, 100)), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Profiles, TemplateTest, ::testing::Range(1, kProfileCount + 1),
                         [](const ::testing::TestParamInfo<int> &info) {
                             return std::string("profile") + std::to_string(info.param) + "_" +
                                    profileByIndex(info.param)->label;
                         });

} // namespace
} // namespace zelkor
