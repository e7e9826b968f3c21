// Feeds arbitrary bytes to the bitmap file decoder and, for decoded 32-bit images, to the
// outline scan; every read must stay inside the buffers.
#include <cstddef>
#include <cstdint>

#include "skin/BmpFile.h"
#include "skin/RowRuns.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto bmp = decodeBmp(data, size);
    if (!bmp) return 0;
    uint64_t stride = bmpRowStride(bmp->width, bmp->bitCount);
    if (stride * static_cast<uint64_t>(bmp->height < 0 ? -static_cast<int64_t>(bmp->height) : bmp->height) !=
        bmp->pixels.size())
        __builtin_trap();
    if (bmp->bitCount == 32)
        scanRowRuns(bmp->pixels.data(), bmp->pixels.size(), bmp->width,
                    bmp->height < 0 ? -bmp->height : bmp->height, static_cast<size_t>(stride),
                    bmp->height > 0);
    return 0;
}
