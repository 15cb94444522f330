// The settings screen, composed on a coordinate sheet and checked pixel by
// pixel against the client's layout of each profile.
#include "screenmodel.h"

#include <gtest/gtest.h>

using namespace zelkor;
using namespace zelkor::test;

namespace {

struct SettingsCase {
    int profile;
    int topSource, topHeight;
    int rowSource, rowHeight, rowCount, firstRowY, pitch;
    int selectionSource, selectionY;
    int points;
    QPoint firstCaption, secondCaption;
    int barY, barHeight;
    int labelY, leftX, rightX;
    const char16_t *right;
};

void PrintTo(const SettingsCase &c, std::ostream *os) { *os << "profile " << c.profile; }

const SettingsCase kCases[] = {
    {1, 247, 16, 263, 33, 6, 16, 33, 296, 49, 8, {2, 16}, {2, 49}, 188, 20, 190, 2, 125, u"Назад"},
    {2, 217, 16, 233, 33, 6, 16, 33, 266, 49, 11, {2, 16}, {2, 49}, 159, 20, 156, 2, 155, u"Назад"},
    {3, 363, 16, 379, 33, 9, 16, 33, 412, 49, 11, {2, 16}, {2, 49}, 301, 20, 300, 2, 190, u"Назад"},
    {4, 279, 16, 295, 33, 9, 16, 33, 328, 49, 11, {2, 16}, {2, 49}, 222, 18, 223, 2, 270, u"Назад"},
    {5, 494, 32, 526, 66, 9, 32, 66, 592, 97, 18, {4, 51}, {4, 117}, 375, 40, 385, 7, 270, u"Назад"},
    {6, 434, 32, 466, 66, 9, 32, 66, 532, 98, 18, {4, 51}, {4, 117}, 316, 36, 318, 7, 320, u"Выход"},
};

ScreenModel expectedScreen(const SettingsCase &c, const PreviewInput &in)
{
    const int w = in.screen.width();
    ScreenModel m(in);
    m.block(c.topSource, w, c.topHeight, 0);
    for (int i = 0; i < c.rowCount; ++i)
        m.block(c.rowSource, w, c.rowHeight, c.firstRowY + i * c.pitch);
    m.block(c.selectionSource, w, c.rowHeight, c.selectionY);
    m.text(QStringLiteral("Проверка на обновление"), c.secondCaption.x(), c.secondCaption.y(), c.points, 11);
    m.text(QStringLiteral("Группировать откр. чаты"), c.firstCaption.x(), c.firstCaption.y(), c.points, 11);
    m.block(0, w, c.barHeight, c.barY);
    m.text(QStringLiteral("Меню"), c.leftX, c.labelY, c.points, 9);
    m.text(QString::fromUtf16(c.right), c.rightX, c.labelY, c.points, 9);
    return m;
}

class SettingsScreenTest : public ::testing::TestWithParam<SettingsCase> {};

TEST_P(SettingsScreenTest, EveryPixelComesFromItsStep)
{
    const ScreenFixture f(GetParam().profile);
    expectedScreen(GetParam(), f.in).check(composeSettings(f.in));
}

TEST_P(SettingsScreenTest, OneSlotChangesOnlyItsTexts)
{
    const ScreenFixture f(GetParam().profile);
    checkSlotIsolation(f.in, composeSettings, expectedScreen(GetParam(), f.in).slotAreas());
}

// Each caption lies wholly inside its settings row, so the row's picture is
// what it is read against.
TEST_P(SettingsScreenTest, CaptionsSitInsideTheFirstTwoRows)
{
    const SettingsCase &c = GetParam();
    const ScreenFixture f(c.profile);
    const ScreenModel m = expectedScreen(c, f.in);
    const QRect first(-100, c.firstRowY, 10000, c.rowHeight);  // vertical placement only
    const QRect second = first.translated(0, c.pitch);
    ASSERT_GE(m.texts().size(), 2u);
    EXPECT_TRUE(second.contains(m.texts()[0].cell)) << m.texts()[0].text.toStdString();
    EXPECT_TRUE(first.contains(m.texts()[1].cell)) << m.texts()[1].text.toStdString();
}

TEST_P(SettingsScreenTest, ScreenSelectorItemFourShowsIt)
{
    checkRenderShows(SettingsScreen, composeSettings, ScreenFixture(GetParam().profile).in);
}

INSTANTIATE_TEST_SUITE_P(Profiles, SettingsScreenTest, ::testing::ValuesIn(kCases));

// Sheet row shown at the right edge of the screen, where no text reaches.
struct RowCase {
    int profile;
    int row;
    int sheetRow;
};

void PrintTo(const RowCase &c, std::ostream *os) { *os << "profile " << c.profile << ", row " << c.row; }

class SettingsScreenRows : public ::testing::TestWithParam<RowCase> {};

TEST_P(SettingsScreenRows, RightmostPixel)
{
    const RowCase c = GetParam();
    const ScreenFixture f(c.profile);
    const QImage img = composeSettings(f.in);
    EXPECT_EQ(decodeCoordinate(img.pixel(img.width() - 1, c.row)).row, c.sheetRow) << "row " << c.row;
}

INSTANTIATE_TEST_SUITE_P(Edges, SettingsScreenRows,
                         ::testing::Values(
                             // 352 x 416: the selection starts at 97, over the first row's last
                             // line, and leaves the second row's last line (163) showing
                             RowCase{5, 96, 526 + 64}, RowCase{5, 97, 592}, RowCase{5, 162, 592 + 65},
                             RowCase{5, 163, 526 + 65}, RowCase{6, 97, 466 + 65}, RowCase{6, 98, 532},
                             RowCase{6, 163, 532 + 65},
                             // 20 rows copied at 159 into 176 rows: the picture's first 17 show
                             RowCase{2, 175, 16}, RowCase{2, 158, 233 + 10},
                             // rows reaching below the screen edge are clipped there
                             RowCase{3, 300, 379 + 20}, RowCase{3, 319, 18}, RowCase{4, 221, 295 + 7},
                             RowCase{4, 239, 17}, RowCase{1, 187, 263 + 6}, RowCase{5, 374, 526 + 12},
                             RowCase{5, 415, 526 + 53}, RowCase{6, 315, 466 + 19}));

TEST(SettingsScreen, NoSkinDrawsNothing)
{
    checkNoSkinDrawsNothing(SettingsScreen, composeSettings, 6);
}

} // namespace
