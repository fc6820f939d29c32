// World state storage and the guarded cell access every user goes through.
#include "world/world.h"

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

ObjectRecord *KindPool(int kind) {
    switch (kind) {
    case KIND_CANNON: return CannonPool;
    case KIND_TWOWAYS: return TwoWayPool;
    case KIND_CELLING: return CeilingPool;
    case KIND_SONDA: return ProbePool;
    case KIND_TRAIN: return TrainPool;
    }
    return nullptr;
}

int32_t *KindCount(int kind) {
    switch (kind) {
    case KIND_CANNON: return &cannonCount;
    case KIND_TWOWAYS: return &twowaysCount;
    case KIND_CELLING: return &cellingCount;
    case KIND_SONDA: return &sondaCount;
    case KIND_TRAIN: return &trainCount;
    }
    return nullptr;
}

int KindLimit(int kind) {
    int32_t *count = KindCount(kind);
    if (!count || *count < 0) return 0;
    return *count > POOL_SIZE ? POOL_SIZE : *count;
}

int32_t GridCell(int row, int col) {
    if (row < 0 || row >= GRID_ROWS || col < 0 || col >= GRID_COLS) return TILE_SOLID;
    return TileGrid[row][col];
}

void SetGridCell(int row, int col, int32_t code) {
    if (row < 0 || row >= GRID_ROWS || col < 0 || col >= GRID_COLS) return;
    TileGrid[row][col] = code;
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
