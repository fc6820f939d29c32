// The simulation where the screens' runs do not take it: the hero taking exits while hiding;
// a train car's return after it leaves and the exit it looks for the way it was going; shots
// with several objects in one cell, objects reaching past the grid's edge, a full explosion
// pool; guarded cell writes, huge values, the kind tables. (What the golden dumps fix, such as
// walkers at the grid's edge where every cell outside reads as wall, is left to them.)
#include <gtest/gtest.h>

#include "sim_world.h"

// ---- the hero ----

TEST(HeroHide, HidingHeroCannotWalkButTakesExitsBothWays) {
    FloorWorld();
    KeyState[VK_DOWN_] = KeyState[VK_RIGHT_] = true;
    FrameUpdate();
    FrameUpdate();
    EXPECT_TRUE(HeroState.hide);
    EXPECT_EQ(HeroState.x, HERO_START_X);
    SetCell(2, 17, TILE_EXIT);   // the cell 4 pixels right of x 136
    FrameUpdate();
    EXPECT_EQ(mapIndex, 1);
    EXPECT_EQ(HeroState.x, RIGHT_EXIT_ARRIVAL_X);

    KeyState[VK_RIGHT_] = false;
    KeyState[VK_LEFT_] = true;
    SetCell(2, 1, TILE_EXIT);   // x - 4 = 8 lies in column 1
    FrameUpdate();
    EXPECT_EQ(mapIndex, 0);
    EXPECT_EQ(HeroState.x, LEFT_EXIT_ARRIVAL_X);
}

// ---- train cars ----

static ObjectRecord &Walker(int kind, int i, float x, bool right) {
    ObjectRecord &o = Place(kind, i, x, 16.0f);
    o.frameface = right ? 1 : 0;
    return o;
}

// A waiting car: comes into play once its timer (step 1 from 0) passes appearmax.
static ObjectRecord &Car(int i, float x, float appearmax) {
    ObjectRecord &t = Walker(KIND_TRAIN, i, x, true);
    t.active = 0;
    t.appearmax = appearmax;
    t.appearspd = 1.0f;
    return t;
}

// A car that has left stays gone: its step was cleared when it came into play, so its timer
// stays at 0, which only a negative limit is below. (Turning at walls and floor ends, leaving
// at exits and the limit's strict test are fixed by the golden dumps.)
TEST(Train, OnlyANegativeLimitBringsALeftCarBack) {
    for (float limit : {-1.0f, 0.0f}) {
        FreshWorld();
        ObjectRecord &t = Car(0, 70.0f, limit);
        UpdateTrains();   // into play
        t.active = 0;     // as when it leaves at an exit
        UpdateTrains();
        EXPECT_EQ(t.active, limit < 0.0f) << limit;
        EXPECT_EQ(t.x, 70.0f);
    }
}

// Over a gap with an exit ahead a car turns, yet leaves: the exit is looked for the way it
// was going at the start of its step.
TEST(Train, TurningOverAGapItStillLeavesByTheExitAhead) {
    FloorWorld();
    SetCell(2, 10, TILE_EXIT);
    SetCell(1, 10, TILE_EMPTY);
    ObjectRecord &c = Walker(KIND_TRAIN, 0, 74.0f, true);
    UpdateTrains();
    EXPECT_EQ(c.frameface, 0);
    EXPECT_EQ(c.x, 74.0f);
    EXPECT_FALSE(c.active);
}

// ---- shots ----

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

// ---- the world ----

// The world's guards: cells outside the grid are never written, huge values truncate safely,
// a count outside the pool is held inside it.
TEST(World, CellsCountsAndHugeValuesStayInsideTheTables) {
    ResetWorld();
    SetGridCell(24, 0, 5);
    SetGridCell(-1, 31, 5);
    SetGridCell(0, 32, 5);
    for (int r = 0; r < GRID_ROWS; r++)
        for (int c = 0; c < GRID_COLS; c++) EXPECT_EQ(TileGrid[r][c], 0);
    SetGridCell(23, 31, 9);
    EXPECT_EQ(TileAtCell(0, 31), 9);

    EXPECT_EQ(Trunc(3e30f), 1000000000);
    EXPECT_EQ(Trunc(-3e30f), -1000000000);
    EXPECT_EQ(GridCell(BOTTOM_ROW - CellRow(1e38f), CellCol(-1e38f)), TILE_SOLID);

    cannonCount = -3;
    trainCount = 70;
    sondaCount = 7;
    EXPECT_EQ(KindLimit(KIND_CANNON), 0);
    EXPECT_EQ(KindLimit(KIND_TRAIN), POOL_SIZE);
    EXPECT_EQ(KindLimit(KIND_SONDA), 7);
}
