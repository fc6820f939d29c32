// Cannons and two-way guns: firing rhythm, shell and shot placement, full shot pool.
#include <gtest/gtest.h>

#include "sim_world.h"

namespace {

ObjectRecord &Cannon(int i, float x, float y, bool right, float freqmax, float freqspd) {
    ObjectRecord &c = PlaceObject(CannonPool, cannonCount, i, x, y);
    c.face = right ? 1 : 0;
    c.freqmax = freqmax;
    c.freqspd = freqspd;
    return c;
}

ObjectRecord &TwoWay(int i, float x, float y, bool right) {
    ObjectRecord &g = PlaceObject(TwoWayPool, twowaysCount, i, x, y);
    g.face = right ? 1 : 0;
    g.freqmax = 0.5f;
    g.freqspd = 1.0f;   // fires on its first update
    return g;
}

}  // namespace

TEST(Cannon, FiresOnThe101stUpdateAndEvery101After) {
    FreshWorld();
    Cannon(0, 80, 16, true, 100.0f, 1.0f);
    int fired[3] = {0, 0, 0};
    int shots = 0;
    for (int step = 1; step <= 303 && shots < 3; step++) {
        UpdateCannons();
        if (ActiveShots() > shots) fired[shots++] = step;
    }
    EXPECT_EQ(fired[0], 101);
    EXPECT_EQ(fired[1], 202);
    EXPECT_EQ(fired[2], 303);
    EXPECT_EQ(Rem01, 2.0f);
}

TEST(Cannon, ShellStartsBesideTheBarrelAndFliesTheArc) {
    FreshWorld();
    Cannon(0, 80, 16, false, -1.0f, 0.0f);   // negative limit: fires on every update
    UpdateCannons();
    ASSERT_EQ(ActiveShots(), 1);
    ObjectRecord &s = ShotPool[0];
    EXPECT_EQ(s.x, 74.0f);
    EXPECT_EQ(s.y, 24.0f);
    EXPECT_FALSE(s.face);
    EXPECT_EQ(s.frame, 10.0f);
    cannonCount = 0;
    UpdateShots();
    EXPECT_EQ(s.x, 70.0f);
    EXPECT_EQ(s.y, 27.25f);

    // Higher up, in open air: the rise shrinks by 0.25 each step, the top is 22.75 above
    // the start in the 14th step, and the picture holds on slot 17.
    FreshWorld();
    Cannon(0, 16, 100, true, -1.0f, 0.0f);
    UpdateCannons();
    cannonCount = 0;
    float prev = s.y, top = s.y;
    int topStep = 0;
    for (int step = 1; step <= 30; step++) {
        UpdateShots();
        ASSERT_TRUE(s.active) << step;
        if (step == 2) {
            EXPECT_EQ(s.y - prev, 3.0f);
        }
        if (s.y > top) {
            top = s.y;
            topStep = step;
        }
        EXPECT_EQ(Trunc(s.frame), step >= 28 ? 17 : 10 + step / 4) << step;
        prev = s.y;
    }
    EXPECT_EQ(topStep, 13);   // the 14th step moves by 0: the top is reached and kept
    EXPECT_EQ(top - 108.0f, 22.75f);
    EXPECT_EQ(s.frame, 17.0f);
}

TEST(Cannon, StrictThresholdAndStartAboveTheLimit) {
    FreshWorld();
    Cannon(0, 80, 16, true, 3.0f, 1.0f).freq = 2.0f;   // lands exactly on 3: no shell
    Cannon(1, 120, 16, true, 3.0f, 0.0f).freq = 5.0f;  // already above: fires at once
    Cannon(2, 160, 16, true, 3.0f, 0.0f);              // no step: never fires
    UpdateCannons();
    EXPECT_EQ(CannonPool[0].freq, 3.0f);
    EXPECT_EQ(CannonPool[1].freq, 0.0f);
    ASSERT_EQ(ActiveShots(), 1);
    EXPECT_EQ(ShotPool[0].x, 126.0f);
    UpdateCannons();
    EXPECT_EQ(CannonPool[0].freq, 0.0f);
    EXPECT_EQ(ActiveShots(), 2);
    EXPECT_EQ(CannonPool[2].freq, 0.0f);
}

TEST(Cannon, LowestFreeRecordsAndFullPool) {
    FreshWorld();
    ShotPool[0].active = 1;
    Cannon(0, 80, 16, true, -1.0f, 0.0f);
    Cannon(1, 120, 16, false, -1.0f, 0.0f);
    UpdateCannons();
    EXPECT_EQ(ShotPool[1].x, 86.0f);
    EXPECT_EQ(ShotPool[2].x, 114.0f);
    EXPECT_EQ(Rem01, 2.0f);

    for (auto &s : ShotPool) {
        s.active = 1;
        s.x = -5.0f;
    }
    CannonPool[0].freq = 7.0f;
    CannonPool[0].freqspd = 1.0f;
    UpdateCannons();
    EXPECT_EQ(Rem01, 256.0f);
    EXPECT_EQ(CannonPool[0].freq, 0.0f);   // the timer restarts even without a shell
    for (auto &s : ShotPool) EXPECT_EQ(s.x, -5.0f);
}

TEST(Cannon, DestroyedOrBeyondTheCountNeverFires) {
    FreshWorld();
    for (int i = 0; i < POOL_SIZE; i++) Cannon(i, 8.0f * (i % 30), 100, true, -1.0f, 0.0f);
    cannonCount = 1000;   // a count larger than the pool: only its 50 records exist
    CannonPool[3].active = 0;
    UpdateCannons();
    EXPECT_EQ(ActiveShots(), 49);
    cannonCount = -4;
    UpdateCannons();
    EXPECT_EQ(ActiveShots(), 49);
}

TEST(TwoWay, FacingRightPairPositions) {
    FreshWorld();
    TwoWay(0, 80, 16, true);
    UpdateTwoWayGuns();
    ASSERT_EQ(ActiveShots(), 2);
    EXPECT_EQ(ShotPool[0].x, 88.0f);
    EXPECT_TRUE(ShotPool[0].face);
    EXPECT_EQ(ShotPool[1].x, 72.0f);
    EXPECT_FALSE(ShotPool[1].face);
    EXPECT_EQ(ShotPool[0].y, 24.0f);
    EXPECT_EQ(ShotPool[1].y, 24.0f);
    EXPECT_EQ(Rem01, 0.0f);   // two-way guns leave the debug value alone
    twowaysCount = 0;
    UpdateShots();
    twowaysCount = 1;
    EXPECT_EQ(ShotPool[0].x, 92.0f);
    EXPECT_EQ(ShotPool[1].x, 68.0f);
    EXPECT_EQ(ShotPool[0].frame, 0.0f);   // never above its end, never changed
}

TEST(TwoWay, FacingLeftStartsEachShotOnItsOwnSideAndSurvives) {
    FreshWorld();
    TwoWay(0, 80, 16, false);
    UpdateTwoWayGuns();
    ASSERT_EQ(ActiveShots(), 2);
    EXPECT_EQ(ShotPool[0].x, 72.0f);   // first shot flies left from the left side
    EXPECT_FALSE(ShotPool[0].face);
    EXPECT_EQ(ShotPool[1].x, 88.0f);
    EXPECT_TRUE(ShotPool[1].face);
    TwoWayPool[0].freqspd = 0.0f;
    UpdateShots();
    EXPECT_TRUE(TwoWayPool[0].active);
    EXPECT_EQ(ActiveShots(), 2);
    EXPECT_EQ(ShotPool[0].x, 68.0f);
    EXPECT_EQ(ShotPool[1].x, 92.0f);
}

TEST(TwoWay, OneFreeRecordGivesOnlyTheFirstShotAndPairsDestroyNeighbours) {
    FreshWorld();
    for (auto &s : ShotPool) s.active = 1;
    ShotPool[9].active = 0;
    TwoWay(0, 80, 16, false);
    UpdateTwoWayGuns();
    EXPECT_TRUE(ShotPool[9].active);
    EXPECT_FALSE(ShotPool[9].face);
    EXPECT_EQ(TwoWayPool[0].freq, 0.0f);

    FreshWorld();
    TwoWay(0, 80, 16, true).freqspd = 0.0f;
    TwoWayPool[0].freq = 1.0f;
    PlaceObject(ProbePool, sondaCount, 0, 112.0f, 16.0f);
    PlaceObject(CannonPool, cannonCount, 0, 48.0f, 16.0f);
    UpdateTwoWayGuns();
    for (int i = 0; i < 10; i++) UpdateShots();
    EXPECT_FALSE(ProbePool[0].active);
    EXPECT_FALSE(CannonPool[0].active);
    EXPECT_TRUE(TwoWayPool[0].active);
}
