// The run's sound: the mixer's output each step, to the device and to --audio-out.
#include "shell/audio.h"

#include "platform/platform.h"
#include "sound/sound.h"
#include "world/files.h"
#include "world/world.h"

#include <cstdio>

namespace {

// A WAV file's data may hold at most 4 GB; about six hours of steps.
constexpr uint64_t MAX_WAV_DATA = 0xFFFFFFFFu - 44;

struct RunSound {
    bool active;          // mixing each step
    bool device;          // the platform's audio device is open
    bool muted;           // switched off with the sound key
    bool keyLatch;
    AtomicFile out;       // open while writing --audio-out
    uint64_t dataBytes;
    bool outFull;
};

RunSound run = {false, false, false, false, {nullptr, std::string(), std::string()}, 0, false};
int16_t stepSamples[SOUND_STEP_FRAMES * 2];
uint8_t stepBytes[SOUND_STEP_FRAMES * 4];

void Put32(uint8_t *p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

// The 44-byte header of a 48 kHz stereo 16-bit WAV file holding dataBytes of samples.
void WavHeader(uint8_t (&h)[44], uint32_t dataBytes) {
    static const uint8_t TEMPLATE[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                         16, 0, 0, 0, 1, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                         4, 0, 16, 0, 'd', 'a', 't', 'a', 0, 0, 0, 0};
    for (int i = 0; i < 44; i++) h[i] = TEMPLATE[i];
    Put32(h + 4, 36 + dataBytes);
    Put32(h + 24, SOUND_RATE);
    Put32(h + 28, SOUND_RATE * 4);
    Put32(h + 40, dataBytes);
}

}  // namespace

bool StartRunSound(const RunSoundOptions &options, std::string *error) {
    run = RunSound{false, false, false, false, {nullptr, std::string(), std::string()}, 0, false};
    if (!options.device && options.outPath.empty()) return true;
    if (!options.outPath.empty()) {
        if (!BeginAtomicFile(&run.out, options.outPath.c_str(), error)) return false;
        uint8_t header[44];
        WavHeader(header, 0);
        std::fwrite(header, 1, sizeof header, run.out.file);
    }
    LoadSounds();
    StopAllSounds();
    SetSoundVolume(options.volume);
    if (options.device) run.device = PlatformOpenAudio(SOUND_RATE, SOUND_STEP_FRAMES);
    run.active = true;
    return true;
}

void RunSoundStep() {
    if (!run.active) return;
    if (KeyPressed(KEY_SOUND, run.keyLatch)) {
        run.muted = !run.muted;
        if (run.muted) StopAllSounds();
    }
    StepSounds heard;
    ListenToStep(&heard);
    if (!run.muted) PlayStepSounds(heard);
    MixSoundStep(stepSamples);
    if (run.device) PlatformQueueAudio(stepSamples, SOUND_STEP_FRAMES);
    if (run.out.file && !run.outFull) {
        if (run.dataBytes + sizeof stepBytes > MAX_WAV_DATA) {
            run.outFull = true;
            std::fprintf(stderr, "kav: %s: a WAV file holds no more; the rest of the run is left out\n",
                         run.out.target.c_str());
            return;
        }
        for (int k = 0; k < SOUND_STEP_FRAMES * 2; k++) {
            stepBytes[2 * k] = uint8_t(stepSamples[k]);
            stepBytes[2 * k + 1] = uint8_t((uint16_t)stepSamples[k] >> 8);
        }
        std::fwrite(stepBytes, 1, sizeof stepBytes, run.out.file);
        run.dataBytes += sizeof stepBytes;
    }
}

bool EndRunSound(std::string *error) {
    run.device = false;   // the backend closes the device itself at exit
    run.active = false;
    if (!run.out.file) return true;
    uint8_t header[44];
    WavHeader(header, (uint32_t)run.dataBytes);
    if (std::fseek(run.out.file, 0, SEEK_SET) != 0 || std::fwrite(header, 1, sizeof header, run.out.file) != sizeof header) {
        AbandonAtomicFile(&run.out);
        *error = run.out.target + ": write error; the earlier file is left as it was";
        return false;
    }
    return FinishAtomicFile(&run.out, error);
}
