// The WAV reader: bytes in, 16-bit samples out. No files, no allocation, so it can be
// fuzzed alone. Every read is checked against the buffer's end.
#pragma once

#include <cstddef>
#include <cstdint>

enum WavReason {
    WAV_DECODED = 0,
    WAV_NOT_WAVE,      // no "RIFF....WAVE" header
    WAV_NO_FORMAT,     // no whole "fmt " chunk before the end
    WAV_NOT_TAKEN,     // not 16-bit PCM with one channel
    WAV_BAD_RATE,      // a rate outside 8000..48000 samples a second
    WAV_NO_DATA,       // no "data" chunk, or one without a sample
    WAV_SHORT_DATA,    // the data chunk claims more bytes than the file holds
};

// A decoded sound: the samples stay in the caller's buffer (little-endian, 2 bytes each).
struct WavSound {
    const uint8_t *samples;
    uint32_t frames;
    uint32_t rate;
};

// Reads the RIFF chunks of a WAV file held whole in data. Chunks other than "fmt " and
// "data" are skipped; the first of each counts.
WavReason DecodeWav(const uint8_t *data, size_t size, WavSound *out);

// A few words for a refusal: "not 16-bit PCM with one channel", ...
const char *WavReasonText(WavReason reason);

// Sample i of a decoded sound.
inline int16_t WavSample(const WavSound &s, uint32_t i) {
    return (int16_t)(uint16_t)(s.samples[2 * i] | s.samples[2 * i + 1] << 8);
}
