// libFuzzer entry point for the multi-bitmap reader: parse, decode every
// bitmap, and write what the unpacker would write.
#include "mbm/bmp.h"
#include "mbm/mbm.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A smaller cap than the tool's keeps each run fast; the checks are the same.
    const mbm::Limits limits{32767, 16u << 20};
    auto records = mbm::parseMbm({data, size}, limits);
    if (!records)
        return 0;
    for (const mbm::BitmapRecord& record : *records) {
        auto image = mbm::decodeImage(record, limits);
        if (image && !image->alpha.empty())
            (void)mbm::writeAlphaBmp8(*image);
        if (image)
            (void)mbm::writeBmp24(*image);
    }
    return 0;
}
