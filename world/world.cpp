// World state storage.
#include "world/world.h"

#include <cstdio>
#include <cstring>

int32_t TileGrid[GRID_ROWS][GRID_COLS];

ObjectRecord CannonPool[POOL_SIZE];
ObjectRecord TwoWayPool[POOL_SIZE];
ObjectRecord CeilingPool[POOL_SIZE];
ObjectRecord ProbePool[POOL_SIZE];
ObjectRecord TrainPool[POOL_SIZE];
int32_t cannonCount, twowaysCount, cellingCount, sondaCount, trainCount;

ObjectRecord ShotPool[SHOT_POOL_SIZE];
ObjectRecord ExplosionPool[EXPLOSION_POOL_SIZE];

ObjectRecord HeroState;
int32_t mapIndex;

float Rem01, Rem02, Rem03;

bool KeyState[256];

char dataFolder[4096];

const char *DataPath(const char *name) {
    if (!dataFolder[0]) return name;
    static char path[sizeof dataFolder + 256];
    std::snprintf(path, sizeof path, "%s%s", dataFolder, name);
    return path;
}

void ResetWorld() {
    std::memset(TileGrid, 0, sizeof TileGrid);
    for (int k = 0; k < KIND_COUNT; k++) {
        std::memset(KindPool(k), 0, sizeof(ObjectRecord) * POOL_SIZE);
        *KindCount(k) = 0;
    }
    std::memset(ShotPool, 0, sizeof ShotPool);
    std::memset(ExplosionPool, 0, sizeof ExplosionPool);
    std::memset(&HeroState, 0, sizeof HeroState);
    mapIndex = 0;
    Rem01 = Rem02 = Rem03 = 0;
}
