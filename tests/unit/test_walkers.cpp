// Train cars where the screens do not take them: a car's return after it leaves, the exit
// looked for the way the car was going. (Walkers at the grid's edge, where every cell outside
// reads as wall, the golden dumps fix.)
#include <gtest/gtest.h>

#include <algorithm>

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
}

TEST(Train, TurnsOnlyAtWallsAndFloorEndsAndChecksTheExitTheWayItWasGoing) {
    FloorWorld();
    SetCell(2, 12, TILE_SOLID);
    SetCell(2, 7, TILE_EXIT);
    ObjectRecord &t = Walker(KIND_TRAIN, 0, 80.0f, true);
    float hi = t.x;
    for (int i = 0; i < 40; i++, hi = std::max(hi, t.x)) UpdateTrains();
    EXPECT_EQ(hi, 90.0f);   // turned at the wall
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
