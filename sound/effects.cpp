// The effect files: read whole through the game's file unit, decoded, copied into one
// fixed table of samples.
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
        effects[id] = Effect{nullptr, 0, 0};
        WavSound sound;
        const char *problem = ReadEffect(DataPath(FILES[id]), &sound);
        if (!problem && sound.frames > SFX_POOL_SAMPLES - used) problem = "longer than the room left for sounds";
        if (problem) {
            std::fprintf(stderr, "kav: %s: %s; that sound stays silent\n", FILES[id], problem);
            continue;
        }
        int16_t *samples = samplePool + used;
        for (uint32_t i = 0; i < sound.frames; i++) samples[i] = WavSample(sound, i);
        used += sound.frames;
        // Source samples advanced per output sample, in 1/65536ths.
        effects[id] = Effect{samples, sound.frames, (uint32_t)(((uint64_t)sound.rate << 16) / SOUND_RATE)};
        loaded++;
    }
    return loaded;
}
