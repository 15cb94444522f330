#include "mbm/palette.h"

namespace mbm {
namespace {

constexpr int distance(Rgb a, Rgb b)
{
    const auto diff = [](int x, int y) { return x > y ? x - y : y - x; };
    return diff(a.r, b.r) + diff(a.g, b.g) + diff(a.b, b.b);
}

// Scans in index order; an exact match ends the scan and ties keep the lower
// index, which is what makes the tables match the shipped ones entry for entry.
template <std::size_t N>
constexpr std::uint8_t nearest(const std::array<Rgb, N>& palette, Rgb probe)
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

constexpr Palette16 kPalette16 = {{
    {0x00, 0x00, 0x00}, {0x55, 0x55, 0x55}, {0x80, 0x00, 0x00}, {0x80, 0x80, 0x00},
    {0x00, 0x80, 0x00}, {0xFF, 0x00, 0x00}, {0xFF, 0xFF, 0x00}, {0x00, 0xFF, 0x00},
    {0xFF, 0x00, 0xFF}, {0x00, 0x00, 0xFF}, {0x00, 0xFF, 0xFF}, {0x80, 0x00, 0x80},
    {0x00, 0x00, 0x80}, {0x00, 0x80, 0x80}, {0xAA, 0xAA, 0xAA}, {0xFF, 0xFF, 0xFF},
}};

constexpr Palette256 makePalette256()
{
    constexpr std::uint8_t cube[6] = {0x00, 0x33, 0x66, 0x99, 0xCC, 0xFF};
    constexpr std::uint8_t dark[5] = {0x11, 0x22, 0x44, 0x55, 0x77};
    constexpr std::uint8_t light[5] = {0x88, 0xAA, 0xBB, 0xDD, 0xEE};
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

constexpr Inverse16 makeInverse16(const Palette16& palette)
{
    Inverse16 table{};
    for (int k = 0; k < 512; ++k) {
        const auto level = [](int v3) { return static_cast<std::uint8_t>(255 * v3 / 7); };
        table[k] = nearest(palette, Rgb{level(k & 7), level((k >> 3) & 7), level(k >> 6)});
    }
    return table;
}

constexpr Inverse256 makeInverse256(const Palette256& palette)
{
    Inverse256 table{};
    for (int k = 0; k < 4096; ++k) {
        const auto level = [](int v4) { return static_cast<std::uint8_t>(17 * v4); };
        table[k] = nearest(palette, Rgb{level(k & 0xF), level((k >> 4) & 0xF), level(k >> 8)});
    }
    return table;
}

constexpr bool onProbeGrid(const Palette256& palette)
{
    for (const Rgb& c : palette)
        if (c.r % 17 != 0 || c.g % 17 != 0 || c.b % 17 != 0)
            return false;
    return true;
}

// The same table as makeInverse256 for a palette whose colours all lie on the
// table's 16-level probe grid (multiples of 17), as the reference palette's do.
// Then the table is an L1 distance transform of that grid: a breadth-first walk
// from every palette colour at once, in which each cell keeps the lowest index
// among its nearest colours (those of its neighbours one step closer to them).
// A few ten thousand steps instead of a million distances, so the compiler can
// build it.
constexpr Inverse256 gridInverse256(const Palette256& palette)
{
    constexpr int kCells = 4096;
    std::array<int, kCells> steps{};
    std::array<int, kCells> queue{};
    for (int& s : steps)
        s = -1;
    Inverse256 table{};
    int tail = 0;
    for (int i = 0; i < 256; ++i) { // ascending: a shared cell keeps the lowest index
        const Rgb c = palette[i];
        const int cell = c.r / 17 | (c.g / 17) << 4 | (c.b / 17) << 8;
        if (steps[cell] < 0) {
            steps[cell] = 0;
            table[cell] = static_cast<std::uint8_t>(i);
            queue[tail++] = cell;
        }
    }
    for (int head = 0; head < tail; ++head) {
        const int cell = queue[head];
        for (int axis = 0; axis < 3; ++axis) {
            const int shift = 4 * axis;
            const int level = (cell >> shift) & 0xF;
            for (int step : {-1, 1}) {
                if (level + step < 0 || level + step > 15)
                    continue;
                const int next = cell + (step << shift);
                if (steps[next] < 0) {
                    steps[next] = steps[cell] + 1;
                    table[next] = table[cell];
                    queue[tail++] = next;
                } else if (steps[next] == steps[cell] + 1 && table[cell] < table[next]) {
                    table[next] = table[cell];
                }
            }
        }
    }
    return table;
}

// Built by the compiler: a run that packs no palette depth pays nothing for them.
constexpr Palette256 kPalette256 = makePalette256();
static_assert(onProbeGrid(kPalette256));
constexpr Inverse16 kInverse16 = makeInverse16(kPalette16);
constexpr Inverse256 kInverse256 = gridInverse256(kPalette256);

} // namespace

const Palette16& palette16() { return kPalette16; }
const Palette256& palette256() { return kPalette256; }
const Inverse16& inverse16() { return kInverse16; }
const Inverse256& inverse256() { return kInverse256; }

Inverse256 buildInverse256(const Palette256& palette) { return makeInverse256(palette); }

} // namespace mbm
