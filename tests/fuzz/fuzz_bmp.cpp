// Fuzz target: any bytes as a Windows bitmap file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "render/decode.h"

#ifdef KAV_FUZZ_SMALL_PICTURES
static uint32_t U32(const uint8_t *p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

// Pixels the header claims (information header after an optional 14-byte file header).
static uint64_t ClaimedPixels(const uint8_t *data, size_t size) {
    size_t info = size >= 2 && data[0] == 'B' && data[1] == 'M' ? 14 : 0;
    if (size < info + 12) return 0;
    if (U32(data + info) == 12) return uint64_t(data[info + 4] | data[info + 5] << 8) * (data[info + 6] | data[info + 7] << 8);
    int64_t w = int32_t(U32(data + info + 4)), h = int32_t(U32(data + info + 8));
    return uint64_t(w < 0 ? -w : w) * uint64_t(h < 0 ? -h : h);
}
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
#ifdef KAV_FUZZ_SMALL_PICTURES
    // While fuzzing, pictures claiming over 65536 pixels are passed over: each would
    // allocate and clear up to 192 MB (the decoder's limit) and slow the search a hundredfold. The replays and
    // the decoder tests still run them.
    if (ClaimedPixels(data, size) > (1u << 16)) return 0;
#endif
    RgbImage image = {};
    BmpReason reason = DecodeBmp(data, size, &image);
    if (reason == BMP_DECODED) {
        if (!image.pixels || image.width <= 0 || image.height <= 0) std::abort();
        // The first and last byte of the picture must be inside what was allocated.
        size_t bytes = (size_t)image.width * (size_t)image.height * 3;
        volatile uint8_t sum = image.pixels[0] + image.pixels[bytes - 1];
        (void)sum;
    } else if (image.pixels) {
        std::abort();
    }
    std::free(image.pixels);
    return 0;
}
