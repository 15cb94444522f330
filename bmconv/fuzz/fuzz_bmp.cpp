// libFuzzer entry point for the Windows bitmap reader. Small pictures that
// read successfully are also packed at a depth picked from the input, both
// from the decoded picture and straight from the file's rows (which must
// agree), and read back, which drives the quantisers and compressors with
// odd shapes.
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
    const mbm::EncodedBitmap encoded = mbm::encodeBitmap(*image, depth);
    auto rows = mbm::BmpRows::open({data, size}, limits);
    if (!rows)
        std::abort();
    rows->alpha = image->alpha;
    if (mbm::encodeRows(*rows, depth).data != encoded.data)
        std::abort();
    const auto file = mbm::serialiseMbm({encoded});
    auto records = mbm::parseMbm(file, limits);
    // Our own output must always read back.
    if (!records || !mbm::decodeImage((*records)[0], limits))
        std::abort();
    return 0;
}
