// Links every step of the simulation with the world alone, no GL and no window system: the
// build fails here if the simulation ever reaches for the drawing. Runs one step on an empty world.
#include "sim/sim.h"
#include "world/world.h"

int main() {
    ResetWorld();
    ResetSimLatches();
    SetHeroStart();
    UpdateHeroKeys();
    FireHeroShot();
    UpdateHeroMotion();
    UpdateExplosions();
    UpdateShots();
    ClearCeilingRays();
    TraceCeilingRays();
    UpdateCannons();
    UpdateTwoWayGuns();
    UpdateProbes();
    UpdateTrains();
    UpdateCeilingGuns();
    AimCeilingRays();
    UpdateShield();
    SpawnExplosion(0.0f, 0.0f, EXPLOSION_SMALL);
    return 0;
}
