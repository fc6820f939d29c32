// Shots and explosions: firing, flight, the tile, hero and object tests, explosion frames.
#include <gtest/gtest.h>

#include <vector>

#include "shell/frame.h"
#include "sim_world.h"

namespace {

ObjectRecord &StraightShot(int index, float x, float y, bool right) {
    ObjectRecord &s = ShotPool[index];
    s = ObjectRecord{};
    s.x = x;
    s.y = y;
    s.face = right ? 1 : 0;
    s.speed = 4.0f;
    s.frame = s.framebeg = s.frameend = 1.0f;
    s.active = 1;
    return s;
}

// Slots an explosion shows, one per picture from the one it was made with to its end.
std::vector<int> ExplosionSlots(float x, float y, int kind) {
    std::memset(ExplosionPool, 0, sizeof ExplosionPool);
    SpawnExplosion(x, y, kind);
    std::vector<int> slots;
    for (int i = 0; i < 40 && ExplosionPool[0].active; i++) {
        slots.push_back(Trunc(ExplosionPool[0].frame));
        UpdateExplosions();
    }
    return slots;
}

}  // namespace

TEST(ShotFire, FirstSeenTwelvePixelsAheadAndOnePerPress) {
    FreshWorld();
    FillRow(1, 0, 31, TILE_SOLID);
    KeyState[VK_SPACE_] = true;
    FrameUpdate();
    ASSERT_EQ(ActiveShots(), 1);
    EXPECT_EQ(ShotPool[0].x, 136.0f - 12.0f);   // facing left at start
    EXPECT_EQ(ShotPool[0].y, 22.0f);
    EXPECT_FALSE(ShotPool[0].face);
    EXPECT_EQ(Rem02, 0.0f);

    for (int i = 0; i < 3; i++) FrameUpdate();
    EXPECT_EQ(ActiveShots(), 1);   // held SPACE fires once
    KeyState[VK_SPACE_] = false;
    FrameUpdate();
    KeyState[VK_SPACE_] = true;
    KeyState[VK_DOWN_] = true;   // crouching fires low
    HeroState.face = 1;
    FrameUpdate();
    EXPECT_EQ(ActiveShots(), 2);
    EXPECT_EQ(Rem02, 1.0f);
    EXPECT_EQ(ShotPool[1].x, 136.0f + 12.0f);
    EXPECT_EQ(ShotPool[1].y, 18.0f);
    EXPECT_TRUE(ShotPool[1].face);
}

TEST(ShotFire, FullPoolFiresNothingAndFreedRecordIsReused) {
    FreshWorld();
    for (auto &s : ShotPool) s.active = 1;
    KeyState[VK_SPACE_] = true;
    FireHeroShot();
    EXPECT_EQ(Rem02, 256.0f);
    EXPECT_EQ(ShotPool[0].speed, 0.0f);   // nothing written
    KeyState[VK_SPACE_] = false;
    FireHeroShot();
    ShotPool[200].active = 0;
    KeyState[VK_SPACE_] = true;
    FireHeroShot();
    EXPECT_EQ(Rem02, 200.0f);
    EXPECT_EQ(ShotPool[200].speed, 4.0f);
    EXPECT_EQ(FindFreeShot(), 256);
}

TEST(ShotTiles, WallOrLedgeInTheFirstMoveEndsTheShotThere) {
    for (int code : {TILE_SOLID, TILE_LEDGE}) {
        FreshWorld();
        SetCell(2, 15, code);   // x 120..128, where a left shot from the start lands
        KeyState[VK_SPACE_] = true;
        FrameUpdate();
        EXPECT_EQ(ActiveShots(), 0) << code;
        ASSERT_EQ(ActiveExplosions(), 1);
        EXPECT_EQ(ExplosionPool[0].x, 124.0f);
        EXPECT_EQ(ExplosionPool[0].y, 22.0f);
        EXPECT_EQ(ExplosionPool[0].frame, 0.0f);   // advanced only from the next step
        EXPECT_EQ(ExplosionPool[0].w, 8.0f);
    }
    // Cover, exits and other codes let shots pass.
    FreshWorld();
    SetCell(2, 15, TILE_COVER);
    SetCell(2, 14, TILE_EXIT);
    SetCell(2, 13, 5);
    StraightShot(0, 128.0f, 22.0f, false);
    for (int i = 0; i < 4; i++) UpdateShots();
    EXPECT_EQ(ActiveShots(), 1);
}

TEST(ShotTiles, LeavingThePlayfieldEndsWithASmallExplosion) {
    FreshWorld();
    StraightShot(0, 6.0f, 100.0f, false);
    UpdateShots();   // x 2
    UpdateShots();   // x -2: still column 0, truncation is toward zero
    EXPECT_TRUE(ShotPool[0].active);
    UpdateShots();   // x -6
    UpdateShots();   // x -10: column -1, outside
    EXPECT_FALSE(ShotPool[0].active);
    ASSERT_EQ(ActiveExplosions(), 1);
    EXPECT_EQ(ExplosionPool[0].x, -10.0f);

    StraightShot(1, 100.0f, 190.0f, true).vy = 4.0f;   // through the top
    UpdateShots();
    EXPECT_FALSE(ShotPool[1].active);
}

TEST(ShotHero, HeroAbsorbsShotsUnlessHidingUnderThem) {
    FreshWorld();   // hero at x 136 (columns 16, 17), feet row 2
    StraightShot(0, 108.0f, 30.0f, true);   // row 3, the row above the feet
    for (int i = 0; i < 5; i++) UpdateShots();
    EXPECT_FALSE(ShotPool[0].active);
    EXPECT_EQ(ActiveExplosions(), 1);

    FreshWorld();
    HeroState.hide = 1;
    StraightShot(0, 108.0f, 30.0f, true);
    for (int i = 0; i < 10; i++) UpdateShots();
    EXPECT_TRUE(ShotPool[0].active);   // flew over
    StraightShot(1, 108.0f, 20.0f, true);   // the feet row always stops it
    for (int i = 0; i < 10; i++) UpdateShots();
    EXPECT_FALSE(ShotPool[1].active);
    EXPECT_EQ(HeroState.x, 136.0f);   // no harm, no push
}

TEST(ShotObjects, OneShotDestroysEveryObjectInItsCellInKindOrder) {
    FreshWorld();
    // All five kinds share the cell column 9, row 3 (x 72..80, y 24..32).
    PlaceObject(TrainPool, trainCount, 0, 82.0f, 16.0f);      // columns 9, 10
    PlaceObject(ProbePool, sondaCount, 0, 81.0f, 16.0f);      // columns 9, 10
    PlaceObject(TwoWayPool, twowaysCount, 0, 80.0f, 17.0f);   // columns 9, 10, rows 2, 3
    PlaceObject(CeilingPool, cellingCount, 0, 79.0f, 26.0f);  // columns 8, 9, row 3 only
    PlaceObject(CannonPool, cannonCount, 0, 78.0f, 18.0f);    // columns 8, 9
    SetCell(3, 9, TILE_SOLID);   // and a wall: all tests run after the wall ended the shot
    StraightShot(0, 70.0f, 28.0f, true);
    UpdateShots();
    EXPECT_FALSE(ShotPool[0].active);
    ASSERT_EQ(ActiveExplosions(), 6);
    EXPECT_EQ(ExplosionPool[0].w, 8.0f);   // the wall first
    const float order[5] = {78.0f, 79.0f, 80.0f, 81.0f, 82.0f};
    for (int k = 0; k < 5; k++) {
        EXPECT_EQ(ExplosionPool[k + 1].x, order[k]) << k;
        EXPECT_EQ(ExplosionPool[k + 1].w, 24.0f);
    }
    for (int kind = 0; kind < KIND_COUNT; kind++) EXPECT_FALSE(KindPool(kind)[0].active) << kind;
}

TEST(ShotObjects, OccupiedCellsPerKind) {
    struct Case {
        int kind;
        float dx, dy;   // shot position relative to the object at (84, 40)
        bool hit;
    };
    const Case cases[] = {
        {KIND_CANNON, -8, 12, true},     // column oc - 1, row or + 1
        {KIND_CANNON, 8, 0, false},      // column oc + 1
        {KIND_CELLING, -8, 0, true},
        {KIND_CELLING, 0, 8, false},     // ceiling guns fill one row only
        {KIND_TWOWAYS, 0, 8, true},
        {KIND_TWOWAYS, -8, -1, false},   // row or - 1
        {KIND_SONDA, 5, 8, true},        // (84 + 5) / 8 = column 11
        {KIND_SONDA, 0, 0, false},       // columns 9 and 11: the centre column 10 is not one
        {KIND_TRAIN, -5, 0, true},       // (84 - 5) / 8 = column 9
        {KIND_TRAIN, 13, 0, false},      // column 12
    };
    for (const Case &c : cases) {
        FreshWorld();
        PlaceObject(KindPool(c.kind), *KindCount(c.kind), 0, 84.0f, 40.0f);
        ObjectRecord &s = StraightShot(0, 84.0f + c.dx, 40.0f + c.dy, true);
        s.speed = 0.0f;
        UpdateShots();
        EXPECT_EQ(!KindPool(c.kind)[0].active, c.hit) << c.kind << " " << c.dx << "," << c.dy;
    }
}

TEST(ShotObjects, InactiveObjectsAndRecordsBeyondTheCountAreNotHit) {
    FreshWorld();
    PlaceObject(CannonPool, cannonCount, 0, 80.0f, 16.0f).active = 0;
    PlaceObject(CannonPool, cannonCount, 1, 80.0f, 16.0f);
    cannonCount = 1;   // record 1 is left over from an earlier map
    StraightShot(0, 70.0f, 20.0f, true);
    UpdateShots();
    EXPECT_TRUE(ShotPool[0].active);
    EXPECT_TRUE(CannonPool[1].active);
    EXPECT_EQ(ActiveExplosions(), 0);
}

TEST(ShotObjects, FullExplosionPoolStillDestroys) {
    FreshWorld();
    for (auto &e : ExplosionPool) e.active = 1;
    PlaceObject(CannonPool, cannonCount, 0, 80.0f, 16.0f);
    StraightShot(0, 70.0f, 20.0f, true);
    UpdateShots();
    EXPECT_FALSE(ShotPool[0].active);
    EXPECT_FALSE(CannonPool[0].active);
}

TEST(Explosions, SmallShowsSevenStepsBigFifteen) {
    FreshWorld();
    EXPECT_EQ(ExplosionSlots(10, 10, EXPLOSION_SMALL), (std::vector<int>{0, 0, 1, 1, 2, 2, 3}));
    EXPECT_EQ(ExplosionSlots(10, 10, EXPLOSION_BIG),
              (std::vector<int>{4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11}));
    EXPECT_EQ(ExplosionPool[0].w, 24.0f);
}

TEST(Explosions, SpawnTakesTheFirstRecordNotActive) {
    FreshWorld();
    ExplosionPool[0].active = 1;
    ExplosionPool[1].active = 0;
    SpawnExplosion(5, 6, EXPLOSION_SMALL);
    EXPECT_EQ(ExplosionPool[1].x, 5.0f);
    EXPECT_EQ(ExplosionPool[0].x, 0.0f);
    for (auto &e : ExplosionPool) e.active = 1;
    ExplosionPool[77].x = 1.0f;
    SpawnExplosion(9, 9, EXPLOSION_BIG);   // full: nothing written
    EXPECT_EQ(ExplosionPool[77].x, 1.0f);
}
