// Porting a sheet to another profile, over all 30 pairs of the real template
// skins (unpacked through bmconv).

#include "datatests.h"

#include "skin/port.h"
#include "skin/profiles.h"
#include "skin/sheet.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <utility>

namespace zelkor {
namespace {

// Colours per profile and slot, so a slot written to the wrong place or taken
// from the wrong profile shows.
QImage withColourRow(QImage sheet, int profile)
{
    for (int slot = 0; slot < kColourSlotCount; ++slot)
        writeColourSlot(sheet, profile, slot, qRgb(30 * profile, 17 * slot, 200 - slot));
    return sheet;
}

// Even pictures flat, odd ones a gradient from left to right.
QImage flatAndGradientSheet(QImage sheet, int profile)
{
    for (int picture = 0; picture < kPictureCount; ++picture) {
        const PictureRect r = *pictureRect(picture, profile);
        for (int y = r.y; y < r.y + r.height; ++y)
            for (int x = 0; x < r.width; ++x)
                sheet.setPixel(x, y, picture % 2 ? qRgb(255 * x / (r.width - 1), 40, 90) : qRgb(25 * picture, 100, 50));
    }
    return withColourRow(sheet, profile);
}

class PortTest : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(PortTest, PicturesScaleIntoTheTargetTemplateAndColoursSurvive)
{
    const auto [from, to] = GetParam();
    const QImage home = test::templateSheet(from), target = test::templateSheet(to);
    ASSERT_FALSE(home.isNull() || target.isNull());

    // The real template: layout, colours, each picture scaled, the rest the target's.
    const QImage sheet = withColourRow(home, from);
    const QImage ported = portSheet(sheet, from, target, to);
    ASSERT_EQ(ported.size(), QSize(profileByIndex(to)->screenWidth, profileByIndex(to)->layoutRows));
    EXPECT_EQ(readColourSlots(ported, to), readColourSlots(sheet, from));
    QImage rest = ported;
    QPainter painter(&rest);
    for (int picture = 0; picture < kPictureCount; ++picture) {
        const QRect r = pictureRect(picture, to)->rect();
        const QImage expected = sheet.copy(pictureRect(picture, from)->rect())
                                    .scaled(r.size(), Qt::IgnoreAspectRatio, kPortScaling)
                                    .convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(ported.copy(r) == expected) << pictureInfo(picture).name;
        painter.drawImage(r.topLeft(), target, r);
    }
    const ColourRowOrigin row = *colourRow(to);
    painter.drawImage(QPoint(row.firstColumn, row.row), target, QRect(row.firstColumn, row.row, kColourSlotCount, 1));
    painter.end();
    EXPECT_TRUE(rest == target) << "gaps and spare columns differ from the target template";

    // Flat stays flat, a horizontal gradient stays one, and the colours come back.
    const QImage looks = portSheet(flatAndGradientSheet(home, from), from, target, to);
    for (int picture = 0; picture < kPictureCount; ++picture) {
        const QImage scaled = looks.copy(pictureRect(picture, to)->rect());
        bool keepsLook = (qRed(scaled.pixel(0, 0)) < qRed(scaled.pixel(scaled.width() - 1, 0))) == bool(picture % 2);
        for (int y = 0; y < scaled.height(); ++y)
            for (int x = 0; x < scaled.width(); ++x)
                keepsLook = keepsLook && scaled.pixel(x, y) == scaled.pixel(picture % 2 ? x : 0, 0);
        EXPECT_TRUE(keepsLook) << pictureInfo(picture).name;
    }
    EXPECT_EQ(readColourSlots(portSheet(looks, to, home, from), from), readColourSlots(sheet, from));
}

std::vector<std::pair<int, int>> allPairs()
{
    std::vector<std::pair<int, int>> pairs;
    for (int from = 1; from <= kProfileCount; ++from)
        for (int to = 1; to <= kProfileCount; ++to)
            if (from != to)
                pairs.emplace_back(from, to);
    return pairs;
}

INSTANTIATE_TEST_SUITE_P(AllProfilePairs, PortTest, ::testing::ValuesIn(allPairs()), [](const auto &info) {
    return std::string(profileByIndex(info.param.first)->label) + "_to_" + profileByIndex(info.param.second)->label;
});

// A 176 x 500 skin ends inside account_sel: its missing rows port as white,
// as the picture editing dialog shows them. A template of another width is refused.
TEST(PortEdges, ShortSheetPortsItsMissingRowsWhiteAndAWrongTemplateIsRefused)
{
    const QImage full = test::templateSheet(1), target = test::templateSheet(3);
    ASSERT_FALSE(full.isNull() || target.isNull());
    const QImage ported = portSheet(full.copy(0, 0, 176, 500), 1, target, 3);
    const PictureRect from = *pictureRect(AccountSel, 1), to = *pictureRect(AccountSel, 3);  // equally high
    QImage white(to.width, 1, QImage::Format_RGB32);
    white.fill(Qt::white);
    for (int y = 0; y < to.height; ++y)
        EXPECT_EQ(ported.copy(0, to.y + y, to.width, 1) == white, y >= 500 - from.y) << "row " << y;
    EXPECT_TRUE(portSheet(full, 1, full, 3).isNull());
}

} // namespace
} // namespace zelkor
