// Probes and train cars: patrols, turns at walls, exits and floor ends, train delays and exits.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "sim_world.h"

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

// Runs an update n times and gives the lowest and highest x the walker reached.
static void Patrol(void (*update)(), const ObjectRecord &o, int n, float *lo, float *hi) {
    *lo = *hi = o.x;
    for (int i = 0; i < n; i++) {
        update();
        *lo = std::min(*lo, o.x);
        *hi = std::max(*hi, o.x);
    }
}

TEST(Probe, TurnsAtX90AndX69ByTruncationStandingStillOneStepEach) {
    FloorWorld();
    SetCell(2, 12, TILE_SOLID);   // from x 96
    SetCell(2, 7, TILE_SOLID);    // x 56 .. 63
    ObjectRecord &p = Walker(KIND_SONDA, 0, 80.0f, true);
    p.face = 1;
    float lo, hi;
    Patrol(UpdateProbes, p, 40, &lo, &hi);
    EXPECT_EQ(hi, 90.0f);
    EXPECT_EQ(lo, 69.0f);
    EXPECT_EQ(p.x, 76.0f);   // 10 steps right, a turn, 21 left, a turn, 7 right
    EXPECT_EQ(p.face, 1);    // the picture never turns
}

TEST(Probe, TurnsAtExitsAndFloorEndsRidesOnAnyOtherFloorAndTheScreenEdge) {
    FloorWorld();
    for (int c = 14; c < GRID_COLS; c++) SetCell(1, c, TILE_EMPTY);   // floor ends at x 112
    SetCell(1, 11, TILE_LEDGE);
    SetCell(1, 12, TILE_EXIT);   // both carry it
    SetCell(2, 6, TILE_EXIT);    // an exit at body height turns it
    float lo, hi;
    Patrol(UpdateProbes, Walker(KIND_SONDA, 0, 80.0f, true), 100, &lo, &hi);
    EXPECT_EQ(hi, 106.0f);   // (106 + 6) / 8 = 14 has no floor
    EXPECT_EQ(lo, 61.0f);    // (61 - 6) / 8 = 6 holds the exit

    FreshWorld();   // on the bottom row: the floor below and the side beyond read as walls
    ObjectRecord &p = Walker(KIND_SONDA, 0, 240.0f, true);
    p.y = 0.0f;
    Patrol(UpdateProbes, p, 30, &lo, &hi);
    EXPECT_EQ(hi, 250.0f);
    EXPECT_LT(p.x, 250.0f);
}

TEST(Probe, AnimatesOnlyWhenMovingAndPatrolsUnseenWhenDestroyed) {
    FloorWorld();
    SetCell(2, 12, TILE_SOLID);   // the turn at x 90 comes after the eighth step
    ObjectRecord &p = Walker(KIND_SONDA, 0, 82.0f, true);
    std::vector<int> seen;
    for (int i = 0; i < 10; i++) {
        UpdateProbes();
        seen.push_back(Trunc(p.frame));
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 1, 2, 2, 3, 0, 0, 0, 1}));
    p.active = 0;
    UpdateProbes();
    EXPECT_EQ(p.x, 88.0f);
}

TEST(Train, CarsComeInSixteenStepsApartAndRollInLine) {
    FloorWorld();
    for (int i = 0; i < 3; i++) Car(i, 40.0f, 16.0f * (float)i);
    Car(3, 40.0f, 5.0f).appearspd = 0.0f;   // no step: never comes
    int arrived[3] = {0, 0, 0};
    for (int step = 1; step <= 33; step++) {
        UpdateTrains();
        for (int i = 0; i < 3; i++)
            if (TrainPool[i].active && !arrived[i]) arrived[i] = step;
    }
    EXPECT_EQ(arrived[0], 1);
    EXPECT_EQ(arrived[1], 17);
    EXPECT_EQ(arrived[2], 33);
    EXPECT_EQ(TrainPool[0].x, 72.0f);
    EXPECT_EQ(TrainPool[1].x, 56.0f);
    EXPECT_EQ(TrainPool[2].x, 40.0f);   // first moved in the step after it came
    EXPECT_FALSE(TrainPool[3].active);
}

TEST(Train, LeavesAtAnExitWithoutTurningAndOnlyANegativeLimitBringsItBack) {
    for (float limit : {-1.0f, 0.0f}) {
        FloorWorld();
        SetCell(2, 10, TILE_EXIT);   // x 80 .. 88
        ObjectRecord &t = Car(0, 70.0f, limit);
        UpdateTrains();
        int left = 0;
        for (int step = 1; step <= 10 && !left; step++) {
            UpdateTrains();
            if (!t.active) left = step;
        }
        EXPECT_EQ(left, 4);   // at x 74 the look-ahead (74 + 6) / 8 = 10 is the exit
        EXPECT_EQ(t.x, 74.0f);
        EXPECT_EQ(t.frameface, 1);
        UpdateTrains();   // the timer stays at 0, above -1 but not above 0
        EXPECT_EQ(t.active, limit < 0.0f) << limit;
        EXPECT_EQ(t.x, 74.0f);
    }
    // Shots move before the trains: a car destroyed by a shot is back in the same step.
    FloorWorld();
    ObjectRecord &u = Car(0, 40.0f, -1.0f);
    UpdateTrains();
    Shot(0, 36.0f, 20.0f, true);
    FrameUpdate();
    EXPECT_FALSE(ShotPool[0].active);
    EXPECT_TRUE(u.active);
    EXPECT_EQ(ExplosionPool[0].x, 40.0f);   // hit where it stood before its own step
}

TEST(Train, TurnsOnlyAtWallsAndFloorEndsAndChecksTheExitTheWayItWasGoing) {
    FloorWorld();
    SetCell(2, 12, TILE_SOLID);
    SetCell(2, 7, TILE_EXIT);
    ObjectRecord &t = Walker(KIND_TRAIN, 0, 80.0f, true);
    float lo, hi;
    Patrol(UpdateTrains, t, 40, &lo, &hi);
    EXPECT_EQ(hi, 90.0f);
    EXPECT_EQ(t.x, 69.0f);   // left on the way back: (69 - 6) / 8 = 7
    EXPECT_FALSE(t.active);

    // An exit already ahead: the car rolls on and leaves; over a gap it turns and still leaves.
    for (bool gap : {false, true}) {
        FloorWorld();
        SetCell(2, 10, TILE_EXIT);
        if (gap) SetCell(1, 10, TILE_EMPTY);
        ObjectRecord &c = Walker(KIND_TRAIN, 0, 74.0f, true);
        UpdateTrains();
        EXPECT_EQ(c.frameface, gap ? 0 : 1);
        EXPECT_EQ(c.x, gap ? 74.0f : 75.0f);
        EXPECT_FALSE(c.active);
    }
}

TEST(Train, AnimationWrapsToItsFirstFrame) {
    FloorWorld();
    ObjectRecord &t = Walker(KIND_TRAIN, 0, 80.0f, true);
    t.frame = t.framebeg = 4.0f;
    t.frameend = 7.75f;
    t.framespd = 0.25f;
    std::vector<int> seen;
    for (int i = 0; i < 17; i++) {
        UpdateTrains();
        seen.push_back(Trunc(t.frame));
    }
    EXPECT_EQ(seen, (std::vector<int>{4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 7, 7, 7, 7, 4, 4}));
}
