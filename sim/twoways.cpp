// Two-way guns: stationary guns that fire a pair of straight shots, one to each side.
#include "sim/sim.h"
#include "world/world.h"

// One straight shot, started 8 pixels out on the side it flies to and 8 above the base,
// so that neither shot of a pair starts inside its own gun.
static void FireStraightShot(const ObjectRecord &g, bool right) {
    int i = FindFreeShot();
    if (i == SHOT_POOL_SIZE) return;

    ObjectRecord &s = ShotPool[i];
    s.active = 1;
    s.face = right ? 1 : 0;
    s.x = right ? g.x + 8.0f : g.x - 8.0f;
    s.y = g.y + 8.0f;
    s.speed = 4.0f;
    s.vy = 0.0f;
    s.fallspd = 0.0f;
    s.fallacc = 0.0f;
    s.frame = 0.0f;
    s.framebeg = 1.0f;
    s.frameend = 1.0f;
    s.framespd = 0.0f;
    s.frameloop = 0;
}

void UpdateTwoWayGuns() {
    int limit = KindLimit(KIND_TWOWAYS);
    for (int i = 0; i < limit; i++) {
        ObjectRecord &g = TwoWayPool[i];
        if (!g.active) continue;
        g.freq += g.freqspd;
        if (g.freq > g.freqmax) {
            g.freq = 0.0f;
            // The first shot flies the way the gun faces, the second the other way.
            bool right = g.face != 0;
            FireStraightShot(g, right);
            FireStraightShot(g, !right);
        }
    }
}
