// Shots and explosions: firing, flight, the tile, hero and object tests, explosion frames.
#include <gtest/gtest.h>

#include <vector>

#include "sim_world.h"

TEST(ShotFire, FirstSeenTwelvePixelsAheadOnePerPressLowWhenCrouchingBeforeTheJump) {
    FloorWorld();
    KeyState[VK_SPACE_] = true;
    Steps(4);   // fired and moved in the first step; held SPACE fires once
    ASSERT_EQ(ActiveShots(), 1);
    EXPECT_EQ(ShotPool[0].x, 136.0f - 12.0f - 12.0f);   // facing left at start
    EXPECT_EQ(ShotPool[0].y, 22.0f);
    KeyState[VK_SPACE_] = false;
    FrameUpdate();
    KeyState[VK_SPACE_] = KeyState[VK_DOWN_] = true;
    HeroState.face = 1;
    FrameUpdate();
    EXPECT_EQ(ShotPool[1].x, 148.0f);
    EXPECT_EQ(ShotPool[1].y, 18.0f);
    EXPECT_TRUE(ShotPool[1].face);
    // Fired in the step a jump starts: from the feet the hero had before it rose.
    KeyState[VK_SPACE_] = KeyState[VK_DOWN_] = false;
    FrameUpdate();
    KeyState[VK_SPACE_] = KeyState[VK_UP_] = true;
    FrameUpdate();
    EXPECT_EQ(ShotPool[2].y, 22.0f);
}

TEST(ShotFire, FreeRecordIsTheFirstNotActiveAndAFullPoolFiresNothing) {
    FreshWorld();
    for (auto &s : ShotPool) s.active = 1;
    KeyState[VK_SPACE_] = true;
    FireHeroShot();
    EXPECT_EQ(ShotPool[0].speed, 0.0f);
    ShotPool[200].active = 2;   // anything but 1 counts as free
    KeyState[VK_SPACE_] = false;
    FireHeroShot();
    KeyState[VK_SPACE_] = true;
    FireHeroShot();
    EXPECT_EQ(ShotPool[200].speed, 4.0f);
}

TEST(ShotTiles, WallsLedgesAndThePlayfieldEdgeEndShotsOtherCodesLetThemPass) {
    for (int code : {1, 2, 3, 9, 5}) {   // wall, ledge, cover, exit, another
        FreshWorld();
        SetCell(2, 15, code);   // x 120..128: the first move of a shot fired from the start
        KeyState[VK_SPACE_] = true;
        FrameUpdate();
        const bool ends = code == TILE_SOLID || code == TILE_LEDGE;
        EXPECT_EQ(ActiveShots(), ends ? 0 : 1) << code;
        ASSERT_EQ(ActiveExplosions(), ends ? 1 : 0);
        if (ends) {
            EXPECT_EQ(ExplosionPool[0].x, 124.0f);
            EXPECT_EQ(ExplosionPool[0].frame, 0.0f);   // advanced only from the next step
        }
    }
    FreshWorld();
    Shot(0, 6.0f, 100.0f, false);
    for (int i = 0; i < 3; i++) UpdateShots();   // x -6 is still column 0 (toward zero)
    EXPECT_TRUE(ShotPool[0].active);
    UpdateShots();
    EXPECT_FALSE(ShotPool[0].active);
    EXPECT_EQ(ExplosionPool[0].x, -10.0f);
}

TEST(ShotHero, HeroAbsorbsShotsUnlessHidingUnderThem) {
    for (int hide = 0; hide < 2; hide++) {
        FreshWorld();   // hero at x 136 (columns 16, 17), feet row 2
        HeroState.hide = (uint8_t)hide;
        Shot(0, 108.0f, 30.0f, true);   // row 3, above the feet
        Shot(1, 108.0f, 20.0f, true);   // the feet row
        for (int i = 0; i < 10; i++) UpdateShots();
        EXPECT_EQ(ShotPool[0].active, hide) << hide;
        EXPECT_FALSE(ShotPool[1].active);
    }
}

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

TEST(ShotObjects, CellsOfEachKindOnlyActiveRecordsInsideTheCount) {
    const struct { int kind; float dx, dy; bool hit; } cases[] = {
        // shot relative to the object at (84, 40): column 10, row 5
        {KIND_CANNON, -8, 12, true},  {KIND_CANNON, 8, 0, false},  {KIND_CELLING, -8, 0, true},
        {KIND_CELLING, 0, 8, false},  {KIND_TWOWAYS, 0, 8, true},  {KIND_TWOWAYS, -8, -1, false},
        {KIND_SONDA, 5, 8, true},     {KIND_SONDA, 0, 0, false},   // columns 9 and 11, not 10
        {KIND_TRAIN, -5, 0, true},    {KIND_TRAIN, 13, 0, false},
    };
    for (const auto &c : cases) {
        FreshWorld();
        ObjectRecord &o = Place(c.kind, 1, 84.0f, 40.0f);
        Place(c.kind, 0, 84.0f, 40.0f).active = 0;   // destroyed: never hit
        Shot(0, 84.0f + c.dx, 40.0f + c.dy, true, 0.0f);
        UpdateShots();
        EXPECT_EQ(!o.active, c.hit) << c.kind << " " << c.dx << "," << c.dy;
        EXPECT_EQ(ActiveExplosions(), c.hit ? 1 : 0);
    }
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
    FreshWorld();   // a record beyond the count is left over from another map
    Place(KIND_CANNON, 0, 84.0f, 40.0f);
    cannonCount = 0;
    Shot(0, 84.0f, 40.0f, true, 0.0f);
    UpdateShots();
    EXPECT_TRUE(CannonPool[0].active);
}

TEST(Explosions, SmallShowsSevenStepsBigFifteenAndAFullPoolShowsNone) {
    FreshWorld();
    const std::vector<int> small = {0, 0, 1, 1, 2, 2, 3};
    const std::vector<int> big = {4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11};
    for (int kind : {EXPLOSION_SMALL, EXPLOSION_BIG}) {
        ExplosionPool[0].active = 1;   // taken: the next one goes to record 1
        ExplosionPool[1].active = 0;
        SpawnExplosion(5, 6, kind);
        std::vector<int> slots;
        for (int i = 0; i < 40 && ExplosionPool[1].active; i++) {
            slots.push_back(Trunc(ExplosionPool[1].frame));
            UpdateExplosions();
        }
        EXPECT_EQ(slots, kind == EXPLOSION_SMALL ? small : big);
    }
    for (auto &e : ExplosionPool) e.active = 1;
    Place(KIND_CANNON, 0, 80.0f, 16.0f);
    Shot(0, 70.0f, 20.0f, true);
    UpdateShots();   // the hit still happens, unseen
    EXPECT_FALSE(ShotPool[0].active);
    EXPECT_FALSE(CannonPool[0].active);
}

TEST(ShotFlight, LoopingFramesWrapPastTheEndOnly) {
    FreshWorld();
    ObjectRecord &s = Shot(0, 100.0f, 100.0f, true, 0.0f);
    s.frameend = 3.0f;
    s.framespd = 1.0f;
    s.frameloop = 1;
    std::vector<float> seen;
    for (int i = 0; i < 4; i++) {
        UpdateShots();
        seen.push_back(s.frame);
    }
    EXPECT_EQ(seen, (std::vector<float>{2, 3, 1, 2}));
}
