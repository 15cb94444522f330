// A decoded picture: 8-bit B, G, R per pixel, top row first, no row padding.
#pragma once

#include <cstdint>
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

} // namespace mbm
