// Ceiling guns where the screens' runs do not take them: where a ray stops, a cursor that
// cannot move, the alarm's floor, frames outside the barrel table. (What a ray sees of the
// hero, the playfield's edge ending it and its cursor stepping in single precision, the
// golden dumps fix.)
#include <gtest/gtest.h>

#include <limits>

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

static ObjectRecord &Gun(float freqmax) {
    ObjectRecord &g = Place(KIND_CELLING, 0, 100.0f, 150.0f);
    g.freqspd = 1.0f;
    g.freqmax = freqmax;
    return g;
}

TEST(CeilingRay, StepCountStopCodesAndMarks) {
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
}

TEST(CeilingRay, CursorThatCannotMoveEndsWithTheOutcomeOfItsFirstStep) {
    for (float dist : {1.0f, 1e30f, std::numeric_limits<float>::infinity()}) {
        FreshWorld();
        HeroState.x = RIGHT_EXIT_ARRIVAL_X;   // column 1, row 0: the bottom-left cell is beside it
        HeroState.y = 4.0f;
        EXPECT_TRUE(RaySees(0.0f, 0.0f, 0.0f, 0.0f, dist)) << dist;
        EXPECT_EQ(CountCells(TILE_RAY), 1);
    }
    FreshWorld();   // a step lost to rounding stands still as well
    EXPECT_FALSE(RaySees(100.0f, 100.0f, 1e-6f, 0.0f, 1e30f));
    EXPECT_EQ(CountCells(TILE_RAY), 1);
}

TEST(CeilingAlarm, ClampedAtZero) {
    FreshWorld();
    ObjectRecord &g = Gun(1e9f);
    g.alarm = 0.5f;
    g.alarmspd = 2.0f;
    UpdateCeilingGuns();
    EXPECT_EQ(g.alarm, 0.0f);
}

TEST(CeilingAim, FramesOutsideTheBarrelTableAreClamped) {
    FreshWorld();
    ObjectRecord &g = Gun(1e9f);   // face 0: the ray keeps the table's directions
    const struct { float frame, rayx, rayy, raydx; } aims[] = {
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
