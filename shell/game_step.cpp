// FrameUpdate: one step of the whole game, in the order that the game's behaviour relies on.
#include "shell/game_step.h"

#include "sim/sim.h"
#include "sound/sound.h"
#include "world/map.h"
#include "world/world.h"

void FrameUpdate() {
    UpdateHeroKeys();     // UP, M, N, DOWN, RIGHT with its exit, LEFT with its exit
    FireHeroShot();
    UpdateHeroMotion();   // gravity, head bump, landing
    UpdateExplosions();
    UpdateShots();        // with every hit test

    ClearCeilingRays();
    TraceCeilingRays();
    UpdateCannons();
    UpdateTwoWayGuns();
    UpdateProbes();
    UpdateTrains();
    UpdateCeilingGuns();
    AimCeilingRays();

    UpdateShield();
    UpdateDeveloperKeys();
}

void StartWorld(int map) {
    mapIndex = map;
    SetHeroStart();
    LoadCurrentMap();
    RememberWorld();   // the sound hears what the steps change from here
}
