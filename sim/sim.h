// One step of the game: the hero, shots and explosions, and the five kinds of level object.
// Each operation works on the global world state; the drawing reads the same state.
#pragma once

#include <cstdint>

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

// What a maker puts into a new shot besides its start point, its direction and its speed.
struct ShotType {
    float vy;                   // constant vertical step
    float fallspd, fallacc;     // ballistic fall
    float frame, framebeg, frameend, framespd;
};
// The hero's shot, the cannon's shell, the two-way gun's shot, the ceiling gun's missile.
constexpr ShotType HERO_SHOT = {0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 0.0f};
constexpr ShotType SHELL = {0.0f, 3.5f, 0.25f, 10.0f, 10.0f, 17.0f, 0.25f};
constexpr ShotType STRAIGHT_SHOT = {0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f};
constexpr ShotType MISSILE = {-2.0f, 0.0f, 0.0f, 2.0f, 2.0f, 2.0f, 0.0f};

// Where the next search for a free shot record starts. A new shot takes the first record, from
// 0 up, whose active is not 1; within one update nothing frees a record, so every record below
// the last one taken is still active and the next search may start after it. Start each
// update's searches at 0.
struct ShotSearch {
    int next = 0;
};
// Fills the first free shot record as a new shot (active, never looping its frames) and
// returns its index; every record active: nothing is made and SHOT_POOL_SIZE comes back.
int NewShot(ShotSearch &search, const ShotType &type, float x, float y, uint8_t face, float speed);

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
