// Fuzz target: any bytes as a Targa file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "render/decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    // No pass-over of big claimed sizes here: a run packet fills at most 128 pixels, so what
    // the decoder allocates is bounded by the input's own length.
    TgaPicture picture = {};
    PictureFacts count = {};
    TgaReason reason = DecodeTga(data, size, &picture, &count);
    if (reason == TGA_SHORT_DATA && count.supplied >= count.needed) std::abort();
    if (reason == TGA_DECODED) {
        if (count.supplied != count.needed || count.needed != uint64_t(picture.width) * uint64_t(picture.height))
            std::abort();
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
