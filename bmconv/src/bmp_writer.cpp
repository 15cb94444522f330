#include "mbm/bmp.h"

#include "mbm/bytes.h"
#include "mbm/pixels.h"

#include <cstring>

namespace mbm {
namespace {

constexpr std::size_t kHeaders = 54;
constexpr std::size_t kGreyPaletteEnd = kHeaders + 4 * 256;

struct BmpShape {
    std::size_t rowBytes; // pixel bytes of a row
    std::size_t stride;   // rounded up to 4
    std::size_t rows;
    std::size_t offBits;
    std::size_t size() const { return offBits + stride * rows; }
};

BmpShape shapeOf(std::int32_t width, std::int32_t height, std::size_t bytesPerPixel, std::size_t offBits)
{
    const std::size_t rowBytes = bytesPerPixel * static_cast<std::size_t>(width);
    return {rowBytes, (rowBytes + 3) & ~std::size_t{3}, static_cast<std::size_t>(height), offBits};
}

void storeHeaders(std::uint8_t* out, std::int32_t width, std::int32_t height, const BmpShape& shape,
                  std::uint16_t bpp, bool sizeImage, std::uint32_t coloursUsed)
{
    const auto imageBytes = static_cast<std::uint32_t>(shape.size() - shape.offBits);
    out[0] = 'B';
    out[1] = 'M';
    storeU32(out + 2, static_cast<std::uint32_t>(shape.size()));
    storeU32(out + 6, 0);
    storeU32(out + 10, static_cast<std::uint32_t>(shape.offBits));
    storeU32(out + 14, 40);
    storeU32(out + 18, static_cast<std::uint32_t>(width));
    storeU32(out + 22, static_cast<std::uint32_t>(height)); // positive: bottom-up
    storeU16(out + 26, 1);
    storeU16(out + 28, bpp);
    storeU32(out + 30, 0); // BI_RGB
    storeU32(out + 34, sizeImage ? imageBytes : 0);
    storeU32(out + 38, 0); // no resolution: the unpacker drops twips
    storeU32(out + 42, 0);
    storeU32(out + 46, coloursUsed);
    storeU32(out + 50, 0);
}

// Headers, then the rows bottom-up, each padded with 0xFF.
void layBmp24(const RowSource& rows, std::uint8_t* out)
{
    const BmpShape shape = shapeOf(rows.width, rows.height, 3, kHeaders);
    storeHeaders(out, rows.width, rows.height, shape, 24, false, 0);
    for (std::int32_t y = 0; y < rows.height; ++y) {
        std::uint8_t* dst = out + shape.offBits + shape.stride * static_cast<std::size_t>(rows.height - 1 - y);
        const std::uint8_t* src = rows.row(y, dst); // expands straight into the file when it must expand
        if (src != dst)
            std::memcpy(dst, src, shape.rowBytes);
        std::memset(dst + shape.rowBytes, 0xFF, shape.stride - shape.rowBytes);
    }
}

// Headers, a grey palette, then the alpha rows bottom-up, each padded with 0x00.
void layAlphaBmp8(std::int32_t width, std::int32_t height, std::span<const std::uint8_t> alpha, std::uint8_t* out)
{
    const BmpShape shape = shapeOf(width, height, 1, kGreyPaletteEnd);
    storeHeaders(out, width, height, shape, 8, true, 256);
    for (unsigned i = 0; i < 256; ++i) {
        const auto v = static_cast<std::uint8_t>(i);
        std::uint8_t* entry = out + kHeaders + 4 * i;
        entry[0] = entry[1] = entry[2] = v;
        entry[3] = 0;
    }
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* dst = out + shape.offBits + shape.stride * static_cast<std::size_t>(height - 1 - y);
        std::memcpy(dst, alpha.data() + shape.rowBytes * static_cast<std::size_t>(y), shape.rowBytes);
        std::memset(dst + shape.rowBytes, 0x00, shape.stride - shape.rowBytes);
    }
}

// Turns stored 24-bit rows, decoded just after room for the headers, into the
// BMP in place: the rows already have the file's length, so only their order
// changes.
void turnIntoBmp24(ByteBuffer& file, std::int32_t width, std::int32_t height)
{
    const BmpShape shape = shapeOf(width, height, 3, kHeaders);
    storeHeaders(file.data(), width, height, shape, 24, false, 0);
    std::vector<std::uint8_t> swap(shape.stride);
    std::uint8_t* pixels = file.data() + kHeaders;
    for (std::size_t top = 0, bottom = shape.rows - 1; top < bottom; ++top, --bottom) {
        std::uint8_t* a = pixels + shape.stride * top;
        std::uint8_t* b = pixels + shape.stride * bottom;
        std::memcpy(swap.data(), a, shape.stride);
        std::memcpy(a, b, shape.stride);
        std::memcpy(b, swap.data(), shape.stride);
    }
}

} // namespace

Result<UnpackedBitmap> unpackBitmap(const BitmapRecord& record, const Limits& limits)
{
    const BitmapHeader& h = record.header;
    // 24-bit rows are stored padded to 12 bytes, a BMP's to 4: for widths
    // divisible by 4 both are unpadded and the record decodes into the file.
    if (h.depth() == Depth{24, ColourFlag::Colour} && h.width > 0 && h.width % 4 == 0) {
        auto file = decodeStored(record, limits, kHeaders);
        if (!file)
            return file.error();
        turnIntoBmp24(*file, h.width, h.height);
        return UnpackedBitmap{std::move(*file), {}};
    }
    auto stored = decodeStored(record, limits);
    if (!stored)
        return stored.error();
    const StoredRows rows(*stored, h.width, h.height, h.depth());
    UnpackedBitmap out{writeBmp24(rows), {}};
    if (!rows.alpha.empty())
        out.alpha = writeAlphaBmp8(rows);
    return out;
}

ByteBuffer writeBmp24(const RowSource& rows)
{
    ByteBuffer out(shapeOf(rows.width, rows.height, 3, kHeaders).size());
    layBmp24(rows, out.data());
    return out;
}

std::vector<std::uint8_t> writeBmp24(const Image& image)
{
    std::vector<std::uint8_t> out(shapeOf(image.width, image.height, 3, kHeaders).size());
    layBmp24(ImageRows(image), out.data());
    return out;
}

ByteBuffer writeAlphaBmp8(const RowSource& rows)
{
    ByteBuffer out(shapeOf(rows.width, rows.height, 1, kGreyPaletteEnd).size());
    layAlphaBmp8(rows.width, rows.height, rows.alpha, out.data());
    return out;
}

std::vector<std::uint8_t> writeAlphaBmp8(const Image& image)
{
    std::vector<std::uint8_t> out(shapeOf(image.width, image.height, 1, kGreyPaletteEnd).size());
    layAlphaBmp8(image.width, image.height, image.alpha, out.data());
    return out;
}

} // namespace mbm
