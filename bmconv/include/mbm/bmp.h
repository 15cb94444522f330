// Windows bitmaps: a tolerant but safe reader, and the writers for what the
// unpacker produces.
#pragma once

#include "mbm/error.h"
#include "mbm/image.h"
#include "mbm/mbm.h"

#include <cstdint>
#include <span>
#include <vector>

namespace mbm {

// Reads 1/4/8 bpp with a palette (also RLE4/RLE8), 16 bpp (555, or bit fields),
// 24 bpp and 32 bpp (plain or bit fields); info headers of 12, 40, 52, 56, 108
// and 124 bytes; bottom-up and top-down rows. Pixel data starts at bfOffBits.
Result<Image> readBmp(std::span<const std::uint8_t> file, const Limits& limits = {});

// The alpha plane of a /c32a source: an 8 bpp uncompressed BMP with 256 palette
// entries and the picture's size, whose index bytes are the alpha values.
// Returned top row first, width * height bytes.
Result<std::vector<std::uint8_t>> readAlphaBmp(std::span<const std::uint8_t> file, std::int32_t width,
                                               std::int32_t height);

// A 24-bit bottom-up BMP with no resolution and 0xFF row padding.
std::vector<std::uint8_t> writeBmp24(const Image& image);
// The image's alpha plane as an 8-bit BMP with a grey palette, 0x00 row padding.
std::vector<std::uint8_t> writeAlphaBmp8(const Image& image);

} // namespace mbm
