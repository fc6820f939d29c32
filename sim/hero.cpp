// The hero: keys and walking with the map exits, gravity and landing, the shield animation.
#include <cstdint>

#include "sim/sim.h"
#include "world/map.h"
#include "world/world.h"

bool shieldLatch;

void SetHeroStart() {
    HeroState.x = HERO_START_X;
    HeroState.y = HERO_START_Y;
    HeroState.frame = 1.0f;
    HeroState.jumping = 0;
    HeroState.fallspd = 0.0f;
    HeroState.fallacc = 0.1f;
    HeroState.shieldframe = 21.0f;
    HeroState.face = 0;
}

void ResetSimLatches() {
    fireLatch = false;
    shieldLatch = false;
}

// Walking: the probe cell lies in the feet row, 4 pixels ahead of the centre.
static int32_t WalkProbe(bool right) {
    const ObjectRecord &h = HeroState;
    float ahead = right ? h.x + 1.0f + 3.0f : h.x - 1.0f - 3.0f;
    return TileAtCell(CellRow(h.y), CellCol(ahead));
}

void UpdateHeroKeys() {
    ObjectRecord &h = HeroState;

    if (KeyState[VK_UP_] && !h.jumping) {
        h.jumping = 1;
        h.fallspd = 2.25f;
    }
    // M in the air keeps the hero rising.
    if (KeyState[KEY_RISE] && h.jumping) h.fallspd = 1.25f;
    if (KeyPressed(KEY_SHIELD, shieldLatch)) h.shield = h.shield ? 0 : 1;

    // DOWN crouches on the ground; in the air it only keeps a crouch already taken.
    if (KeyState[VK_DOWN_]) {
        if (!h.jumping) h.hide = 1;
    } else {
        h.hide = 0;
    }

    if (KeyState[VK_RIGHT_]) {
        if (WalkProbe(true) != TILE_SOLID && !h.hide) {
            h.face = 1;
            h.x += 1.0f;
            h.frame += 0.5f;
            if (h.frame > 8.0f) h.frame = 1.0f;
        }
        // The exit is taken even by a hero that could not move (hiding).
        if (WalkProbe(true) == TILE_EXIT) {
            if (mapIndex < INT32_MAX) mapIndex++;
            LoadCurrentMap();
            h.x = RIGHT_EXIT_ARRIVAL_X;
        }
    }
    if (KeyState[VK_LEFT_]) {
        if (WalkProbe(false) != TILE_SOLID && !h.hide) {
            h.face = 0;
            h.x -= 1.0f;
            h.frame += 0.5f;
            if (h.frame > 8.0f) h.frame = 1.0f;
        }
        if (WalkProbe(false) == TILE_EXIT) {
            if (mapIndex > INT32_MIN) mapIndex--;
            LoadCurrentMap();
            h.x = LEFT_EXIT_ARRIVAL_X;
        }
    }
}

void UpdateHeroMotion() {
    ObjectRecord &h = HeroState;
    // Probe columns 3 pixels either side of the centre, feet row: all taken before moving.
    int c1 = CellCol(h.x + 3.0f);
    int c2 = CellCol(h.x - 3.0f);
    int r = CellRow(h.y);

    h.fallspd -= h.fallacc;
    int rn = CellRow(h.y + h.fallspd);

    if (h.fallspd > 0.0f) {
        // The head point sits 8 pixels above the feet; only solid blocks stop it.
        int ru = CellRow(h.y + h.fallspd + 8.0f);
        if (TileAtCell(ru, c1) == TILE_SOLID || TileAtCell(ru, c2) == TILE_SOLID)
            h.fallspd = 0.0f;
        else
            h.y += h.fallspd;
    }

    if (h.fallspd < 0.0f) {
        int32_t a = TileAtCell(rn, c1);
        int32_t b = TileAtCell(rn, c2);
        bool blocked = a == TILE_SOLID || a == TILE_LEDGE || b == TILE_SOLID || b == TILE_LEDGE;
        if (blocked && rn != r) {
            // Feet snap to the bottom of their own row, on top of the tile below.
            h.fallspd = 0.0f;
            h.y = (float)CellRow(h.y) * 8.0f;
            h.jumping = 0;
        } else {
            // Nothing below, or already inside a blocked row (a ledge entered from below,
            // which the hero sinks through): the fall goes on.
            h.y += h.fallspd;
            h.jumping = 1;
        }
    }
}

void UpdateShield() {
    HeroState.shieldframe += 0.2f;
    if (HeroState.shieldframe > 24.0f) HeroState.shieldframe = 21.0f;
}
