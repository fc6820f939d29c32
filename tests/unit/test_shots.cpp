// Shots where the screens' runs do not take them: several objects in one cell, objects
// reaching past the grid's edge, a full explosion pool.
#include <gtest/gtest.h>

#include "sim_world.h"

TEST(ShotObjects, OneShotEndsOnAWallAndDestroysEveryObjectInItsCellInKindOrder) {
    FreshWorld();
    // Every kind covers column 9, row 3 (x 72..80, y 24..32).
    Place(KIND_TRAIN, 0, 82.0f, 16.0f);     // columns 9, 10
    Place(KIND_SONDA, 0, 81.0f, 16.0f);
    Place(KIND_TWOWAYS, 0, 80.0f, 17.0f);   // rows 2, 3
    Place(KIND_CELLING, 0, 79.0f, 26.0f);   // columns 8, 9; row 3 only
    Place(KIND_CANNON, 0, 78.0f, 18.0f);
    SetCell(3, 9, TILE_SOLID);
    Shot(0, 70.0f, 28.0f, true);
    UpdateShots();
    EXPECT_FALSE(ShotPool[0].active);
    ASSERT_EQ(ActiveExplosions(), 6);
    EXPECT_EQ(ExplosionPool[0].w, 8.0f);   // the wall's small one first
    for (int k = 0; k < 5; k++) {
        EXPECT_EQ(ExplosionPool[k + 1].x, 78.0f + (float)k);   // cannon, ceiling, two-way, probe, train
        EXPECT_EQ(ExplosionPool[k + 1].w, 24.0f);
        EXPECT_FALSE(KindPool(k)[0].active);
    }
}

TEST(ShotObjects, OutsideTheGridAndWithAFullExplosionPool) {
    // Objects reaching past the grid's edge are hit out there too, where every cell reads as wall.
    const struct { float ox, oy, sx, sy; } edges[] = {
        {2.0f, 40.0f, -9.0f, 40.0f},      // columns -1 and 0: a shot in column -1
        {84.0f, 186.0f, 80.0f, 194.0f},   // rows 23 and 24: a shot in row 24
    };
    for (const auto &e : edges) {
        FreshWorld();
        Place(KIND_CANNON, 0, e.ox, e.oy);
        Shot(0, e.sx, e.sy, true, 0.0f);
        UpdateShots();
        EXPECT_FALSE(CannonPool[0].active) << e.ox;
        EXPECT_EQ(ActiveExplosions(), 2);   // the wall's small one and the cannon's big one
    }
    FreshWorld();
    for (auto &e : ExplosionPool) e.active = 1;
    Place(KIND_CANNON, 0, 80.0f, 16.0f);
    Shot(0, 70.0f, 20.0f, true);
    UpdateShots();   // the hit still happens, unseen
    EXPECT_FALSE(ShotPool[0].active);
    EXPECT_FALSE(CannonPool[0].active);
}
