// Developer keys: zoom without bounds, and the full-screen toggle.
#include "shell_fixture.h"

class DevKeysTest : public ShellTest {};

TEST_F(DevKeysTest, ZoomStepsWhileHeldWithoutBounds) {
    for (int i = 0; i < 5; i++) StepWithKeys({VK_PRIOR_});
    EXPECT_NEAR(viewScale, 4.125f, 1e-5f);
    for (int i = 0; i < 25; i++) StepWithKeys({VK_NEXT_});
    EXPECT_NEAR(viewScale, -0.875f, 1e-5f);   // nothing stops it below zero
}

TEST_F(DevKeysTest, ToggleNeedsAWindowAndAFailedOneReleasesFlipsReportsAndEnds) {
    KeyState[VK_F1_] = true;   // headless: nothing happens
    UpdateDeveloperKeys();
    EXPECT_TRUE(KeyState[VK_F1_] && !toggleAsked);

    haveWindow = true;
    UpdateDeveloperKeys();   // the step only asks; the window work follows it
    EXPECT_TRUE(!KeyState[VK_F1_] && toggleAsked && nullCalls.empty());
    nullFailSteps = {"CreateWindow"};
    EXPECT_FALSE(ToggleFullscreen());
    EXPECT_FALSE(fullscreen);
    EXPECT_EQ(nullWindowTitle, "KAV");
    EXPECT_FALSE(nullWindowFullscreen);
    // The old window went first, giving the display mode back; then the new one was begun.
    ASSERT_GE(nullCalls.size(), 2u);
    EXPECT_EQ(nullCalls[0], "RestoreDisplayMode");
    EXPECT_EQ(nullCalls[1], "ShowCursor(1)");
    ASSERT_EQ(nullMessageBoxes.size(), 1u);
    EXPECT_EQ(nullMessageBoxes[0].text, "Window Creation Error.");
    EXPECT_FALSE(haveWindow);
}
