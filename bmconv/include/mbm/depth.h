// Bit depths and colour flags of stored bitmaps, and what follows from them:
// row length, the matching compression code, the option spelling.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mbm {

enum class ColourFlag : std::int32_t { Grey = 0, Colour = 1, ColourAlpha = 2, ColourAlphaPremultiplied = 3 };

enum class Compression : std::int32_t {
    None = 0,
    ByteRle = 1,
    TwelveBitRle = 2,
    SixteenBitRle = 3,
    TwentyFourBitRle = 4,
    ThirtyTwoBitRle = 5,        // 32 bpp without alpha, stored as 3-byte units
    ThirtyTwoBitAlphaRle = 6,   // 32 bpp with alpha, stored as 4-byte units
};

struct Depth {
    int bitsPerPixel = 2;
    ColourFlag colour = ColourFlag::Grey;

    bool operator==(const Depth&) const = default;
};

// The depths a packing option can ask for, in option order: 1 2 4 8 c4 c8 c12 c16 c24 c32 c32a.
inline constexpr Depth kPackDepths[] = {
    {1, ColourFlag::Grey}, {2, ColourFlag::Grey}, {4, ColourFlag::Grey}, {8, ColourFlag::Grey},
    {4, ColourFlag::Colour}, {8, ColourFlag::Colour}, {12, ColourFlag::Colour}, {16, ColourFlag::Colour},
    {24, ColourFlag::Colour}, {32, ColourFlag::Colour}, {32, ColourFlag::ColourAlpha},
};

// The option text without its leading '/' or '-', e.g. "c24" or "8".
std::string depthOption(Depth d);
// Parses an option text such as "c24"; nullopt for anything that is not one exactly.
std::optional<Depth> parseDepthOption(std::string_view text);

// A pair that a multi-bitmap file may carry (the pack depths plus premultiplied alpha).
bool isValidStoredDepth(Depth d);
bool hasAlpha(Depth d);

// Bytes per stored row, padded as the runtime expects (4 bytes, 12 for 24 bpp).
std::int64_t byteWidth(std::int64_t width, int bitsPerPixel);

// The single compression code that fits a depth.
Compression compressionFor(Depth d);

} // namespace mbm
