// Probes: walkers that patrol a platform, turning at walls, exits and the edge of their floor.
#include <cstdint>

#include "sim/sim.h"
#include "world/world.h"

void UpdateProbes() {
    // Destroyed probes keep patrolling unseen, so every record in use is moved.
    int limit = KindLimit(KIND_SONDA);
    for (int i = 0; i < limit; i++) {
        ObjectRecord &p = ProbePool[i];
        int r = CellRow(p.y);
        bool right = p.frameface != 0;
        // The look-ahead column lies 6 pixels ahead of the centre.
        int a = right ? CellCol(p.x + 1.0f + 5.0f) : CellCol(p.x - 1.0f - 5.0f);
        int32_t body = TileAtCell(r, a);
        if (body == TILE_SOLID || body == TILE_EXIT || TileAtCell(r - 1, a) == TILE_EMPTY) {
            p.frameface = right ? 0 : 1;   // turning takes the whole step
            continue;
        }
        p.x += right ? 1.0f : -1.0f;
        p.frame += 0.5f;
        if (p.frame > 3.0f) p.frame = 0.0f;
    }
}
