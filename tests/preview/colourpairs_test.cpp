// Colour slots the preview draws together, and the pairs a save depth merges.

#include "preview/colourpairs.h"
#include "skin/colourslots.h"
#include "skin/depthpreview.h"
#include "skin/profiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zelkor {
namespace {

// The pairs come from the screens: the menu text on the menu window and on the
// selection, the selection's ring around its fill and the account title on
// its bar, in every profile; the chat and settings texts lie only on pictures,
// and the group colour is shown nowhere.
TEST(DrawnTogetherSlotPairs, FollowTheScreens)
{
    for (int profile = 0; profile <= kProfileCount; ++profile) {
        const std::vector<SlotPair> &pairs = drawnTogetherSlotPairs(profile);
        for (const SlotPair pair : {SlotPair{3, 10}, SlotPair{4, 10}, SlotPair{4, 5}, SlotPair{4, 6}})
            EXPECT_TRUE(std::count(pairs.begin(), pairs.end(), pair)) << pair.first << "-" << pair.second << " in " << profile;
        for (const SlotPair &pair : pairs)
            for (int slot : {0, 1, 2, 7, 11})
                EXPECT_TRUE(pair.first < pair.second && pair.first != slot && pair.second != slot) << profile;
    }
    EXPECT_TRUE(drawnTogetherSlotPairs(7).empty());
}

// Thirteen colours that every depth keeps apart; each case then gives two
// drawn-together slots colours that only its depth class merges.
ColourSlots distinctAtEveryDepth()
{
    return {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(0, 0, 255), qRgb(0, 128, 0), qRgb(255, 255, 0),
            qRgb(0, 255, 255), qRgb(128, 0, 128), qRgb(0, 0, 128), qRgb(0, 128, 128), qRgb(85, 85, 85),
            qRgb(170, 170, 170), qRgb(128, 128, 0), qRgb(0, 255, 0)};
}

struct MergeCase {
    const char *option;
    const char *coarserOnly;  // a finer depth that keeps the two apart, or null
    int a, b;
    QRgb colourA, colourB;
};

TEST(MergedSlotPairs, EachDepthClassMergesItsConstructedPair)
{
    const MergeCase cases[] = {
        // 12 bits keep the top four bits of a channel; 16 bits tell these apart.
        {"/c12", "/c16", 3, 10, qRgb(0x20, 0x30, 0x40), qRgb(0x2e, 0x3c, 0x4f)},
        // 16 bits keep five, six and five bits.
        {"/c16", nullptr, 4, 5, qRgb(0x80, 0x40, 0x20), qRgb(0x84, 0x43, 0x24)},
        // Two 12-bit colours with the same nearest colour of the 256-colour palette.
        {"/c8", "/c12", 4, 6, qRgb(0x90, 0x30, 0x60), qRgb(0xa0, 0x30, 0x60)},
        // Two 8-bit colours with the same nearest colour of the 16-colour palette.
        {"/c4", "/c8", 3, 6, qRgb(0xff, 0x20, 0x20), qRgb(0xe0, 0x00, 0x40)},
    };
    for (const MergeCase &c : cases) {
        ColourSlots colours = distinctAtEveryDepth();
        colours[size_t(c.a)] = c.colourA;
        colours[size_t(c.b)] = c.colourB;
        const QString option = QString::fromLatin1(c.option);
        EXPECT_EQ(mergedSlotPairs(colours, option), (std::vector<SlotPair>{{c.a, c.b}})) << c.option;
        if (c.coarserOnly)
            EXPECT_TRUE(mergedSlotPairs(colours, QString::fromLatin1(c.coarserOnly)).empty()) << c.option;
        EXPECT_TRUE(mergedSlotPairs(colours, QStringLiteral("/c24")).empty()) << c.option;
    }
}

TEST(MergedSlotPairs, NoWarningForSlotsNeverDrawnTogetherOrAlreadyEqual)
{
    ColourSlots colours = distinctAtEveryDepth();
    colours[0] = qRgb(0x10, 0x10, 0x10);   // outgoing text and settings text:
    colours[11] = qRgb(0x00, 0x08, 0x00);  // both black at 4 bits
    colours[10] = colours[3];               // menu text as its window: the sheet's own choice
    const QString option = QStringLiteral("/c4");
    ASSERT_EQ(coloursAtDepth(colours, option)[0], coloursAtDepth(colours, option)[11]);
    EXPECT_TRUE(mergedSlotPairs(colours, option).empty());

    const QString message = mergedColoursMessage({{3, 10}}, QStringLiteral("Color 4 bpp"));
    EXPECT_TRUE(message.contains(colourSlotLabel(3)) && message.contains(colourSlotLabel(10))
                && message.contains(QStringLiteral("Color 4 bpp")));
    EXPECT_TRUE(mergedColoursMessage({}, QStringLiteral("Color 4 bpp")).isEmpty());
}

} // namespace
} // namespace zelkor
