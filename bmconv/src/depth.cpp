#include "mbm/depth.h"

namespace mbm {

std::string depthOption(Depth d)
{
    std::string text = d.colour == ColourFlag::Grey ? "" : "c";
    text += std::to_string(d.bitsPerPixel);
    if (hasAlpha(d))
        text += 'a';
    return text;
}

std::optional<Depth> parseDepthOption(std::string_view text)
{
    for (const Depth& d : kPackDepths) {
        const std::string option = depthOption(d);
        if (text.size() == option.size()) {
            bool same = true;
            for (std::size_t i = 0; i < text.size() && same; ++i) {
                const char c = text[i];
                same = (c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) == option[i];
            }
            if (same)
                return d;
        }
    }
    return std::nullopt;
}

bool isValidStoredDepth(Depth d)
{
    for (const Depth& p : kPackDepths)
        if (p == d)
            return true;
    return d.bitsPerPixel == 32 && d.colour == ColourFlag::ColourAlphaPremultiplied;
}

bool hasAlpha(Depth d)
{
    return d.colour == ColourFlag::ColourAlpha || d.colour == ColourFlag::ColourAlphaPremultiplied;
}

std::int64_t byteWidth(std::int64_t width, int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 1: return 4 * ((width + 31) / 32);
    case 2: return 4 * ((width + 15) / 16);
    case 4: return 4 * ((width + 7) / 8);
    case 8: return 4 * ((width + 3) / 4);
    case 12:
    case 16: return 4 * ((width + 1) / 2);
    case 24: return 12 * ((3 * width + 11) / 12);
    case 32: return 4 * width;
    default: return 0;
    }
}

Compression compressionFor(Depth d)
{
    switch (d.bitsPerPixel) {
    case 12: return Compression::TwelveBitRle;
    case 16: return Compression::SixteenBitRle;
    case 24: return Compression::TwentyFourBitRle;
    case 32: return hasAlpha(d) ? Compression::ThirtyTwoBitAlphaRle : Compression::ThirtyTwoBitRle;
    default: return Compression::ByteRle;
    }
}

} // namespace mbm
