// The hero: what the screens' runs do not reach: exits taken while hiding.
#include <gtest/gtest.h>

#include "sim_world.h"

TEST(HeroHide, HidingHeroCannotWalkButTakesExitsBothWays) {
    FloorWorld();
    KeyState[VK_DOWN_] = KeyState[VK_RIGHT_] = true;
    FrameUpdate();
    FrameUpdate();
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
