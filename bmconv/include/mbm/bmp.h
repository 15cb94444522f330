// Windows bitmaps: a tolerant but safe reader, and the writers for what the
// unpacker produces.
#pragma once

#include "mbm/buffer.h"
#include "mbm/error.h"
#include "mbm/file_io.h"
#include "mbm/image.h"
#include "mbm/mbm.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace mbm {

// Reads 1/4/8 bpp with a palette (also RLE4/RLE8), 16 bpp (555, or bit fields),
// 24 bpp and 32 bpp (plain or bit fields); info headers of 12, 40, 52, 56, 108
// and 124 bytes; bottom-up and top-down rows. Pixel data starts at bfOffBits.
Result<Image> readBmp(std::span<const std::uint8_t> file, const Limits& limits = {});

// The same reader a row at a time, straight from the file's bytes (which
// must outlive it): 24-bit rows are handed out in place, others decoded.
class BmpRows final : public RowSource {
public:
    // What the headers say, checked against the file size and the limits.
    struct Layout {
        std::int32_t width = 0;
        std::int32_t height = 0; // always positive; see topDown
        bool topDown = false;
        int bpp = 0;
        std::uint32_t compression = 0;
        std::int32_t ppmX = 0, ppmY = 0;
        std::array<std::uint32_t, 3> masks{}; // R, G, B
        std::vector<Rgb> palette;
        std::uint32_t declaredColours = 0; // biClrUsed as written
        std::uint32_t pixelOffset = 0;
        std::uint64_t stride = 0;
    };

    // `rowsReversed`: the file was read with rowsToReverse's plan, so an
    // uncompressed bottom-up picture's rows lie top-down.
    static Result<BmpRows> open(std::span<const std::uint8_t> file, const Limits& limits = {},
                                bool rowsReversed = false);
    const std::uint8_t* row(std::int32_t y, std::uint8_t* scratch) const override;
    std::span<const std::uint8_t> storedAs(Depth d) const override;

private:
    BmpRows() = default;

    std::span<const std::uint8_t> file_;
    Layout layout_;
    std::vector<std::uint8_t> indices_; // a run-length picture, decoded to palette indices
};

// The rows of an uncompressed bottom-up bitmap file, for readFileReversing:
// read in reverse order they lie top-down, as packing takes them; at 24 bits
// they can then be compressed as they lie. None for any other file.
ReversedPieces rowsToReverse(std::span<const std::uint8_t> head, std::uint64_t fileSize);

// The alpha plane of a /c32a source: an 8 bpp uncompressed BMP with 256 palette
// entries and the picture's size, whose index bytes are the alpha values.
// Returned top row first, width * height bytes.
Result<std::vector<std::uint8_t>> readAlphaBmp(std::span<const std::uint8_t> file, std::int32_t width,
                                               std::int32_t height);

// What the unpacker writes for one multi-bitmap record: the picture as a
// 24-bit BMP and, for alpha depths, the alpha plane as an 8-bit BMP (else
// empty). Both are exactly writeBmp24 and writeAlphaBmp8 of decodeImage.
struct UnpackedBitmap {
    ByteBuffer picture;
    ByteBuffer alpha;
};
Result<UnpackedBitmap> unpackBitmap(const BitmapRecord& record, const Limits& limits = {});

// A 24-bit bottom-up BMP with no resolution and 0xFF row padding.
std::vector<std::uint8_t> writeBmp24(const Image& image);
ByteBuffer writeBmp24(const RowSource& rows);
// The alpha plane as an 8-bit BMP with a grey palette, 0x00 row padding.
std::vector<std::uint8_t> writeAlphaBmp8(const Image& image);
ByteBuffer writeAlphaBmp8(const RowSource& rows);

} // namespace mbm
