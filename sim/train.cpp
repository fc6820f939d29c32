// Train cars: each rolls in after its own delay, turns at walls and track ends, leaves at exits.
#include <cstdint>

#include "sim/sim.h"
#include "world/world.h"

static int LookAheadColumn(const ObjectRecord &t, bool right) {
    return right ? CellCol(t.x + 1.0f + 5.0f) : CellCol(t.x - 1.0f - 5.0f);
}

void UpdateTrains() {
    int limit = KindLimit(KIND_TRAIN);
    for (int i = 0; i < limit; i++) {
        ObjectRecord &t = TrainPool[i];
        if (!t.active) {
            // Waiting: once the timer passes its limit the car comes into play, and its
            // step is cleared so that a car that leaves stays gone.
            t.appear += t.appearspd;
            if (t.appear > t.appearmax) {
                t.appear = 0.0f;
                t.active = 1;
                t.appearspd = 0.0f;
            }
            continue;
        }

        t.frame += t.framespd;
        if (t.frame > t.frameend) t.frame = t.framebeg;

        int r = CellRow(t.y);
        bool right = t.frameface != 0;   // the direction at the start of the step decides the exit
        int a = LookAheadColumn(t, right);
        if (TileAtCell(r, a) == TILE_SOLID || TileAtCell(r - 1, a) == TILE_EMPTY)
            t.frameface = right ? 0 : 1;
        else
            t.x += right ? 1.0f : -1.0f;

        if (TileAtCell(r, LookAheadColumn(t, right)) == TILE_EXIT) t.active = 0;
    }
}
