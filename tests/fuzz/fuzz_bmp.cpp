// Fuzz target: any bytes as a Windows bitmap file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "render/decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
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
