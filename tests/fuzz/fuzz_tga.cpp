// Fuzz target: any bytes as a Targa file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "render/decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    TgaPicture picture = {};
    TgaReason reason = DecodeTga(data, size, &picture);
    if (reason == TGA_DECODED) {
        if (!picture.pixels || picture.width <= 0 || picture.height <= 0 ||
            (picture.bytesPerPixel != 3 && picture.bytesPerPixel != 4))
            std::abort();
        // The first and last byte of the picture must be inside what was allocated.
        size_t bytes = (size_t)picture.width * (size_t)picture.height * (size_t)picture.bytesPerPixel;
        volatile uint8_t sum = picture.pixels[0] + picture.pixels[bytes - 1];
        (void)sum;
    } else if (picture.pixels) {
        std::abort();
    }
    std::free(picture.pixels);
    return 0;
}
