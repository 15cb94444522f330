// The contact list screen, pixel by pixel, for every profile and both column
// counts, against a model built from the screen's own table of steps.
#include "contactlist_model.h"

using namespace zelkor;
using namespace zelkor::test;

namespace {

struct Case {
    int profile;
    int columns;
    int sheetRows;  // -1: the full layout
};

std::string caseName(const testing::TestParamInfo<Case> &info)
{
    return "P" + std::to_string(info.param.profile) + "_" + std::to_string(info.param.columns + 1) + "col"
        + (info.param.sheetRows < 0 ? std::string() : "_short" + std::to_string(info.param.sheetRows));
}

class ContactList : public testing::TestWithParam<Case> {};

TEST_P(ContactList, MatchesModel)
{
    const Case c = GetParam();
    ScreenFixture skin;
    const PreviewInput in = skin.input(c.profile, c.columns, c.sheetRows);
    const QImage shot = composeContactList(in);
    ScreenModel model = contactListModel(in);
    model.check(shot, caseName({c, 0}));
}

std::vector<Case> allCases()
{
    std::vector<Case> cases;
    for (int p = 1; p <= 6; ++p)
        for (int col = 0; col < 2; ++col)
            cases.push_back({p, col, -1});
    // Sheets shorter than their layout: blocks below the end copy nothing.
    cases.push_back({1, 1, 200});
    cases.push_back({5, 0, 430});
    cases.push_back({6, 1, 30});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(AllProfiles, ContactList, testing::ValuesIn(allCases()), caseName);

TEST(ContactList, BottomRowOf352x416StaysWhite)
{
    ScreenFixture skin;
    for (int columns = 0; columns < 2; ++columns) {
        const QImage shot = composeContactList(skin.input(5, columns));
        for (int x = 0; x < 352; ++x)
            ASSERT_EQ(shot.pixel(x, 415), 0xffffffffu) << "x " << x;
        // The row above belongs to the soft-key bar: menuline row 39.
        EXPECT_EQ(decodeCoordinate(shot.pixel(351, 414)).row, 39);
    }
}

TEST(ContactList, SoftKeyBarClippedAtTheBottom)
{
    ScreenFixture skin;
    // 208 x 176: the 20-row block from y 159 shows its rows 0 to 16 only.
    QImage shot = composeContactList(skin.input(2, 0));
    EXPECT_EQ(decodeCoordinate(shot.pixel(207, 175)).row, 16);
    // 240 x 320: the block ends one row below the screen, 19 rows show.
    shot = composeContactList(skin.input(3, 0));
    EXPECT_EQ(decodeCoordinate(shot.pixel(239, 319)).row, 18);
}

TEST(ContactList, Select2BlockLeavesThePicturesLastColumnOut)
{
    ScreenFixture skin;
    // The block's width: the first column that the select2 block leaves out.
    const int lastColumn[7] = {0, 88, 103, 119, 159, 176, 208};
    const int selY[7] = {0, 38, 38, 38, 38, 45, 45};
    for (int p = 1; p <= 6; ++p) {
        const QImage shot = composeContactList(skin.input(p, 1));
        const int y = selY[p] + 17;  // below the texts of the selected row
        const SheetCoord atEdge = decodeCoordinate(shot.pixel(lastColumn[p] - 1, y));
        const SheetCoord beyond = decodeCoordinate(shot.pixel(lastColumn[p], y));
        const int select2Top[7] = {0, 228, 198, 344, 260, 456, 396};
        EXPECT_EQ(atEdge.row, select2Top[p] + 17) << "profile " << p;
        EXPECT_NE(beyond.row, select2Top[p] + 17) << "profile " << p << ": column " << lastColumn[p] << " is select2's";
    }
}

TEST(ContactList, ProfileZeroComposesNothing)
{
    ScreenFixture skin;
    PreviewInput in = skin.input(1, 1);
    in.profile = 0;
    in.screen = QSize();
    EXPECT_TRUE(composeContactList(in).isNull());
}

TEST(ContactList, ColumnChoiceMovesNothingElse)
{
    // Switching columns changes only the selection bar and the second column.
    ScreenFixture skin;
    for (int p = 1; p <= 6; ++p) {
        const QImage one = composeContactList(skin.input(p, 0));
        const QImage two = composeContactList(skin.input(p, 1));
        const int selY[7] = {0, 38, 38, 38, 38, 45, 45};
        const int rowH = p >= 5 ? 36 : 18;
        const int secondIconX[7] = {0, 90, 90, 120, 160, 182, 208};
        int changedOutside = 0;
        for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x) {
                const bool selection = y >= selY[p] && y < selY[p] + rowH;
                const bool secondColumn = x >= secondIconX[p] - 2 && y >= (p >= 5 ? 45 : 20);
                if (!selection && !secondColumn && one.pixel(x, y) != two.pixel(x, y))
                    ++changedOutside;
            }
        EXPECT_EQ(changedOutside, 0) << "profile " << p;
    }
}

} // namespace
