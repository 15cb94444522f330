#include "mbm/bmp.h"

#include "mbm/bytes.h"

namespace mbm {
namespace {

void appendHeaders(std::vector<std::uint8_t>& out, const Image& image, std::uint32_t offBits, std::uint16_t bpp,
                   std::uint32_t imageBytes, std::uint32_t sizeImage, std::uint32_t coloursUsed)
{
    out.push_back('B');
    out.push_back('M');
    appendU32(out, offBits + imageBytes);
    appendU32(out, 0);
    appendU32(out, offBits);
    appendU32(out, 40);
    appendU32(out, static_cast<std::uint32_t>(image.width));
    appendU32(out, static_cast<std::uint32_t>(image.height)); // positive: bottom-up
    appendU16(out, 1);
    appendU16(out, bpp);
    appendU32(out, 0); // BI_RGB
    appendU32(out, sizeImage);
    appendU32(out, 0); // no resolution: the unpacker drops twips
    appendU32(out, 0);
    appendU32(out, coloursUsed);
    appendU32(out, 0);
}

} // namespace

std::vector<std::uint8_t> writeBmp24(const Image& image)
{
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(image.width);
    const std::size_t stride = (rowBytes + 3) & ~std::size_t{3};
    const std::size_t imageBytes = stride * image.height;
    std::vector<std::uint8_t> out;
    out.reserve(54 + imageBytes);
    appendHeaders(out, image, 54, 24, static_cast<std::uint32_t>(imageBytes), 0, 0);
    out.resize(54 + imageBytes, 0xFF);
    for (std::int32_t y = 0; y < image.height; ++y) {
        const std::uint8_t* src = image.row(image.height - 1 - y);
        std::copy(src, src + rowBytes, out.begin() + static_cast<std::ptrdiff_t>(54 + stride * y));
    }
    return out;
}

std::vector<std::uint8_t> writeAlphaBmp8(const Image& image)
{
    const std::size_t width = static_cast<std::size_t>(image.width);
    const std::size_t stride = (width + 3) & ~std::size_t{3};
    const std::size_t imageBytes = stride * image.height;
    constexpr std::uint32_t offBits = 54 + 4 * 256;
    std::vector<std::uint8_t> out;
    out.reserve(offBits + imageBytes);
    appendHeaders(out, image, offBits, 8, static_cast<std::uint32_t>(imageBytes), static_cast<std::uint32_t>(imageBytes), 256);
    for (unsigned i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        out.insert(out.end(), {v, v, v, 0});
    }
    out.resize(offBits + imageBytes, 0x00);
    for (std::int32_t y = 0; y < image.height; ++y) {
        const std::uint8_t* src = image.alpha.data() + width * static_cast<std::size_t>(image.height - 1 - y);
        std::copy(src, src + width, out.begin() + static_cast<std::ptrdiff_t>(offBits + stride * y));
    }
    return out;
}

} // namespace mbm
