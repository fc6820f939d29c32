// Fuzz target: any bytes as a WAV file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "sound/wav.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    WavSound sound;
    const WavReason reason = DecodeWav(data, size, &sound);
    if (reason != WAV_DECODED) {
        if (sound.samples || sound.frames) std::abort();   // a refusal hands nothing out
        return 0;
    }
    if (!sound.samples || sound.frames == 0 || sound.rate < 8000 || sound.rate > 48000) std::abort();
    // Every sample handed out lies inside the input.
    if (sound.samples < data || (size_t)(sound.samples - data) + (size_t)sound.frames * 2 > size) std::abort();
    volatile int sum = WavSample(sound, 0) + WavSample(sound, sound.frames - 1);
    (void)sum;
    return 0;
}
