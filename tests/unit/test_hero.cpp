// The hero: walking, jumping, falling and landing, crouching, exits, shield.
#include <gtest/gtest.h>

#include "shell/frame.h"
#include "sim_world.h"

namespace {

// A floor of solid blocks under the start position (feet at y 16 stand on row 1).
void FloorWorld() {
    FreshWorld();
    FillRow(1, 0, 31, TILE_SOLID);
}

}  // namespace

TEST(HeroJump, RisesFor22StepsAndLandsOnTheRowItLeft) {
    FloorWorld();
    for (int i = 0; i < 5; i++) FrameUpdate();
    EXPECT_EQ(HeroState.y, 16.0f);   // standing: each step snaps back onto the floor
    EXPECT_FALSE(HeroState.jumping);

    KeyState[VK_UP_] = true;
    FrameUpdate();
    KeyState[VK_UP_] = false;
    EXPECT_NEAR(HeroState.y, 18.15f, 1e-4f);
    int rising = 1;
    float prev = HeroState.y, top = HeroState.y;
    for (int i = 0; i < 100 && HeroState.jumping; i++) {
        FrameUpdate();
        if (HeroState.y > prev) rising++;
        if (HeroState.y > top) top = HeroState.y;
        prev = HeroState.y;
    }
    EXPECT_EQ(rising, 22);
    EXPECT_NEAR(top, 40.2f, 1e-3f);
    EXPECT_FALSE(HeroState.jumping);
    EXPECT_EQ(HeroState.y, 16.0f);
    EXPECT_EQ(HeroState.fallspd, 0.0f);
}

TEST(HeroJump, HeadBumpsOnSolidButPassesLedgeAndLandsOnIt) {
    FloorWorld();
    FillRow(4, 14, 19, TILE_SOLID);   // y 32..40: the head reaches it at y 24
    KeyState[VK_UP_] = true;
    FrameUpdate();
    KeyState[VK_UP_] = false;
    float top = 0;
    bool bumped = false;
    for (int i = 0; i < 60; i++) {
        FrameUpdate();
        if (HeroState.y > top) top = HeroState.y;
        if (HeroState.fallspd == 0.0f && HeroState.jumping) bumped = true;
    }
    EXPECT_TRUE(bumped);
    EXPECT_LT(top, 24.0f);
    EXPECT_GT(top, 22.0f);
    EXPECT_EQ(HeroState.y, 16.0f);

    // The same row as a ledge: the hero rises through it and lands on top of it.
    FloorWorld();
    FillRow(4, 14, 19, TILE_LEDGE);
    KeyState[VK_UP_] = true;
    FrameUpdate();
    KeyState[VK_UP_] = false;
    for (int i = 0; i < 60; i++) FrameUpdate();
    EXPECT_EQ(HeroState.y, 40.0f);
    EXPECT_FALSE(HeroState.jumping);
}

TEST(HeroJump, HeroWhoseJumpEndsInsideALedgeRowSinksThrough) {
    FloorWorld();
    FillRow(5, 14, 19, TILE_LEDGE);   // y 40..48: the top of the jump (40.2) lies inside it
    KeyState[VK_UP_] = true;
    FrameUpdate();
    KeyState[VK_UP_] = false;
    for (int i = 0; i < 80; i++) FrameUpdate();
    EXPECT_EQ(HeroState.y, 16.0f);
}

TEST(HeroJump, FallSnapsFeetOntoTheBlockBelowAndMHoldsTheRise) {
    FloorWorld();
    HeroState.y = 30.5f;
    HeroState.jumping = 1;
    for (int i = 0; i < 40; i++) FrameUpdate();
    EXPECT_EQ(HeroState.y, 16.0f);
    EXPECT_EQ(HeroState.fallspd, 0.0f);
    EXPECT_FALSE(HeroState.jumping);

    // M does nothing on the ground; in the air it keeps the hero rising 1.15 per step.
    KeyState[KEY_RISE] = true;
    FrameUpdate();
    EXPECT_EQ(HeroState.y, 16.0f);
    KeyState[VK_UP_] = true;
    FrameUpdate();
    KeyState[VK_UP_] = false;
    float y0 = HeroState.y;
    for (int i = 0; i < 10; i++) FrameUpdate();
    EXPECT_NEAR(HeroState.y - y0, 11.5f, 1e-3f);
}

TEST(HeroWalk, FrameRunsInHalfStepsAndWallsStop) {
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
    EXPECT_EQ(HeroState.frame, 1.0f);   // 8.0 + 0.5 is past the last frame
    EXPECT_EQ(shown[8], 1);
    for (int f = 1; f < 8; f++) EXPECT_EQ(shown[f], 2) << f;
    EXPECT_EQ(HeroState.x, 151.0f);
    EXPECT_TRUE(HeroState.face);

    // A wall in column 21 (x 168): the probe 4 pixels ahead stops the hero at x 164.
    SetCell(2, 21, TILE_SOLID);
    for (int i = 0; i < 30; i++) FrameUpdate();
    EXPECT_EQ(HeroState.x, 164.0f);

    // Ledges and exits do not block walking; a ledge in the feet row is walked through.
    FloorWorld();
    SetCell(2, 18, TILE_LEDGE);
    KeyState[VK_RIGHT_] = true;
    for (int i = 0; i < 20; i++) FrameUpdate();
    EXPECT_EQ(HeroState.x, 156.0f);
}

TEST(HeroWalk, BothDirectionsHeldStayPutAndFaceLeft) {
    FloorWorld();
    HeroState.face = 1;
    KeyState[VK_RIGHT_] = KeyState[VK_LEFT_] = true;
    FrameUpdate();
    EXPECT_EQ(HeroState.x, 136.0f);
    EXPECT_EQ(HeroState.frame, 2.0f);
    EXPECT_FALSE(HeroState.face);
}

TEST(HeroWalk, WalkingOffAnEdgeFalls) {
    FreshWorld();
    FillRow(1, 0, 16, TILE_SOLID);   // floor ends under column 16
    FillRow(0, 0, 31, TILE_SOLID);
    KeyState[VK_RIGHT_] = true;
    for (int i = 0; i < 40; i++) FrameUpdate();
    EXPECT_EQ(HeroState.y, 8.0f);
    EXPECT_FALSE(HeroState.jumping);
}

TEST(HeroHide, HidingHeroCannotWalkButTakesTheExit) {
    FloorWorld();
    KeyState[VK_DOWN_] = true;
    FrameUpdate();
    EXPECT_TRUE(HeroState.hide);
    KeyState[VK_RIGHT_] = true;
    FrameUpdate();
    EXPECT_EQ(HeroState.x, 136.0f);
    EXPECT_EQ(mapIndex, 0);

    SetCell(2, 17, TILE_EXIT);   // the cell 4 pixels right of x 136
    FrameUpdate();
    EXPECT_EQ(mapIndex, 1);
    EXPECT_EQ(HeroState.x, 12.0f);
    EXPECT_TRUE(HeroState.hide);

    KeyState[VK_RIGHT_] = false;
    KeyState[VK_DOWN_] = false;
    SetCell(2, 0, TILE_EXIT);
    KeyState[VK_LEFT_] = true;
    for (int i = 0; i < 10 && mapIndex == 1; i++) FrameUpdate();
    EXPECT_EQ(mapIndex, 0);
    EXPECT_EQ(HeroState.x, 244.0f);
}

TEST(HeroHide, DownInTheAirKeepsTheCrouchOnlyIfTaken) {
    FloorWorld();
    KeyState[VK_DOWN_] = true;
    KeyState[VK_UP_] = true;   // UP comes first: already in the air, DOWN cannot crouch
    FrameUpdate();
    EXPECT_FALSE(HeroState.hide);
    KeyState[VK_UP_] = false;
    for (int i = 0; i < 60; i++) FrameUpdate();
    EXPECT_FALSE(HeroState.jumping);
    EXPECT_TRUE(HeroState.hide);   // crouched once landed

    KeyState[VK_UP_] = true;
    FrameUpdate();   // the jump keeps the crouch as long as DOWN is held
    KeyState[VK_UP_] = false;
    KeyState[VK_RIGHT_] = true;
    FrameUpdate();
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
    for (int i = 0; i < 5; i++) FrameUpdate();
    EXPECT_TRUE(HeroState.shield);
    KeyState[KEY_SHIELD] = false;
    FrameUpdate();
    KeyState[KEY_SHIELD] = true;
    FrameUpdate();
    EXPECT_FALSE(HeroState.shield);

    HeroState.shieldframe = 21.0f;
    int shown[25] = {0};
    int period = 0;
    for (int i = 1; i <= 60; i++) {
        UpdateShield();
        shown[Trunc(HeroState.shieldframe)]++;
        if (HeroState.shieldframe == 21.0f && period == 0) period = i;
    }
    EXPECT_EQ(period, 15);
    EXPECT_EQ(shown[21], 20);
    EXPECT_EQ(shown[22], 20);
    EXPECT_EQ(shown[23], 20);
    EXPECT_EQ(shown[24], 0);
}
