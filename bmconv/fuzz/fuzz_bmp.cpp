// libFuzzer entry point for the Windows bitmap reader. Small pictures that
// read successfully are also packed at a depth picked from the input and read
// back, which drives the quantisers and compressors with odd shapes.
#include "mbm/bmp.h"
#include "mbm/mbm.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const mbm::Limits limits{32767, 16u << 20};
    auto image = mbm::readBmp({data, size}, limits);
    (void)mbm::readAlphaBmp({data, size}, 4, 4);
    if (!image || std::size_t(image->width) * image->height > 65536)
        return 0;
    const mbm::Depth depth = mbm::kPackDepths[size % std::size(mbm::kPackDepths)];
    if (mbm::hasAlpha(depth))
        image->alpha.assign(std::size_t(image->width) * image->height, 0x7F);
    const auto file = mbm::serialiseMbm({mbm::encodeBitmap(*image, depth)});
    auto records = mbm::parseMbm(file, limits);
    // Our own output must always read back.
    if (!records || !mbm::decodeImage((*records)[0], limits))
        std::abort();
    return 0;
}
