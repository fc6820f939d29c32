// Small worlds for the simulation tests: empty grid, hero at its start, no keys held.
#pragma once

#include <cstring>

#include "shell/game_step.h"
#include "sim/sim.h"
#include "world/world.h"

inline void FreshWorld() {
    ResetWorld();
    std::memset(KeyState, 0, sizeof KeyState);
    ResetSimLatches();
    SetHeroStart();
}

// A solid floor on row 1 (y 8..16): the hero and the walkers stand at y 16.
inline void FloorWorld() {
    FreshWorld();
    for (int c = 0; c < GRID_COLS; c++) SetGridCell(22, c, TILE_SOLID);
}

inline void SetCell(int rowFromBottom, int col, int code) { SetGridCell(BOTTOM_ROW - rowFromBottom, col, code); }

inline int ActiveExplosions() {
    int k = 0;
    for (const ObjectRecord &e : ExplosionPool) k += e.active ? 1 : 0;
    return k;
}

inline int CountCells(int code) {
    int k = 0;
    for (auto &row : TileGrid)
        for (int32_t cell : row) k += cell == code ? 1 : 0;
    return k;
}

// Record `index` of a kind's pool placed and switched on; the count grows to include it.
inline ObjectRecord &Place(int kind, int index, float x, float y) {
    ObjectRecord &o = KindPool(kind)[index];
    o.x = x;
    o.y = y;
    o.active = 1;
    if (*KindCount(kind) < index + 1) *KindCount(kind) = index + 1;
    return o;
}

// A straight shot with a still picture.
inline ObjectRecord &Shot(int index, float x, float y, bool right, float speed = 4.0f) {
    ObjectRecord &s = ShotPool[index] = ObjectRecord{};
    s.x = x;
    s.y = y;
    s.face = right ? 1 : 0;
    s.speed = speed;
    s.frame = s.framebeg = s.frameend = 1.0f;
    s.active = 1;
    return s;
}
