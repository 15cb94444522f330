// libFuzzer entry point for the multi-bitmap reader: parse, decode every
// bitmap, and write what the unpacker would write, both through the whole
// picture and straight into the file, which must agree.
#include "mbm/bmp.h"
#include "mbm/mbm.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

bool same(const mbm::ByteBuffer& a, const std::vector<std::uint8_t>& b)
{
    return a.size() == b.size() && (b.empty() || std::memcmp(a.data(), b.data(), b.size()) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A smaller cap than the tool's keeps each run fast; the checks are the same.
    const mbm::Limits limits{32767, 16u << 20};
    auto records = mbm::parseMbm({data, size}, limits);
    if (!records)
        return 0;
    for (const mbm::BitmapRecord& record : *records) {
        auto image = mbm::decodeImage(record, limits);
        auto unpacked = mbm::unpackBitmap(record, limits);
        if (image.ok() != unpacked.ok())
            std::abort();
        if (!image)
            continue;
        if (!same(unpacked->picture, mbm::writeBmp24(*image)))
            std::abort();
        if (!image->alpha.empty() && !same(unpacked->alpha, mbm::writeAlphaBmp8(*image)))
            std::abort();
    }
    return 0;
}
