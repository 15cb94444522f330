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
// The same from any rows, into `out` (exactly height * byteWidth bytes).
void packRows(const RowSource& rows, Depth d, const Inverse256& inverse, std::span<std::uint8_t> out);

// The inverse: expands stored rows (height * byteWidth bytes) to 8-bit colour,
// the way the unpacker shows them. Alpha depths also fill image.alpha.
Image expandPixels(std::span<const std::uint8_t> stored, std::int32_t width, std::int32_t height, Depth d);
// One stored row to 3 * width bytes of B, G, R; for alpha depths also
// `width` alpha bytes when `alpha` is not null.
void expandRow(const std::uint8_t* stored, std::int32_t width, Depth d, std::uint8_t* bgr, std::uint8_t* alpha);

// The picture exactly as saving it at `d` and loading it back shows it:
// expandPixels(packPixels(image, d), width, height, d), a row at a time.
Image roundTrip(const Image& image, Depth d, const Inverse256& inverse = inverse256());

// Stored rows of one depth read as B, G, R rows, each expanded when asked for.
// The stored bytes must outlive it.
class StoredRows final : public RowSource {
public:
    StoredRows(std::span<const std::uint8_t> stored, std::int32_t width, std::int32_t height, Depth d);
    StoredRows(StoredRows&&) = default;
    const std::uint8_t* row(std::int32_t y, std::uint8_t* scratch) const override;

private:
    std::span<const std::uint8_t> stored_;
    Depth depth_;
    std::size_t stride_ = 0;
    std::vector<std::uint8_t> alphaPlane_;
};

} // namespace mbm
