#include "mbm/bmp.h"

#include "mbm/bytes.h"

#include <array>
#include <bit>
#include <string>

namespace mbm {
namespace {

enum BmpCompression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

constexpr std::size_t kFileHeader = 14;

using BmpInfo = BmpRows::Layout;

Error bad(const std::string& why) { return fail(ErrorCode::BadSourceFile, why); }

Result<BmpInfo> parseHeaders(std::span<const std::uint8_t> f, const Limits& limits)
{
    if (f.size() < kFileHeader + 12 || f[0] != 'B' || f[1] != 'M')
        return bad("not a Windows bitmap (no BM signature)");
    BmpInfo info;
    info.pixelOffset = loadU32(&f[10]);
    const std::uint32_t infoSize = loadU32(&f[14]);
    const bool core = infoSize == 12;
    if (!core && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124)
        return bad("unsupported bitmap info header size " + std::to_string(infoSize));
    if (!fits(f.size(), kFileHeader, infoSize))
        return bad("file ends inside the bitmap info header");
    const std::uint8_t* h = &f[kFileHeader];
    std::int64_t height;
    if (core) {
        info.width = loadU16(h + 4);
        height = loadU16(h + 6);
        info.bpp = loadU16(h + 10);
    } else {
        info.width = loadI32(h + 4);
        height = loadI32(h + 8);
        info.bpp = loadU16(h + 14);
        info.compression = loadU32(h + 16);
        info.ppmX = loadI32(h + 24);
        info.ppmY = loadI32(h + 28);
        info.declaredColours = loadU32(h + 32);
    }
    info.topDown = height < 0;
    height = height < 0 ? -height : height;
    if (info.width <= 0 || height <= 0 || info.width > limits.maxDimension || height > limits.maxDimension)
        return bad("bitmap size " + std::to_string(info.width) + " x " + std::to_string(height) + " is outside 1.."
                   + std::to_string(limits.maxDimension));
    info.height = static_cast<std::int32_t>(height);
    if (Error e = checkPixelLimit(info.width, info.height, limits))
        return e;
    if (std::uint64_t{4} * static_cast<std::uint64_t>(info.width) * info.height > limits.maxDecodedBytes)
        return bad("bitmap of " + std::to_string(info.width) + " x " + std::to_string(info.height) + " is too large");

    const int bpp = info.bpp;
    const std::uint32_t c = info.compression;
    const bool paletted = bpp == 1 || bpp == 4 || bpp == 8;
    if (!paletted && bpp != 16 && bpp != 24 && bpp != 32)
        return bad("unsupported bit depth " + std::to_string(bpp));
    const bool compressionFits = c == kRgb || (c == kRle8 && bpp == 8) || (c == kRle4 && bpp == 4)
        || ((c == kBitFields || c == kAlphaBitFields) && (bpp == 16 || bpp == 32));
    if (!compressionFits)
        return fail(ErrorCode::UnknownCompression,
                    "unsupported compression " + std::to_string(c) + " for " + std::to_string(bpp) + " bpp");
    if (info.topDown && (c == kRle4 || c == kRle8))
        return bad("a run-length compressed bitmap cannot be top-down");

    // Bit-field masks live inside the larger headers, or follow a 40-byte one.
    std::uint64_t tableStart = kFileHeader + infoSize;
    if (c == kBitFields || c == kAlphaBitFields) {
        const std::uint8_t* m = h + 40;
        if (infoSize == 40) {
            const std::uint64_t maskBytes = c == kAlphaBitFields ? 16 : 12;
            if (!fits(f.size(), tableStart, maskBytes))
                return bad("file ends inside the colour masks");
            m = &f[tableStart];
            tableStart += maskBytes;
        }
        info.masks = {loadU32(m), loadU32(m + 4), loadU32(m + 8)};
    } else if (bpp == 16) {
        info.masks = {0x7C00, 0x03E0, 0x001F};
    } else {
        info.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    }
    for (std::uint32_t mask : info.masks) {
        const std::uint32_t field = mask == 0 ? 0 : mask >> std::countr_zero(mask);
        if ((field & (field + 1)) != 0) // not of the form 0...01...1
            return bad("colour mask " + std::to_string(mask) + " is not contiguous");
    }

    if (info.pixelOffset < tableStart || info.pixelOffset > f.size())
        return bad("pixel data offset " + std::to_string(info.pixelOffset) + " is outside the file's data area");
    if (paletted) {
        if (info.declaredColours > 256)
            return bad("palette of " + std::to_string(info.declaredColours) + " entries is larger than 256");
        const std::uint32_t entrySize = core ? 3 : 4;
        std::uint64_t count = info.declaredColours ? info.declaredColours : (1u << bpp);
        // Some writers give a shorter palette than the depth implies; the
        // pixel data offset says how much is really there.
        count = std::min<std::uint64_t>(count, (info.pixelOffset - tableStart) / entrySize);
        if (count == 0)
            return bad("palette is missing");
        info.palette.resize(count);
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint8_t* e = &f[tableStart + i * entrySize];
            info.palette[i] = Rgb{e[2], e[1], e[0]};
        }
    }
    info.stride = (static_cast<std::uint64_t>(info.width) * bpp + 31) / 32 * 4;
    if (c != kRle4 && c != kRle8 && !fits(f.size(), info.pixelOffset, info.stride * info.height))
        return bad("pixel data is truncated: " + std::to_string(info.stride * info.height) + " bytes needed at offset "
                   + std::to_string(info.pixelOffset) + ", file has " + std::to_string(f.size()));
    return info;
}

// Scales a masked channel to 8 bits: the top 8 bits of wide fields, rounded
// expansion of narrow ones.
struct Channel {
    unsigned shift = 0, bits = 0;
    explicit Channel(std::uint32_t mask)
    {
        if (mask != 0) {
            shift = static_cast<unsigned>(std::countr_zero(mask));
            bits = static_cast<unsigned>(std::popcount(mask));
        }
    }
    std::uint8_t operator()(std::uint32_t pixel) const
    {
        if (bits == 0)
            return 0;
        const std::uint32_t v = (pixel >> shift) & ((bits >= 32 ? 0 : (1u << bits)) - 1u);
        if (bits >= 8)
            return static_cast<std::uint8_t>(v >> (bits - 8));
        const std::uint32_t max = (1u << bits) - 1;
        return static_cast<std::uint8_t>((v * 255 + max / 2) / max);
    }
};

// Decodes RLE4/RLE8 into palette indices; pixels the stream skips stay 0.
// Anything that would land outside the picture is dropped.
std::vector<std::uint8_t> decodeRle(std::span<const std::uint8_t> data, const BmpInfo& info)
{
    const std::int64_t w = info.width, h = info.height;
    std::vector<std::uint8_t> idx(static_cast<std::size_t>(w * h), 0);
    const bool four = info.compression == kRle4;
    std::int64_t x = 0, y = 0; // y counts rows from the bottom
    const auto put = [&](std::uint8_t v) {
        if (x < w && y < h)
            idx[static_cast<std::size_t>((h - 1 - y) * w + x)] = v;
        ++x;
    };
    std::size_t p = 0;
    while (p + 1 < data.size() && y < h) {
        const std::uint8_t n = data[p], v = data[p + 1];
        p += 2;
        if (n > 0) {
            for (unsigned k = 0; k < n; ++k)
                put(four ? static_cast<std::uint8_t>(k % 2 ? v & 0xF : v >> 4) : v);
        } else if (v == 0) {
            x = 0;
            ++y;
        } else if (v == 1) {
            break;
        } else if (v == 2) {
            if (p + 1 >= data.size())
                break;
            x += data[p];
            y += data[p + 1];
            p += 2;
        } else {
            const std::size_t bytes = four ? (v + 1u) / 2 : v;
            if (!fits(data.size(), p, bytes))
                break;
            for (unsigned k = 0; k < v; ++k)
                put(four ? static_cast<std::uint8_t>(k % 2 ? data[p + k / 2] & 0xF : data[p + k / 2] >> 4) : data[p + k]);
            p += bytes + (bytes & 1); // absolute runs are padded to 16 bits
        }
    }
    return idx;
}

} // namespace

ReversedPieces rowsToReverse(std::span<const std::uint8_t> f, std::uint64_t fileSize)
{
    // The fields parseHeaders reads, for the headers of 40 bytes and more.
    if (f.size() < kFileHeader + 40 || f[0] != 'B' || f[1] != 'M')
        return {};
    const std::uint32_t infoSize = loadU32(&f[14]);
    const std::int32_t width = loadI32(&f[18]), height = loadI32(&f[22]);
    const int bpp = loadU16(&f[28]);
    const std::uint32_t c = loadU32(&f[30]);
    const bool headerKnown = infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 108 || infoSize == 124;
    const bool depthKnown = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
    const bool uncompressed = c == kRgb || c == kBitFields || c == kAlphaBitFields;
    if (!headerKnown || !depthKnown || !uncompressed || width <= 0 || height <= 0)
        return {};
    const ReversedPieces rows{loadU32(&f[10]), (static_cast<std::uint64_t>(width) * bpp + 31) / 32 * 4,
                              static_cast<std::uint64_t>(height)};
    return fits(fileSize, rows.offset, rows.length * rows.count) ? rows : ReversedPieces{};
}

Result<BmpRows> BmpRows::open(std::span<const std::uint8_t> file, const Limits& limits, bool rowsReversed)
{
    auto parsed = parseHeaders(file, limits);
    if (!parsed)
        return parsed.error();
    BmpRows rows;
    rows.file_ = file;
    rows.layout_ = std::move(*parsed);
    if (rowsReversed)
        rows.layout_.topDown = true;
    const Layout& info = rows.layout_;
    rows.width = info.width;
    rows.height = info.height;
    rows.ppmX = info.ppmX;
    rows.ppmY = info.ppmY;
    if (info.compression == kRle4 || info.compression == kRle8)
        rows.indices_ = decodeRle(file.subspan(info.pixelOffset), info);
    return rows;
}

const std::uint8_t* BmpRows::row(std::int32_t y, std::uint8_t* dst) const
{
    const Layout& info = layout_;
    const auto colourOf = [&](unsigned index, std::uint8_t* out) {
        const Rgb c = index < info.palette.size() ? info.palette[index] : Rgb{}; // out of range shows black
        out[0] = c.b;
        out[1] = c.g;
        out[2] = c.r;
    };
    if (info.compression == kRle4 || info.compression == kRle8) {
        const std::uint8_t* idx = indices_.data() + static_cast<std::size_t>(info.width) * y;
        for (std::int32_t x = 0; x < info.width; ++x)
            colourOf(idx[x], dst + 3 * x);
        return dst;
    }
    const std::int32_t fileRow = info.topDown ? y : info.height - 1 - y;
    const std::uint8_t* src = &file_[info.pixelOffset + info.stride * static_cast<std::uint64_t>(fileRow)];
    switch (info.bpp) {
    case 1:
    case 4: {
        // Most significant bits hold the leftmost pixel.
        const int perByte = 8 / info.bpp;
        const unsigned mask = (1u << info.bpp) - 1;
        for (std::int32_t x = 0; x < info.width; ++x) {
            const int shift = 8 - info.bpp * (x % perByte + 1);
            colourOf((src[x / perByte] >> shift) & mask, dst + 3 * x);
        }
        return dst;
    }
    case 8:
        for (std::int32_t x = 0; x < info.width; ++x)
            colourOf(src[x], dst + 3 * x);
        return dst;
    case 24: return src; // already B, G, R: no copy
    case 16:
    case 32: {
        if (info.bpp == 32 && info.compression == kRgb) {
            for (std::int32_t x = 0; x < info.width; ++x)
                std::copy(src + 4 * x, src + 4 * x + 3, dst + 3 * x);
            return dst;
        }
        const Channel red(info.masks[0]), green(info.masks[1]), blue(info.masks[2]);
        const int bytes = info.bpp / 8;
        for (std::int32_t x = 0; x < info.width; ++x) {
            const std::uint32_t v = bytes == 2 ? loadU16(src + 2 * x) : loadU32(src + 4 * x);
            dst[3 * x] = blue(v);
            dst[3 * x + 1] = green(v);
            dst[3 * x + 2] = red(v);
        }
        return dst;
    }
    default: return dst;
    }
}

std::span<const std::uint8_t> BmpRows::storedAs(Depth d) const
{
    // 24-bit rows with no padding are stored as they are (both formats pad
    // rows of widths divisible by 4 with nothing).
    const Layout& info = layout_;
    const std::uint64_t rowBytes = 3 * static_cast<std::uint64_t>(info.width);
    if (d.bitsPerPixel != 24 || info.bpp != 24 || info.compression != kRgb || !info.topDown || info.stride != rowBytes
        || static_cast<std::uint64_t>(byteWidth(info.width, 24)) != rowBytes)
        return {};
    return file_.subspan(info.pixelOffset, rowBytes * static_cast<std::uint64_t>(info.height));
}

Result<Image> readBmp(std::span<const std::uint8_t> file, const Limits& limits)
{
    auto rows = BmpRows::open(file, limits);
    if (!rows)
        return rows.error();
    Image image;
    image.width = rows->width;
    image.height = rows->height;
    image.ppmX = rows->ppmX;
    image.ppmY = rows->ppmY;
    image.bgr.resize(3 * static_cast<std::size_t>(image.width) * image.height);
    for (std::int32_t y = 0; y < image.height; ++y) {
        std::uint8_t* dst = image.row(y);
        const std::uint8_t* src = rows->row(y, dst);
        if (src != dst)
            std::copy(src, src + 3 * static_cast<std::size_t>(image.width), dst);
    }
    return image;
}

Result<std::vector<std::uint8_t>> readAlphaBmp(std::span<const std::uint8_t> file, std::int32_t width,
                                               std::int32_t height)
{
    auto parsed = parseHeaders(file, Limits{});
    if (!parsed)
        return parsed.error();
    const BmpInfo& info = *parsed;
    if (info.bpp != 8 || info.compression != kRgb)
        return fail(ErrorCode::AlphaNot8Bpp, "alpha bitmap is " + std::to_string(info.bpp)
                                                 + " bpp; it must be 8 bpp and uncompressed");
    if (info.declaredColours != 0 && info.declaredColours != 256)
        return fail(ErrorCode::AlphaNot8Bpp, "alpha bitmap must have a 256-entry palette");
    if (info.width != width || info.height != height)
        return fail(ErrorCode::AlphaDimensionsDiffer, "alpha bitmap is " + std::to_string(info.width) + " x "
                                                          + std::to_string(info.height) + ", the picture "
                                                          + std::to_string(width) + " x " + std::to_string(height));
    std::vector<std::uint8_t> alpha(static_cast<std::size_t>(width) * height);
    for (std::int32_t y = 0; y < height; ++y) {
        const std::int32_t fileRow = info.topDown ? y : height - 1 - y;
        const std::uint8_t* src = &file[info.pixelOffset + info.stride * static_cast<std::uint64_t>(fileRow)];
        std::copy(src, src + width, alpha.begin() + static_cast<std::ptrdiff_t>(width) * y);
    }
    return alpha;
}

} // namespace mbm
