// Whole-file reads and all-or-nothing writes.
#pragma once

#include "mbm/buffer.h"
#include "mbm/error.h"

#include <cstdint>
#include <span>
#include <string>

namespace mbm {

// The whole file in one buffer, read with one call where the system allows.
// FileNotFound when the path does not exist, BadSourceFile when it cannot be read.
Result<ByteBuffer> readFile(const std::string& path);

// Equal pieces of a file (the rows of a bottom-up bitmap) that a read should
// place in the buffer in reverse order; none when count is 0.
struct ReversedPieces {
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
    std::uint64_t count = 0;
};
// Looks at a file's first bytes (up to kPlanHead) and its size.
using ReadPlan = ReversedPieces (*)(std::span<const std::uint8_t> head, std::uint64_t fileSize);
inline constexpr std::size_t kPlanHead = 256;

// As readFile, with the pieces that `plan` names read in reverse order by one
// more call; plan(buffer, size) afterwards names the same pieces. A file that
// changes size while being read is a BadSourceFile.
Result<ByteBuffer> readFileReversing(const std::string& path, ReadPlan plan);

// Writes into a temporary file beside `path` and renames it into place only
// when complete, so a failure leaves no file and never damages an existing one.
Error writeFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace mbm
