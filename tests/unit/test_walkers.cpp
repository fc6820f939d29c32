// Probes and train cars: patrols, turns at walls, exits and floor ends, train delays and exits.
#include <gtest/gtest.h>

#include <vector>

#include "sim_world.h"

namespace {

// A floor on row 1 across the screen; walkers stand on row 2 (y 16).
void Track() {
    FreshWorld();
    FillRow(1, 0, 31, TILE_SOLID);
}

ObjectRecord &Probe(int i, float x, bool right) {
    ObjectRecord &p = PlaceObject(ProbePool, sondaCount, i, x, 16.0f);
    p.frameface = right ? 1 : 0;
    return p;
}

ObjectRecord &Car(int i, float x, bool right, float appearmax) {
    ObjectRecord &t = PlaceObject(TrainPool, trainCount, i, x, 16.0f);
    t.active = 0;
    t.frameface = right ? 1 : 0;
    t.appearmax = appearmax;
    t.appearspd = 1.0f;
    t.frameend = 100.0f;
    return t;
}

}  // namespace

TEST(Probe, TurnsAtX90AndX69ByTruncation) {
    Track();
    FillRow(2, 12, 12, TILE_SOLID);   // wall from x 96
    FillRow(2, 7, 7, TILE_SOLID);     // wall x 56 .. 63
    ObjectRecord &p = Probe(0, 80.0f, true);
    p.face = 1;
    float maxX = 0, minX = 1000;
    int stills = 0;
    for (int i = 0; i < 40; i++) {
        float before = p.x;
        UpdateProbes();
        if (p.x == before) stills++;
        if (p.x > maxX) maxX = p.x;
        if (p.x < minX) minX = p.x;
    }
    EXPECT_EQ(maxX, 90.0f);
    EXPECT_EQ(minX, 69.0f);
    EXPECT_EQ(stills, 2);   // one step standing still per turn
    EXPECT_EQ(p.face, 1);   // the picture never turns
}

TEST(Probe, TurnsAtExitsAndFloorEndsAndRidesOnAnyFloor) {
    Track();
    FillRow(1, 14, 31, TILE_EMPTY);   // floor ends after column 13 (x 112)
    SetCell(1, 11, TILE_LEDGE);
    SetCell(1, 12, TILE_EXIT);        // both count as floor
    SetCell(2, 6, TILE_EXIT);         // an exit at body height turns it too
    ObjectRecord &p = Probe(0, 80.0f, true);
    float maxX = 0, minX = 1000;
    for (int i = 0; i < 100; i++) {
        UpdateProbes();
        if (p.x > maxX) maxX = p.x;
        if (p.x < minX) minX = p.x;
    }
    EXPECT_EQ(maxX, 106.0f);   // (106 + 6) / 8 = 14 has no floor
    EXPECT_EQ(minX, 61.0f);    // (61 - 6) / 8 = 6 is the exit's column
}

TEST(Probe, AnimationAdvancesOnlyWhenMovingAndDestroyedProbesPatrol) {
    Track();
    ObjectRecord &p = Probe(0, 80.0f, true);
    std::vector<int> seen;
    for (int i = 0; i < 10; i++) {
        UpdateProbes();
        seen.push_back(Trunc(p.frame));
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 1, 2, 2, 3, 0, 0, 1, 1}));

    p.active = 0;
    UpdateProbes();
    EXPECT_EQ(p.x, 91.0f);

    // Walls on both sides: turns on every step, never moves.
    Track();
    FillRow(2, 9, 9, TILE_SOLID);
    FillRow(2, 11, 11, TILE_SOLID);
    ObjectRecord &q = Probe(0, 84.0f, true);
    for (int i = 0; i < 5; i++) UpdateProbes();
    EXPECT_EQ(q.x, 84.0f);
    EXPECT_EQ(q.frameface, 0);
    EXPECT_EQ(q.frame, 0.0f);
}

TEST(Probe, BottomRowAndScreenSidesReadAsWalls) {
    FreshWorld();
    ObjectRecord &p = PlaceObject(ProbePool, sondaCount, 0, 240.0f, 0.0f);   // row 0
    p.frameface = 1;
    float maxX = 0;
    for (int i = 0; i < 30; i++) {
        UpdateProbes();
        if (p.x > maxX) maxX = p.x;
    }
    EXPECT_EQ(maxX, 250.0f);   // (250 + 6) / 8 = 32 lies outside: a wall
    EXPECT_LT(p.x, 250.0f);
}

TEST(Train, CarsComeInSixteenStepsApartAndRollInLine) {
    Track();
    Car(0, 40.0f, true, 0.0f);
    Car(1, 40.0f, true, 16.0f);
    Car(2, 40.0f, true, 32.0f);
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
    EXPECT_EQ(TrainPool[2].x, 40.0f);
    EXPECT_EQ(TrainPool[0].appearspd, 0.0f);
}

TEST(Train, WaitingRules) {
    Track();
    Car(0, 40.0f, true, 5.0f).appear = 6.0f;   // already past its limit
    Car(1, 60.0f, true, 5.0f).appearspd = 0.0f;   // no step: never comes
    UpdateTrains();
    EXPECT_TRUE(TrainPool[0].active);
    EXPECT_EQ(TrainPool[0].x, 40.0f);   // first moved in the next step
    for (int i = 0; i < 100; i++) UpdateTrains();
    EXPECT_FALSE(TrainPool[1].active);
}

TEST(Train, LeavesAtAnExitAndANegativeLimitBringsItBack) {
    Track();
    SetCell(2, 10, TILE_EXIT);   // x 80 .. 88
    ObjectRecord &t = Car(0, 70.0f, true, -1.0f);
    UpdateTrains();
    ASSERT_TRUE(t.active);
    int left = 0;
    for (int step = 1; step <= 10 && !left; step++) {
        UpdateTrains();
        if (!t.active) left = step;
    }
    EXPECT_EQ(left, 4);          // moved to 74: (74 + 6) / 8 = 10 is the exit
    EXPECT_EQ(t.x, 74.0f);
    UpdateTrains();              // timer at 0 is above -1: back at once
    EXPECT_TRUE(t.active);
    EXPECT_EQ(t.x, 74.0f);

    // Destroyed by a shot: back in the same frame's train update.
    Track();
    ObjectRecord &u = Car(0, 40.0f, true, -1.0f);
    UpdateTrains();
    ObjectRecord &s = ShotPool[0];
    s.x = 40.0f;
    s.y = 20.0f;
    s.active = 1;
    UpdateShots();
    EXPECT_FALSE(u.active);
    UpdateTrains();
    EXPECT_TRUE(u.active);

    // A positive limit keeps a car that left out of play.
    Track();
    SetCell(2, 10, TILE_EXIT);
    ObjectRecord &v = Car(0, 70.0f, true, 0.0f);
    for (int i = 0; i < 50; i++) UpdateTrains();
    EXPECT_FALSE(v.active);
}

TEST(Train, TurnsAtWallsAndFloorEndsAndChecksTheExitTheWayItWasGoing) {
    Track();
    FillRow(2, 12, 12, TILE_SOLID);
    FillRow(2, 7, 7, TILE_EXIT);   // an exit at body height does not turn a car
    ObjectRecord &t = Car(0, 80.0f, true, -1.0f);
    t.active = 1;
    float maxX = 0;
    for (int i = 0; i < 40 && t.active; i++) {
        UpdateTrains();
        if (t.x > maxX) maxX = t.x;
    }
    EXPECT_EQ(maxX, 90.0f);
    EXPECT_EQ(t.x, 69.0f);   // left through the exit on the way back: (69 - 6) / 8 = 7

    // Exit over a gap: the car turns (no floor) and leaves in the same step.
    Track();
    SetCell(2, 10, TILE_EXIT);
    SetCell(1, 10, TILE_EMPTY);
    ObjectRecord &c = Car(0, 74.0f, true, 100.0f);
    c.active = 1;
    UpdateTrains();
    EXPECT_EQ(c.frameface, 0);
    EXPECT_EQ(c.x, 74.0f);
    EXPECT_FALSE(c.active);
}

TEST(Train, AnimationWrapsToItsFirstFrame) {
    Track();
    ObjectRecord &t = Car(0, 80.0f, true, 0.0f);
    t.frame = t.framebeg = 4.0f;
    t.frameend = 7.75f;
    t.framespd = 0.25f;
    t.active = 1;
    std::vector<int> seen;
    for (int i = 0; i < 17; i++) {
        UpdateTrains();
        seen.push_back(Trunc(t.frame));
    }
    EXPECT_EQ(seen, (std::vector<int>{4, 4, 4, 5, 5, 5, 5, 6, 6, 6, 6, 7, 7, 7, 7, 4, 4}));
}
