// Cannons and two-way guns: firing rhythm, shell and shot placement, full shot pool.
#include <gtest/gtest.h>

#include "sim_world.h"

// A gun of the kind at (x, y) that fires on every update unless told otherwise.
static ObjectRecord &Gun(int kind, int i, float x, float y, bool right) {
    ObjectRecord &g = Place(kind, i, x, y);
    g.face = right ? 1 : 0;
    g.freqmax = -1.0f;
    return g;
}

TEST(Cannon, FiresOnThe101stUpdateStrictlyAboveItsLimitOnlyInsideThePool) {
    FreshWorld();
    ObjectRecord &c = Gun(KIND_CANNON, 0, 80, 16, true);
    c.freqmax = 100.0f;
    c.freqspd = 1.0f;
    int fired[3] = {0, 0, 0}, shots = 0;
    for (int step = 1; step <= 202 && shots < 3; step++) {
        UpdateCannons();
        if (ActiveShots() > shots) fired[shots++] = step;
    }
    EXPECT_EQ(fired[0], 101);
    EXPECT_EQ(fired[1], 202);

    FreshWorld();   // counts beyond the pool, or below zero, never reach outside it
    for (int i = 0; i < POOL_SIZE; i++) Gun(KIND_CANNON, i, 8.0f * (float)(i % 30), 100, true);
    CannonPool[3].active = 0;
    cannonCount = 1000;
    UpdateCannons();
    EXPECT_EQ(ActiveShots(), 49);
    cannonCount = -4;
    UpdateCannons();
    EXPECT_EQ(ActiveShots(), 49);
}

TEST(Cannon, ShellIsFirstSeenBesideTheBarrelThenFliesTheArcAndHoldsItsLastFrame) {
    FreshWorld();
    Gun(KIND_CANNON, 0, 80, 16, false);
    FrameUpdate();   // made after the shots' update: not moved in its first step
    cannonCount = 0;
    ObjectRecord &s = ShotPool[0];
    EXPECT_EQ(s.x, 74.0f);
    EXPECT_EQ(s.y, 24.0f);
    EXPECT_FALSE(s.face);
    FrameUpdate();
    EXPECT_EQ(s.x, 70.0f);
    EXPECT_EQ(s.y, 27.25f);

    // In open air: the top is 22.75 above the start, reached after 13 steps and kept
    // through the 14th; the picture runs slots 10 to 17 and holds on 17.
    FreshWorld();
    Gun(KIND_CANNON, 0, 16, 100, true);
    UpdateCannons();
    cannonCount = 0;
    float top = s.y;
    int topStep = 0;
    for (int step = 1; step <= 30; step++) {
        UpdateShots();
        ASSERT_TRUE(s.active);
        if (s.y > top) top = s.y, topStep = step;
        EXPECT_EQ(Trunc(s.frame), step >= 28 ? 17 : 10 + step / 4) << step;
    }
    EXPECT_EQ(topStep, 13);
    EXPECT_EQ(top - 108.0f, 22.75f);
}

TEST(Cannon, ShellsTakeTheLowestFreeRecordsAndAFullPoolTakesNone) {
    FreshWorld();
    ShotPool[0].active = 1;
    Gun(KIND_CANNON, 0, 80, 16, true);
    Gun(KIND_CANNON, 1, 120, 16, false);
    UpdateCannons();
    EXPECT_EQ(ShotPool[1].x, 86.0f);
    EXPECT_EQ(ShotPool[2].x, 114.0f);

    for (auto &s : ShotPool) s = ObjectRecord{}, s.active = 1;
    CannonPool[0].freq = 7.0f;
    CannonPool[0].freqmax = 5.0f;
    cannonCount = 1;
    UpdateCannons();
    EXPECT_EQ(CannonPool[0].freq, 0.0f);   // the timer restarts without a shell
    for (auto &s : ShotPool) EXPECT_EQ(s.speed, 0.0f);
}

TEST(TwoWay, PairStartsOnTheSideEachShotFliesToForBothFacings) {
    for (int face = 0; face < 2; face++) {
        FreshWorld();
        Gun(KIND_TWOWAYS, 0, 80, 16, face == 1);
        UpdateTwoWayGuns();
        ASSERT_EQ(ActiveShots(), 2);
        const ObjectRecord &first = ShotPool[0], &second = ShotPool[1];
        EXPECT_EQ(first.face, face);   // the first flies the way the gun faces
        EXPECT_EQ(second.face, 1 - face);
        EXPECT_EQ(first.x, face ? 88.0f : 72.0f);
        EXPECT_EQ(second.x, face ? 72.0f : 88.0f);
        EXPECT_EQ(first.y, 24.0f);
        UpdateShots();
        EXPECT_EQ(first.x, face ? 92.0f : 68.0f);
        EXPECT_EQ(second.x, face ? 68.0f : 92.0f);
        EXPECT_EQ(first.frame, 0.0f);   // never above its end: slot 0 for good
        EXPECT_TRUE(TwoWayPool[0].active) << face;   // not its own victim
    }
}

TEST(TwoWay, OneFreeRecordGivesTheFirstShotAndPairsHitBothSides) {
    FreshWorld();
    for (auto &s : ShotPool) s.active = 1;
    ShotPool[9].active = 0;
    Gun(KIND_TWOWAYS, 0, 80, 16, false);
    UpdateTwoWayGuns();
    EXPECT_TRUE(ShotPool[9].active);
    EXPECT_FALSE(ShotPool[9].face);
    EXPECT_EQ(TwoWayPool[0].freq, 0.0f);

    FreshWorld();
    Gun(KIND_TWOWAYS, 0, 80, 16, true);
    Place(KIND_SONDA, 0, 112.0f, 16.0f);
    Place(KIND_CANNON, 0, 48.0f, 16.0f);
    UpdateTwoWayGuns();
    for (int i = 0; i < 10; i++) UpdateShots();
    EXPECT_FALSE(ProbePool[0].active);
    EXPECT_FALSE(CannonPool[0].active);
    EXPECT_TRUE(TwoWayPool[0].active);
}
