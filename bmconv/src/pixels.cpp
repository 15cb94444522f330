#include "mbm/pixels.h"

#include <cassert>

namespace mbm {
namespace {

inline unsigned grey256(unsigned r, unsigned g, unsigned b) { return (2 * r + 5 * g + b) / 8; }

// Nearest-colour tables, looked up once per bitmap rather than per pixel.
struct Tables {
    const Inverse16& inverse16;
    const Inverse256& inverse256;
};

inline std::uint32_t quantiseFast(int bpp, bool colour, unsigned r, unsigned g, unsigned b, const Tables& t)
{
    switch (bpp) {
    case 1: return grey256(r, g, b) >> 7;
    case 2: return grey256(r, g, b) >> 6;
    case 4: return colour ? t.inverse16[(r >> 5) | (g >> 5) << 3 | (b >> 5) << 6] : grey256(r, g, b) >> 4;
    case 8: return colour ? t.inverse256[(r >> 4) | (g >> 4) << 4 | (b >> 4) << 8] : grey256(r, g, b);
    case 12: return (r >> 4) << 8 | (g >> 4) << 4 | (b >> 4);
    case 16: return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
    default: return r << 16 | g << 8 | b;
    }
}

// Packs sub-byte pixels least significant bits first, pixel 0 in the lowest bits.
void packSubByteRow(const std::uint8_t* src, std::int32_t width, int bpp, bool colour, const Tables& tables,
                    std::uint8_t* dst)
{
    const int perByte = 8 / bpp;
    for (std::int32_t x0 = 0; x0 < width; x0 += perByte) {
        unsigned byte = 0xFF; // pixels past the row's end stay 1-bits
        for (int k = 0; k < perByte && x0 + k < width; ++k) {
            const std::uint8_t* p = src + 3 * (x0 + k);
            const unsigned v = quantiseFast(bpp, colour, p[2], p[1], p[0], tables);
            const unsigned shift = static_cast<unsigned>(k * bpp);
            byte = (byte & ~(((1u << bpp) - 1) << shift)) | (v << shift);
        }
        dst[x0 / perByte] = static_cast<std::uint8_t>(byte);
    }
}

} // namespace

std::uint32_t quantise(Depth d, Rgb c, const Inverse256& inverse)
{
    return quantiseFast(d.bitsPerPixel, d.colour != ColourFlag::Grey, c.r, c.g, c.b, Tables{inverse16(), inverse});
}

std::vector<std::uint8_t> packPixels(const Image& image, Depth d, const Inverse256& inverse)
{
    const std::int64_t stride = byteWidth(image.width, d.bitsPerPixel);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(stride * image.height), 0xFF);
    const bool colour = d.colour != ColourFlag::Grey;
    const bool alpha = hasAlpha(d);
    assert(!alpha || image.alpha.size() == static_cast<std::size_t>(image.width) * image.height);
    const Tables tables{inverse16(), inverse};
    for (std::int32_t y = 0; y < image.height; ++y) {
        const std::uint8_t* src = image.row(y);
        std::uint8_t* dst = out.data() + stride * y;
        switch (d.bitsPerPixel) {
        case 1:
        case 2:
        case 4: packSubByteRow(src, image.width, d.bitsPerPixel, colour, tables, dst); break;
        case 8:
            for (std::int32_t x = 0; x < image.width; ++x, src += 3)
                dst[x] = static_cast<std::uint8_t>(quantiseFast(8, colour, src[2], src[1], src[0], tables));
            break;
        case 12:
        case 16:
            for (std::int32_t x = 0; x < image.width; ++x, src += 3, dst += 2) {
                const std::uint32_t v = quantiseFast(d.bitsPerPixel, true, src[2], src[1], src[0], tables);
                dst[0] = static_cast<std::uint8_t>(v);
                dst[1] = static_cast<std::uint8_t>(v >> 8);
            }
            break;
        case 24:
            std::copy(src, src + 3 * static_cast<std::size_t>(image.width), dst);
            break;
        case 32: {
            const std::uint8_t* a = alpha ? image.alpha.data() + static_cast<std::size_t>(image.width) * y : nullptr;
            for (std::int32_t x = 0; x < image.width; ++x, src += 3, dst += 4) {
                dst[0] = src[0];
                dst[1] = src[1];
                dst[2] = src[2];
                dst[3] = a ? a[x] : 0;
            }
            break;
        }
        default: break;
        }
    }
    return out;
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
    const std::int64_t stride = byteWidth(width, d.bitsPerPixel);
    assert(stored.size() >= static_cast<std::size_t>(stride * height));
    const bool palette = d.colour == ColourFlag::Colour; // 4 and 8 bpp use the palette only for flag 1
    const Palette16& colours16 = palette16();
    const Palette256& colours256 = palette256();
    const int bpp = d.bitsPerPixel;

    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint8_t* src = stored.data() + stride * y;
        std::uint8_t* dst = image.row(y);
        const auto put = [&dst](std::int32_t x, unsigned r, unsigned g, unsigned b) {
            dst[3 * x] = static_cast<std::uint8_t>(b);
            dst[3 * x + 1] = static_cast<std::uint8_t>(g);
            dst[3 * x + 2] = static_cast<std::uint8_t>(r);
        };
        switch (bpp) {
        case 1:
        case 2:
        case 4: {
            const int perByte = 8 / bpp;
            const unsigned mask = (1u << bpp) - 1;
            const unsigned scale = bpp == 1 ? 255 : bpp == 2 ? 85 : 17;
            for (std::int32_t x = 0; x < width; ++x) {
                const unsigned v = (src[x / perByte] >> ((x % perByte) * bpp)) & mask;
                if (bpp == 4 && palette) {
                    const Rgb c = colours16[v];
                    put(x, c.r, c.g, c.b);
                } else {
                    put(x, v * scale, v * scale, v * scale);
                }
            }
            break;
        }
        case 8:
            for (std::int32_t x = 0; x < width; ++x) {
                if (palette) {
                    const Rgb c = colours256[src[x]];
                    put(x, c.r, c.g, c.b);
                } else {
                    put(x, src[x], src[x], src[x]);
                }
            }
            break;
        case 12:
            for (std::int32_t x = 0; x < width; ++x) {
                const unsigned v = src[2 * x] | src[2 * x + 1] << 8;
                put(x, ((v >> 8) & 0xF) * 17, ((v >> 4) & 0xF) * 17, (v & 0xF) * 17);
            }
            break;
        case 16:
            for (std::int32_t x = 0; x < width; ++x) {
                const unsigned v = src[2 * x] | src[2 * x + 1] << 8;
                put(x, (v >> 11) * 255 / 31, ((v >> 5) & 0x3F) * 255 / 63, (v & 0x1F) * 255 / 31);
            }
            break;
        case 24: std::copy(src, src + 3 * static_cast<std::size_t>(width), dst); break;
        case 32: {
            std::uint8_t* a = alpha ? image.alpha.data() + static_cast<std::size_t>(width) * y : nullptr;
            for (std::int32_t x = 0; x < width; ++x) {
                put(x, src[4 * x + 2], src[4 * x + 1], src[4 * x]);
                if (a)
                    a[x] = src[4 * x + 3];
            }
            break;
        }
        default: break;
        }
    }
    return image;
}

} // namespace mbm
