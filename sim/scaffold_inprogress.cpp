// TEMPORARY: empty bodies so the tree links while the simulation is being written.
// Each function moves to its own unit under sim/ and is deleted from here.
#include "sim/sim.h"

void UpdateHeroKeys() {}
void UpdateHeroMotion() {}
void UpdateShield() {}
void SetHeroStart() {}
void FireHeroShot() {}
void UpdateExplosions() {}
void UpdateShots() {}
void SpawnExplosion(float, float, int) {}
int FindFreeShot() { return 256; }
void UpdateCannons() {}
void DrawCannons() {}
void UpdateTwoWayGuns() {}
void DrawTwoWayGuns() {}
void TraceCeilingRays() {}
void UpdateCeilingGuns() {}
void AimCeilingRays() {}
void DrawCeilingGuns() {}
void UpdateProbes() {}
void DrawProbes() {}
void UpdateTrains() {}
void DrawTrains() {}
void ResetSimLatches() {}
