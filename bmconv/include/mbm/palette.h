// The Symbian 16- and 256-colour palettes and the nearest-colour tables used
// to quantise to them.
#pragma once

#include <array>
#include <cstdint>

namespace mbm {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

using Palette16 = std::array<Rgb, 16>;
using Palette256 = std::array<Rgb, 256>;
// Index (r>>5) | (g>>5)<<3 | (b>>5)<<6 -> palette index.
using Inverse16 = std::array<std::uint8_t, 512>;
// Index (r>>4) | (g>>4)<<4 | (b>>4)<<8 -> palette index.
using Inverse256 = std::array<std::uint8_t, 4096>;

const Palette16& palette16();
const Palette256& palette256();
const Inverse16& inverse16();
const Inverse256& inverse256();

// Rebuilds the 256-entry nearest-colour table for another palette (a /p file):
// nearest by sum of absolute channel differences, lowest index on ties.
Inverse256 buildInverse256(const Palette256& palette);

} // namespace mbm
