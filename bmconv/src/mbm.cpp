#include "mbm/mbm.h"

#include "mbm/bytes.h"
#include "mbm/pixels.h"
#include "mbm/rle.h"

#include <string>

namespace mbm {
namespace {

std::string at(std::uint64_t offset) { return " (at offset " + std::to_string(offset) + ")"; }

BitmapHeader readHeader(const std::uint8_t* p)
{
    BitmapHeader h;
    std::int32_t* fields[] = {&h.bitmapSize, &h.structSize, &h.width, &h.height, &h.twipsX,
                              &h.twipsY, &h.bitsPerPixel, &h.colour, &h.paletteEntries, &h.compression};
    for (std::size_t i = 0; i < std::size(fields); ++i)
        *fields[i] = loadI32(p + 4 * i);
    return h;
}

void writeHeader(std::vector<std::uint8_t>& out, const BitmapHeader& h)
{
    for (std::int32_t v : {h.bitmapSize, h.structSize, h.width, h.height, h.twipsX, h.twipsY, h.bitsPerPixel,
                           h.colour, h.paletteEntries, h.compression})
        appendU32(out, static_cast<std::uint32_t>(v));
}

Error checkHeader(const BitmapHeader& h, const Limits& limits, std::uint64_t offset)
{
    if (h.structSize != static_cast<std::int32_t>(kBitmapHeaderSize))
        return fail(ErrorCode::BadSourceFile, "bitmap header size is " + std::to_string(h.structSize) + ", not 40" + at(offset));
    if (h.width <= 0 || h.height <= 0 || h.width > limits.maxDimension || h.height > limits.maxDimension)
        return fail(ErrorCode::BadSourceFile, "bitmap size " + std::to_string(h.width) + " x " + std::to_string(h.height)
                                                  + " is outside 1.." + std::to_string(limits.maxDimension) + at(offset));
    if (Error e = checkPixelLimit(h.width, h.height, limits))
        return e;
    if (!isValidStoredDepth(h.depth()))
        return fail(ErrorCode::InvalidBitmapMode, "unsupported depth " + std::to_string(h.bitsPerPixel)
                                                      + " bpp with colour flag " + std::to_string(h.colour) + at(offset));
    if (h.paletteEntries != 0)
        return fail(ErrorCode::PalettesNotSupported, "bitmap declares a palette" + at(offset));
    const auto code = static_cast<Compression>(h.compression);
    if (h.compression != 0 && code != compressionFor(h.depth()))
        return fail(ErrorCode::UnknownCompression, "compression " + std::to_string(h.compression) + " does not fit "
                                                       + std::to_string(h.bitsPerPixel) + " bpp" + at(offset));
    const std::uint64_t stored = static_cast<std::uint64_t>(byteWidth(h.width, h.bitsPerPixel)) * h.height;
    if (stored > limits.maxDecodedBytes)
        return fail(ErrorCode::BadSourceFile, "bitmap would decode to " + std::to_string(stored) + " bytes, over the limit" + at(offset));
    const std::uint64_t dataSize = static_cast<std::uint64_t>(h.bitmapSize) - kBitmapHeaderSize;
    if (code == Compression::None && dataSize != stored)
        return fail(ErrorCode::BadSourceFile, "uncompressed data is " + std::to_string(dataSize) + " bytes, expected "
                                                  + std::to_string(stored) + at(offset));
    if (code != Compression::None && dataSize * maxExpansion(code) < stored)
        return fail(ErrorCode::DecompressionError, "compressed data is too short to fill the bitmap" + at(offset));
    return {};
}

} // namespace

Result<std::vector<BitmapRecord>> parseMbm(std::span<const std::uint8_t> file, const Limits& limits)
{
    if (file.size() < kFileHeaderSize)
        return fail(ErrorCode::BadSourceFile, "file is too short for a multi-bitmap header");
    if (loadU32(&file[0]) != kUid1 || loadU32(&file[4]) != kUid2 || loadU32(&file[8]) != kUid3
        || loadU32(&file[12]) != kUidChecksum)
        return fail(ErrorCode::BadSourceFile, "not a multi-bitmap file (wrong UIDs)");
    const std::uint32_t trailer = loadU32(&file[16]);
    if (!fits(file.size(), trailer, 4))
        return fail(ErrorCode::BadSourceFile, "trailer offset " + std::to_string(trailer) + " is past the end of the file");
    const std::uint32_t count = loadU32(&file[trailer]);
    if (count == 0)
        return fail(ErrorCode::BadSourceFile, "file holds no bitmaps");
    if (!fits(file.size(), trailer + std::uint64_t{4}, std::uint64_t{4} * count))
        return fail(ErrorCode::BadSourceFile, "trailer lists " + std::to_string(count) + " bitmaps but the file ends first");

    std::vector<BitmapRecord> records;
    records.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        BitmapRecord r;
        r.offset = loadU32(&file[trailer + 4 + 4 * std::size_t{i}]);
        if (!fits(file.size(), r.offset, kBitmapHeaderSize))
            return fail(ErrorCode::BadSourceFile, "bitmap " + std::to_string(i) + " offset " + std::to_string(r.offset)
                                                      + " is past the end of the file");
        r.header = readHeader(&file[r.offset]);
        if (r.header.bitmapSize < static_cast<std::int32_t>(kBitmapHeaderSize)
            || !fits(file.size(), r.offset, static_cast<std::uint32_t>(r.header.bitmapSize)))
            return fail(ErrorCode::BadSourceFile, "bitmap " + std::to_string(i) + " size " + std::to_string(r.header.bitmapSize)
                                                      + " does not fit in the file" + at(r.offset));
        if (Error e = checkHeader(r.header, limits, r.offset))
            return e.code == ErrorCode::TooLarge ? e : fail(e.code, "bitmap " + std::to_string(i) + ": " + e.message);
        r.data = file.subspan(r.offset + kBitmapHeaderSize, static_cast<std::size_t>(r.header.bitmapSize) - kBitmapHeaderSize);
        records.push_back(r);
    }
    return records;
}

Error checkPixelLimit(std::int32_t width, std::int32_t height, const Limits& limits)
{
    if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) <= limits.maxPixels)
        return {};
    return fail(ErrorCode::TooLarge, "bitmap " + std::to_string(width) + " x " + std::to_string(height)
                                         + " is larger than the limit of " + std::to_string(limits.maxPixels)
                                         + " pixels");
}

Result<ByteBuffer> decodeStored(const BitmapRecord& record, const Limits& limits, std::size_t before)
{
    if (Error e = checkHeader(record.header, limits, record.offset))
        return e;
    const BitmapHeader& h = record.header;
    const auto size = static_cast<std::size_t>(byteWidth(h.width, h.bitsPerPixel)) * h.height;
    ByteBuffer stored(before + size); // filled or refused whole
    if (Error e = decompress(static_cast<Compression>(h.compression), record.data, {stored.data() + before, size}))
        return fail(e.code, e.message + at(record.offset));
    return stored;
}

Result<Image> decodeImage(const BitmapRecord& record, const Limits& limits)
{
    auto stored = decodeStored(record, limits);
    if (!stored)
        return stored.error();
    const BitmapHeader& h = record.header;
    return expandPixels(*stored, h.width, h.height, h.depth());
}

std::int32_t twips(std::int32_t pixels, std::int32_t pixelsPerMetre)
{
    if (pixelsPerMetre <= 0)
        return 0;
    // 64-bit, so wide pictures do not overflow as they would in 32 bits.
    return static_cast<std::int32_t>(std::int64_t{pixels} * 1440000 / 254 / pixelsPerMetre);
}

EncodedBitmap encodeRows(const RowSource& rows, Depth depth, const EncodeOptions& options)
{
    EncodedBitmap out;
    BitmapHeader& h = out.header;
    h.width = rows.width;
    h.height = rows.height;
    h.twipsX = twips(rows.width, rows.ppmX);
    h.twipsY = twips(rows.height, rows.ppmY);
    h.bitsPerPixel = depth.bitsPerPixel;
    h.colour = static_cast<std::int32_t>(depth.colour);
    ByteBuffer laidOut;
    std::span<const std::uint8_t> stored = rows.storedAs(depth);
    if (stored.empty()) {
        laidOut = ByteBuffer(static_cast<std::size_t>(byteWidth(rows.width, depth.bitsPerPixel)) * rows.height);
        packRows(rows, depth, options.inverse ? *options.inverse : inverse256(), laidOut);
        stored = laidOut;
    }
    std::optional<std::vector<std::uint8_t>> packed;
    if (options.compress)
        packed = compress(compressionFor(depth), stored);
    if (packed) {
        out.data = std::move(*packed);
        h.compression = static_cast<std::int32_t>(compressionFor(depth));
    } else {
        out.data.assign(stored.begin(), stored.end());
    }
    h.bitmapSize = static_cast<std::int32_t>(kBitmapHeaderSize + out.data.size());
    return out;
}

EncodedBitmap encodeBitmap(const Image& image, Depth depth, const EncodeOptions& options)
{
    return encodeRows(ImageRows(image), depth, options);
}

std::vector<std::uint8_t> serialiseMbm(const std::vector<EncodedBitmap>& bitmaps)
{
    std::size_t total = kFileHeaderSize + 4 + 4 * bitmaps.size();
    for (const EncodedBitmap& b : bitmaps)
        total += kBitmapHeaderSize + b.data.size();
    std::vector<std::uint8_t> out;
    out.reserve(total);
    for (std::uint32_t v : {kUid1, kUid2, kUid3, kUidChecksum})
        appendU32(out, v);
    appendU32(out, static_cast<std::uint32_t>(total - 4 - 4 * bitmaps.size()));
    std::vector<std::uint32_t> offsets;
    for (const EncodedBitmap& b : bitmaps) {
        offsets.push_back(static_cast<std::uint32_t>(out.size()));
        writeHeader(out, b.header);
        out.insert(out.end(), b.data.begin(), b.data.end());
    }
    appendU32(out, static_cast<std::uint32_t>(bitmaps.size()));
    for (std::uint32_t o : offsets)
        appendU32(out, o);
    return out;
}

} // namespace mbm
