// The hero: walking, jumping, falling and landing, crouching, exits, shield.
#include <gtest/gtest.h>

#include <algorithm>

#include "sim_world.h"

// UP for one step, then steps until the hero has landed; gives the steps that rose and the top.
static int Jump(float *top) {
    KeyState[VK_UP_] = true;
    FrameUpdate();
    KeyState[VK_UP_] = false;
    int rising = 1;
    float prev = HeroState.y;
    *top = prev;
    for (int i = 0; i < 100 && HeroState.jumping; i++) {
        FrameUpdate();
        rising += HeroState.y > prev ? 1 : 0;
        *top = std::max(*top, HeroState.y);
        prev = HeroState.y;
    }
    EXPECT_FALSE(HeroState.jumping);
    return rising;
}

TEST(HeroJump, RisesFor22StepsAndLandsOnTheRowItLeft) {
    FloorWorld();
    Steps(5);
    EXPECT_EQ(HeroState.y, 16.0f);   // standing: each step snaps back onto the floor
    float top;
    EXPECT_EQ(Jump(&top), 22);
    EXPECT_NEAR(top, 40.2f, 1e-3f);
    EXPECT_EQ(HeroState.y, 16.0f);
    EXPECT_EQ(HeroState.fallspd, 0.0f);
}

TEST(HeroJump, SolidStopsTheHeadLedgesPassFromBelowAndCarryFromAbove) {
    const struct { int row, code; float topBelow, lands; } cases[] = {
        {4, TILE_SOLID, 24.0f, 16.0f},   // y 32..40: the head (8 above the feet) meets it at 24
        {4, TILE_LEDGE, 41.0f, 40.0f},   // risen through, landed on
        {5, TILE_LEDGE, 41.0f, 16.0f},   // the top (40.2) lies inside it: sinks back through
    };
    for (const auto &c : cases) {
        FloorWorld();
        for (int col = 14; col < 20; col++) SetCell(c.row, col, c.code);
        float top;
        Jump(&top);
        EXPECT_LT(top, c.topBelow) << c.row << "," << c.code;
        EXPECT_EQ(HeroState.y, c.lands) << c.row << "," << c.code;
    }
}

TEST(HeroJump, FallSnapsOntoTheBlockAndMHoldsTheRiseOnlyInTheAir) {
    FloorWorld();
    HeroState.y = 30.5f;
    HeroState.jumping = 1;
    Steps(40);
    EXPECT_EQ(HeroState.y, 16.0f);
    EXPECT_FALSE(HeroState.jumping);
    KeyState[KEY_RISE] = true;
    FrameUpdate();
    EXPECT_EQ(HeroState.y, 16.0f);
    KeyState[VK_UP_] = true;
    FrameUpdate();
    KeyState[VK_UP_] = false;
    const float y0 = HeroState.y;
    Steps(10);
    EXPECT_NEAR(HeroState.y - y0, 11.5f, 1e-3f);   // 1.15 per step
}

TEST(HeroWalk, FrameCycleWallsLedgesAndBothKeys) {
    FloorWorld();
    KeyState[VK_RIGHT_] = true;
    int shown[9] = {0};
    for (int i = 1; i <= 15; i++) {
        FrameUpdate();
        shown[Trunc(HeroState.frame)]++;
    }
    EXPECT_EQ(HeroState.frame, 1.0f);   // 8.5 is past the last frame: slot 8 for one step
    EXPECT_EQ(shown[8], 1);
    EXPECT_EQ(shown[4], 2);
    EXPECT_EQ(HeroState.x, 151.0f);
    EXPECT_TRUE(HeroState.face);

    SetCell(2, 20, TILE_LEDGE);   // walked through
    SetCell(2, 22, TILE_SOLID);   // x 176: the probe 4 pixels ahead stops the hero at 172
    Steps(40);
    EXPECT_EQ(HeroState.x, 172.0f);

    SetCell(2, 22, TILE_EMPTY);
    KeyState[VK_LEFT_] = true;   // both: one pixel right and one back, facing left
    const float frame = HeroState.frame;
    FrameUpdate();
    EXPECT_EQ(HeroState.x, 172.0f);
    EXPECT_EQ(HeroState.frame, frame + 1.0f);
    EXPECT_FALSE(HeroState.face);
}

TEST(HeroHide, HidingHeroCannotWalkButTakesExitsBothWays) {
    FloorWorld();
    KeyState[VK_DOWN_] = KeyState[VK_RIGHT_] = true;
    Steps(2);
    EXPECT_TRUE(HeroState.hide);
    EXPECT_EQ(HeroState.x, 136.0f);
    SetCell(2, 17, TILE_EXIT);   // the cell 4 pixels right of x 136
    FrameUpdate();
    EXPECT_EQ(mapIndex, 1);
    EXPECT_EQ(HeroState.x, 12.0f);

    KeyState[VK_RIGHT_] = false;
    KeyState[VK_LEFT_] = true;
    SetCell(2, 1, TILE_EXIT);   // x - 4 = 8 lies in column 1
    FrameUpdate();
    EXPECT_EQ(mapIndex, 0);
    EXPECT_EQ(HeroState.x, 244.0f);
}

TEST(HeroHide, JumpKeepsACrouchTakenOnTheGroundWhileDownIsHeld) {
    FloorWorld();
    KeyState[VK_DOWN_] = KeyState[VK_UP_] = true;   // UP first: in the air, DOWN cannot crouch
    FrameUpdate();
    EXPECT_FALSE(HeroState.hide);
    KeyState[VK_UP_] = false;
    Steps(60);
    KeyState[VK_UP_] = KeyState[VK_RIGHT_] = true;
    Steps(2);
    EXPECT_TRUE(HeroState.jumping);
    EXPECT_TRUE(HeroState.hide);
    EXPECT_EQ(HeroState.x, 136.0f);
    KeyState[VK_DOWN_] = false;
    FrameUpdate();
    EXPECT_FALSE(HeroState.hide);
    EXPECT_EQ(HeroState.x, 137.0f);
}

TEST(HeroShield, NFlipsOncePerPressAndTheCycleIsFifteenSteps) {
    FloorWorld();
    for (int press = 1; press <= 2; press++) {
        KeyState[KEY_SHIELD] = true;
        Steps(4);
        EXPECT_EQ(HeroState.shield, press == 1);
        KeyState[KEY_SHIELD] = false;
        FrameUpdate();
    }
    // Single precision: the 15th step lands just above 24, so slot 24 is never shown.
    HeroState.shieldframe = 21.0f;
    int shown[25] = {0};
    for (int i = 1; i <= 15; i++) {
        UpdateShield();
        shown[Trunc(HeroState.shieldframe)]++;
    }
    EXPECT_EQ(HeroState.shieldframe, 21.0f);
    EXPECT_EQ(shown[21], 5);
    EXPECT_EQ(shown[22], 5);
    EXPECT_EQ(shown[23], 5);
}
