// The chat screen, composed on a coordinate sheet and checked pixel by pixel
// against the client's layout of each profile.
#include "screenmodel.h"

#include <gtest/gtest.h>

using namespace zelkor;
using namespace zelkor::test;

namespace {

struct ChatCase {
    int profile;
    int chatSource, chatHeight;
    int points;
    int nickX, clientX;
    int cell, cellY, iconY;
    int lineY[3];
    int barY, barHeight;
    int labelY, leftX, rightX;
    const char16_t *right;
    std::vector<int> whiteRows;  // rows no step paints
};

void PrintTo(const ChatCase &c, std::ostream *os) { *os << "profile " << c.profile; }

const ChatCase kCases[] = {
    {1, 329, 165, 11, 20, 120, 16, 0, 0, {30, 45, 60}, 188, 20, 190, 2, 125, u"Назад", {165, 176, 187}},
    {2, 299, 164, 11, 20, 140, 16, 0, 0, {30, 45, 60}, 159, 20, 156, 2, 155, u"Назад", {}},
    {3, 445, 275, 11, 20, 170, 16, 0, 0, {30, 45, 60}, 301, 20, 300, 2, 190, u"Назад", {275, 290, 299}},
    {4, 361, 225, 11, 20, 240, 16, 0, 0, {30, 45, 60}, 222, 18, 223, 2, 270, u"Назад", {}},
    {5, 658, 330, 18, 40, 280, 32, 32, 2, {35, 65, 95}, 375, 40, 385, 7, 270, u"Назад", {330, 350, 374, 415}},
    {6, 598, 328, 18, 40, 300, 32, 32, 2, {35, 65, 95}, 316, 36, 318, 7, 320, u"Выход", {}},
};

ScreenModel expectedScreen(const ChatCase &c, const PreviewInput &in)
{
    const int w = in.screen.width();
    ScreenModel m(in);
    m.block(c.chatSource, w, c.chatHeight, 0);
    m.text(QStringLiteral("Dunrel"), c.nickX, 0, c.points, 9);
    m.text(QStringLiteral("Zelkor"), c.clientX, 0, c.points, 9);
    m.icon(c.cell, c.cellY, 0, c.iconY);
    m.text(QStringLiteral("[13:34]-> Привет!"), 0, c.lineY[0], c.points, 0);
    m.text(QStringLiteral("Волосатая птица ..."), 0, c.lineY[1], c.points, 2);
    m.text(QStringLiteral("[13:34]<- Кривед..."), 0, c.lineY[2], c.points, 1);
    m.block(0, w, c.barHeight, c.barY);
    m.text(QStringLiteral("Меню"), c.leftX, c.labelY, c.points, 9);
    m.text(QString::fromUtf16(c.right), c.rightX, c.labelY, c.points, 9);
    return m;
}

class ChatScreenTest : public ::testing::TestWithParam<ChatCase> {};

TEST_P(ChatScreenTest, EveryPixelComesFromItsStep)
{
    const ScreenFixture f(GetParam().profile);
    expectedScreen(GetParam(), f.in).check(composeChat(f.in));
}

TEST_P(ChatScreenTest, OneSlotChangesOnlyItsTexts)
{
    const ScreenFixture f(GetParam().profile);
    checkSlotIsolation(f.in, composeChat, expectedScreen(GetParam(), f.in).slotAreas());
}

TEST_P(ChatScreenTest, RowsNoStepPaintsStayWhite)
{
    const ScreenFixture f(GetParam().profile);
    const QImage img = composeChat(f.in);
    for (int row : GetParam().whiteRows)
        for (int x = 0; x < img.width(); ++x)
            ASSERT_EQ(img.pixel(x, row), 0xffffffffu) << "(" << x << ", " << row << ")";
}

TEST_P(ChatScreenTest, ScreenSelectorItemThreeShowsIt)
{
    checkRenderShows(ChatScreen, composeChat, ScreenFixture(GetParam().profile).in);
}

INSTANTIATE_TEST_SUITE_P(Profiles, ChatScreenTest, ::testing::ValuesIn(kCases));

// The soft-key copy of 208 x 176 takes 20 rows from an 18-row picture and the
// screen edge leaves 17 of them; the one of 240 x 320 loses the picture's last row.
TEST(ChatScreen, SoftKeyCopyIsClippedAtTheBottomEdge)
{
    const ScreenFixture f2(2);
    const QImage p2 = composeChat(f2.in);
    EXPECT_EQ(decodeCoordinate(p2.pixel(207, 175)).row, 16);
    EXPECT_EQ(decodeCoordinate(p2.pixel(207, 159)).row, 0);
    EXPECT_EQ(decodeCoordinate(p2.pixel(207, 158)).row, 299 + 158);

    const ScreenFixture f3(3);
    const QImage p3 = composeChat(f3.in);
    EXPECT_EQ(decodeCoordinate(p3.pixel(239, 319)).row, 18);
}

TEST(ChatScreen, NoSkinDrawsNothing)
{
    checkNoSkinDrawsNothing(ChatScreen, composeChat, 5);
}

} // namespace
