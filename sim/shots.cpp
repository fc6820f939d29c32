// Shots and explosions: the hero's shot on SPACE, the flight of every projectile and all hit tests.
#include <cstdint>

#include "sim/sim.h"
#include "world/world.h"

bool fireLatch;

// First record of a pool, from `from` up, whose active is not 1; `size` when there is none.
static int FirstFree(const ObjectRecord *pool, int size, int from) {
    while (from < size && pool[from].active == 1) from++;
    return from;
}

int NewShot(ShotSearch &search, const ShotType &type, float x, float y, uint8_t face, float speed) {
    const int i = FirstFree(ShotPool, SHOT_POOL_SIZE, search.next);
    if (i == SHOT_POOL_SIZE) {
        search.next = SHOT_POOL_SIZE;
        return SHOT_POOL_SIZE;
    }
    search.next = i + 1;
    ObjectRecord &s = ShotPool[i];
    s.active = 1;
    s.x = x;
    s.y = y;
    s.face = face;
    s.speed = speed;
    s.vy = type.vy;
    s.fallspd = type.fallspd;
    s.fallacc = type.fallacc;
    s.frame = type.frame;
    s.framebeg = type.framebeg;
    s.frameend = type.frameend;
    s.framespd = type.framespd;
    s.frameloop = 0;
    return i;
}

// A new explosion in the first free record from `from` up (moved past it); none when the
// pool is full. Within one shot update explosions are only made, never ended.
static void NewExplosion(int &from, float x, float y, int kind) {
    const int i = FirstFree(ExplosionPool, EXPLOSION_POOL_SIZE, from);
    from = i;
    if (i == EXPLOSION_POOL_SIZE) return;   // pool full: the hit happens, unseen
    from = i + 1;

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

void SpawnExplosion(float x, float y, int kind) {
    int from = 0;
    NewExplosion(from, x, y, kind);
}

void FireHeroShot() {
    if (!KeyPressed(VK_SPACE_, fireLatch)) return;

    const ObjectRecord &h = HeroState;
    ShotSearch search;
    Rem02 = (float)NewShot(search, HERO_SHOT, h.face ? h.x + 8.0f : h.x - 8.0f,
                           h.hide ? h.y + 2.0f : h.y + 6.0f, h.face, 4.0f);
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

// The objects a shot can hit, found by the shot's cell instead of by trying them all. Nothing
// moves an object or brings one into play while the shots are updated, so the table is made
// once per update, with the objects active at its start in the order the shots test them:
// kind by kind in hit order, index order within a kind. Each cell of the grid lists the
// objects whose cells include it, in that order; a shot in a cell outside the grid tries
// every object of the list in turn.
namespace {

constexpr int MAX_TARGETS = KIND_COUNT * POOL_SIZE;

struct Target {
    ObjectRecord *object;
    CellSet cells;
};

struct CellLink {
    int16_t target;
    int16_t next;   // next link of the same cell + 1; 0 ends the cell's list
};

Target targets[MAX_TARGETS];
int targetCount;
CellLink links[MAX_TARGETS * 4];
int linkCount;
int16_t cellFirst[GRID_ROWS * GRID_COLS], cellLast[GRID_ROWS * GRID_COLS];   // link + 1; 0: none
int16_t cellsUsed[GRID_ROWS * GRID_COLS];
int cellsUsedCount;

void LinkCell(int col, int row, int target) {
    if ((unsigned)col >= (unsigned)GRID_COLS || (unsigned)row >= (unsigned)GRID_ROWS) return;
    const int cell = row * GRID_COLS + col;
    CellLink &link = links[linkCount++];
    link.target = (int16_t)target;
    link.next = 0;
    if (cellFirst[cell] == 0) {
        cellFirst[cell] = (int16_t)linkCount;
        cellsUsed[cellsUsedCount++] = (int16_t)cell;
    } else {
        links[cellLast[cell] - 1].next = (int16_t)linkCount;
    }
    cellLast[cell] = (int16_t)linkCount;
}

void MakeTargets() {
    targetCount = linkCount = 0;
    for (int kind : hitOrder) {
        ObjectRecord *pool = KindPool(kind);
        const int limit = KindLimit(kind);
        for (int i = 0; i < limit; i++) {
            if (!pool[i].active) continue;
            const CellSet c = ObjectCells(kind, pool[i]);
            const int t = targetCount++;
            targets[t] = {&pool[i], c};
            // Each distinct cell once, or the object would be hit twice by one shot.
            LinkCell(c.c1, c.r1, t);
            if (c.c2 != c.c1) LinkCell(c.c2, c.r1, t);
            if (c.r2 != c.r1) {
                LinkCell(c.c1, c.r2, t);
                if (c.c2 != c.c1) LinkCell(c.c2, c.r2, t);
            }
        }
    }
}

void ForgetTargets() {
    for (int k = 0; k < cellsUsedCount; k++) cellFirst[cellsUsed[k]] = cellLast[cellsUsed[k]] = 0;
    cellsUsedCount = 0;
    targetCount = linkCount = 0;
}

void Hit(ObjectRecord &s, ObjectRecord &o, int &explosionFrom) {
    s.active = 0;
    o.active = 0;
    NewExplosion(explosionFrom, o.x, o.y, EXPLOSION_BIG);
}

}  // namespace

void UpdateShots() {
    const ObjectRecord &h = HeroState;
    const int hc1 = CellCol(h.x + 3.0f);
    const int hc2 = CellCol(h.x - 3.0f);
    const int hr = CellRow(h.y);
    bool targetsMade = false;
    int explosionFrom = 0;

    for (ObjectRecord &s : ShotPool) {
        if (!s.active) continue;
        if (!targetsMade) {
            MakeTargets();
            targetsMade = true;
        }

        if (s.face)
            s.x += s.speed;
        else
            s.x -= s.speed;
        s.y += s.vy;
        s.fallspd -= s.fallacc;
        s.y += s.fallspd;

        const int sc = CellCol(s.x);
        const int sr = CellRow(s.y);

        s.frame += s.framespd;
        if (s.frame > s.frameend) s.frame = s.frameloop ? s.framebeg : s.frameend;

        // Every test below runs even when an earlier one has already ended the shot.
        const int32_t tile = TileAtCell(sr, sc);
        if (tile == TILE_SOLID || tile == TILE_LEDGE) {
            s.active = 0;
            NewExplosion(explosionFrom, s.x, s.y, EXPLOSION_SMALL);
        }

        // The hero absorbs shots in its feet row, and in the row above unless it hides.
        if ((sc == hc1 || sc == hc2) && (sr == hr || (sr == hr + 1 && !h.hide))) {
            s.active = 0;
            NewExplosion(explosionFrom, s.x, s.y, EXPLOSION_SMALL);
        }

        if ((unsigned)sc < (unsigned)GRID_COLS && (unsigned)sr < (unsigned)GRID_ROWS) {
            for (int l = cellFirst[sr * GRID_COLS + sc]; l != 0; l = links[l - 1].next) {
                ObjectRecord &o = *targets[links[l - 1].target].object;
                if (o.active) Hit(s, o, explosionFrom);
            }
        } else {
            for (int t = 0; t < targetCount; t++) {
                ObjectRecord &o = *targets[t].object;
                const CellSet &c = targets[t].cells;
                if (o.active && (sc == c.c1 || sc == c.c2) && (sr == c.r1 || sr == c.r2))
                    Hit(s, o, explosionFrom);
            }
        }
    }
    if (targetsMade) ForgetTargets();
}
