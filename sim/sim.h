// One step of the game: the hero, shots and explosions, and the five kinds of level object.
// Each operation works on the global world state; the drawing reads the same state.
#pragma once

// Hero (hero.cpp): keys and walking before the hero's shot, vertical motion after it.
// Besides the arrows it reads M (keep rising in the air) and N (shield picture on and off).
constexpr int KEY_RISE = 'M';
constexpr int KEY_SHIELD = 'N';
void UpdateHeroKeys();
void UpdateHeroMotion();
void UpdateShield();
void SetHeroStart();

// Shots and explosions (shots.cpp).
enum ExplosionKind { EXPLOSION_SMALL, EXPLOSION_BIG };
void FireHeroShot();
void UpdateExplosions();
void UpdateShots();
void SpawnExplosion(float x, float y, int kind);
int FindFreeShot();   // first ShotPool record whose active is not 1, or 256

// Level objects, one source unit each.
void UpdateCannons();
void UpdateTwoWayGuns();
void ClearCeilingRays();   // ray cells are written anew by every trace
void TraceCeilingRays();
void UpdateCeilingGuns();
void AimCeilingRays();
void UpdateProbes();
void UpdateTrains();

// Resets the shot-fire and other simulation latches (start of a run).
void ResetSimLatches();

// Edge latches of the keys that act once per press: SPACE (shots.cpp) and N (hero.cpp).
extern bool fireLatch;
extern bool shieldLatch;
