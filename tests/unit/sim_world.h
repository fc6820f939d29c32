// Small worlds for the simulation tests: empty grid, hero at its start, no keys held.
#pragma once

#include <cstring>

#include "shell/keys.h"
#include "sim/sim.h"
#include "world/world.h"

inline void FreshWorld() {
    ResetWorld();
    std::memset(KeyState, 0, sizeof KeyState);
    ResetSimLatches();
    SetHeroStart();
}

// Fills columns c0..c1 of a row counted from the bottom with one tile code.
inline void FillRow(int rowFromBottom, int c0, int c1, int code) {
    for (int c = c0; c <= c1; c++) SetGridCell(23 - rowFromBottom, c, code);
}

inline void SetCell(int rowFromBottom, int col, int code) { SetGridCell(23 - rowFromBottom, col, code); }

inline int CountActive(const ObjectRecord *pool, int n) {
    int k = 0;
    for (int i = 0; i < n; i++) k += pool[i].active ? 1 : 0;
    return k;
}
inline int ActiveShots() { return CountActive(ShotPool, SHOT_POOL_SIZE); }
inline int ActiveExplosions() { return CountActive(ExplosionPool, EXPLOSION_POOL_SIZE); }

inline int CountCells(int code) {
    int k = 0;
    for (int r = 0; r < GRID_ROWS; r++)
        for (int c = 0; c < GRID_COLS; c++) k += TileGrid[r][c] == code ? 1 : 0;
    return k;
}

// One record of a level-object pool placed and switched on.
inline ObjectRecord &PlaceObject(ObjectRecord *pool, int32_t &count, int index, float x, float y) {
    ObjectRecord &o = pool[index];
    o.x = x;
    o.y = y;
    o.active = 1;
    if (count < index + 1) count = index + 1;
    return o;
}
