// Inside the sound folder: the loaded effects the mixer plays.
#pragma once

#include <cstdint>

#include "sound/sound.h"

struct Effect {
    const int16_t *samples;   // at the mixer's rate; null: silent (missing or damaged file)
    uint32_t frames;
};

extern Effect effects[SFX_COUNT];
