// The compressors' token choices on hand-worked buffers, and the decoders'
// refusal of streams that do not fill their buffer exactly.
#include "mbm/rle.h"

#include <gtest/gtest.h>

#include <random>

using namespace mbm;
using Bytes = std::vector<std::uint8_t>;

namespace {

Bytes words(std::initializer_list<std::uint16_t> values)
{
    Bytes out;
    for (std::uint16_t v : values)
        out.insert(out.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
    return out;
}

Bytes pixels24(std::initializer_list<std::uint8_t> ids)
{
    Bytes out;
    for (std::uint8_t id : ids)
        out.insert(out.end(), {id, 0, 0});
    return out;
}

TEST(ByteRle, LongRunSplitsAt128AndLeavesTheMarginAsLiteral)
{
    // N = 512: margin 8, so the run stops at 504 and the last 8 bytes are a literal.
    const Bytes raw(512, 0x00);
    Bytes expected = {0x7F, 0, 0x7F, 0, 0x7F, 0, 0x77, 0, 0xF8};
    expected.insert(expected.end(), 8, 0x00);
    EXPECT_EQ(compress(Compression::ByteRle, raw), expected);
}

TEST(ByteRle, LiteralStopsWhereThreeEqualBytesBegin)
{
    Bytes raw = {1, 2, 3, 3, 3, 3, 3, 3, 3, 3};
    raw.resize(64, 7); // margin 4: the scan ends at 60
    const auto out = compress(Compression::ByteRle, raw);
    ASSERT_TRUE(out);
    const Bytes head = {0xFE, 1, 2, 0x07, 3, 49, 7, 0xFC, 7, 7, 7, 7};
    EXPECT_EQ(*out, head);
}

TEST(ByteRle, GivesUpOnNoise)
{
    std::mt19937 gen(7);
    Bytes raw(4096);
    for (auto& b : raw)
        b = static_cast<std::uint8_t>(gen());
    EXPECT_FALSE(compress(Compression::ByteRle, raw));
    EXPECT_FALSE(compress(Compression::ByteRle, Bytes{1, 2, 3, 4})); // 4 bytes never fit in 3
}

TEST(TwelveBitRle, PaddingWordDiffersFromWhiteAndRunsSplitAt16)
{
    EXPECT_EQ(compress(Compression::TwelveBitRle, words({0x0FFF, 0xFFFF})), words({0x0FFF, 0x0FFF}));
    Bytes raw;
    for (int i = 0; i < 20; ++i)
        raw.insert(raw.end(), {0xBC, 0x0A});
    EXPECT_EQ(compress(Compression::TwelveBitRle, raw), words({0xFABC, 0x3ABC}));
}

TEST(SixteenBitRle, LiteralEndsBeforeAPairAndTheLastPixelStandsAlone)
{
    const Bytes raw = words({1, 2, 3, 3, 3, 3, 3, 3, 3, 3, 4, 5});
    const Bytes expected = {0xFE, 1, 0, 2, 0, 0x07, 3, 0, 0xFF, 4, 0, 0xFF, 5, 0};
    EXPECT_EQ(compress(Compression::SixteenBitRle, raw), expected);
    EXPECT_FALSE(compress(Compression::SixteenBitRle, words({1, 2, 3, 4, 5, 6, 7, 8})));
}

TEST(TwentyFourBitRle, LiteralReachingTheEndKeepsTheLastPixel)
{
    const Bytes raw = pixels24({1, 2, 3, 3, 3, 3, 3, 3, 3, 3, 4, 5});
    const Bytes expected = {0xFE, 1, 0, 0, 2, 0, 0, 0x07, 3, 0, 0, 0xFE, 4, 0, 0, 5, 0, 0};
    EXPECT_EQ(compress(Compression::TwentyFourBitRle, raw), expected);
}

TEST(ThirtyTwoBitRle, ComparesColourOnlyAndStoresThreeBytes)
{
    // Four pixels of one colour whose fourth bytes differ still make one run.
    const Bytes raw = {9, 8, 7, 0, 9, 8, 7, 1, 9, 8, 7, 2, 9, 8, 7, 3};
    EXPECT_EQ(compress(Compression::ThirtyTwoBitRle, raw), (Bytes{0x03, 9, 8, 7}));
    // With alpha the fourth byte counts and is stored.
    EXPECT_FALSE(compress(Compression::ThirtyTwoBitAlphaRle, raw));
    const Bytes same = {9, 8, 7, 5, 9, 8, 7, 5, 9, 8, 7, 5, 9, 8, 7, 5};
    EXPECT_EQ(compress(Compression::ThirtyTwoBitAlphaRle, same), (Bytes{0x03, 9, 8, 7, 5}));
}

struct RunCode {
    Compression code;
    std::size_t unit;    // bytes per pixel as stored
    std::size_t minRun;  // the shortest run the code stores as a run
};

class RunEnds : public ::testing::TestWithParam<RunCode> {};

// The end of a run is found eight bytes at a time: a run of every length from
// every start within a word must come out whole, as one run of its length
// between literals of the distinct pixels around it.
TEST_P(RunEnds, WhereverTheRunSitsInAWord)
{
    const RunCode& c = GetParam();
    for (std::size_t before = 0; before < 10; ++before) {
        for (std::size_t length = c.minRun; length < 22; ++length) {
            SCOPED_TRACE("run of " + std::to_string(length) + " after " + std::to_string(before) + " pixels");
            // Distinct neighbours on both sides, then a long plain tail so that the code keeps its output.
            Bytes raw;
            const auto pixel = [&](std::uint8_t id) {
                for (std::size_t k = 0; k < c.unit; ++k)
                    raw.push_back(static_cast<std::uint8_t>(id * (k + 1)));
            };
            std::uint8_t id = 1;
            for (std::size_t i = 0; i < before; ++i)
                pixel(id++);
            for (std::size_t i = 0; i < length; ++i)
                pixel(200);
            for (std::size_t i = 0; i < 5; ++i)
                pixel(id++);
            for (std::size_t i = 0; i < 300; ++i)
                pixel(250);
            const auto packed = compress(c.code, raw);
            ASSERT_TRUE(packed);
            Bytes back(raw.size());
            ASSERT_FALSE(decompress(c.code, *packed, back));
            EXPECT_EQ(back, raw);
            // The token stream, token by token: the first run token must hold the whole run.
            std::size_t at = 0, pixels = 0;
            while (at < packed->size() && static_cast<std::int8_t>((*packed)[at]) < 0) {
                const std::size_t n = static_cast<std::size_t>(-static_cast<std::int8_t>((*packed)[at]));
                pixels += n;
                at += 1 + n * c.unit;
            }
            ASSERT_LT(at, packed->size());
            EXPECT_EQ(pixels, before);
            EXPECT_EQ((*packed)[at] + 1u, length);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Codes, RunEnds, ::testing::Values(
    RunCode{Compression::ByteRle, 1, 3}, RunCode{Compression::SixteenBitRle, 2, 2},
    RunCode{Compression::TwentyFourBitRle, 3, 2}, RunCode{Compression::ThirtyTwoBitAlphaRle, 4, 2}),
    [](const auto& info) { return "code" + std::to_string(static_cast<int>(info.param.code)); });

struct BadStream {
    const char* name;
    Compression code;
    Bytes stream;
    std::size_t outSize;
};

class DecoderRejects : public ::testing::TestWithParam<BadStream> {};

TEST_P(DecoderRejects, WithDecompressionError)
{
    const BadStream& c = GetParam();
    Bytes out(c.outSize, 0xAA);
    const Error e = decompress(c.code, c.stream, out);
    EXPECT_EQ(e.code, ErrorCode::DecompressionError) << e.message;
}

INSTANTIATE_TEST_SUITE_P(Streams, DecoderRejects, ::testing::Values(
    BadStream{"RunPastEnd", Compression::ByteRle, {0x7F, 1}, 8},
    BadStream{"LiteralPastEnd", Compression::ByteRle, {0xF0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}, 8},
    BadStream{"EndsEarly", Compression::ByteRle, {0x02, 1}, 8},
    BadStream{"TrailingToken", Compression::ByteRle, {0x07, 1, 0x00, 2}, 8},
    BadStream{"LiteralCutShort", Compression::ByteRle, {0xF8, 1, 2, 3}, 8},
    BadStream{"RunWithoutValue", Compression::SixteenBitRle, {0x01, 5}, 4},
    BadStream{"TwelveOddLength", Compression::TwelveBitRle, {0x00, 0x10, 0x00}, 4},
    BadStream{"TwelveRunPastEnd", Compression::TwelveBitRle, {0x00, 0xF0}, 4},
    BadStream{"TwentyFourShort", Compression::TwentyFourBitRle, {0x00, 1, 2, 3}, 12},
    BadStream{"ThirtyTwoUnitsExpandPastEnd", Compression::ThirtyTwoBitRle, {0x02, 1, 2, 3}, 8},
    BadStream{"EmptyStream", Compression::ThirtyTwoBitAlphaRle, {}, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Decoder, CodeFiveFillsTheFourthByteWith0xFF)
{
    Bytes out(8);
    ASSERT_FALSE(decompress(Compression::ThirtyTwoBitRle, Bytes{0x01, 1, 2, 3}, out));
    EXPECT_EQ(out, (Bytes{1, 2, 3, 0xFF, 1, 2, 3, 0xFF}));
}

} // namespace
