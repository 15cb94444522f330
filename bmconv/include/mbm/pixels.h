// Conversion between decoded pictures and the stored pixel layout of each depth.
#pragma once

#include "mbm/depth.h"
#include "mbm/image.h"
#include "mbm/palette.h"

#include <cstdint>
#include <span>
#include <vector>

namespace mbm {

// The stored value of one pixel at a depth (truncating, no dithering).
// For 24 and 32 bpp it is 0xRRGGBB.
std::uint32_t quantise(Depth d, Rgb c, const Inverse256& inverse = inverse256());

// Lays the picture out as the depth stores it: height * byteWidth bytes,
// padding 0xFF. For alpha depths the image must carry an alpha plane.
std::vector<std::uint8_t> packPixels(const Image& image, Depth d, const Inverse256& inverse = inverse256());

// The inverse: expands stored rows (height * byteWidth bytes) to 8-bit colour,
// the way the unpacker shows them. Alpha depths also fill image.alpha.
Image expandPixels(std::span<const std::uint8_t> stored, std::int32_t width, std::int32_t height, Depth d);

} // namespace mbm
