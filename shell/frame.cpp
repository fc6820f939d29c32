// FrameUpdate: one step of the whole game, in the order that the game's behaviour relies on.
#include "shell/frame.h"

#include "sim/sim.h"
#include "world/map.h"
#include "world/world.h"

bool FrameUpdate() {
    UpdateHeroKeys();     // UP, M, N, DOWN, RIGHT with its exit, LEFT with its exit
    FireHeroShot();
    UpdateHeroMotion();   // gravity, head bump, landing
    UpdateExplosions();
    UpdateShots();        // with every hit test

    // Ray cells are written anew by every trace.
    for (int r = 0; r < GRID_ROWS; r++)
        for (int c = 0; c < GRID_COLS; c++)
            if (TileGrid[r][c] == TILE_RAY) TileGrid[r][c] = TILE_EMPTY;

    TraceCeilingRays();
    UpdateCannons();
    UpdateTwoWayGuns();
    UpdateProbes();
    UpdateTrains();
    UpdateCeilingGuns();
    AimCeilingRays();

    UpdateShield();
    return UpdateDeveloperKeys();
}

void StartWorld() {
    mapIndex = 0;
    SetHeroStart();
    LoadCurrentMap();
}
