// The effect files: read whole through the game's file unit, decoded, brought to the mixer's
// rate and copied into one fixed table of samples.
#include "sound/sound.h"
#include "sound/mixer.h"
#include "sound/wav.h"
#include "world/files.h"
#include "world/world.h"

static const char *const FILES[SFX_COUNT] = {
    "sfx/shot.wav",   "sfx/shell.wav",   "sfx/twoways.wav", "sfx/volley.wav", "sfx/alarm.wav", "sfx/explosion.wav",
    "sfx/shotend.wav", "sfx/jump.wav",   "sfx/land.wav",    "sfx/exit.wav",   "sfx/train.wav",
};

Effect effects[SFX_COUNT];
static int16_t samplePool[SFX_POOL_SAMPLES];
static uint8_t fileBuffer[SFX_FILE_LIMIT];   // one file at a time, at start-up

const char *SoundFileName(int id) { return id >= 0 && id < SFX_COUNT ? FILES[id] : nullptr; }

// Reads and decodes path into fileBuffer; null when good, else what is wrong.
static const char *ReadEffect(const char *path, WavSound *sound) {
    size_t size = 0;
    const FileReadResult read = ReadFileInto(path, fileBuffer, sizeof fileBuffer, &size);
    if (read != FILE_READ_OK) return FileReadText(read);
    const WavReason reason = DecodeWav(fileBuffer, size, sound);
    return reason == WAV_DECODED ? nullptr : WavReasonText(reason);
}

const char *CheckSoundFile(const char *path) {
    WavSound sound;
    return ReadEffect(path, &sound);
}

int LoadSounds() {
    uint32_t used = 0;
    int loaded = 0;
    for (int id = 0; id < SFX_COUNT; id++) {
        effects[id] = Effect{nullptr, 0};
        WavSound sound;
        const char *problem = ReadEffect(DataPath(FILES[id]), &sound);
        // At the mixer's rate: source samples advanced per sample, in 1/65536ths.
        const uint32_t step = problem ? 0 : (uint32_t)(((uint64_t)sound.rate << 16) / SOUND_RATE);
        const uint64_t frames = problem ? 0 : (((uint64_t)sound.frames << 16) + step - 1) / step;
        if (!problem && frames > SFX_POOL_SAMPLES - used) problem = "longer than the room left for sounds";
        if (problem) {
            std::fprintf(stderr, "kav: %s: %s; that sound stays silent\n", FILES[id], problem);
            continue;
        }
        // Each sample lies between two of the file's, in a straight line (the last leads to
        // silence, or for the loop to its start).
        int16_t *samples = samplePool + used;
        const int32_t after = id == SFX_TRAIN ? WavSample(sound, 0) : 0;
        for (uint32_t j = 0; j < (uint32_t)frames; j++) {
            const uint64_t at = (uint64_t)j * step;
            const uint32_t i = (uint32_t)(at >> 16);
            const int32_t a = WavSample(sound, i), b = i + 1 < sound.frames ? WavSample(sound, i + 1) : after;
            samples[j] = (int16_t)(a + (((b - a) * (int32_t)((at & 0xFFFF) >> 1)) >> 15));
        }
        used += (uint32_t)frames;
        effects[id] = Effect{samples, (uint32_t)frames};
        loaded++;
    }
    return loaded;
}
