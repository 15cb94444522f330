// Windows bitmap reading in its many variants, and the exact bytes the
// unpacker writes.
#include "mbm/bmp.h"
#include "mbm/pixels.h"
#include "support.h"

#include <gtest/gtest.h>

#include <random>

using namespace mbm;
using Bytes = std::vector<std::uint8_t>;
using testing_support::writeAll;

namespace {

void put16(Bytes& b, std::uint16_t v) { b.insert(b.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)}); }
void put32(Bytes& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

struct BmpLayout {
    std::uint32_t infoSize = 40;
    std::int32_t width = 1, height = 1;
    std::uint16_t bpp = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    Bytes masksAfterHeader;         // for BI_BITFIELDS with a 40-byte header
    std::vector<std::uint32_t> masksInHeader; // R, G, B(, A) for larger headers
    Bytes palette;                  // already in entry format
    std::size_t gap = 0;            // bytes between the palette and the pixels
    Bytes pixels;
};

Bytes build(const BmpLayout& s)
{
    Bytes info;
    if (s.infoSize == 12) {
        put32(info, 12);
        put16(info, static_cast<std::uint16_t>(s.width));
        put16(info, static_cast<std::uint16_t>(s.height));
        put16(info, 1);
        put16(info, s.bpp);
    } else {
        for (std::uint32_t v : {s.infoSize, static_cast<std::uint32_t>(s.width), static_cast<std::uint32_t>(s.height)})
            put32(info, v);
        put16(info, 1);
        put16(info, s.bpp);
        for (std::uint32_t v : {s.compression, 0u, 2835u, 2835u, s.coloursUsed, 0u})
            put32(info, v);
        for (std::uint32_t m : s.masksInHeader)
            put32(info, m);
        info.resize(s.infoSize, 0);
    }
    const std::uint32_t offBits = static_cast<std::uint32_t>(14 + info.size() + s.masksAfterHeader.size() + s.palette.size() + s.gap);
    Bytes f = {'B', 'M'};
    put32(f, offBits + static_cast<std::uint32_t>(s.pixels.size()));
    put32(f, 0);
    put32(f, offBits);
    f.insert(f.end(), info.begin(), info.end());
    f.insert(f.end(), s.masksAfterHeader.begin(), s.masksAfterHeader.end());
    f.insert(f.end(), s.palette.begin(), s.palette.end());
    f.insert(f.end(), s.gap, 0xEE);
    f.insert(f.end(), s.pixels.begin(), s.pixels.end());
    return f;
}

// Palette entries B, G, R, 0: index 0 black, 1 red, 2 blue, 3 white.
const Bytes kPalette4 = {0, 0, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0, 255, 255, 255, 0};

struct ReadCase {
    const char* name;
    BmpLayout desc;
    std::vector<std::uint32_t> rgb; // top row first
};

class ReadBmp : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadBmp, GivesTheExpectedPixels)
{
    const ReadCase& c = GetParam();
    auto image = readBmp(build(c.desc));
    ASSERT_TRUE(image) << image.error().message;
    EXPECT_EQ(image->width, c.desc.width);
    EXPECT_EQ(image->height, std::abs(c.desc.height));
    ASSERT_EQ(image->bgr.size(), 3 * c.rgb.size());
    for (std::size_t i = 0; i < c.rgb.size(); ++i) {
        const std::uint32_t got = testing_support::rgbAt(*image, i);
        EXPECT_EQ(got, c.rgb[i]) << "pixel " << i;
    }
}

BmpLayout desc(std::int32_t w, std::int32_t h, std::uint16_t bpp, Bytes pixels)
{
    BmpLayout s;
    s.width = w;
    s.height = h;
    s.bpp = bpp;
    s.pixels = std::move(pixels);
    return s;
}

BmpLayout with(BmpLayout s, auto change)
{
    change(s);
    return s;
}

INSTANTIATE_TEST_SUITE_P(Variants, ReadBmp, ::testing::Values(
    ReadCase{"Rgb24BottomUp", desc(1, 2, 24, {1, 2, 3, 0, 4, 5, 6, 0}), {0x060504, 0x030201}},
    ReadCase{"Rgb24TopDown", desc(1, -2, 24, {1, 2, 3, 0, 4, 5, 6, 0}), {0x030201, 0x060504}},
    ReadCase{"Palette1MsbFirst", with(desc(3, 1, 1, {0x40, 0, 0, 0}), [](BmpLayout& s) { s.palette = Bytes(kPalette4.begin(), kPalette4.begin() + 8); }),
             {0x000000, 0xFF0000, 0x000000}},
    ReadCase{"Palette4HighNibbleFirst", with(desc(3, 1, 4, {0x12, 0x30, 0, 0}), [](BmpLayout& s) { s.palette = kPalette4; s.coloursUsed = 4; }),
             {0xFF0000, 0x0000FF, 0xFFFFFF}},
    ReadCase{"Palette8ShortTableAndGap", with(desc(2, 1, 8, {3, 1, 0, 0}), [](BmpLayout& s) { s.palette = kPalette4; s.coloursUsed = 4; s.gap = 6; }),
             {0xFFFFFF, 0xFF0000}},
    ReadCase{"Palette8IndexBeyondTableIsBlack", with(desc(1, 1, 8, {9, 0, 0, 0}), [](BmpLayout& s) { s.palette = kPalette4; s.coloursUsed = 4; }),
             {0x000000}},
    ReadCase{"Rgb16Is555", desc(3, 1, 16, {0x00, 0x7C, 0xE0, 0x03, 0x10, 0x00, 0, 0}), {0xFF0000, 0x00FF00, 0x000084}},
    ReadCase{"BitFields565AfterHeader", with(desc(2, 1, 16, {0x00, 0xF8, 0x20, 0x00}), [](BmpLayout& s) {
                 s.compression = 3;
                 for (std::uint32_t m : {0xF800u, 0x07E0u, 0x001Fu}) put32(s.masksAfterHeader, m);
             }),
             {0xFF0000, 0x000400}},
    ReadCase{"Rgb32IgnoresFourthByte", desc(1, 1, 32, {1, 2, 3, 99}), {0x030201}},
    ReadCase{"V5BitFields32InHeader", with(desc(1, 1, 32, {0x11, 0x22, 0x33, 0x44}), [](BmpLayout& s) {
                 s.infoSize = 124; s.compression = 3; s.masksInHeader = {0x000000FF, 0x0000FF00, 0x00FF0000, 0xFF000000}; s.gap = 2;
             }),
             {0x112233}},
    ReadCase{"V4Header24", with(desc(1, 1, 24, {7, 8, 9, 0}), [](BmpLayout& s) { s.infoSize = 108; }), {0x090807}},
    ReadCase{"CoreHeader", with(desc(2, 1, 1, {0x80, 0, 0, 0}), [](BmpLayout& s) {
                 s.infoSize = 12; s.palette = {0, 0, 255, 255, 255, 255};
             }),
             {0xFFFFFF, 0xFF0000}},
    ReadCase{"Rle8WithAbsoluteRunAndEol", with(desc(3, 2, 8, {0x03, 1, 0, 0, 0, 3, 2, 1, 2, 0, 0, 1}), [](BmpLayout& s) {
                 s.compression = 1; s.palette = kPalette4; s.coloursUsed = 4;
             }),
             {0x0000FF, 0xFF0000, 0x0000FF, 0xFF0000, 0xFF0000, 0xFF0000}},
    ReadCase{"Rle4", with(desc(4, 1, 4, {0x04, 0x12, 0, 1}), [](BmpLayout& s) { s.compression = 2; s.palette = kPalette4; s.coloursUsed = 4; }),
             {0xFF0000, 0x0000FF, 0xFF0000, 0x0000FF}},
    ReadCase{"Rle8DeltaSkipsPixelsAndClipsOverlongRuns", with(desc(2, 2, 8, {0, 2, 1, 1, 0x05, 3, 0, 1}), [](BmpLayout& s) {
                 s.compression = 1; s.palette = kPalette4; s.coloursUsed = 4;
             }),
             {0x000000, 0xFFFFFF, 0x000000, 0x000000}}),
    [](const auto& info) { return std::string(info.param.name); });

// Packing reads an uncompressed bottom-up file with its rows in reverse order,
// so that they lie top-down; at 24 bits with unpadded rows it then compresses
// them as they lie. Every depth, both row orders and widths on both sides of
// the row padding must give the picture the plain bytes give.
TEST(ReadBmp, RowsReadInReverseGiveTheSamePicture)
{
    testing_support::TempDir tmp;
    std::mt19937 gen(5);
    for (std::uint16_t bpp : {1, 4, 8, 16, 24, 32}) {
        for (std::int32_t height : {3, -4}) {
            for (std::int32_t width : {1, 3, 4, 5, 8}) {
                SCOPED_TRACE(std::to_string(bpp) + " bpp, " + std::to_string(width) + " x " + std::to_string(height));
                const std::size_t stride = (static_cast<std::size_t>(width) * bpp + 31) / 32 * 4;
                BmpLayout layout = desc(width, height, bpp, Bytes(stride * std::abs(height)));
                for (auto& b : layout.pixels)
                    b = static_cast<std::uint8_t>(gen());
                if (bpp <= 8)
                    layout.palette = kPalette4;
                layout.gap = static_cast<std::size_t>(width % 3);
                const Bytes file = build(layout);
                writeAll(tmp / "a.bmp", file);

                auto bytes = readFileReversing((tmp / "a.bmp").string(), rowsToReverse);
                ASSERT_TRUE(bytes) << bytes.error().message;
                const bool reversed = rowsToReverse(*bytes, bytes->size()).count != 0;
                EXPECT_EQ(reversed, height > 0);
                auto rows = BmpRows::open(*bytes, {}, reversed);
                auto image = readBmp(file);
                ASSERT_TRUE(rows && image);
                Bytes scratch(3 * static_cast<std::size_t>(width));
                for (std::int32_t y = 0; y < image->height; ++y) {
                    const std::uint8_t* row = rows->row(y, scratch.data());
                    EXPECT_EQ(Bytes(row, row + scratch.size()), Bytes(image->row(y), image->row(y) + scratch.size()))
                        << "row " << y;
                }
                const auto asStored = rows->storedAs({24, ColourFlag::Colour});
                EXPECT_EQ(asStored.empty(), !(bpp == 24 && width % 4 == 0));
                if (!asStored.empty())
                    EXPECT_EQ(Bytes(asStored.begin(), asStored.end()), packPixels(*image, {24, ColourFlag::Colour}));
            }
        }
    }
}

struct BadBmp {
    const char* name;
    Bytes file;
    ErrorCode code;
};

class ReadBmpRejects : public ::testing::TestWithParam<BadBmp> {};

TEST_P(ReadBmpRejects, WithTheRightError)
{
    auto image = readBmp(GetParam().file);
    ASSERT_FALSE(image);
    EXPECT_EQ(image.error().code, GetParam().code) << image.error().message;
}

Bytes truncated(Bytes b, std::size_t size)
{
    b.resize(size);
    return b;
}

INSTANTIATE_TEST_SUITE_P(Files, ReadBmpRejects, ::testing::Values(
    BadBmp{"NoSignature", {'X', 'Y', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, ErrorCode::BadSourceFile},
    BadBmp{"HeaderCut", truncated(build(desc(1, 1, 24, {1, 2, 3, 0})), 30), ErrorCode::BadSourceFile},
    BadBmp{"PixelsCut", truncated(build(desc(2, 2, 24, Bytes(16, 1))), 60), ErrorCode::BadSourceFile},
    BadBmp{"ZeroWidth", build(desc(0, 1, 24, {})), ErrorCode::BadSourceFile},
    BadBmp{"HugeWithoutData", build(desc(32767, 32767, 24, {1, 2, 3})), ErrorCode::BadSourceFile},
    BadBmp{"MostNegativeHeight", build(desc(1, INT32_MIN, 24, {1, 2, 3, 0})), ErrorCode::BadSourceFile},
    BadBmp{"OddDepth", build(desc(1, 1, 3, {0, 0, 0, 0})), ErrorCode::BadSourceFile},
    BadBmp{"JpegInside", build(with(desc(1, 1, 24, {0, 0, 0, 0}), [](BmpLayout& s) { s.compression = 4; })), ErrorCode::UnknownCompression},
    BadBmp{"RleOnWrongDepth", build(with(desc(1, 1, 24, {0, 0, 0, 0}), [](BmpLayout& s) { s.compression = 1; })), ErrorCode::UnknownCompression},
    BadBmp{"PaletteOver256", build(with(desc(1, 1, 8, {0, 0, 0, 0}), [](BmpLayout& s) { s.coloursUsed = 300; s.palette = Bytes(1200, 0); })), ErrorCode::BadSourceFile},
    BadBmp{"SplitMask", build(with(desc(1, 1, 16, {0, 0, 0, 0}), [](BmpLayout& s) {
               s.compression = 3; for (std::uint32_t m : {0xF00Fu, 0x0F00u, 0x00F0u}) put32(s.masksAfterHeader, m); })), ErrorCode::BadSourceFile},
    BadBmp{"TopDownRle", build(with(desc(1, -1, 8, {0, 1}), [](BmpLayout& s) { s.compression = 1; s.palette = kPalette4; })), ErrorCode::BadSourceFile}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WriteBmp, TwentyFourBitsBottomUpWithFFPadding)
{
    Image image;
    image.width = 1;
    image.height = 2;
    image.ppmX = 3780;
    image.bgr = {1, 2, 3, 4, 5, 6};
    Bytes expected = {'B', 'M'};
    for (std::uint32_t v : {62u, 0u, 54u, 40u, 1u, 2u})
        put32(expected, v);
    put16(expected, 1);
    put16(expected, 24);
    for (int i = 0; i < 6; ++i)
        put32(expected, 0); // no compression, size 0, no resolution, no palette
    expected.insert(expected.end(), {4, 5, 6, 0xFF, 1, 2, 3, 0xFF});
    EXPECT_EQ(writeBmp24(image), expected);
}

TEST(WriteBmp, AlphaPlaneAsEightBitGreyWithZeroPadding)
{
    Image image;
    image.width = 1;
    image.height = 2;
    image.bgr = Bytes(6, 0);
    image.alpha = {0x10, 0x20};
    const Bytes out = writeAlphaBmp8(image);
    ASSERT_EQ(out.size(), 1078u + 8u);
    EXPECT_EQ(out[10] | out[11] << 8, 1078);
    EXPECT_EQ(out[28], 8);                     // bpp
    EXPECT_EQ(out[34], 8);                     // biSizeImage = 2 rows of 4
    EXPECT_EQ(out[46] | out[47] << 8, 256);    // colours used
    EXPECT_EQ(Bytes(out.begin() + 54 + 4 * 200, out.begin() + 54 + 4 * 201), (Bytes{200, 200, 200, 0}));
    EXPECT_EQ(Bytes(out.end() - 8, out.end()), (Bytes{0x20, 0, 0, 0, 0x10, 0, 0, 0}));
}

} // namespace
