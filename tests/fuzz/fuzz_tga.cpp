// Fuzz target: any bytes as a Targa file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "render/decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
#ifdef KAV_FUZZ_SMALL_PICTURES
    // While fuzzing, pictures claiming over 65536 pixels are passed over: each would
    // allocate and clear up to 256 MB (the decoder's limit) and slow the search a hundredfold. The replays and
    // the decoder tests still run them.
    if (size >= 18 && uint64_t(data[12] | data[13] << 8) * uint64_t(data[14] | data[15] << 8) > (1u << 16))
        return 0;
#endif
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
