// The sheet layout's invariants, derived from the tables rather than restated.
#include "skin/profiles.h"
#include "skin/sheet.h"

#include <gtest/gtest.h>

#include <set>

using namespace zelkor;

class LayoutTest : public ::testing::TestWithParam<int> {};

TEST_P(LayoutTest, PicturesDoNotOverlapAndGapsAreTheOnlyUncoveredRows)
{
    const int profile = GetParam();
    const Profile *p = profileByIndex(profile);
    ASSERT_NE(p, nullptr);
    std::vector<int> owner(p->layoutRows, -1);
    int lastRow = -1;
    for (int pic = 0; pic < kPictureCount; ++pic) {
        const auto r = pictureRect(pic, profile);
        ASSERT_TRUE(r);
        for (int y = r->y; y < r->y + r->height; ++y) {
            ASSERT_LT(y, p->layoutRows) << pictureInfo(pic).name;
            EXPECT_EQ(owner[y], -1) << "row " << y << " of profile " << profile << " in two pictures";
            owner[y] = pic;
        }
        lastRow = std::max(lastRow, r->y + r->height - 1);
        if (pic != Select2)
            EXPECT_EQ(r->width, p->screenWidth) << pictureInfo(pic).name;
    }
    EXPECT_EQ(lastRow, p->layoutRows - 1);

    // Gap rows follow contacts, select1 and select2: one each in profiles 1-4, two in 5-6.
    const int gap = profile >= 5 ? 2 : 1;
    std::set<int> expectedGaps;
    for (int pic : {Contacts, Select1, Select2}) {
        const auto r = pictureRect(pic, profile);
        for (int i = 0; i < gap; ++i)
            expectedGaps.insert(r->y + r->height + i);
    }
    std::set<int> gaps;
    for (int y = 0; y < p->layoutRows; ++y)
        if (owner[y] == -1)
            gaps.insert(y);
    EXPECT_EQ(gaps, expectedGaps);
}

TEST_P(LayoutTest, ColourRowLiesInSelect2RowsRightOfThePicture)
{
    const int profile = GetParam();
    const auto row = colourRow(profile);
    const auto s2 = pictureRect(Select2, profile);
    ASSERT_TRUE(row && s2);
    EXPECT_GE(row->row, s2->y);
    EXPECT_LT(row->row, s2->y + s2->height);
    EXPECT_EQ(row->firstColumn, s2->width + (profile == 5 ? 3 : 1));
    EXPECT_LE(row->firstColumn + kColourSlotCount, profileByIndex(profile)->screenWidth);
}

TEST_P(LayoutTest, ProfileIsFoundByItsSheetWidth)
{
    const Profile *p = profileByIndex(GetParam());
    EXPECT_EQ(profileIndexByWidth(p->screenWidth), GetParam());
    EXPECT_EQ(p->labelText(), QStringLiteral("%1x%2").arg(p->screenWidth).arg(p->screenHeight));
    EXPECT_EQ(QString::fromUtf8(p->templateName), QStringLiteral("skn/%1.mbm").arg(p->labelText()));
    EXPECT_EQ(QString::fromUtf8(p->photoName), QStringLiteral("devices/%1.jpg").arg(p->labelText()));
    EXPECT_EQ(QString::fromUtf8(p->savePrefix), QStringLiteral("extskin_%1_").arg(p->labelText()));
    // The paint box sits at the preview offset inside the phone picture at (377, 3).
    EXPECT_EQ(p->paintBoxPos - p->previewOffset, QPoint(377, 3));
}

INSTANTIATE_TEST_SUITE_P(AllProfiles, LayoutTest, ::testing::Range(1, 7));

TEST(Layout, NoProfileHasNoRectanglesAndNoColourRow)
{
    EXPECT_EQ(profileByIndex(0), nullptr);
    EXPECT_EQ(profileByIndex(7), nullptr);
    EXPECT_FALSE(pictureRect(Contacts, 0));
    EXPECT_FALSE(colourRow(0));
    QImage sheet(176, 514, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    const QImage before = sheet;
    EXPECT_FALSE(writeColourSlot(sheet, 0, 3, qRgb(1, 2, 3)));
    EXPECT_FALSE(writeBackPicture(sheet, 0, Chat, before));
    EXPECT_TRUE(cutOutPicture(sheet, 0, Chat).isNull());
    EXPECT_EQ(sheet, before);
}

TEST(Layout, SpotValuesFromTheTables)
{
    EXPECT_EQ(pictureRect(Select2, 1)->width, 89);
    EXPECT_EQ(colourRow(1)->firstColumn, 90);
    EXPECT_EQ(pictureRect(Chat, 3)->height, 275);
    EXPECT_EQ(pictureRect(AccountSel, 3)->y, 720);
    for (int profile = 1; profile <= 6; ++profile) {
        const int h = profile >= 5 ? 66 : 33;
        EXPECT_EQ(pictureRect(SettingsEl, profile)->height, h);
        EXPECT_EQ(pictureRect(SettingsSelect, profile)->height, h);
    }
}

TEST(Recognition, TheWidthAloneDecidesTheProfile)
{
    const int widths[] = {176, 208, 240, 320, 352, 416};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(profileIndexByWidth(widths[i]), i + 1);
    for (int h : {500, 514, 1, 3000})
        EXPECT_EQ(profileIndexByWidth(QSize(176, h).width()), 1) << h;
    for (int w : {0, 175, 177, 200, 640})
        EXPECT_EQ(profileIndexByWidth(w), 0) << w;
}
