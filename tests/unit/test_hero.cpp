// The hero: walking, jumping, falling and landing, crouching, exits, shield.
#include <gtest/gtest.h>

#include "sim_world.h"

namespace {

// Presses UP for one step, then runs until the hero has landed; returns the steps that rose
// and the highest y, and checks that the fall never hovers.
int Jump(float *top) {
    KeyState[VK_UP_] = true;
    FrameUpdate();
    KeyState[VK_UP_] = false;
    int rising = 1;
    float prev = HeroState.y;
    *top = prev;
    for (int i = 0; i < 100 && HeroState.jumping; i++) {
        FrameUpdate();
        if (HeroState.y > prev) rising++;
        if (HeroState.fallspd < 0.0f && HeroState.jumping) {
            EXPECT_LT(HeroState.y, prev);   // no hovering on the way down
        }
        if (HeroState.y > *top) *top = HeroState.y;
        prev = HeroState.y;
    }
    EXPECT_FALSE(HeroState.jumping);
    return rising;
}

}  // namespace

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

TEST(HeroJump, HeadBumpsOnSolidPassesLedgesFromBelowAndLandsOnThem) {
    float top;
    FloorWorld();
    for (int c = 14; c < 20; c++) SetCell(4, c, TILE_SOLID);   // y 32..40: the head meets it at 24
    Jump(&top);
    EXPECT_GT(top, 22.0f);
    EXPECT_LT(top, 24.0f);
    EXPECT_EQ(HeroState.y, 16.0f);

    FloorWorld();
    for (int c = 14; c < 20; c++) SetCell(4, c, TILE_LEDGE);
    Jump(&top);
    EXPECT_EQ(HeroState.y, 40.0f);   // carried by the ledge it rose through

    FloorWorld();
    for (int c = 14; c < 20; c++) SetCell(5, c, TILE_LEDGE);   // the top (40.2) lies inside it
    Jump(&top);
    EXPECT_EQ(HeroState.y, 16.0f);   // sinks through, back to the floor
}

TEST(HeroJump, FallSnapsOntoTheBlockAndMHoldsTheRise) {
    FloorWorld();
    HeroState.y = 30.5f;
    HeroState.jumping = 1;
    Steps(40);
    EXPECT_EQ(HeroState.y, 16.0f);
    EXPECT_FALSE(HeroState.jumping);

    KeyState[KEY_RISE] = true;   // nothing on the ground
    FrameUpdate();
    EXPECT_EQ(HeroState.y, 16.0f);
    KeyState[VK_UP_] = true;
    FrameUpdate();
    KeyState[VK_UP_] = false;
    float y0 = HeroState.y;
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
        if (i == 14) {
            EXPECT_EQ(HeroState.frame, 8.0f);
        }
    }
    EXPECT_EQ(HeroState.frame, 1.0f);   // 8.5 is past the last frame
    EXPECT_EQ(shown[8], 1);
    EXPECT_EQ(shown[4], 2);
    EXPECT_EQ(HeroState.x, 151.0f);
    EXPECT_TRUE(HeroState.face);

    SetCell(2, 20, TILE_LEDGE);   // walked through
    SetCell(2, 22, TILE_SOLID);   // x 176: the probe 4 pixels ahead stops the hero at 172
    Steps(40);
    EXPECT_EQ(HeroState.x, 172.0f);

    KeyState[VK_LEFT_] = true;   // both: one pixel right and one back, facing left
    float frame = HeroState.frame;
    SetCell(2, 22, TILE_EMPTY);
    FrameUpdate();
    EXPECT_EQ(HeroState.x, 172.0f);
    EXPECT_EQ(HeroState.frame, frame + 1.0f);
    EXPECT_FALSE(HeroState.face);
}

TEST(HeroHide, HidingHeroCannotWalkButTakesExits) {
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
    EXPECT_TRUE(HeroState.hide);
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
    KeyState[KEY_SHIELD] = true;
    Steps(5);
    EXPECT_TRUE(HeroState.shield);
    KeyState[KEY_SHIELD] = false;
    FrameUpdate();
    KeyState[KEY_SHIELD] = true;
    FrameUpdate();
    EXPECT_FALSE(HeroState.shield);

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
