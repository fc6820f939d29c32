// Shots and explosions: the hero's shot on SPACE, the flight of every projectile and all hit tests.
#include <cstdint>

#include "sim/sim.h"
#include "world/world.h"

bool fireLatch;

int FindFreeShot() {
    for (int i = 0; i < SHOT_POOL_SIZE; i++)
        if (ShotPool[i].active != 1) return i;
    return SHOT_POOL_SIZE;
}

void SpawnExplosion(float x, float y, int kind) {
    int i = 0;
    while (i < EXPLOSION_POOL_SIZE && ExplosionPool[i].active == 1) i++;
    if (i == EXPLOSION_POOL_SIZE) return;   // pool full: the hit happens, unseen

    ObjectRecord &e = ExplosionPool[i];
    e.x = x;
    e.y = y;
    e.active = 1;
    if (kind == EXPLOSION_BIG) {
        e.frame = e.framebeg = 4.0f;
        e.frameend = 11.0f;
        e.w = e.h = 24.0f;
    } else {
        e.frame = e.framebeg = 0.0f;
        e.frameend = 3.0f;
        e.w = e.h = 8.0f;
    }
    e.framespd = 0.5f;
}

void FireHeroShot() {
    if (!KeyPressed(VK_SPACE_, fireLatch)) return;

    int i = FindFreeShot();
    Rem02 = (float)i;
    if (i == SHOT_POOL_SIZE) return;

    const ObjectRecord &h = HeroState;
    ObjectRecord &s = ShotPool[i];
    s.y = h.hide ? h.y + 2.0f : h.y + 6.0f;
    s.face = h.face;
    s.x = h.face ? h.x + 8.0f : h.x - 8.0f;
    s.speed = 4.0f;
    s.vy = 0.0f;
    s.fallspd = 0.0f;
    s.fallacc = 0.0f;
    s.frame = s.framebeg = s.frameend = 1.0f;
    s.framespd = 0.0f;
    s.frameloop = 0;
    s.active = 1;
}

void UpdateExplosions() {
    for (ObjectRecord &e : ExplosionPool) {
        if (e.active != 1) continue;
        e.frame += e.framespd;
        if (e.frame > e.frameend) e.active = 0;
    }
}

// The cells an object occupies: two columns crossed with one or two rows.
struct CellSet {
    int c1, c2, r1, r2;
};

static CellSet ObjectCells(int kind, const ObjectRecord &o) {
    int oc = CellCol(o.x);
    int orow = CellRow(o.y);
    switch (kind) {
    case KIND_CELLING: return {oc - 1, oc, orow, orow};
    case KIND_SONDA:
    case KIND_TRAIN: return {CellCol(o.x - 5.0f), CellCol(o.x + 5.0f), orow, orow + 1};
    default: return {oc - 1, oc, orow, orow + 1};   // cannon, two-way gun
    }
}

// The kinds in the order the shots test them.
static const int hitOrder[KIND_COUNT] = {KIND_CANNON, KIND_CELLING, KIND_TWOWAYS, KIND_SONDA,
                                         KIND_TRAIN};

void UpdateShots() {
    const ObjectRecord &h = HeroState;
    // Nothing moves an object or the hero during this pass, so their cells are found once.
    static CellSet cells[KIND_COUNT][POOL_SIZE];
    int limits[KIND_COUNT];
    for (int kind = 0; kind < KIND_COUNT; kind++) {
        limits[kind] = KindLimit(kind);
        for (int i = 0; i < limits[kind]; i++) cells[kind][i] = ObjectCells(kind, KindPool(kind)[i]);
    }
    int hc1 = CellCol(h.x + 3.0f);
    int hc2 = CellCol(h.x - 3.0f);
    int hr = CellRow(h.y);

    for (ObjectRecord &s : ShotPool) {
        if (!s.active) continue;

        if (s.face)
            s.x += s.speed;
        else
            s.x -= s.speed;
        s.y += s.vy;
        s.fallspd -= s.fallacc;
        s.y += s.fallspd;

        int sc = CellCol(s.x);
        int sr = CellRow(s.y);

        s.frame += s.framespd;
        if (s.frame > s.frameend) s.frame = s.frameloop ? s.framebeg : s.frameend;

        // Every test below runs even when an earlier one has already ended the shot.
        int32_t tile = TileAtCell(sr, sc);
        if (tile == TILE_SOLID || tile == TILE_LEDGE) {
            s.active = 0;
            SpawnExplosion(s.x, s.y, EXPLOSION_SMALL);
        }

        // The hero absorbs shots in its feet row, and in the row above unless it hides.
        if ((sc == hc1 || sc == hc2) && (sr == hr || (sr == hr + 1 && !h.hide))) {
            s.active = 0;
            SpawnExplosion(s.x, s.y, EXPLOSION_SMALL);
        }

        for (int kind : hitOrder) {
            ObjectRecord *pool = KindPool(kind);
            for (int i = 0; i < limits[kind]; i++) {
                ObjectRecord &o = pool[i];
                const CellSet &c = cells[kind][i];
                if (!o.active) continue;
                if ((sc == c.c1 || sc == c.c2) && (sr == c.r1 || sr == c.r2)) {
                    s.active = 0;
                    o.active = 0;
                    SpawnExplosion(o.x, o.y, EXPLOSION_BIG);
                }
            }
        }
    }
}
