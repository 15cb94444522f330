// The run-length codes of multi-bitmap files: compressors that choose their
// tokens exactly as the SDK tool does (so packed files are byte-identical),
// and decoders that accept any valid stream.
#pragma once

#include "mbm/depth.h"
#include "mbm/error.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace mbm {

// Compresses a whole stored buffer (padding included) with `code`.
// nullopt means the compressor gave up under its size cut-off and the bitmap
// is to be stored uncompressed.
std::optional<std::vector<std::uint8_t>> compress(Compression code, std::span<const std::uint8_t> raw);

// Decodes `in` into `out`, which must come out filled exactly by a stream that
// is used up exactly; anything else is a DecompressionError.
Error decompress(Compression code, std::span<const std::uint8_t> in, std::span<std::uint8_t> out);

// The most output bytes one input byte of `code` can produce (rounded up);
// lets a reader reject a claimed size that the stream cannot possibly fill
// before allocating for it.
std::uint64_t maxExpansion(Compression code);

} // namespace mbm
