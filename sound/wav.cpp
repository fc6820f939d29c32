// The WAV reader: the RIFF chunk walk, checked against the buffer's end at every step.
#include "sound/wav.h"

#include "world/bytes.h"

#include <cstring>

WavReason DecodeWav(const uint8_t *data, size_t size, WavSound *out) {
    *out = WavSound{nullptr, 0, 0};
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return WAV_NOT_WAVE;
    const uint8_t *format = nullptr, *samples = nullptr;
    uint64_t sampleBytes = 0;
    bool dataCut = false;
    // The RIFF size field is not trusted: the chunks are walked up to the buffer's end.
    for (uint64_t at = 12; at + 8 <= size;) {
        const uint8_t *chunk = data + at;
        const uint64_t length = ReadLe32(chunk + 4);
        const uint64_t body = at + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && !format) {
            if (length < 16 || body + 16 > size) break;
            format = data + body;
        } else if (std::memcmp(chunk, "data", 4) == 0 && !samples) {
            samples = data + body;
            sampleBytes = length;
            if (body + length > size) {
                dataCut = true;
                break;
            }
        }
        at = body + length + (length & 1);   // chunks are padded to an even length
    }
    if (!format) return WAV_NO_FORMAT;
    if (ReadLe16(format) != 1 || ReadLe16(format + 2) != 1 || ReadLe16(format + 14) != 16 || ReadLe16(format + 12) != 2)
        return WAV_NOT_TAKEN;
    const uint32_t rate = ReadLe32(format + 4);
    if (rate < 8000 || rate > 48000) return WAV_BAD_RATE;
    if (dataCut) return WAV_SHORT_DATA;
    if (!samples || sampleBytes < 2) return WAV_NO_DATA;
    *out = WavSound{samples, (uint32_t)(sampleBytes / 2), rate};
    return WAV_DECODED;
}

const char *WavReasonText(WavReason reason) {
    switch (reason) {
    case WAV_DECODED: return "read";
    case WAV_NOT_WAVE: return "not a WAV file (no RIFF/WAVE header)";
    case WAV_NO_FORMAT: return "no whole format chunk";
    case WAV_NOT_TAKEN: return "not 16-bit PCM with one channel";
    case WAV_BAD_RATE: return "a sample rate outside 8000..48000";
    case WAV_NO_DATA: return "no samples";
    case WAV_SHORT_DATA: return "the file ends inside its samples";
    }
    return "refused by the WAV reader";
}
