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

// Writes into a temporary file beside `path` and renames it into place only
// when complete, so a failure leaves no file and never damages an existing one.
Error writeFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes);

} // namespace mbm
