// Cannons: stationary guns that lob a shell in their facing direction at a fixed rhythm.
#include "sim/sim.h"
#include "world/world.h"

void UpdateCannons() {
    ShotSearch search;
    int limit = KindLimit(KIND_CANNON);
    for (int i = 0; i < limit; i++) {
        ObjectRecord &c = CannonPool[i];
        if (!c.active) continue;
        c.freq += c.freqspd;
        if (c.freq > c.freqmax) {
            c.freq = 0.0f;
            // A shell rises 3.25 pixels in its first step and falls back along an arc.
            Rem01 = (float)NewShot(search, SHELL, c.face ? c.x + 6.0f : c.x - 6.0f, c.y + 8.0f,
                                   c.face, 4.0f);
        }
    }
}
