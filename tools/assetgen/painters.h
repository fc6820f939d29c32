// Procedural painters of the asset tool: backdrop, map overlays, explosions, shield.
#pragma once

#include "picture.h"

#include <cstdint>

// Grid of one screen: 24 rows (row 0 the top) by 32 columns of tile codes.
struct ScreenGrid {
    int32_t cell[24][32];
    int32_t at(int row, int col) const;   // outside the grid reads as a wall
};

// The backdrop behind every screen: dark and quiet, w by h texels over the 256x192 playfield.
Picture PaintBackdrop(int w, int h);
// The picture of one screen, painted from its grid: walls, ledges, cover and exit doors,
// alpha 0 over every other cell. w by h texels over the 256x192 playfield.
Picture PaintOverlay(const ScreenGrid &grid, int w, int h);
// Explosion frame `frame` of `frames`; big ones add a shock ring and flying sparks.
Picture PaintExplosion(int size, int frame, int frames, bool big);
// Shield bubble frame 0..3 over the 32x24 hero sprite (drawn 3 units lower than the hero).
Picture PaintShield(int w, int h, int frame);

// Small deterministic hash used for every bit of texture noise.
uint32_t Hash3(int32_t a, int32_t b, int32_t c);
