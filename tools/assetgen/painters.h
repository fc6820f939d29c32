// Procedural painters of the asset tool: backdrop, screen pictures, explosions, shield.
#pragma once

#include "picture.h"

#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

// One screen as its picture needs it: the grid (24 rows, row 0 the top, by 32 columns of
// tile codes), its place in the sequence, and the level objects the picture frames.
struct ScreenGrid {
    int32_t cell[24][32];
    int index = 0;   // 0 .. 4: the screen's own look and the number on its door signs
    struct Gun {     // a ceiling gun: centre x, anchor y, ray steps
        float x, y, raydist;
    };
    std::vector<Gun> guns;
    struct Car {     // a train car where it comes into play, and its way
        float x, y;
        bool right;
    };
    std::vector<Car> cars;
    const std::map<std::string, Picture> *font = nullptr;   // the game's 5x8 glyphs, for writing on walls
    int32_t at(int row, int col) const;   // outside the grid reads as a wall
};

// The backdrop behind every screen: dark and quiet, w by h texels over the 256x192 playfield.
Picture PaintBackdrop(int w, int h);
// The picture of one screen, drawn over everything else in the game: walls, girders and doors
// in the screen's own look, the barricades in front of a crouching hero, marks under the
// ceiling guns' sweep, tunnel mouths where trains come into play and open arches where they
// leave through a door, a sign by each door saying which screen it leads to, on the first
// screen the keys and the goal written on its walls, and on the last screen the beacon with
// its goal plate. Alpha 0 wherever the game's figures must show. w by h texels over the
// 256x192 playfield.
Picture PaintOverlay(const ScreenGrid &grid, int w, int h);
// Explosion frame `frame` of `frames`; big ones add a shock ring and flying sparks.
Picture PaintExplosion(int size, int frame, int frames, bool big);
// Shield bubble frame 0..3 over the 32x24 hero sprite (drawn 3 units lower than the hero).
Picture PaintShield(int w, int h, int frame);

// Small deterministic hash used for every bit of texture noise.
uint32_t Hash3(int32_t a, int32_t b, int32_t c);

// Colour helpers shared by the painters.
struct Rgb {
    double r, g, b;
};
inline double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline uint8_t Byte(double v) { return (uint8_t)std::lround(Clamp01(v) * 255.0); }
inline Rgb Mix(Rgb a, Rgb b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }
inline Rgb Scale(Rgb a, double k) { return {a.r * k, a.g * k, a.b * k}; }
inline Rgb Hex(uint32_t v) { return {((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0}; }
// Value noise in [0,1), smooth between integer lattice points.
double Noise(double x, double y, int seed);
// Sets a texel; Blend lays a colour of alpha `a` over what the texel holds.
void Put(Picture &pic, int x, int y, Rgb c, double a);
void Blend(Picture &pic, int x, int y, Rgb c, double a);
