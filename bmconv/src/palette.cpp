#include "mbm/palette.h"

#include <cstdlib>

namespace mbm {
namespace {

int distance(Rgb a, Rgb b)
{
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

// Scans in index order; an exact match ends the scan and ties keep the lower
// index, which is what makes the tables match the shipped ones entry for entry.
template <std::size_t N>
std::uint8_t nearest(const std::array<Rgb, N>& palette, Rgb probe)
{
    int best = 0;
    int bestDistance = distance(palette[0], probe);
    for (std::size_t i = 1; i < N && bestDistance != 0; ++i) {
        const int d = distance(palette[i], probe);
        if (d < bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return static_cast<std::uint8_t>(best);
}

Palette256 makePalette256()
{
    static constexpr std::uint8_t cube[6] = {0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF};
    static constexpr std::uint8_t dark[5] = {0x11, 0x22, 0x44, 0x55, 0x77};
    static constexpr std::uint8_t light[5] = {0x88, 0xAA, 0xBB, 0xDD, 0xEE};
    Palette256 p{};
    for (int index = 0; index < 256; ++index) {
        if (index < 108 || index >= 148) {
            const int j = index < 108 ? index : index - 40;
            p[index] = Rgb{cube[j % 6], cube[(j / 6) % 6], cube[j / 36]};
        }
    }
    // The 40 extra shades: grey, red, green, blue dark levels, then blue, green,
    // red, grey light levels.
    for (int k = 0; k < 5; ++k) {
        const std::uint8_t d = dark[k], l = light[k];
        p[108 + k] = Rgb{d, d, d};
        p[113 + k] = Rgb{d, 0, 0};
        p[118 + k] = Rgb{0, d, 0};
        p[123 + k] = Rgb{0, 0, d};
        p[128 + k] = Rgb{0, 0, l};
        p[133 + k] = Rgb{0, l, 0};
        p[138 + k] = Rgb{l, 0, 0};
        p[143 + k] = Rgb{l, l, l};
    }
    return p;
}

Inverse16 makeInverse16()
{
    Inverse16 table{};
    for (int k = 0; k < 512; ++k) {
        const auto level = [](int v3) { return static_cast<std::uint8_t>(255 * v3 / 7); };
        table[k] = nearest(palette16(), Rgb{level(k & 7), level((k >> 3) & 7), level(k >> 6)});
    }
    return table;
}

} // namespace

const Palette16& palette16()
{
    static const Palette16 p = {{
        {0x00, 0x00, 0x00}, {0x55, 0x55, 0x55}, {0x80, 0x00, 0x00}, {0x80, 0x80, 0x00},
        {0x00, 0x80, 0x00}, {0xFF, 0x00, 0x00}, {0xFF, 0xFF, 0x00}, {0x00, 0xFF, 0x00},
        {0xFF, 0x00, 0xFF}, {0x00, 0x00, 0xFF}, {0x00, 0xFF, 0xFF}, {0x80, 0x00, 0x80},
        {0x00, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0xAA, 0xAA, 0xAA}, {0xFF, 0xFF, 0xFF},
    }};
    return p;
}

const Palette256& palette256()
{
    static const Palette256 p = makePalette256();
    return p;
}

const Inverse16& inverse16()
{
    static const Inverse16 table = makeInverse16();
    return table;
}

const Inverse256& inverse256()
{
    static const Inverse256 table = buildInverse256(palette256());
    return table;
}

Inverse256 buildInverse256(const Palette256& palette)
{
    Inverse256 table{};
    for (int k = 0; k < 4096; ++k) {
        const auto level = [](int v4) { return static_cast<std::uint8_t>(17 * v4); };
        table[k] = nearest(palette, Rgb{level(k & 0xF), level((k >> 4) & 0xF), level(k >> 8)});
    }
    return table;
}

} // namespace mbm
