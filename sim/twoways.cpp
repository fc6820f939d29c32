// Two-way guns: stationary guns that fire a pair of straight shots, one to each side.
#include "sim/sim.h"
#include "world/world.h"

void UpdateTwoWayGuns() {
    ShotSearch search;
    int limit = KindLimit(KIND_TWOWAYS);
    for (int i = 0; i < limit; i++) {
        ObjectRecord &g = TwoWayPool[i];
        if (!g.active) continue;
        g.freq += g.freqspd;
        if (g.freq > g.freqmax) {
            g.freq = 0.0f;
            // The first shot flies the way the gun faces, the second the other way; each
            // starts 8 pixels out on the side it flies to and 8 above the base, so that
            // neither starts inside its own gun.
            const bool right = g.face != 0;
            NewShot(search, STRAIGHT_SHOT, right ? g.x + 8.0f : g.x - 8.0f, g.y + 8.0f, right, 4.0f);
            NewShot(search, STRAIGHT_SHOT, right ? g.x - 8.0f : g.x + 8.0f, g.y + 8.0f, !right, 4.0f);
        }
    }
}
