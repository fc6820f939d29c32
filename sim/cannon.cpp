// Cannons: stationary guns that lob a shell in their facing direction at a fixed rhythm.
#include "sim/sim.h"
#include "world/world.h"

// A shell rises 3.25 pixels in its first step and falls back along an arc.
static void FireShell(const ObjectRecord &c) {
    int i = FindFreeShot();
    Rem01 = (float)i;
    if (i == SHOT_POOL_SIZE) return;

    ObjectRecord &s = ShotPool[i];
    s.active = 1;
    s.face = c.face;
    s.x = c.face ? c.x + 6.0f : c.x - 6.0f;
    s.y = c.y + 8.0f;
    s.speed = 4.0f;
    s.vy = 0.0f;
    s.fallspd = 3.5f;
    s.fallacc = 0.25f;
    s.frame = s.framebeg = 10.0f;
    s.frameend = 17.0f;
    s.framespd = 0.25f;
    s.frameloop = 0;
}

void UpdateCannons() {
    int limit = KindLimit(KIND_CANNON);
    for (int i = 0; i < limit; i++) {
        ObjectRecord &c = CannonPool[i];
        if (!c.active) continue;
        c.freq += c.freqspd;
        if (c.freq > c.freqmax) {
            c.freq = 0.0f;
            FireShell(c);
        }
    }
}
