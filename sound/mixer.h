// Inside the sound folder: the loaded effects the mixer plays.
#pragma once

#include <cstdint>

#include "sound/sound.h"

struct Effect {
    const int16_t *samples;   // null: silent (missing or damaged file)
    uint32_t frames;
    uint32_t step;            // source samples per output sample, in 1/65536ths
};

extern Effect effects[SFX_COUNT];
