#include "mbm/pixels.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <cstring>

// The busiest per-pixel loops are built twice, the second time for AVX2, and
// the processor picks one at start-up: taking 24-bit pixels apart vectorises
// well only with its byte shuffles. This file is built with -O3 for them.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define MBM_PIXEL_LOOP __attribute__((target_clones("default", "avx2")))
#else
#define MBM_PIXEL_LOOP
#endif

namespace mbm {
namespace {

// The value of one pixel at each depth, from 8-bit channels.
inline unsigned grey256(unsigned r, unsigned g, unsigned b) { return (2 * r + 5 * g + b) / 8; }
inline unsigned colour16(unsigned r, unsigned g, unsigned b, const Inverse16& inverse)
{
    return inverse[(r >> 5) | (g >> 5) << 3 | (b >> 5) << 6];
}
inline unsigned inverse256Index(unsigned r, unsigned g, unsigned b) { return (r >> 4) | (g >> 4) << 4 | (b >> 4) << 8; }
inline unsigned colour256(unsigned r, unsigned g, unsigned b, const Inverse256& inverse)
{
    return inverse[inverse256Index(r, g, b)];
}
inline unsigned rgb444(unsigned r, unsigned g, unsigned b) { return (r >> 4) << 8 | (g >> 4) << 4 | (b >> 4); }
inline unsigned rgb565(unsigned r, unsigned g, unsigned b) { return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3); }

// --- Packing: one function per depth writes a row's pixels, then fills the
// rest of its stored row with 1-bits. Chosen once per bitmap.

using PackRowFn = void (*)(const std::uint8_t* bgr, const std::uint8_t* alpha, std::int32_t width, std::uint8_t* dst,
                           std::size_t stride, const Inverse256& inverse);

void padRow(std::uint8_t* dst, std::size_t written, std::size_t stride)
{
    std::memset(dst + written, 0xFF, stride - written);
}

// Sub-byte pixels go least significant bits first, pixel 0 in the lowest bits;
// `value` maps a B, G, R pixel to its Bpp-bit value.
template <int Bpp, class Value>
void packSubByte(const std::uint8_t* src, std::int32_t width, std::uint8_t* dst, std::size_t stride, Value value)
{
    constexpr int kPerByte = 8 / Bpp;
    const std::int32_t whole = width / kPerByte;
    for (std::int32_t i = 0; i < whole; ++i, src += 3 * kPerByte) {
        unsigned byte = 0;
        for (int k = 0; k < kPerByte; ++k)
            byte |= value(src + 3 * k) << (k * Bpp);
        dst[i] = static_cast<std::uint8_t>(byte);
    }
    std::size_t written = static_cast<std::size_t>(whole);
    if (const int rest = width % kPerByte) {
        unsigned byte = 0xFF; // pixels past the row's end stay 1-bits
        for (int k = 0; k < rest; ++k)
            byte = (byte & ~(((1u << Bpp) - 1) << (k * Bpp))) | value(src + 3 * k) << (k * Bpp);
        dst[written++] = static_cast<std::uint8_t>(byte);
    }
    padRow(dst, written, stride);
}

template <int Bpp>
void packGrey(const std::uint8_t* src, const std::uint8_t*, std::int32_t width, std::uint8_t* dst, std::size_t stride,
              const Inverse256&)
{
    packSubByte<Bpp>(src, width, dst, stride,
                     [](const std::uint8_t* p) { return grey256(p[2], p[1], p[0]) >> (8 - Bpp); });
}

void packColour4(const std::uint8_t* src, const std::uint8_t*, std::int32_t width, std::uint8_t* dst,
                 std::size_t stride, const Inverse256&)
{
    const Inverse16& inverse = inverse16();
    packSubByte<4>(src, width, dst, stride,
                   [&inverse](const std::uint8_t* p) { return colour16(p[2], p[1], p[0], inverse); });
}

MBM_PIXEL_LOOP
void packGrey8(const std::uint8_t* src, const std::uint8_t*, std::int32_t width, std::uint8_t* dst, std::size_t stride,
               const Inverse256&)
{
    for (std::int32_t x = 0; x < width; ++x, src += 3)
        dst[x] = static_cast<std::uint8_t>(grey256(src[2], src[1], src[0]));
    padRow(dst, static_cast<std::size_t>(width), stride);
}

// The table indices first, a block at a time, in a loop that vectorises;
// then the look-ups.
MBM_PIXEL_LOOP
void packColour8(const std::uint8_t* src, const std::uint8_t*, std::int32_t width, std::uint8_t* dst,
                 std::size_t stride, const Inverse256& inverse)
{
    constexpr std::int32_t kBlock = 64;
    std::uint16_t index[kBlock];
    for (std::int32_t x0 = 0; x0 < width; x0 += kBlock) {
        const std::int32_t n = std::min(kBlock, width - x0);
        const std::uint8_t* p = src + 3 * static_cast<std::size_t>(x0);
        for (std::int32_t k = 0; k < n; ++k, p += 3)
            index[k] = static_cast<std::uint16_t>(inverse256Index(p[2], p[1], p[0]));
        for (std::int32_t k = 0; k < n; ++k)
            dst[x0 + k] = inverse[index[k]];
    }
    padRow(dst, static_cast<std::size_t>(width), stride);
}

template <unsigned (*Value)(unsigned, unsigned, unsigned)>
MBM_PIXEL_LOOP
void packWord(const std::uint8_t* src, const std::uint8_t*, std::int32_t width, std::uint8_t* dst, std::size_t stride,
              const Inverse256&)
{
    for (std::int32_t x = 0; x < width; ++x, src += 3) {
        const unsigned v = Value(src[2], src[1], src[0]);
        dst[2 * x] = static_cast<std::uint8_t>(v);
        dst[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
    }
    padRow(dst, 2 * static_cast<std::size_t>(width), stride);
}

void pack24(const std::uint8_t* src, const std::uint8_t*, std::int32_t width, std::uint8_t* dst, std::size_t stride,
            const Inverse256&)
{
    const std::size_t bytes = 3 * static_cast<std::size_t>(width);
    std::memcpy(dst, src, bytes);
    padRow(dst, bytes, stride);
}

// 32 bpp keeps B, G, R and puts the alpha (0 without an alpha plane) fourth.
void pack32(const std::uint8_t* src, const std::uint8_t* alpha, std::int32_t width, std::uint8_t* dst, std::size_t,
            const Inverse256&)
{
    for (std::int32_t x = 0; x < width; ++x, src += 3, dst += 4) {
        dst[0] = src[0];
        dst[1] = src[1];
        dst[2] = src[2];
        dst[3] = alpha ? alpha[x] : 0;
    }
}

void packNothing(const std::uint8_t*, const std::uint8_t*, std::int32_t, std::uint8_t* dst, std::size_t stride,
                 const Inverse256&)
{
    padRow(dst, 0, stride);
}

PackRowFn packerFor(Depth d)
{
    const bool colour = d.colour != ColourFlag::Grey;
    switch (d.bitsPerPixel) {
    case 1: return packGrey<1>;
    case 2: return packGrey<2>;
    case 4: return colour ? packColour4 : packGrey<4>;
    case 8: return colour ? packColour8 : packGrey8;
    case 12: return packWord<rgb444>;
    case 16: return packWord<rgb565>;
    case 24: return pack24;
    case 32: return pack32;
    default: return packNothing;
    }
}

// --- Expanding: stored values to the 8-bit colours the unpacker shows.

struct Bgr {
    std::uint8_t b, g, r;
};

inline void put(std::uint8_t* dst, Bgr c)
{
    dst[0] = c.b;
    dst[1] = c.g;
    dst[2] = c.r;
}

template <std::size_t N>
constexpr std::array<Bgr, N> greyLevels()
{
    std::array<Bgr, N> levels{};
    for (std::size_t v = 0; v < N; ++v) {
        const auto level = static_cast<std::uint8_t>(v * 255 / (N - 1));
        levels[v] = Bgr{level, level, level};
    }
    return levels;
}

template <std::size_t N>
std::array<Bgr, N> paletteColours(const std::array<Rgb, N>& palette)
{
    std::array<Bgr, N> colours{};
    for (std::size_t v = 0; v < N; ++v)
        colours[v] = Bgr{palette[v].b, palette[v].g, palette[v].r};
    return colours;
}

constexpr auto kGrey2 = greyLevels<2>();
constexpr auto kGrey4 = greyLevels<4>();
constexpr auto kGrey16 = greyLevels<16>();
constexpr auto kGrey256 = greyLevels<256>();

// 5- and 6-bit channels scaled to 8 bits, rounding down.
template <unsigned Max>
constexpr std::array<std::uint8_t, Max + 1> scaledLevels()
{
    std::array<std::uint8_t, Max + 1> levels{};
    for (unsigned v = 0; v <= Max; ++v)
        levels[v] = static_cast<std::uint8_t>(v * 255 / Max);
    return levels;
}
constexpr auto kLevels5 = scaledLevels<31>();
constexpr auto kLevels6 = scaledLevels<63>();

template <int Bpp, std::size_t N>
void expandSubByte(const std::uint8_t* src, std::int32_t width, std::uint8_t* dst, const std::array<Bgr, N>& colours)
{
    constexpr int kPerByte = 8 / Bpp;
    constexpr unsigned kMask = (1u << Bpp) - 1;
    for (std::int32_t x = 0; x < width; ++x)
        put(dst + 3 * x, colours[(src[x / kPerByte] >> ((x % kPerByte) * Bpp)) & kMask]);
}

void expandBytes(const std::uint8_t* src, std::int32_t width, std::uint8_t* dst, const std::array<Bgr, 256>& colours)
{
    for (std::int32_t x = 0; x < width; ++x)
        put(dst + 3 * x, colours[src[x]]);
}

} // namespace

std::uint32_t quantise(Depth d, Rgb c, const Inverse256& inverse)
{
    const bool colour = d.colour != ColourFlag::Grey;
    switch (d.bitsPerPixel) {
    case 1: return grey256(c.r, c.g, c.b) >> 7;
    case 2: return grey256(c.r, c.g, c.b) >> 6;
    case 4: return colour ? colour16(c.r, c.g, c.b, inverse16()) : grey256(c.r, c.g, c.b) >> 4;
    case 8: return colour ? colour256(c.r, c.g, c.b, inverse) : grey256(c.r, c.g, c.b);
    case 12: return rgb444(c.r, c.g, c.b);
    case 16: return rgb565(c.r, c.g, c.b);
    default: return std::uint32_t{c.r} << 16 | std::uint32_t{c.g} << 8 | c.b;
    }
}

void packRows(const RowSource& rows, Depth d, const Inverse256& inverse, std::span<std::uint8_t> out)
{
    const auto stride = static_cast<std::size_t>(byteWidth(rows.width, d.bitsPerPixel));
    assert(out.size() == stride * static_cast<std::size_t>(rows.height));
    const bool alpha = hasAlpha(d);
    assert(!alpha || rows.alpha.size() == static_cast<std::size_t>(rows.width) * rows.height);
    const PackRowFn pack = packerFor(d);
    std::vector<std::uint8_t> scratch(3 * static_cast<std::size_t>(rows.width));
    for (std::int32_t y = 0; y < rows.height; ++y) {
        const std::uint8_t* a = alpha ? rows.alpha.data() + static_cast<std::size_t>(rows.width) * y : nullptr;
        pack(rows.row(y, scratch.data()), a, rows.width, out.data() + stride * y, stride, inverse);
    }
}

std::vector<std::uint8_t> packPixels(const Image& image, Depth d, const Inverse256& inverse)
{
    std::vector<std::uint8_t> out(static_cast<std::size_t>(byteWidth(image.width, d.bitsPerPixel)) * image.height);
    packRows(ImageRows(image), d, inverse, out);
    return out;
}

void expandRow(const std::uint8_t* src, std::int32_t width, Depth d, std::uint8_t* dst, std::uint8_t* alpha)
{
    static const auto colours16 = paletteColours(palette16());
    static const auto colours256 = paletteColours(palette256());
    const bool palette = d.colour == ColourFlag::Colour; // 4 and 8 bpp use the palette only for flag 1
    switch (d.bitsPerPixel) {
    case 1: expandSubByte<1>(src, width, dst, kGrey2); break;
    case 2: expandSubByte<2>(src, width, dst, kGrey4); break;
    case 4: expandSubByte<4>(src, width, dst, palette ? colours16 : kGrey16); break;
    case 8: expandBytes(src, width, dst, palette ? colours256 : kGrey256); break;
    case 12:
        for (std::int32_t x = 0; x < width; ++x, dst += 3) {
            const unsigned v = src[2 * x] | src[2 * x + 1] << 8;
            put(dst, Bgr{static_cast<std::uint8_t>((v & 0xF) * 17), static_cast<std::uint8_t>(((v >> 4) & 0xF) * 17),
                         static_cast<std::uint8_t>(((v >> 8) & 0xF) * 17)});
        }
        break;
    case 16:
        for (std::int32_t x = 0; x < width; ++x, dst += 3) {
            const unsigned v = src[2 * x] | src[2 * x + 1] << 8;
            put(dst, Bgr{kLevels5[v & 0x1F], kLevels6[(v >> 5) & 0x3F], kLevels5[v >> 11]});
        }
        break;
    case 24: std::memcpy(dst, src, 3 * static_cast<std::size_t>(width)); break;
    case 32:
        for (std::int32_t x = 0; x < width; ++x, src += 4, dst += 3) {
            dst[0] = src[0];
            dst[1] = src[1];
            dst[2] = src[2];
            if (alpha)
                alpha[x] = src[3];
        }
        break;
    default: std::memset(dst, 0, 3 * static_cast<std::size_t>(width)); break;
    }
}

Image expandPixels(std::span<const std::uint8_t> stored, std::int32_t width, std::int32_t height, Depth d)
{
    Image image;
    image.width = width;
    image.height = height;
    image.bgr.resize(3 * static_cast<std::size_t>(width) * height);
    const bool alpha = hasAlpha(d);
    if (alpha)
        image.alpha.resize(static_cast<std::size_t>(width) * height);
    const auto stride = static_cast<std::size_t>(byteWidth(width, d.bitsPerPixel));
    assert(stored.size() >= stride * height);
    for (std::int32_t y = 0; y < height; ++y)
        expandRow(stored.data() + stride * y, width, d, image.row(y),
                  alpha ? image.alpha.data() + static_cast<std::size_t>(width) * y : nullptr);
    return image;
}

Image roundTrip(const Image& image, Depth d, const Inverse256& inverse)
{
    Image out;
    out.width = image.width;
    out.height = image.height;
    out.bgr.resize(image.bgr.size());
    const bool alpha = hasAlpha(d);
    assert(!alpha || image.alpha.size() == static_cast<std::size_t>(image.width) * image.height);
    if (alpha)
        out.alpha.resize(image.alpha.size());
    const auto stride = static_cast<std::size_t>(byteWidth(image.width, d.bitsPerPixel));
    const PackRowFn pack = packerFor(d);
    std::vector<std::uint8_t> stored(stride);
    for (std::int32_t y = 0; y < image.height; ++y) {
        const std::size_t offset = static_cast<std::size_t>(image.width) * y;
        pack(image.row(y), alpha ? image.alpha.data() + offset : nullptr, image.width, stored.data(), stride, inverse);
        expandRow(stored.data(), image.width, d, out.row(y), alpha ? out.alpha.data() + offset : nullptr);
    }
    return out;
}

StoredRows::StoredRows(std::span<const std::uint8_t> stored, std::int32_t width, std::int32_t height, Depth d)
    : stored_(stored), depth_(d), stride_(static_cast<std::size_t>(byteWidth(width, d.bitsPerPixel)))
{
    this->width = width;
    this->height = height;
    assert(stored.size() >= stride_ * height);
    if (hasAlpha(d)) {
        alphaPlane_.resize(static_cast<std::size_t>(width) * height);
        for (std::int32_t y = 0; y < height; ++y) {
            const std::uint8_t* src = stored.data() + stride_ * y;
            std::uint8_t* dst = alphaPlane_.data() + static_cast<std::size_t>(width) * y;
            for (std::int32_t x = 0; x < width; ++x)
                dst[x] = src[4 * x + 3];
        }
        alpha = alphaPlane_;
    }
}

const std::uint8_t* StoredRows::row(std::int32_t y, std::uint8_t* scratch) const
{
    const std::uint8_t* src = stored_.data() + stride_ * y;
    if (depth_.bitsPerPixel == 24)
        return src; // stored as shown: no copy
    expandRow(src, width, depth_, scratch, nullptr);
    return scratch;
}

} // namespace mbm
