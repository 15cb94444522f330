// The account selection screen, composed on a coordinate sheet and checked
// pixel by pixel against the client's layout of each profile.
#include "screenmodel.h"

#include <gtest/gtest.h>

using namespace zelkor;
using namespace zelkor::test;

namespace {

struct AccountCase {
    int profile;
    int barHeight, barY;
    int points;
    int labelY, exitX;
    int selectionSource, selectionHeight, selectionY;
    int nameX, nameY[3];
    int titleHeight, titleX;
    int cell, iconCells[3];
};

void PrintTo(const AccountCase &c, std::ostream *os) { *os << "profile " << c.profile; }

const AccountCase kCases[] = {
    {1, 20, 188, 11, 190, 125, 494, 20, 40, 20, {20, 40, 60}, 20, 40, 16, {0, 32, 48}},
    {2, 18, 157, 11, 156, 150, 463, 18, 40, 20, {20, 40, 60}, 18, 60, 16, {0, 32, 48}},
    {3, 29, 301, 11, 303, 180, 720, 20, 40, 20, {20, 40, 60}, 20, 75, 16, {0, 32, 48}},
    {4, 18, 223, 11, 223, 267, 586, 18, 40, 20, {20, 40, 60}, 18, 95, 16, {0, 32, 48}},
    {5, 40, 377, 18, 380, 265, 988, 40, 82, 40, {50, 86, 122}, 40, 95, 32, {0, 64, 96}},
    {6, 36, 316, 18, 317, 330, 926, 36, 82, 40, {50, 86, 122}, 36, 95, 32, {0, 64, 96}},
};

ScreenModel expectedScreen(const AccountCase &c, const PreviewInput &in)
{
    const int w = in.screen.width(), h = in.screen.height();
    ScreenModel m(in);
    m.fill(0, 0, w, h, 3);
    m.block(0, w, c.barHeight, c.barY);
    m.text(QStringLiteral("Меню"), 2, c.labelY, c.points, 9);
    m.text(QStringLiteral("Выход"), c.exitX, c.labelY, c.points, 9);
    m.block(c.selectionSource, w, c.selectionHeight, c.selectionY);
    m.text(QStringLiteral("lumno"), c.nameX, c.nameY[0], c.points, 6);
    m.text(QStringLiteral("dunrel"), c.nameX, c.nameY[1], c.points, 6);
    m.text(QStringLiteral("dorvu"), c.nameX, c.nameY[2], c.points, 6);
    m.fill(0, 0, w, c.titleHeight, 4);
    m.text(QStringLiteral("выбор профиля"), c.titleX, 0, c.points, 6, 4);
    for (int i = 0; i < 3; ++i)
        m.icon(c.cell, c.iconCells[i], 0, c.nameY[i]);
    return m;
}

class AccountScreenTest : public ::testing::TestWithParam<AccountCase> {};

TEST_P(AccountScreenTest, EveryPixelComesFromItsStep)
{
    const ScreenFixture f(GetParam().profile);
    expectedScreen(GetParam(), f.in).check(composeAccountSelection(f.in));
}

TEST_P(AccountScreenTest, OneSlotChangesOnlyItsFillsAndTexts)
{
    const ScreenFixture f(GetParam().profile);
    checkSlotIsolation(f.in, composeAccountSelection, expectedScreen(GetParam(), f.in).slotAreas());
}

TEST_P(AccountScreenTest, ScreenSelectorItemZeroShowsIt)
{
    checkRenderShows(AccountSelectionScreen, composeAccountSelection, ScreenFixture(GetParam().profile).in);
}

INSTANTIATE_TEST_SUITE_P(Profiles, AccountScreenTest, ::testing::ValuesIn(kCases));

// The edges of the soft-key bar and the title bar, as the client draws them.
struct RowCase {
    int profile;
    int row;
    int sheetRow;  // -1: the background colour of slot 3
};

void PrintTo(const RowCase &c, std::ostream *os) { *os << "profile " << c.profile << ", row " << c.row; }

class AccountScreenRows : public ::testing::TestWithParam<RowCase> {};

TEST_P(AccountScreenRows, RightmostPixel)
{
    const RowCase c = GetParam();
    const ScreenFixture f(c.profile);
    const QImage img = composeAccountSelection(f.in);
    const QRgb want = c.sheetRow < 0 ? f.in.colours[3] : coordinateColour(c.sheetRow, img.width() - 1);
    EXPECT_EQ(img.pixel(img.width() - 1, c.row) | 0xff000000u, want | 0xff000000u);
}

INSTANTIATE_TEST_SUITE_P(Edges, AccountScreenRows,
                         ::testing::Values(
                             // 29-row block at 301 on a 320-row screen: its first 19 rows show
                             RowCase{3, 300, -1}, RowCase{3, 301, 0}, RowCase{3, 319, 18},
                             RowCase{2, 174, 17}, RowCase{2, 175, -1},     // bar ends above the edge
                             RowCase{4, 222, -1}, RowCase{4, 239, 16},     // bar's last row falls off
                             RowCase{5, 415, 38}, RowCase{1, 207, 19}, RowCase{6, 351, 35},
                             RowCase{2, 18, -1}, RowCase{2, 19, -1}, RowCase{4, 19, -1},  // gap under the title
                             RowCase{1, 40, 494}, RowCase{5, 121, 1027}));

TEST(AccountScreen, NoSkinDrawsNothing)
{
    checkNoSkinDrawsNothing(AccountSelectionScreen, composeAccountSelection, 1);
}

TEST(AccountScreen, TitleStaysReadableWhenBarAndBackgroundMatch)
{
    ScreenFixture f(3);
    f.in.colours[4] = f.in.colours[3];
    const QImage img = composeAccountSelection(f.in);
    EXPECT_EQ(img.pixel(239, 5), img.pixel(239, 25)) << "bar and background share one colour";
    EXPECT_GT(ScreenModel::countColour(img, QRect(75, 0, 120, 20), f.in.colours[6]), 8);
}

} // namespace
