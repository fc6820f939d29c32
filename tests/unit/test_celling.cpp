// Ceiling guns: the ray trace and what it sees, the alarm, the sweep, volleys and aiming.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "sim_world.h"

// A calm gun whose ray cursor is set by hand; returns whether the trace raised its alarm.
static bool RaySees(float rayx, float rayy, float dx, float dy, float dist) {
    ObjectRecord &g = Place(KIND_CELLING, 0, 200.0f, 180.0f);
    g.rayx = rayx, g.rayy = rayy, g.raydx = dx, g.raydy = dy, g.raydist = dist;
    g.alarmmax = 50.0f;
    g.alarm = 0.0f;
    TraceCeilingRays();
    return g.alarm == 50.0f;
}

// Straight down column col from y 100.
static bool DownRaySees(int col, float dist = 1000.0f) {
    return RaySees(8.0f * (float)col + 4.0f, 100.0f, 0, -2, dist);
}

static ObjectRecord &Gun(float freqmax) {
    ObjectRecord &g = Place(KIND_CELLING, 0, 100.0f, 150.0f);
    g.freqspd = 1.0f;
    g.freqmax = freqmax;
    return g;
}

// The hero stands at x 136, y 16: cell column 17, row 2; its head cell is row 3.
TEST(CeilingRay, SeesTheHeroBesideAndAboveButNotDiagonallyOrBelow) {
    FloorWorld();
    const struct { int col; float dist; bool seen; } down[] = {
        {17, 1000, true}, {16, 1000, true}, {18, 1000, true}, {19, 1000, false},
        {17, 38, true},    // ends at y 24: the head cell
        {17, 34, false},   // ends at y 32, row 4
    };
    for (const auto &d : down) EXPECT_EQ(DownRaySees(d.col, d.dist), d.seen) << d.col << " " << d.dist;
    SetCell(2, 18, TILE_COVER);   // column 18 now ends at row 2: only the diagonal is left
    EXPECT_FALSE(DownRaySees(18));

    FreshWorld();   // along row 1 under the feet, columns 14 to 18: below and diagonal only
    EXPECT_FALSE(RaySees(108.0f, 12.0f, 8.0f, 0.0f, 5.0f));
    EXPECT_TRUE(RaySees(108.0f, 28.0f, 8.0f, 0.0f, 4.0f));    // row 3 up to column 17
    EXPECT_FALSE(RaySees(108.0f, 28.0f, 8.0f, 0.0f, 3.0f));   // up to column 16 only
}

TEST(CeilingRay, CrouchingHeroInCoverIsHidden) {
    FloorWorld();
    SetCell(2, 17, TILE_COVER);
    HeroState.hide = 1;
    EXPECT_FALSE(DownRaySees(16));
    EXPECT_FALSE(DownRaySees(18));
    HeroState.hide = 0;   // standing up in the same place
    EXPECT_TRUE(DownRaySees(16));
    SetCell(2, 17, TILE_EMPTY);   // crouching in the open does not hide
    HeroState.hide = 1;
    EXPECT_TRUE(DownRaySees(16));
}

TEST(CeilingRay, StepCountStopCodesMarksAndTheEdge) {
    // One cell per step down column 0 from row 23: the marks count the steps.
    const struct { float dist; int marked; } counts[] = {{10.5f, 11}, {10.0f, 10}, {0.0f, 0}, {-3.0f, 0}};
    for (const auto &c : counts) {
        FreshWorld();
        RaySees(4.0f, 188.0f, 0.0f, -8.0f, c.dist);
        EXPECT_EQ(CountCells(TILE_RAY), c.marked) << c.dist;
    }
    for (int code : {1, 2, 3, 9, 4, 7, -2}) {   // wall, ledge, cover, exit, others
        FreshWorld();
        SetCell(18, 0, code);
        RaySees(4.0f, 188.0f, 0.0f, -8.0f, 20.0f);
        const bool stops = code == TILE_SOLID || code == TILE_LEDGE || code == TILE_COVER || code == TILE_EXIT;
        EXPECT_EQ(TileAtCell(18, 0), stops ? code : TILE_RAY) << code;
        EXPECT_EQ(CountCells(TILE_RAY), stops ? 4 : 20) << code;
    }
    FreshWorld();   // the playfield's edge ends a ray
    RaySees(20.0f, 100.0f, -2.2f, -2.0f, 1e30f);
    EXPECT_EQ(CountCells(TILE_RAY), 6);   // columns 2 to 0 (x down to -6.4 truncates to 0)
    // The cursor adds its step in single precision: 92 - 5 x 0.8 comes out just below 88.
    FreshWorld();
    RaySees(92.0f, 97.0f, -0.8f, -2.0f, 5.0f);
    EXPECT_EQ(TileAtCell(10, 10), TILE_RAY);
    EXPECT_EQ(TileAtCell(10, 11), TILE_EMPTY);
}

TEST(CeilingRay, CursorThatCannotMoveEndsWithTheOutcomeOfItsFirstStep) {
    for (float dist : {1.0f, 1e30f, std::numeric_limits<float>::infinity()}) {
        FreshWorld();
        HeroState.x = 12.0f;   // column 1, row 0: the bottom-left cell is beside it
        HeroState.y = 4.0f;
        EXPECT_TRUE(RaySees(0.0f, 0.0f, 0.0f, 0.0f, dist)) << dist;
        EXPECT_EQ(CountCells(TILE_RAY), 1);
    }
    FreshWorld();   // a step lost to rounding stands still as well
    EXPECT_FALSE(RaySees(100.0f, 100.0f, 1e-6f, 0.0f, 1e30f));
    EXPECT_EQ(CountCells(TILE_RAY), 1);
}

TEST(CeilingRay, EachStepClearsTheOldRayTracesWhereTheLastStepAimedThenAims) {
    FloorWorld();
    SetCell(20, 3, TILE_RAY);   // a ray cell in the map is gone after the first step
    ObjectRecord &g = Gun(1e9f);
    g.raydist = 3.0f;
    FrameUpdate();   // at start the rays are aimed nowhere: the trace steps on the spot
    EXPECT_EQ(TileAtCell(0, 0), TILE_RAY);
    EXPECT_EQ(CountCells(TILE_RAY), 1);
    FrameUpdate();   // barrel 0 aimed at the end of the step before: from (92, 149)
    EXPECT_EQ(TileAtCell(0, 0), TILE_EMPTY);
    EXPECT_EQ(CountCells(TILE_RAY), 3);
    EXPECT_EQ(TileAtCell(17, 10), TILE_RAY);   // the third step: (85.4, 143)
    g.active = 0;   // a destroyed gun's ray is gone at the next step
    FrameUpdate();
    EXPECT_EQ(CountCells(TILE_RAY), 0);
}

TEST(CeilingAlarm, OneSightingLasts100UpdatesWithAVolleyInEach) {
    FreshWorld();
    ObjectRecord &g = Gun(1e9f);
    g.alarm = 100.0f;   // as the trace leaves it
    g.alarmspd = 1.0f;
    int volleys = 0;
    for (int step = 0; step < 150; step++) {
        const float before = Rem01;
        UpdateCeilingGuns();
        volleys += Rem01 > before ? 1 : 0;
        std::memset(ShotPool, 0, sizeof ShotPool);
    }
    EXPECT_EQ(volleys, 100);   // freqalarm stays exactly 0
    g.alarm = 0.5f;
    g.alarmspd = 2.0f;
    UpdateCeilingGuns();
    EXPECT_EQ(g.alarm, 0.0f);   // clamped at 0
}

TEST(CeilingAlarm, EachTimerStandsStillInTheOtherModeAndOnlyAlarmedGunsFire) {
    FreshWorld();
    ObjectRecord &g = Gun(100.0f);
    g.freqalarmspd = 1.0f;
    g.freqalarmmax = 3.0f;
    g.alarmspd = 1.0f;
    for (int i = 0; i < 5; i++) UpdateCeilingGuns();
    EXPECT_EQ(g.freq, 5.0f);
    g.alarm = 10.0f;
    for (int i = 0; i < 3; i++) UpdateCeilingGuns();
    EXPECT_EQ(g.freq, 5.0f);
    EXPECT_EQ(ActiveShots(), 0);   // 3 is not above 3, and calm guns never fire
    UpdateCeilingGuns();
    EXPECT_EQ(g.freqalarm, 0.0f);
    EXPECT_EQ(ActiveShots(), 10);
}

TEST(CeilingSweep, BouncesKeepingEachEndForOneStep) {
    FreshWorld();
    ObjectRecord &g = Gun(0.5f);   // a sweep step on every update
    std::vector<int> seen;
    for (int i = 0; i < 12; i++) {
        UpdateCeilingGuns();
        seen.push_back(Trunc(g.frame));
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4, 4, 3, 2, 1, 0, 0, 1}));
}

TEST(CeilingVolley, TenMissilesAlongTheBarrelAndTheRayOfItsPosition) {
    FreshWorld();
    ObjectRecord &g = Gun(1e9f);
    g.alarm = 5.0f;
    UpdateCeilingGuns();   // face 0, barrel 0
    EXPECT_EQ(ActiveShots(), 10);
    for (int i = 0; i < 10; i++) {
        EXPECT_EQ(ShotPool[i].x, 92.0f);
        EXPECT_EQ(ShotPool[i].y, 149.0f);
        EXPECT_TRUE(ShotPool[i].face);   // flies down and to the right
        EXPECT_EQ(ShotPool[i].speed, 2.2f);
        EXPECT_EQ(ShotPool[i].vy, -2.0f);
    }
    std::memset(ShotPool, 0, sizeof ShotPool);   // three free records apart: three missiles
    for (auto &s : ShotPool) s.active = 1;
    ShotPool[40].active = ShotPool[41].active = 0;
    ShotPool[200].active = 2;   // anything but 1 counts as free
    g.face = 1;
    g.frame = 3.0f;
    UpdateCeilingGuns();
    EXPECT_EQ(ActiveShots(), SHOT_POOL_SIZE);
    for (int i : {40, 41, 200}) {
        EXPECT_EQ(ShotPool[i].x, 105.0f) << i;
        EXPECT_EQ(ShotPool[i].active, 1) << i;
        EXPECT_TRUE(ShotPool[i].face);
    }
}

TEST(CeilingAim, RaysStartAtTheBarrelAndFramesOutsideTheTableAreClamped) {
    FreshWorld();
    ObjectRecord &g = Gun(1e9f);   // face 0: the ray keeps the table's directions
    const struct { float frame, rayx, rayy, raydx; } aims[] = {
        {1, 95, 147, -0.8f}, {2, 100, 144, 0.0f}, {4, 108, 149, 2.2f},
        {1e20f, 108, 149, 2.2f}, {-7, 92, 149, -2.2f}, {std::numeric_limits<float>::quiet_NaN(), 92, 149, -2.2f},
    };
    for (const auto &a : aims) {
        g.frame = a.frame;
        AimCeilingRays();
        EXPECT_EQ(g.rayx, a.rayx) << a.frame;
        EXPECT_EQ(g.rayy, a.rayy) << a.frame;
        EXPECT_EQ(g.raydx, a.raydx) << a.frame;
        EXPECT_EQ(g.raydy, -2.0f);
    }
}
