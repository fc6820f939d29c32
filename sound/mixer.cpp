// The mixer: a fixed set of voices, each one effect at its own level and pan, summed in
// 32 bits and clipped to 16; and the train's loop, which fades in and out with the cars.
// Integer arithmetic throughout, so every build mixes the same samples.
#include "sound/mixer.h"

#include <cmath>

namespace {

struct Voice {
    int playing;         // SFX_* + 1; 0: free
    uint32_t index;      // next sample
    int32_t gainL, gainR;   // in 1/4096ths
    uint32_t serial;     // order of starting: lower is older
};

struct LoopVoice {
    uint32_t index;
    int32_t gainL, gainR;   // now
    int32_t goalL, goalR;   // at the end of the next step
};

// Each effect's level, in 1/4096ths: the loud and rare above the small and frequent.
const int32_t LEVEL[SFX_COUNT] = {
    1843,   // hero's shot
    2253,   // shell
    1843,   // two-way gun
    2048,   // volley
    2253,   // alarm
    3277,   // explosion
    819,    // shot end
    1229,   // jump
    1024,   // land
    2048,   // exit
    1229,   // train loop
};

Voice voices[SOUND_VOICES];
LoopVoice trainLoop;
uint32_t nextSerial;
int32_t masterGain = 256;   // in 1/256ths
int32_t mixBuffer[SOUND_STEP_FRAMES * 2];

// Left and right gains for an effect at playfield x: equal power across the 256 units.
void PanGains(int id, float x, int32_t *left, int32_t *right) {
    float p = x / 256.0f;
    if (!(p >= 0.0f)) p = 0.0f;   // NaN too
    if (p > 1.0f) p = 1.0f;
    *left = (int32_t)(LEVEL[id] * std::sqrt(1.0f - p) + 0.5f);
    *right = (int32_t)(LEVEL[id] * std::sqrt(p) + 0.5f);
}

void MixVoice(Voice &v) {
    const Effect &e = effects[v.playing - 1];
    const uint32_t left = e.frames - v.index;
    const int n = left < (uint32_t)SOUND_STEP_FRAMES ? (int)left : SOUND_STEP_FRAMES;
    const int16_t *samples = e.samples + v.index;
    const int32_t gl = v.gainL, gr = v.gainR;
    for (int i = 0; i < n; i++) {
        mixBuffer[2 * i] += (samples[i] * gl) >> 12;
        mixBuffer[2 * i + 1] += (samples[i] * gr) >> 12;
    }
    v.index += (uint32_t)n;
    if (v.index >= e.frames) v.playing = 0;
}

// The loop's gains move in a straight line from where they are to their goal over the step,
// so it fades without a click.
void MixLoop() {
    const Effect &e = effects[SFX_TRAIN];
    LoopVoice &v = trainLoop;
    if (!e.samples || (v.gainL == 0 && v.gainR == 0 && v.goalL == 0 && v.goalR == 0)) return;
    for (int i = 0; i < SOUND_STEP_FRAMES; i++) {
        const int32_t gl = v.gainL + (v.goalL - v.gainL) * i / SOUND_STEP_FRAMES;
        const int32_t gr = v.gainR + (v.goalR - v.gainR) * i / SOUND_STEP_FRAMES;
        const int32_t s = e.samples[v.index];
        mixBuffer[2 * i] += (s * gl) >> 12;
        mixBuffer[2 * i + 1] += (s * gr) >> 12;
        if (++v.index >= e.frames) v.index = 0;
    }
    v.gainL = v.goalL;
    v.gainR = v.goalR;
}

}  // namespace

void StartSound(int id, float x) {
    if (id < 0 || id >= SFX_COUNT || id == SFX_TRAIN || !effects[id].samples) return;
    Voice *chosen = nullptr;
    for (Voice &v : voices)
        if (!v.playing) {
            chosen = &v;
            break;
        }
    if (!chosen) {   // all busy: the quietest gives way, the oldest among equals
        chosen = &voices[0];
        for (Voice &v : voices) {
            const int32_t level = v.gainL + v.gainR, chosenLevel = chosen->gainL + chosen->gainR;
            if (level < chosenLevel || (level == chosenLevel && v.serial < chosen->serial)) chosen = &v;
        }
    }
    chosen->playing = id + 1;
    chosen->index = 0;
    PanGains(id, x, &chosen->gainL, &chosen->gainR);
    chosen->serial = nextSerial++;
}

void PlayStepSounds(const StepSounds &heard) {
    for (int id = 0; id < SFX_COUNT; id++)
        if (heard.count[id] > 0) StartSound(id, heard.x[id]);
    if (heard.trainMoving) PanGains(SFX_TRAIN, heard.trainX, &trainLoop.goalL, &trainLoop.goalR);
    else trainLoop.goalL = trainLoop.goalR = 0;
}

void MixSoundStep(int16_t *out) {
    for (int32_t &a : mixBuffer) a = 0;
    for (Voice &v : voices)
        if (v.playing) MixVoice(v);
    MixLoop();
    // Each voice adds under 2^15 a sample (its level is below one), so the sixteen and the
    // loop stay under 2^20; times the master gain (at most 2^8) that is within 32 bits.
    for (int k = 0; k < SOUND_STEP_FRAMES * 2; k++) {
        const int32_t s = (mixBuffer[k] * masterGain) >> 8;
        out[k] = (int16_t)(s > 32767 ? 32767 : s < -32768 ? -32768 : s);
    }
}

void StopAllSounds() {
    for (Voice &v : voices) v = Voice{0, 0, 0, 0, 0};
    trainLoop = LoopVoice{0, 0, 0, 0, 0};
}

void SetSoundVolume(int volume) {
    if (volume < 0) volume = 0;
    if (volume > 100) volume = 100;
    masterGain = volume * 256 / 100;
}

int BusyVoices() {
    int busy = 0;
    for (const Voice &v : voices) busy += v.playing != 0;
    return busy;
}
