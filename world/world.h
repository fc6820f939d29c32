// World state: the tile grid of the current screen, the object pools, the map index, and the
// keyboard as the game sees it. Everything here is static, fixed in size and zero at start;
// nothing is allocated.
#pragma once

#include <cstdint>

#include "platform/keycodes.h"

constexpr int GRID_ROWS = 24;   // grid row 0 is the top row of the screen
constexpr int GRID_COLS = 32;   // column 0 is the left edge
// Grid row of the screen's bottom row: the tile row r counted from the bottom (as positions
// and the map's objects count them) is grid row BOTTOM_ROW - r.
constexpr int BOTTOM_ROW = GRID_ROWS - 1;
constexpr int TILE_SIZE = 8;    // playfield units per tile
constexpr int POOL_SIZE = 50;   // records per level-object pool
constexpr int SHOT_POOL_SIZE = 256;
constexpr int EXPLOSION_POOL_SIZE = 256;
constexpr int MAP_COUNT = 5;

// Tile codes.
enum : int32_t {
    TILE_EMPTY = 0,
    TILE_SOLID = 1,
    TILE_LEDGE = 2,
    TILE_COVER = 3,
    TILE_RAY = 8,
    TILE_EXIT = 9,
};

// The one record type of every level object, shot, explosion and of the hero.
// Flags are bytes holding 0 or 1. Field order matters to nobody but is kept stable.
struct ObjectRecord {
    float x, y;
    float speed, vy;
    float fallacc, fallspd;
    uint8_t active;
    float appear, appearmax, appearspd;
    float frame, framebeg, frameend, framespd;
    uint8_t frameloop;
    uint8_t frameface;
    uint8_t face;
    float w, h;
    float freq, freqmax, freqspd;
    float alarm, alarmmax, alarmspd;
    float freqalarm, freqalarmmax, freqalarmspd;
    float rayx, rayy, raydx, raydy, raydist;
    uint8_t jumping;
    uint8_t hide;
    uint8_t shield;
    float shieldframe;
};

// Level-object kinds, in the order the map file lists them.
enum ObjectKind { KIND_CANNON, KIND_TWOWAYS, KIND_CELLING, KIND_SONDA, KIND_TRAIN, KIND_COUNT };

extern int32_t TileGrid[GRID_ROWS][GRID_COLS];

extern ObjectRecord CannonPool[POOL_SIZE];
extern ObjectRecord TwoWayPool[POOL_SIZE];
extern ObjectRecord CeilingPool[POOL_SIZE];
extern ObjectRecord ProbePool[POOL_SIZE];
extern ObjectRecord TrainPool[POOL_SIZE];
extern int32_t cannonCount, twowaysCount, cellingCount, sondaCount, trainCount;

extern ObjectRecord ShotPool[SHOT_POOL_SIZE];
extern ObjectRecord ExplosionPool[EXPLOSION_POOL_SIZE];

extern ObjectRecord HeroState;
// Where the hero starts the game, and the x at which an exit to the right (left) puts it on
// the next (previous) screen.
constexpr float HERO_START_X = 136.0f;
constexpr float HERO_START_Y = 16.0f;
constexpr float RIGHT_EXIT_ARRIVAL_X = 12.0f;
constexpr float LEFT_EXIT_ARRIVAL_X = 244.0f;
extern int32_t mapIndex;

// Debug readouts shown by the debug text.
extern float Rem01, Rem02, Rem03;

// The key table: true from a key's key-down message to its key-up message, indexed by
// virtual-key code. The shell's window procedure writes it, the game step reads it.
extern bool KeyState[256];

// Edge latch of a key that acts once per press: returns true in a step in which the key
// is held and the latch is clear (and sets the latch); a step with the key up clears it.
inline bool KeyPressed(int vk, bool &latch) {
    if (!KeyState[vk & 0xFF]) {
        latch = false;
        return false;
    }
    if (latch) return false;
    latch = true;
    return true;
}

// Folder that holds the game's data (map/ and gfx/), ending in a separator; empty: the
// working directory. The shell sets it once at start-up, before the first map or picture.
extern char dataFolder[4096];
// A data file's name ("map/map00.map") as the path to open: the name itself when dataFolder
// is empty, else the name within it. Good until the next call.
const char *DataPath(const char *name);

// Pool and count of a kind, for code that walks all five kinds alike. These and the cell
// accessors below sit in every inner loop of a step, so they are inline.
inline ObjectRecord *KindPool(int kind) {
    switch (kind) {
    case KIND_CANNON: return CannonPool;
    case KIND_TWOWAYS: return TwoWayPool;
    case KIND_CELLING: return CeilingPool;
    case KIND_SONDA: return ProbePool;
    case KIND_TRAIN: return TrainPool;
    }
    return nullptr;
}
inline int32_t *KindCount(int kind) {
    switch (kind) {
    case KIND_CANNON: return &cannonCount;
    case KIND_TWOWAYS: return &twowaysCount;
    case KIND_CELLING: return &cellingCount;
    case KIND_SONDA: return &sondaCount;
    case KIND_TRAIN: return &trainCount;
    }
    return nullptr;
}
// A kind's count as a loop bound: never below 0 nor above the pool size.
inline int KindLimit(int kind) {
    const int32_t *count = KindCount(kind);
    if (!count || *count < 0) return 0;
    return *count > POOL_SIZE ? POOL_SIZE : *count;
}

// Tile code of grid cell (row from the top, column). Every cell outside the
// 24 by 32 grid reads as a solid wall, so nothing walks, flies or looks out of the world.
inline int32_t GridCell(int row, int col) {
    if ((unsigned)row >= (unsigned)GRID_ROWS || (unsigned)col >= (unsigned)GRID_COLS) return TILE_SOLID;
    return TileGrid[row][col];
}
// Writes a grid cell; a cell outside the grid is left alone.
inline void SetGridCell(int row, int col, int32_t code) {
    if ((unsigned)row >= (unsigned)GRID_ROWS || (unsigned)col >= (unsigned)GRID_COLS) return;
    TileGrid[row][col] = code;
}

// Float to integer by truncation toward zero, as the game turns positions into cells,
// frames into slots. Values beyond +-1e9 (and NaN) come back as +-1e9 instead of
// overflowing: far outside every table, so a cell lookup with them reads a wall.
inline int Trunc(float v) {
    if (v >= 1e9f) return 1000000000;
    if (v <= -1e9f) return -1000000000;
    if (v != v) return -1000000000;
    return (int)v;
}
// Cell lookups from playfield units: column trunc(x / 8), row from the bottom trunc(y / 8).
inline int CellCol(float x) { return Trunc(x / 8.0f); }
inline int CellRow(float y) { return Trunc(y / 8.0f); }
// Tile code at row-from-bottom r and column c.
inline int32_t TileAtCell(int r, int c) { return GridCell(BOTTOM_ROW - r, c); }

// Clears the whole world to its start-of-run state (all zero). Used by tests and the runner.
void ResetWorld();
