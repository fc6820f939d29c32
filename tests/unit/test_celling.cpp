// Ceiling guns: the ray trace and what it sees, the alarm, the sweep, volleys and aiming.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "sim_world.h"

namespace {

// A gun with its ray cursor set by hand, calm, never sweeping on its own.
ObjectRecord &RayGun(float rayx, float rayy, float dx, float dy, float dist) {
    ObjectRecord &g = PlaceObject(CeilingPool, cellingCount, 0, 200.0f, 180.0f);
    g.rayx = rayx;
    g.rayy = rayy;
    g.raydx = dx;
    g.raydy = dy;
    g.raydist = dist;
    g.alarmmax = 50.0f;
    g.freqmax = 1e9f;
    return g;
}

// Hero at x 136, y 16: cell column 17, row 2; a solid floor on row 1.
void HeroOnFloor() {
    FreshWorld();
    FillRow(1, 0, 31, TILE_SOLID);
}

// Whether a ray straight down column col, from y 100 for dist steps, raises the alarm.
bool DownRaySees(int col, float dist) {
    ObjectRecord &g = RayGun(8.0f * col + 4.0f, 100.0f, 0.0f, -2.0f, dist);
    g.alarm = 0.0f;
    TraceCeilingRays();
    return g.alarm == g.alarmmax;
}

}  // namespace

TEST(CeilingRay, SeesTheHeroBesideAndAboveButNotDiagonally) {
    HeroOnFloor();
    EXPECT_TRUE(DownRaySees(17, 1000));   // through the hero's own cell
    EXPECT_TRUE(DownRaySees(16, 1000));   // the cell left of it
    EXPECT_TRUE(DownRaySees(18, 1000));   // the cell right of it
    EXPECT_FALSE(DownRaySees(19, 1000));
    EXPECT_FALSE(DownRaySees(15, 1000));
    // Down column 17, 38 steps end at y 24 (the head cell, row 3); 34 end at y 32 (row 4).
    EXPECT_TRUE(DownRaySees(17, 38));
    EXPECT_FALSE(DownRaySees(17, 34));
    // Column 18 ending on cover at row 2 passes only the diagonal cell (18, 3).
    SetCell(2, 18, TILE_COVER);
    EXPECT_FALSE(DownRaySees(18, 1000));
    EXPECT_EQ(TileAtCell(2, 18), TILE_COVER);
    EXPECT_EQ(TileAtCell(3, 18), TILE_RAY);
}

TEST(CeilingRay, CrouchingHeroInCoverIsHidden) {
    HeroOnFloor();
    SetCell(2, 17, TILE_COVER);
    HeroState.hide = 1;
    EXPECT_FALSE(DownRaySees(16, 1000));
    EXPECT_FALSE(DownRaySees(18, 1000));
    HeroState.hide = 0;   // standing up in the same place
    EXPECT_TRUE(DownRaySees(16, 1000));
    // Crouching outside cover does not hide.
    SetCell(2, 17, TILE_EMPTY);
    HeroState.hide = 1;
    EXPECT_TRUE(DownRaySees(16, 1000));
}

TEST(CeilingRay, StepCountStopCodesAndMarks) {
    // One cell per step straight down from row 23: the marked cells count the steps.
    const float dists[] = {10.5f, 10.0f, 0.0f, -3.0f};
    const int marked[] = {11, 10, 0, 0};
    for (int k = 0; k < 4; k++) {
        FreshWorld();
        RayGun(4.0f, 188.0f, 0.0f, -8.0f, dists[k]);
        TraceCeilingRays();
        EXPECT_EQ(CountCells(TILE_RAY), marked[k]) << dists[k];
    }
    // Codes 1, 2, 3 and 9 end the ray unmarked; the others are overwritten.
    const int codes[] = {TILE_SOLID, TILE_LEDGE, TILE_COVER, TILE_EXIT, 4, 7, -2};
    for (int code : codes) {
        FreshWorld();
        SetCell(18, 0, code);
        RayGun(4.0f, 188.0f, 0.0f, -8.0f, 20.0f);
        TraceCeilingRays();
        bool stops = code == TILE_SOLID || code == TILE_LEDGE || code == TILE_COVER || code == TILE_EXIT;
        EXPECT_EQ(TileAtCell(18, 0), stops ? code : TILE_RAY) << code;
        EXPECT_EQ(CountCells(TILE_RAY), stops ? 4 : 20) << code;
    }
    // A destroyed gun casts nothing.
    FreshWorld();
    RayGun(4.0f, 188.0f, 0.0f, -8.0f, 20.0f).active = 0;
    TraceCeilingRays();
    EXPECT_EQ(CountCells(TILE_RAY), 0);
}

TEST(CeilingRay, RayEndsAtThePlayfieldEdge) {
    FreshWorld();
    RayGun(20.0f, 100.0f, -2.2f, -2.0f, 1e30f);
    TraceCeilingRays();
    EXPECT_GT(CountCells(TILE_RAY), 0);
    EXPECT_LT(CeilingPool[0].rayx, 0.0f + 8.0f);   // stopped at the left edge, not beyond
    EXPECT_GT(CeilingPool[0].rayx, -8.0f - 2.2f);
}

TEST(CeilingRay, CursorThatCannotMoveEndsWithTheSameOutcome) {
    // The first trace after start-up steps on the spot at (0, 0). However many steps it
    // may take, the outcome is that of its first step: one mark, the same alarm.
    for (float dist : {1.0f, 1e6f, 1e30f}) {
        FreshWorld();
        HeroState.x = 12.0f;   // column 1, row 0: the bottom-left cell is beside it
        HeroState.y = 4.0f;
        ObjectRecord &g = RayGun(0.0f, 0.0f, 0.0f, 0.0f, dist);
        TraceCeilingRays();
        EXPECT_EQ(CountCells(TILE_RAY), 1) << dist;
        EXPECT_EQ(TileAtCell(0, 0), TILE_RAY);
        EXPECT_EQ(g.alarm, 50.0f);
    }
    // A cursor whose step is lost to rounding stands still as well.
    FreshWorld();
    ObjectRecord &g = RayGun(100.0f, 100.0f, 1e-6f, 0.0f, 1e30f);
    TraceCeilingRays();
    EXPECT_EQ(CountCells(TILE_RAY), 1);
    EXPECT_EQ(TileAtCell(12, 12), TILE_RAY);
    EXPECT_EQ(g.alarm, 0.0f);
    // Far outside the playfield it reads walls and marks nothing.
    g.rayx = 3e30f;
    g.raydx = 1.0f;
    TraceCeilingRays();
    EXPECT_EQ(CountCells(TILE_RAY), 1);
}

TEST(CeilingAlarm, OneSightingLastsExactly100Updates) {
    FreshWorld();
    ObjectRecord &g = PlaceObject(CeilingPool, cellingCount, 0, 100.0f, 150.0f);
    g.alarm = 100.0f;   // as the trace leaves it
    g.alarmspd = 1.0f;
    g.freqmax = 1e9f;
    int volleys = 0;
    for (int step = 0; step < 150; step++) {
        float before = Rem01;
        UpdateCeilingGuns();
        if (Rem01 > before) volleys++;
        std::memset(ShotPool, 0, sizeof ShotPool);
    }
    EXPECT_EQ(volleys, 100);   // freqalarmspd 0 keeps freqalarm at 0: a volley every update
    EXPECT_EQ(g.alarm, 0.0f);
    EXPECT_EQ(Rem01, 1000.0f);

    // The alarm is clamped at 0 on its way down.
    g.alarm = 0.5f;
    g.alarmspd = 2.0f;
    UpdateCeilingGuns();
    EXPECT_EQ(g.alarm, 0.0f);
}

TEST(CeilingAlarm, TwoTimersEachStandStillInTheOtherMode) {
    FreshWorld();
    ObjectRecord &g = PlaceObject(CeilingPool, cellingCount, 0, 100.0f, 150.0f);
    g.freqspd = 1.0f;
    g.freqmax = 100.0f;
    g.freqalarmspd = 1.0f;
    g.freqalarmmax = 3.0f;
    g.alarmspd = 1.0f;
    for (int i = 0; i < 5; i++) UpdateCeilingGuns();
    EXPECT_EQ(g.freq, 5.0f);
    EXPECT_EQ(g.freqalarm, 0.0f);
    EXPECT_EQ(ActiveShots(), 0);   // a calm gun never fires

    g.alarm = 10.0f;
    for (int i = 0; i < 3; i++) UpdateCeilingGuns();
    EXPECT_EQ(g.freq, 5.0f);
    EXPECT_EQ(g.freqalarm, 3.0f);
    EXPECT_EQ(ActiveShots(), 0);   // 3 is not above 3
    UpdateCeilingGuns();           // 4 > 3: reset to 0, sweep and fire
    EXPECT_EQ(g.freqalarm, 0.0f);
    EXPECT_EQ(ActiveShots(), 10);
    EXPECT_EQ(g.frame, 0.0f);      // first sweep from 0 going down bounces at 0
    EXPECT_TRUE(g.frameface);
}

TEST(CeilingSweep, BouncesKeepingEachEndForOneStep) {
    FreshWorld();
    ObjectRecord &g = PlaceObject(CeilingPool, cellingCount, 0, 100.0f, 150.0f);
    g.freqspd = 1.0f;
    g.freqmax = 0.5f;   // a sweep step on every update
    std::vector<int> seen;
    for (int i = 0; i < 12; i++) {
        UpdateCeilingGuns();
        seen.push_back(Trunc(g.frame));
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4, 4, 3, 2, 1, 0, 0, 1}));
}

TEST(CeilingVolley, TenMissilesAlongTheBarrel) {
    FreshWorld();
    ObjectRecord &g = PlaceObject(CeilingPool, cellingCount, 0, 100.0f, 150.0f);
    g.alarm = 5.0f;
    g.face = 0;
    g.frame = 0.0f;
    Rem01 = 3.0f;
    UpdateCeilingGuns();
    EXPECT_EQ(ActiveShots(), 10);
    EXPECT_EQ(Rem01, 13.0f);
    for (int i = 0; i < 10; i++) {
        EXPECT_EQ(ShotPool[i].x, 92.0f);
        EXPECT_EQ(ShotPool[i].y, 149.0f);
        EXPECT_TRUE(ShotPool[i].face);   // barrel 0 of a gun facing 0: flies right
        EXPECT_EQ(ShotPool[i].speed, 2.2f);
        EXPECT_EQ(ShotPool[i].vy, -2.0f);
        EXPECT_EQ(ShotPool[i].frame, 2.0f);
    }
    // While the ray of that barrel runs down and to the left.
    AimCeilingRays();
    EXPECT_EQ(g.rayx, 92.0f);
    EXPECT_EQ(g.rayy, 149.0f);
    EXPECT_EQ(g.raydx, -2.2f);
    EXPECT_EQ(g.raydy, -2.0f);

    // A pool with three free records gives three missiles; Rem01 still counts ten.
    std::memset(ShotPool, 0, sizeof ShotPool);
    for (int i = 0; i < SHOT_POOL_SIZE - 3; i++) ShotPool[i].active = 1;
    g.face = 1;
    g.frame = 3.0f;
    UpdateCeilingGuns();
    EXPECT_EQ(ActiveShots(), SHOT_POOL_SIZE);
    EXPECT_EQ(Rem01, 23.0f);
    EXPECT_EQ(ShotPool[255].x, 105.0f);
    EXPECT_TRUE(ShotPool[255].face);
    EXPECT_EQ(ShotPool[255].speed, 0.8f);
}

TEST(CeilingAim, BarrelTableAndFramesOutsideIt) {
    FreshWorld();
    ObjectRecord &g = PlaceObject(CeilingPool, cellingCount, 0, 100.0f, 150.0f);
    const float sx[5] = {92, 95, 100, 105, 108}, sy[5] = {149, 147, 144, 147, 149};
    const float dx[5] = {-2.2f, -0.8f, 0.0f, 0.8f, 2.2f};
    for (int f = 0; f < 5; f++) {
        g.frame = (float)f;
        AimCeilingRays();
        EXPECT_EQ(g.rayx, sx[f]);
        EXPECT_EQ(g.rayy, sy[f]);
        EXPECT_EQ(g.raydx, dx[f]);
        EXPECT_EQ(g.raydy, -2.0f);
    }
    // Frames no sweep can make still pick a row of the table.
    g.frame = 1e20f;
    AimCeilingRays();
    EXPECT_EQ(g.rayx, 108.0f);
    g.frame = -7.0f;
    AimCeilingRays();
    EXPECT_EQ(g.rayx, 92.0f);
    g.frame = std::numeric_limits<float>::quiet_NaN();
    AimCeilingRays();
    EXPECT_EQ(g.rayx, 92.0f);
}
