// Palettes, nearest-colour tables, per-pixel quantisation and twips, checked
// against published checksums and hand-computed vectors.
#include "mbm/mbm.h"
#include "mbm/palette.h"
#include "mbm/pixels.h"
#include "support.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace mbm;

namespace {

template <class Table>
std::string hashOf(const Table& t)
{
    return testing_support::sha256Hex(std::span<const std::uint8_t>(t.data(), t.size()));
}

TEST(Palette, Reference256MatchesChecksum)
{
    std::vector<std::uint8_t> bytes;
    for (const Rgb& c : palette256())
        bytes.insert(bytes.end(), {c.r, c.g, c.b});
    EXPECT_EQ(testing_support::sha256Hex(bytes), "db1112a808591618d18217667e054ef38e7c94340d77c1caa3993ea21166ff77");
}

TEST(Palette, NearestColourTablesMatchChecksums)
{
    EXPECT_EQ(hashOf(inverse256()), "9b7bdfa0ab16eef80e830d98e7a4b8835b827e3e013cf411c258d5b67d708d31");
    EXPECT_EQ(hashOf(inverse16()), "a2d60d796252290eec48736b8f16accaf5641f2b667659b71852e233210f3e64");
    // Spot values, where the tie rule (lowest index) decides several.
    const std::pair<int, int> spots256[] = {{0x001, 113}, {0x111, 108}, {0x123, 7}, {0x5A5, 92},
                                            {0x777, 112}, {0x888, 143}, {0xFFF, 255}};
    for (auto [k, v] : spots256)
        EXPECT_EQ(inverse256()[k], v) << "INV256[" << k << "]";
    const std::pair<int, int> spots16[] = {{0x007, 5}, {0x124, 14}, {0x1FF, 15}, {0x049, 0}};
    for (auto [k, v] : spots16)
        EXPECT_EQ(inverse16()[k], v) << "INV16[" << k << "]";
}

TEST(Palette, RebuiltTableForTheReferencePaletteIsTheSame)
{
    EXPECT_EQ(buildInverse256(palette256()), inverse256());
}

struct QuantiseRow {
    std::uint32_t rgb;
    unsigned g1, g2, g4, g8, c4, c8, c12, c16;
};

class Quantise : public ::testing::TestWithParam<QuantiseRow> {};

// Our converter keeps the two greys the SDK tool remaps, so rows 808080 and
// C0C0C0 use the colours as given (the remapped results appear as rows 7F7F7F
// and BBBBBB, which must give what the SDK's table lists for them).
TEST_P(Quantise, EveryDepthTruncatesAsListed)
{
    const QuantiseRow& row = GetParam();
    const Rgb c{static_cast<std::uint8_t>(row.rgb >> 16), static_cast<std::uint8_t>(row.rgb >> 8),
                static_cast<std::uint8_t>(row.rgb)};
    EXPECT_EQ(quantise({1, ColourFlag::Grey}, c), row.g1);
    EXPECT_EQ(quantise({2, ColourFlag::Grey}, c), row.g2);
    EXPECT_EQ(quantise({4, ColourFlag::Grey}, c), row.g4);
    EXPECT_EQ(quantise({8, ColourFlag::Grey}, c), row.g8);
    EXPECT_EQ(quantise({4, ColourFlag::Colour}, c), row.c4);
    EXPECT_EQ(quantise({8, ColourFlag::Colour}, c), row.c8);
    EXPECT_EQ(quantise({12, ColourFlag::Colour}, c), row.c12);
    EXPECT_EQ(quantise({16, ColourFlag::Colour}, c), row.c16);
}

INSTANTIATE_TEST_SUITE_P(Vectors, Quantise, ::testing::Values(
    QuantiseRow{0x000000, 0, 0, 0, 0, 0, 0, 0x000, 0x0000},
    QuantiseRow{0xFFFFFF, 1, 3, 15, 255, 15, 255, 0xFFF, 0xFFFF},
    QuantiseRow{0x7F7F7F, 0, 1, 7, 127, 1, 112, 0x777, 0x7BEF},
    QuantiseRow{0xBBBBBB, 1, 2, 11, 187, 14, 145, 0xBBB, 0xBDD7},
    QuantiseRow{0x808080, 1, 2, 8, 128, 14, 143, 0x888, 0x8410}, // kept, not remapped
    QuantiseRow{0xC0C0C0, 1, 3, 12, 192, 15, 212, 0xCCC, 0xC618}, // kept, not remapped
    QuantiseRow{0xFF0000, 0, 0, 3, 63, 5, 5, 0xF00, 0xF800},
    QuantiseRow{0x00FF00, 1, 2, 9, 159, 7, 30, 0x0F0, 0x07E0},
    QuantiseRow{0x0000FF, 0, 0, 1, 31, 9, 220, 0x00F, 0x001F},
    QuantiseRow{0x123456, 0, 0, 2, 47, 12, 78, 0x135, 0x11AA},
    QuantiseRow{0xC86432, 0, 1, 7, 118, 3, 52, 0xC63, 0xCB26},
    QuantiseRow{0xFAFA0A, 1, 3, 13, 220, 6, 35, 0xFF0, 0xFFC1},
    QuantiseRow{0x808081, 1, 2, 8, 128, 14, 143, 0x888, 0x8410},
    QuantiseRow{0x336699, 0, 1, 5, 95, 13, 161, 0x369, 0x3333},
    QuantiseRow{0x111111, 0, 0, 1, 17, 0, 108, 0x111, 0x1082},
    QuantiseRow{0x080402, 0, 0, 0, 4, 0, 0, 0x000, 0x0820}),
    [](const auto& info) {
        char name[16];
        std::snprintf(name, sizeof name, "rgb%06X", info.param.rgb);
        return std::string(name);
    });

TEST(Twips, SdkFormulaIn64Bits)
{
    EXPECT_EQ(twips(128, 3780), 191);
    EXPECT_EQ(twips(267, 2834), 534);
    EXPECT_EQ(twips(24, 1115), 122);
    EXPECT_EQ(twips(100, 0), 0);
    EXPECT_EQ(twips(100, -5), 0);
    // 1492 * 1440000 overflows 32 bits; the true quotient is kept.
    EXPECT_EQ(twips(1492, 3780), 2237);
    EXPECT_EQ(twips(32767, 1), 185765669);
}

} // namespace
