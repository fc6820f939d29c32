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

void ClearCeilingRays() {
    for (int r = 0; r < GRID_ROWS; r++)
        for (int c = 0; c < GRID_COLS; c++)
            if (TileGrid[r][c] == TILE_RAY) TileGrid[r][c] = TILE_EMPTY;
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
        for (float n = 0.0f; n < g.raydist; n += 1.0f) {
            float px = g.rayx, py = g.rayy;
            g.rayx += g.raydx;
            g.rayy += g.raydy;
            int c = CellCol(g.rayx);
            int r = CellRow(g.rayy);
            int32_t tile = TileAtCell(r, c);
            if (tile == TILE_SOLID || tile == TILE_LEDGE || tile == TILE_COVER || tile == TILE_EXIT)
                break;   // the playfield's edge reads solid, so every ray ends there
            SetGridCell(23 - r, c, TILE_RAY);
            if (!hidden && RaySeesHero(c, r, hc, hr)) g.alarm = g.alarmmax;
            // A cursor that did not move repeats this very step for ever: the steps left
            // would mark the same cell and test the same hero, so they can be skipped.
            if (g.rayx == px && g.rayy == py) break;
        }
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
static void FireVolley(const ObjectRecord &g) {
    const Barrel &b = barrels[BarrelIndex(g)];
    for (int k = 0; k < 10; k++) {
        int i = FindFreeShot();
        if (i < SHOT_POOL_SIZE) {
            ObjectRecord &s = ShotPool[i];
            s.active = 1;
            s.x = g.x + b.sx;
            s.y = g.y + b.sy;
            s.face = b.sameFace ? (g.face ? 1 : 0) : (g.face ? 0 : 1);
            s.speed = b.speed;
            s.vy = -2.0f;
            s.fallspd = 0.0f;
            s.fallacc = 0.0f;
            s.frame = s.framebeg = s.frameend = 2.0f;
            s.framespd = 0.0f;
            s.frameloop = 0;
        }
        Rem01 += 1.0f;
    }
}

void UpdateCeilingGuns() {
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
            if (g.freqalarm == 0.0f) FireVolley(g);
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
