#include "mbm/palette_file.h"

#include <string>

namespace mbm {
namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

Result<Palette256> parsePaletteFile(std::string_view text)
{
    Palette256 palette{};
    std::size_t found = 0;
    for (std::size_t p = 0; p + 1 < text.size() && found < 256; ++p) {
        if (text[p] != '0' || (text[p + 1] != 'x' && text[p + 1] != 'X'))
            continue;
        if (p + 10 > text.size())
            return fail(ErrorCode::BadPaletteFile, "palette entry " + std::to_string(found) + " is cut short");
        std::uint32_t v = 0;
        for (std::size_t k = p + 2; k < p + 10; ++k) {
            const int h = hexValue(text[k]);
            if (h < 0)
                return fail(ErrorCode::BadPaletteFile, "palette entry " + std::to_string(found) + " is not 8 hex digits");
            v = v << 4 | static_cast<std::uint32_t>(h);
        }
        palette[found++] = Rgb{static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                               static_cast<std::uint8_t>(v >> 16)};
        p += 9;
    }
    if (found < 256)
        return fail(ErrorCode::BadPaletteFile, "palette has " + std::to_string(found) + " entries, 256 needed");
    return palette;
}

} // namespace mbm
