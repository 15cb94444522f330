// The preview at a save depth against the real converter: the quantised sheet
// must be exactly what Save at that depth and a Load back give, for a
// portrait and a landscape template at each of the Save dialog's depths.

#include "datatests.h"

#include "preview/preview.h"
#include "skin/depthpreview.h"
#include "skin/profiles.h"
#include "skin/savename.h"

#include <gtest/gtest.h>

#include <tuple>

namespace zelkor {
namespace {

QImage savedAndLoaded(const QImage &sheet, const QString &option)
{
    QString error;
    const QImage back = test::saveAndLoadWithBmconv(sheet, option, &error);
    EXPECT_FALSE(back.isNull()) << qPrintable(error);
    return back;
}

class DepthPreviewTest : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(DepthPreviewTest, QuantisedSheetIsWhatTheConverterGivesBack)
{
    const auto [profile, depthIndex] = GetParam();
    const QString option = depthOption(depthIndex);
    const QImage sheet = test::templateSheet(profile);
    ASSERT_FALSE(sheet.isNull());
    DepthPreview preview;
    EXPECT_TRUE(preview.sheet(sheet, option) == savedAndLoaded(sheet, option));
}

INSTANTIATE_TEST_SUITE_P(PortraitAndLandscapeAtEveryDepth, DepthPreviewTest,
                         ::testing::Combine(::testing::Values(3, 6), ::testing::Range(0, int(kColourDepths.size()))),
                         [](const auto &info) {
                             return std::string(profileByIndex(std::get<0>(info.param))->label) + "_"
                                    + (kColourDepths[size_t(std::get<1>(info.param))].option + 1);
                         });

// Every screen drawn from the preview's sheet and its colour row equals the
// screen drawn from the skin that Save would write.
TEST(DepthPreviewRender, EveryScreenMatchesTheSavedAndLoadedSkin)
{
    const int profile = 6;
    const QImage sheet = test::templateSheet(profile);
    ASSERT_FALSE(sheet.isNull());
    DepthPreview preview;
    const QImage shown = preview.sheet(sheet, QStringLiteral("/c8"));
    const QImage loaded = savedAndLoaded(sheet, QStringLiteral("/c8"));
    const auto render = [profile](const QImage &from, int screen, int columns) {
        const PreviewInput in{&from, profile, profileByIndex(profile)->screenSize(), readColourSlots(from, profile),
                              nullptr, nullptr, columns};
        QImage paintBox = newPreviewBitmap(in.screen);
        Canvas canvas(&paintBox);
        renderPreview(screen, in, canvas);
        return paintBox;
    };
    for (int screen = AccountSelectionScreen; screen < MessageIndicatorScreen; ++screen)
        for (int columns = 0; columns < 2; ++columns)
            EXPECT_TRUE(render(shown, screen, columns) == render(loaded, screen, columns)) << screen << "/" << columns;
}

// A second look-up returns the cached sheet, a write to the true sheet is seen
// at once, and "as is" is the true sheet itself.
TEST(DepthPreviewCache, RecomputesOnlyWhenTheSheetOrTheDepthChanges)
{
    QImage sheet = test::templateSheet(3);
    ASSERT_FALSE(sheet.isNull());
    DepthPreview preview;
    const QImage first = preview.sheet(sheet, QStringLiteral("/c4"));
    EXPECT_EQ(preview.sheet(sheet, QStringLiteral("/c4")).cacheKey(), first.cacheKey());
    EXPECT_NE(preview.sheet(sheet, QStringLiteral("/c12")).cacheKey(), first.cacheKey());
    writeColourSlot(sheet, 3, 0, qRgb(255, 0, 0));
    EXPECT_EQ(readColourSlot(preview.sheet(sheet, QStringLiteral("/c4")), 3, 0), qRgb(255, 0, 0));
    EXPECT_EQ(preview.sheet(sheet, QString()).cacheKey(), sheet.cacheKey());
}

} // namespace
} // namespace zelkor
