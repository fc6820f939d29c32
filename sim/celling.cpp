// Ceiling guns: a sweeping barrel, a detection ray traced through the grid, alarm and volleys.
#include <cstdint>

#include "sim/sim.h"
#include "world/world.h"

// The five barrel positions, down-left to down-right: where missile and ray start
// (relative to the gun), the ray's step, and the missile's sideways flight.
struct Barrel {
    float sx, sy;      // start point offset
    float dx, dy;      // ray step
    bool sameFace;     // missile flies the gun's way (else the opposite way)
    float speed;       // missile's sideways speed
};

static const Barrel barrels[5] = {
    {-8.0f, -1.0f, -2.2f, -2.0f, false, 2.2f},
    {-5.0f, -3.0f, -0.8f, -2.0f, false, 0.8f},
    {0.0f, -6.0f, 0.0f, -2.0f, true, 0.0f},
    {5.0f, -3.0f, 0.8f, -2.0f, true, 0.8f},
    {8.0f, -1.0f, 2.2f, -2.0f, true, 2.2f},
};

// Barrel position of a gun: its frame, truncated and kept inside the table.
static int BarrelIndex(const ObjectRecord &g) {
    int i = Trunc(g.frame);
    return i < 0 ? 0 : (i > 4 ? 4 : i);
}

static bool RaySeesHero(int c, int r, int hc, int hr) {
    if (hr == r && (hc == c || hc - 1 == c || hc + 1 == c)) return true;
    return hc == c && hr == r - 1;   // the hero's head cell
}

// Written without a branch, the pass becomes a few vector instructions per row.
void ClearCeilingRays() {
    for (int32_t (&row)[GRID_COLS] : TileGrid)
        for (int32_t &cell : row) cell = cell == TILE_RAY ? TILE_EMPTY : cell;
}

void TraceCeilingRays() {
    int hc = CellCol(HeroState.x);
    int hr = CellRow(HeroState.y);
    // A crouching hero in cover is invisible. Rays never write into a cover cell,
    // so this holds for the whole trace.
    bool hidden = HeroState.hide && TileAtCell(hr, hc) == TILE_COVER;

    int limit = KindLimit(KIND_CELLING);
    for (int i = 0; i < limit; i++) {
        ObjectRecord &g = CeilingPool[i];
        if (!g.active) continue;
        // The cursor lives in locals while it walks and is stored where it stopped.
        float x = g.rayx, y = g.rayy;
        const float dx = g.raydx, dy = g.raydy, raydist = g.raydist;
        bool seen = false;
        for (float n = 0.0f; n < raydist; n += 1.0f) {
            const float px = x, py = y;
            x += dx;
            y += dy;
            const int c = CellCol(x);
            const int r = CellRow(y);
            const int32_t tile = TileAtCell(r, c);
            if (tile == TILE_SOLID || tile == TILE_LEDGE || tile == TILE_COVER || tile == TILE_EXIT)
                break;   // the playfield's edge reads solid, so every ray ends there
            SetGridCell(BOTTOM_ROW - r, c, TILE_RAY);
            if (!hidden && RaySeesHero(c, r, hc, hr)) seen = true;
            // A cursor that did not move repeats this very step for ever: the steps left
            // would mark the same cell and test the same hero, so they can be skipped.
            if (x == px && y == py) break;
        }
        g.rayx = x;
        g.rayy = y;
        if (seen) g.alarm = g.alarmmax;
    }
}

// One barrel step, bouncing at the ends and keeping each end position for one more step.
static void SweepStep(ObjectRecord &g) {
    if (g.frameface) {
        g.frame += 1.0f;
        if (g.frame > 4.0f) {
            g.frame = 4.0f;
            g.frameface = 0;
        }
    } else {
        g.frame -= 1.0f;
        if (g.frame < 0.0f) {
            g.frame = 0.0f;
            g.frameface = 1;
        }
    }
}

// Ten identical missiles from the barrel's mouth; a full shot pool cuts the volley short.
static void FireVolley(const ObjectRecord &g, ShotSearch &search) {
    const Barrel &b = barrels[BarrelIndex(g)];
    const uint8_t face = b.sameFace ? (g.face ? 1 : 0) : (g.face ? 0 : 1);
    for (int k = 0; k < 10; k++) {
        NewShot(search, MISSILE, g.x + b.sx, g.y + b.sy, face, b.speed);
        Rem01 += 1.0f;
    }
}

void UpdateCeilingGuns() {
    ShotSearch search;
    int limit = KindLimit(KIND_CELLING);
    for (int i = 0; i < limit; i++) {
        ObjectRecord &g = CeilingPool[i];
        if (!g.active) continue;
        if (g.alarm > 0.0f) {
            g.alarm -= g.alarmspd;
            if (g.alarm < 0.0f) g.alarm = 0.0f;
            g.freqalarm += g.freqalarmspd;
            if (g.freqalarm > g.freqalarmmax) {
                g.freqalarm = 0.0f;
                SweepStep(g);
            }
            if (g.freqalarm == 0.0f) FireVolley(g, search);
        } else {
            // Calm: sweep at the calm rhythm, never fire.
            g.freq += g.freqspd;
            if (g.freq > g.freqmax) {
                g.freq = 0.0f;
                SweepStep(g);
            }
        }
    }
}

void AimCeilingRays() {
    int limit = KindLimit(KIND_CELLING);
    for (int i = 0; i < limit; i++) {
        ObjectRecord &g = CeilingPool[i];
        if (!g.active) continue;
        const Barrel &b = barrels[BarrelIndex(g)];
        g.rayx = g.x + b.sx;
        g.rayy = g.y + b.sy;
        g.raydx = b.dx;
        g.raydy = b.dy;
    }
}
