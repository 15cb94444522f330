#include "mbm/rle.h"

#include "mbm/bytes.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

namespace mbm {
namespace {

using Buffer = std::vector<std::uint8_t>;

constexpr std::size_t kMaxToken = 128;

// A compressed stream written through a cursor, with room for the longest
// stream any input can give: a token's control byte comes with at least one
// byte of the input it covers, so a stream is at most twice its input. The
// room is allocated but not filled, so only the pages the stream reaches are
// ever touched, and no token has to check for space.
class Tokens {
public:
    explicit Tokens(std::size_t inputSize) : room_(new std::uint8_t[2 * inputSize + 1]), end_(room_.get()) {}
    std::size_t size() const { return static_cast<std::size_t>(end_ - room_.get()); }
    void put(std::uint8_t byte) { *end_++ = byte; }
    void put(const std::uint8_t* bytes, std::size_t count)
    {
        std::memcpy(end_, bytes, count);
        end_ += count;
    }
    Buffer take() const { return Buffer(room_.get(), end_); }

private:
    std::unique_ptr<std::uint8_t[]> room_;
    std::uint8_t* end_;
};

// The first k in [from, to) whose byte differs from the byte `period` before
// it, or `to` (from >= period). A run of equal pixels is a stretch of bytes
// that repeats with the pixel size as its period, so this finds where a run
// ends eight bytes at a time.
std::size_t repeatsUntil(const std::uint8_t* b, std::size_t from, std::size_t to, std::size_t period)
{
    std::size_t k = from;
    for (; k + 8 <= to; k += 8) {
        std::uint64_t here, before;
        std::memcpy(&here, b + k, 8);
        std::memcpy(&before, b + k - period, 8);
        if (here != before) {
            const std::uint64_t diff = here ^ before;
            const int bit =
                std::endian::native == std::endian::little ? std::countr_zero(diff) : std::countl_zero(diff);
            return k + static_cast<std::size_t>(bit) / 8;
        }
    }
    while (k < to && b[k] == b[k - period])
        ++k;
    return k;
}

// Emits `count` copies of one unit as run tokens of at most 128.
void emitRun(Tokens& out, const std::uint8_t* unit, std::size_t unitSize, std::size_t count)
{
    while (count > 0) {
        const std::size_t n = std::min(count, kMaxToken);
        out.put(static_cast<std::uint8_t>(n - 1));
        out.put(unit, unitSize);
        count -= n;
    }
}

// Emits `count` units as literal tokens of at most 128. Units are read from
// `src` with a step of `stride` bytes, of which the first `unitSize` are kept
// (the 32-bit code without alpha drops the fourth byte).
void emitLiteral(Tokens& out, const std::uint8_t* src, std::size_t stride, std::size_t unitSize, std::size_t count)
{
    while (count > 0) {
        const std::size_t n = std::min(count, kMaxToken);
        out.put(static_cast<std::uint8_t>(-static_cast<int>(n)));
        if (stride == unitSize) {
            out.put(src, n * unitSize);
            src += n * unitSize;
        } else {
            for (std::size_t i = 0; i < n; ++i, src += stride)
                out.put(src, unitSize);
        }
        count -= n;
    }
}

std::optional<Buffer> compressBytes(std::span<const std::uint8_t> s)
{
    const std::size_t n = s.size();
    const std::size_t cutOff = n / 2 + n / 4;
    const std::size_t margin = std::max<std::size_t>(4, n / 64);
    const std::size_t end = n > margin ? n - margin : 0;
    Tokens out(n);
    std::size_t p = 0;
    while (p < end) {
        std::size_t q;
        if (s[p + 1] == s[p] && s[p + 2] == s[p]) {
            // The first three bytes always belong to the run, even past `end`.
            q = std::max(p + 3, repeatsUntil(s.data(), p + 1, end, 1));
            emitRun(out, &s[p], 1, q - p);
        } else {
            q = p + 1;
            while (q < end && !(s[q] == s[q + 1] && s[q] == s[q + 2]))
                ++q;
            emitLiteral(out, &s[p], 1, 1, q - p);
        }
        p = q;
        if (out.size() > cutOff)
            return std::nullopt;
    }
    if (p < n) {
        if (out.size() + (n - p) > cutOff)
            return std::nullopt;
        emitLiteral(out, &s[p], 1, 1, n - p);
    }
    return out.take();
}

// 12-bit values as runs of identical 16-bit words; never longer than its input.
Buffer compressTwelve(std::span<const std::uint8_t> s)
{
    Tokens out(s.size());
    const std::size_t count = s.size() / 2;
    std::size_t i = 0;
    while (i < count) {
        const std::uint16_t v = loadU16(&s[2 * i]);
        const std::size_t j = repeatsUntil(s.data(), 2 * (i + 1), 2 * count, 2) / 2;
        for (std::size_t left = j - i; left > 0;) {
            const std::size_t run = std::min<std::size_t>(left, 16);
            std::uint8_t word[2];
            storeU16(word, static_cast<std::uint16_t>(((run - 1) << 12) | (v & 0x0FFF)));
            out.put(word, 2);
            left -= run;
        }
        i = j;
    }
    return out.take();
}

// Shared by the 16-, 24- and 32-bit codes. Pixels are Stride bytes apart and
// compared on their first Compare bytes, of which Unit are stored. The 16-bit
// code ends a literal just before the first pixel that equals its successor;
// the 24/32-bit (v119) codes step past pairs in a way that gives the same
// boundaries except near the end of the buffer, so each has its loop.
// Template parameters let the compiler turn each comparison into a load.
template <std::size_t Stride, std::size_t Compare, std::size_t Unit, bool SixteenBitLiteral>
std::optional<Buffer> compressPixels(std::span<const std::uint8_t> s)
{
    const std::size_t count = s.size() / Stride;
    const std::size_t cutOff = 7 * s.size() / 8;
    const std::uint8_t* base = s.data();
    const auto px = [base](std::size_t i) { return base + i * Stride; };
    const auto same = [&](std::size_t a, std::size_t b) { return std::memcmp(px(a), px(b), Compare) == 0; };
    Tokens out(s.size());
    std::size_t i = 0;
    while (count > 0 && i < count - 1) {
        const std::size_t start = i;
        ++i;
        if (same(i, start)) {
            if constexpr (Compare == Stride) {
                i = repeatsUntil(base, Stride * i, Stride * count, Stride) / Stride;
            } else {
                while (i < count && same(i, start))
                    ++i;
            }
            emitRun(out, px(start), Unit, i - start);
        } else {
            if constexpr (SixteenBitLiteral) {
                while (i < count - 1 && !same(i + 1, i))
                    ++i;
            } else {
                std::size_t v;
                do {
                    v = i;
                    ++i;
                } while (i != count && !same(i, v));
                if (i != count)
                    --i;
            }
            emitLiteral(out, px(start), Stride, Unit, i - start);
        }
        if (out.size() > cutOff)
            return std::nullopt;
    }
    if (i < count)
        emitLiteral(out, px(i), Stride, Unit, count - i);
    if (out.size() > cutOff)
        return std::nullopt;
    return out.take();
}

// Writes `count` copies of one stored unit, widened to OutUnit bytes with
// 0xFF. Long runs go 48 bytes (a whole number of units of any size) at a time.
template <std::size_t Unit, std::size_t OutUnit>
void fillUnits(std::uint8_t* dst, const std::uint8_t* unit, std::size_t count)
{
    std::uint8_t wide[OutUnit];
    std::memcpy(wide, unit, Unit);
    std::memset(wide + Unit, 0xFF, OutUnit - Unit);
    constexpr std::size_t kChunk = 48;
    constexpr std::size_t kPerChunk = kChunk / OutUnit;
    std::size_t k = 0;
    if (count >= 2 * kPerChunk) {
        std::uint8_t chunk[kChunk];
        for (std::size_t j = 0; j < kPerChunk; ++j)
            std::memcpy(chunk + j * OutUnit, wide, OutUnit);
        for (; k + kPerChunk <= count; k += kPerChunk)
            std::memcpy(dst + k * OutUnit, chunk, kChunk);
    }
    for (; k < count; ++k)
        std::memcpy(dst + k * OutUnit, wide, OutUnit);
}

// Reads the signed-control-byte token streams of codes 1, 3, 4, 5 and 6.
// Each stored unit of Unit bytes expands to OutUnit bytes; the extra byte of
// code 5 is left as 0xFF, as the runtime does. The sizes are template
// arguments so that every unit's copy is a plain load and store.
template <std::size_t Unit, std::size_t OutUnit>
Error decodeTokens(std::span<const std::uint8_t> in, std::span<std::uint8_t> out)
{
    std::size_t ip = 0, op = 0;
    while (ip < in.size()) {
        const auto control = static_cast<std::int8_t>(in[ip++]);
        const bool run = control >= 0;
        const std::size_t units = run ? static_cast<std::size_t>(control) + 1 : static_cast<std::size_t>(-control);
        const std::size_t inBytes = run ? Unit : units * Unit;
        if (!fits(in.size(), ip, inBytes))
            return fail(ErrorCode::DecompressionError, "compressed data ends inside a token");
        if (!fits(out.size(), op, units * OutUnit))
            return fail(ErrorCode::DecompressionError, "compressed data runs past the end of the bitmap");
        const std::uint8_t* src = in.data() + ip;
        std::uint8_t* dst = out.data() + op;
        if (run && Unit == 1) {
            std::memset(dst, *src, units);
        } else if (run) {
            fillUnits<Unit, OutUnit>(dst, src, units);
        } else if (Unit == OutUnit) {
            std::memcpy(dst, src, inBytes);
        } else {
            for (std::size_t k = 0; k < units; ++k, dst += OutUnit) {
                std::memcpy(dst, src + k * Unit, Unit);
                std::memset(dst + Unit, 0xFF, OutUnit - Unit);
            }
        }
        ip += inBytes;
        op += units * OutUnit;
    }
    if (op != out.size())
        return fail(ErrorCode::DecompressionError, "compressed data ends before the bitmap is filled");
    return {};
}

Error decodeTwelve(std::span<const std::uint8_t> in, std::span<std::uint8_t> out)
{
    if (in.size() % 2 != 0)
        return fail(ErrorCode::DecompressionError, "12-bit compressed data has an odd length");
    std::size_t op = 0;
    for (std::size_t ip = 0; ip < in.size(); ip += 2) {
        const std::uint16_t w = loadU16(&in[ip]);
        const std::size_t units = (w >> 12) + 1u;
        if (!fits(out.size(), op, 2 * units))
            return fail(ErrorCode::DecompressionError, "compressed data runs past the end of the bitmap");
        for (std::size_t k = 0; k < units; ++k, op += 2)
            storeU16(&out[op], static_cast<std::uint16_t>(w & 0x0FFF));
    }
    if (op != out.size())
        return fail(ErrorCode::DecompressionError, "compressed data ends before the bitmap is filled");
    return {};
}

} // namespace

std::optional<std::vector<std::uint8_t>> compress(Compression code, std::span<const std::uint8_t> raw)
{
    switch (code) {
    case Compression::ByteRle: return compressBytes(raw);
    case Compression::TwelveBitRle: return compressTwelve(raw);
    case Compression::SixteenBitRle: return compressPixels<2, 2, 2, true>(raw);
    case Compression::TwentyFourBitRle: return compressPixels<3, 3, 3, false>(raw);
    case Compression::ThirtyTwoBitRle: return compressPixels<4, 3, 3, false>(raw);
    case Compression::ThirtyTwoBitAlphaRle: return compressPixels<4, 4, 4, false>(raw);
    case Compression::None: break;
    }
    return std::nullopt;
}

Error decompress(Compression code, std::span<const std::uint8_t> in, std::span<std::uint8_t> out)
{
    switch (code) {
    case Compression::None:
        if (in.size() != out.size())
            return fail(ErrorCode::BadSourceFile, "uncompressed data size does not match the bitmap size");
        std::copy(in.begin(), in.end(), out.begin());
        return {};
    case Compression::ByteRle: return decodeTokens<1, 1>(in, out);
    case Compression::TwelveBitRle: return decodeTwelve(in, out);
    case Compression::SixteenBitRle: return decodeTokens<2, 2>(in, out);
    case Compression::TwentyFourBitRle: return decodeTokens<3, 3>(in, out);
    case Compression::ThirtyTwoBitRle: return decodeTokens<3, 4>(in, out);
    case Compression::ThirtyTwoBitAlphaRle: return decodeTokens<4, 4>(in, out);
    }
    return fail(ErrorCode::UnknownCompression, "unknown compression code");
}

std::uint64_t maxExpansion(Compression code)
{
    // Best case per code: a two-byte run token of 128 units (12-bit: 16 words per word).
    switch (code) {
    case Compression::None: return 1;
    case Compression::ByteRle: return 64;            // 2 bytes -> 128
    case Compression::TwelveBitRle: return 16;       // 2 bytes -> 32
    case Compression::SixteenBitRle: return 86;      // 3 bytes -> 256
    case Compression::TwentyFourBitRle: return 96;   // 4 bytes -> 384
    case Compression::ThirtyTwoBitRle: return 128;   // 4 bytes -> 512
    case Compression::ThirtyTwoBitAlphaRle: return 103; // 5 bytes -> 512
    }
    return 1;
}

} // namespace mbm
