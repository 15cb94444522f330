// Custom palettes for /c8 packing (/p<file>).
#pragma once

#include "mbm/error.h"
#include "mbm/palette.h"

#include <string_view>

namespace mbm {

// The file holds 256 numbers written 0x00BBGGRR; anything between them is
// ignored. Fewer than 256, or a malformed number, is a BadPaletteFile.
Result<Palette256> parsePaletteFile(std::string_view text);

} // namespace mbm
