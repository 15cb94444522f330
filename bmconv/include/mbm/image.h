// A decoded picture: 8-bit B, G, R per pixel, top row first, no row padding.
#pragma once

#include "mbm/depth.h"

#include <cstdint>
#include <span>
#include <vector>

namespace mbm {

struct Image {
    std::int32_t width = 0;
    std::int32_t height = 0;
    // Resolution in pixels per metre, as a BMP carries it; 0 when unknown.
    std::int32_t ppmX = 0;
    std::int32_t ppmY = 0;
    std::vector<std::uint8_t> bgr;   // 3 * width * height bytes
    std::vector<std::uint8_t> alpha; // empty, or width * height bytes

    const std::uint8_t* row(std::int32_t y) const { return bgr.data() + 3 * static_cast<std::size_t>(width) * y; }
    std::uint8_t* row(std::int32_t y) { return bgr.data() + 3 * static_cast<std::size_t>(width) * y; }
};

// A picture's rows wherever they live: an Image, the pixel data of a bitmap
// file, the stored rows of a multi-bitmap record. The converter goes from
// file to file a row at a time through it, with no whole decoded picture in
// between; one call per row, so the per-pixel loops stay inside each source.
class RowSource {
public:
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t ppmX = 0;
    std::int32_t ppmY = 0;
    std::span<const std::uint8_t> alpha; // empty, or width * height bytes, top row first

    // Row y (0 = top) as 3 * width bytes B, G, R: a pointer into the source
    // itself, or `scratch` (room for 3 * width bytes) filled with the row.
    virtual const std::uint8_t* row(std::int32_t y, std::uint8_t* scratch) const = 0;
    // The rows exactly as depth `d` stores them (height * byteWidth bytes),
    // when the source already holds them so; else empty.
    virtual std::span<const std::uint8_t> storedAs(Depth) const { return {}; }

protected:
    RowSource() = default;
    RowSource(const RowSource&) = default;
    RowSource& operator=(const RowSource&) = default;
    ~RowSource() = default;
};

class ImageRows final : public RowSource {
public:
    explicit ImageRows(const Image& image) : image_(image)
    {
        width = image.width;
        height = image.height;
        ppmX = image.ppmX;
        ppmY = image.ppmY;
        alpha = image.alpha;
    }
    const std::uint8_t* row(std::int32_t y, std::uint8_t*) const override { return image_.row(y); }

private:
    const Image& image_;
};

} // namespace mbm
