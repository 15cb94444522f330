// Multi-bitmap files: hand-built files for each depth and compression code
// decoded to hand-computed pixels (the reader apart from our writer), and
// round trips through our writer at every depth.
#include "mbm/bmp.h"
#include "mbm/mbm.h"
#include "mbm/pixels.h"
#include "support.h"

#include <gtest/gtest.h>

#include <random>

using namespace mbm;
using Bytes = std::vector<std::uint8_t>;
using testing_support::buildFile;
using testing_support::RawBitmap;

namespace {

struct HandCase {
    const char* name;
    RawBitmap bitmap;
    std::vector<std::uint32_t> rgb; // 0xRRGGBB per pixel, top row first
    Bytes alpha;
};

class HandBuilt : public ::testing::TestWithParam<HandCase> {};

TEST_P(HandBuilt, DecodesToTheExpectedPixels)
{
    const HandCase& c = GetParam();
    const Bytes file = buildFile({c.bitmap});
    auto records = parseMbm(file);
    ASSERT_TRUE(records) << records.error().message;
    ASSERT_EQ(records->size(), 1u);
    auto image = decodeImage((*records)[0]);
    ASSERT_TRUE(image) << image.error().message;
    ASSERT_EQ(image->bgr.size(), 3 * c.rgb.size());
    for (std::size_t i = 0; i < c.rgb.size(); ++i) {
        const std::uint32_t got = testing_support::rgbAt(*image, i);
        EXPECT_EQ(got, c.rgb[i]) << "pixel " << i;
    }
    EXPECT_EQ(image->alpha, c.alpha);
}

INSTANTIATE_TEST_SUITE_P(Depths, HandBuilt, ::testing::Values(
    HandCase{"Grey1Raw", {3, 2, 1, 0, 0, {0x05, 0xFF, 0xFF, 0xFF, 0x02, 0xFF, 0xFF, 0xFF}},
             {0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000}, {}},
    HandCase{"Grey1Rle", {3, 2, 1, 0, 1, {0xFF, 0x05, 0x02, 0xFF, 0xFF, 0x02, 0x02, 0xFF}},
             {0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000}, {}},
    HandCase{"Grey2Raw", {2, 1, 2, 0, 0, {0x0D, 0xFF, 0xFF, 0xFF}}, {0x555555, 0xFFFFFF}, {}},
    HandCase{"Grey4Rle", {3, 1, 4, 0, 1, {0xFE, 0x21, 0xFA, 0x01, 0xFF}}, {0x111111, 0x222222, 0xAAAAAA}, {}},
    HandCase{"Colour4Raw", {2, 1, 4, 1, 0, {0x95, 0xFF, 0xFF, 0xFF}}, {0xFF0000, 0x0000FF}, {}},
    HandCase{"Grey8RleRowByRow", {4, 2, 8, 0, 1, {0xFC, 1, 2, 3, 4, 0x03, 9}},
             {0x010101, 0x020202, 0x030303, 0x040404, 0x090909, 0x090909, 0x090909, 0x090909}, {}},
    HandCase{"Colour8Raw", {3, 1, 8, 1, 0, {0, 108, 215, 0xFF}}, {0x000000, 0x111111, 0x33FFCC}, {}},
    HandCase{"Colour12Rle", {3, 1, 12, 1, 2, {0xBC, 0x2A, 0xFF, 0x0F}}, {0xAABBCC, 0xAABBCC, 0xAABBCC}, {}},
    HandCase{"Colour16Raw", {2, 1, 16, 1, 0, {0x00, 0xF8, 0xE0, 0x07}}, {0xFF0000, 0x00FF00}, {}},
    HandCase{"Colour16Rle", {3, 1, 16, 1, 3, {0x02, 0x10, 0x84, 0xFF, 0xFF, 0xFF}}, {0x838183, 0x838183, 0x838183}, {}},
    HandCase{"Colour24Raw", {1, 1, 24, 1, 0, {9, 8, 7, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}, {0x070809}, {}},
    HandCase{"Colour24Rle", {2, 1, 24, 1, 4, {0x01, 1, 2, 3, 0x01, 0xFF, 0xFF, 0xFF}}, {0x030201, 0x030201}, {}},
    HandCase{"Colour32Raw", {1, 1, 32, 1, 0, {1, 2, 3, 0}}, {0x030201}, {}},
    HandCase{"Colour32Rle", {2, 1, 32, 1, 5, {0xFE, 10, 20, 30, 40, 50, 60}}, {0x1E140A, 0x3C3228}, {}},
    HandCase{"Alpha32Rle", {1, 2, 32, 2, 6, {0x01, 1, 2, 3, 4}}, {0x030201, 0x030201}, {4, 4}},
    HandCase{"Alpha32Raw", {2, 1, 32, 2, 0, {1, 2, 3, 0x80, 4, 5, 6, 0xFF}}, {0x030201, 0x060504}, {0x80, 0xFF}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MbmFile, FollowsTheTrailerEvenWhenRecordsAreNotContiguous)
{
    const Bytes file = buildFile({{1, 1, 8, 0, 0, {7, 0xFF, 0xFF, 0xFF}}, {1, 1, 8, 0, 0, {9, 0xFF, 0xFF, 0xFF}}}, 6);
    auto records = parseMbm(file);
    ASSERT_TRUE(records) << records.error().message;
    ASSERT_EQ(records->size(), 2u);
    EXPECT_EQ((*records)[0].offset, 26u);
    EXPECT_EQ(decodeImage((*records)[1])->bgr, (Bytes{9, 9, 9}));
}

struct DepthCase {
    Depth depth;
    bool compress;
};

class RoundTrip : public ::testing::TestWithParam<DepthCase> {};

TEST_P(RoundTrip, UnpackShowsTheTruncatedPixels)
{
    const auto [depth, compress] = GetParam();
    Image source = testing_support::patternImage(61, 23); // odd width: every padding rule is hit
    if (hasAlpha(depth))
        for (std::size_t i = 0; i < source.bgr.size() / 3; ++i)
            source.alpha.push_back(static_cast<std::uint8_t>(i < 61 * 8 ? i * 7 : 255));
    const Bytes file = serialiseMbm({encodeBitmap(source, depth, {compress, nullptr}),
                                     encodeBitmap(source, depth, {compress, nullptr})});
    auto records = parseMbm(file);
    ASSERT_TRUE(records) << records.error().message;
    ASSERT_EQ(records->size(), 2u);
    const BitmapHeader& h = (*records)[1].header;
    EXPECT_EQ(h.depth(), depth);
    if (compress)
        EXPECT_EQ(h.compression, static_cast<std::int32_t>(compressionFor(depth))) << "pattern should compress";
    else
        EXPECT_EQ(h.compression, 0);
    auto image = decodeImage((*records)[1]);
    ASSERT_TRUE(image) << image.error().message;
    for (std::size_t i = 0; i < source.bgr.size() / 3; ++i) {
        const Rgb c{source.bgr[3 * i + 2], source.bgr[3 * i + 1], source.bgr[3 * i]};
        const std::uint32_t want = testing_support::shownColour(depth, quantise(depth, c));
        const std::uint32_t got = testing_support::rgbAt(*image, i);
        ASSERT_EQ(got, want) << "pixel " << i << " at " << depthOption(depth);
    }
    EXPECT_EQ(image->alpha, source.alpha);
}

std::vector<DepthCase> allDepths()
{
    std::vector<DepthCase> cases;
    for (const Depth& d : kPackDepths)
        for (bool c : {false, true})
            cases.push_back({d, c});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, RoundTrip, ::testing::ValuesIn(allDepths()), [](const auto& info) {
    return depthOption(info.param.depth) + (info.param.compress ? "_rle" : "_raw");
});

// The converter's own paths (packing straight from a bitmap file's rows,
// unpacking straight into the written file, the preview's row-wise round
// trip) give exactly what the whole-picture functions give, at every depth
// and at widths on both sides of every row tail: sub-byte pixels, the 4-byte
// rows that 24-bit data decodes into in place.
class FastPaths : public ::testing::TestWithParam<Depth> {};

TEST_P(FastPaths, MatchTheWholePictureFunctions)
{
    const Depth d = GetParam();
    std::mt19937 gen(11);
    for (std::int32_t width = 1; width <= 13; ++width) {
        for (std::int32_t height : {1, 4, 5}) {
            SCOPED_TRACE("width " + std::to_string(width) + ", height " + std::to_string(height));
            Image source;
            source.width = width;
            source.height = height;
            for (std::int32_t i = 0; i < 3 * width * height; ++i)
                source.bgr.push_back(static_cast<std::uint8_t>(gen() % 3 == 0 ? 0x55 : gen()));
            if (hasAlpha(d))
                for (std::int32_t i = 0; i < width * height; ++i)
                    source.alpha.push_back(static_cast<std::uint8_t>(gen()));

            const Image shown = expandPixels(packPixels(source, d), width, height, d);
            const Image trip = roundTrip(source, d);
            EXPECT_EQ(trip.bgr, shown.bgr);
            EXPECT_EQ(trip.alpha, shown.alpha);

            const Bytes bmp = writeBmp24(source);
            auto rows = BmpRows::open(bmp);
            ASSERT_TRUE(rows) << rows.error().message;
            rows->alpha = source.alpha;
            const EncodedBitmap fromFile = encodeRows(*rows, d);
            EXPECT_EQ(fromFile.data, encodeBitmap(source, d).data);

            const Bytes file = serialiseMbm({fromFile});
            auto records = parseMbm(file);
            ASSERT_TRUE(records) << records.error().message;
            auto unpacked = unpackBitmap((*records)[0]);
            ASSERT_TRUE(unpacked) << unpacked.error().message;
            const auto bytes = [](const ByteBuffer& b) { return Bytes(b.data(), b.data() + b.size()); };
            EXPECT_EQ(bytes(unpacked->picture), writeBmp24(shown));
            EXPECT_EQ(bytes(unpacked->alpha), hasAlpha(d) ? writeAlphaBmp8(shown) : Bytes{});
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryDepth, FastPaths, ::testing::ValuesIn(kPackDepths),
                         [](const auto& info) { return depthOption(info.param); });

TEST(Encode, IncompressibleBitmapFallsBackToUncompressed)
{
    Image noise;
    noise.width = 64;
    noise.height = 16;
    std::mt19937 gen(3);
    for (int i = 0; i < 64 * 16 * 3; ++i)
        noise.bgr.push_back(static_cast<std::uint8_t>(gen()));
    for (const Depth& d : {Depth{8, ColourFlag::Grey}, Depth{16, ColourFlag::Colour}, Depth{24, ColourFlag::Colour}}) {
        const EncodedBitmap e = encodeBitmap(noise, d);
        EXPECT_EQ(e.header.compression, 0) << depthOption(d);
        EXPECT_EQ(e.data.size(), static_cast<std::size_t>(byteWidth(64, d.bitsPerPixel) * 16));
    }
}

TEST(Encode, HeaderCarriesTwipsAndPaddingIsFilledWithOnes)
{
    Image one;
    one.width = 1;
    one.height = 1;
    one.ppmX = 3780;
    one.ppmY = 2834;
    one.bgr = {0, 0, 0};
    const EncodedBitmap e = encodeBitmap(one, {24, ColourFlag::Colour}, {false, nullptr});
    EXPECT_EQ(e.header.twipsX, 1 * 1440000 / 254 / 3780);
    EXPECT_EQ(e.header.twipsY, 1 * 1440000 / 254 / 2834);
    EXPECT_EQ(e.header.bitmapSize, 52);
    EXPECT_EQ(e.data, (Bytes{0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    const EncodedBitmap g = encodeBitmap(one, {1, ColourFlag::Grey}, {false, nullptr});
    EXPECT_EQ(g.data, (Bytes{0xFE, 0xFF, 0xFF, 0xFF}));
}

} // namespace
