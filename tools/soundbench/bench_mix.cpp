// Sound benchmark: the cost of mixing one step's sound (800 stereo frames) with all sixteen
// voices and the train's loop busy.
//
//   kav_bench_mix SRC_DIR [ROUNDS]
//
// SRC_DIR holds sfx/. Prints "BENCH audio_mix_us <value> us": the median over ROUNDS batches
// of 20 steps, in processor time of this thread.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "sound/sound.h"
#include "world/world.h"

namespace {

double ThreadCpuUs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return (double)t.tv_sec * 1e6 + (double)t.tv_nsec * 1e-3;
}

// Every voice busy with the longest effects, spread across the screen, and a train rolling.
void FillVoices() {
    StopAllSounds();
    for (int v = 0; v < SOUND_VOICES; v++) StartSound(v % 2 ? SFX_EXPLOSION : SFX_ALARM, 16.0f * (float)v);
    StepSounds heard = {};
    heard.trainMoving = true;
    heard.trainX = 100.0f;
    PlayStepSounds(heard);
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: kav_bench_mix SRC_DIR [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 201;
    std::snprintf(dataFolder, sizeof dataFolder, "%s/", argv[1]);
    if (LoadSounds() != SFX_COUNT) return 1;
    static int16_t out[SOUND_STEP_FRAMES * 2];
    std::vector<double> perStep;
    long long check = 0;
    for (int r = 0; r < rounds; r++) {
        FillVoices();   // the alarm lasts 29 steps: every voice stays busy through a batch of 20
        const double t0 = ThreadCpuUs();
        for (int s = 0; s < 20; s++) MixSoundStep(out), check += out[s];
        perStep.push_back((ThreadCpuUs() - t0) / 20.0);
        if (BusyVoices() != SOUND_VOICES) {
            std::fprintf(stderr, "a voice ended within the batch\n");
            return 1;
        }
    }
    std::sort(perStep.begin(), perStep.end());
    std::printf("BENCH audio_mix_us %.2f us\n", perStep[perStep.size() / 2]);
    return check == 0x7fffffffffffffffLL;   // keeps the mixing from being optimised away
}
