// Multi-bitmap files: parsing the store, decoding its bitmaps, building new ones.
#pragma once

#include "mbm/buffer.h"
#include "mbm/depth.h"
#include "mbm/error.h"
#include "mbm/image.h"
#include "mbm/palette.h"

#include <cstdint>
#include <limits>
#include <span>
#include <vector>

namespace mbm {

inline constexpr std::uint32_t kUid1 = 0x10000037;
inline constexpr std::uint32_t kUid2 = 0x10000042;
inline constexpr std::uint32_t kUid3 = 0;
inline constexpr std::uint32_t kUidChecksum = 0x47396439;
inline constexpr std::size_t kFileHeaderSize = 20;
inline constexpr std::size_t kBitmapHeaderSize = 40;

struct Limits {
    std::int32_t maxDimension = 32767;
    // Cap on one decoded bitmap's stored buffer (and on a picture's pixels * 4).
    std::uint64_t maxDecodedBytes = 256u << 20;
    // Cap on width * height that a caller can set lower (--max-pixels): a
    // small file at a low depth can otherwise claim a huge 24-bit picture.
    std::uint64_t maxPixels = std::numeric_limits<std::uint64_t>::max();
};

// TooLarge, naming the size and the limit, when width * height is over maxPixels.
Error checkPixelLimit(std::int32_t width, std::int32_t height, const Limits& limits);

struct BitmapHeader {
    std::int32_t bitmapSize = 0; // header plus stored data
    std::int32_t structSize = 40;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t twipsX = 0;
    std::int32_t twipsY = 0;
    std::int32_t bitsPerPixel = 0;
    std::int32_t colour = 0;
    std::int32_t paletteEntries = 0;
    std::int32_t compression = 0;

    Depth depth() const { return Depth{bitsPerPixel, static_cast<ColourFlag>(colour)}; }
};

// One record as found in a file: a checked header and a view of its stored
// data, which lies inside the parsed file buffer.
struct BitmapRecord {
    BitmapHeader header;
    std::uint32_t offset = 0;
    std::span<const std::uint8_t> data;
};

// Checks the UIDs, the trailer and every record header against the file size
// and the limits. The records keep pointing into `file`.
Result<std::vector<BitmapRecord>> parseMbm(std::span<const std::uint8_t> file, const Limits& limits = {});

// Decompresses one record into its stored rows (height * byteWidth bytes),
// `before` bytes into the buffer (room for a file header, left unset).
Result<ByteBuffer> decodeStored(const BitmapRecord& record, const Limits& limits = {}, std::size_t before = 0);
// Decompresses and expands one record to 8-bit colour.
Result<Image> decodeImage(const BitmapRecord& record, const Limits& limits = {});

// A bitmap ready to be written into a file.
struct EncodedBitmap {
    BitmapHeader header;
    std::vector<std::uint8_t> data;
};

// Twips for a pixel count at a resolution; 0 when the resolution is unknown.
std::int32_t twips(std::int32_t pixels, std::int32_t pixelsPerMetre);

struct EncodeOptions {
    bool compress = true;
    const Inverse256* inverse = nullptr; // nearest-colour table for /c8, default palette when null
};

// Quantises, lays out and (unless told not to) compresses a picture. Alpha
// depths need the picture's alpha plane.
EncodedBitmap encodeBitmap(const Image& image, Depth depth, const EncodeOptions& options = {});
EncodedBitmap encodeRows(const RowSource& rows, Depth depth, const EncodeOptions& options = {});

// The whole file: header, records back to back, trailer.
std::vector<std::uint8_t> serialiseMbm(const std::vector<EncodedBitmap>& bitmaps);

} // namespace mbm
