// Developer keys: zoom, once-per-press latches and their order, and the full-screen toggle.
#include "shell_fixture.h"

class DevKeysTest : public ShellTest {};

TEST_F(DevKeysTest, ZoomStepsWhileHeldWithoutBounds) {
    for (int i = 0; i < 5; i++) StepWithKeys({VK_PRIOR_});
    EXPECT_NEAR(viewScale, 4.125f, 1e-5f);
    for (int i = 0; i < 25; i++) StepWithKeys({VK_NEXT_});
    EXPECT_NEAR(viewScale, -0.875f, 1e-5f);   // nothing stops it below zero
}

TEST_F(DevKeysTest, LatchedKeysFlipTheirOwnSettingOncePerPress) {
    const struct { int key; bool *setting; } toggles[] = {
        {'1', &showBackground}, {'2', &showOverlay}, {'I', &showInfo}, {'B', &showTiles}};
    for (const auto &t : toggles) {
        SCOPED_TRACE(t.key);
        const bool before[4] = {showBackground, showOverlay, showInfo, showTiles};
        for (int i = 0; i < 10; i++) StepWithKeys({t.key});
        const int changed = (showBackground != before[0]) + (showOverlay != before[1]) +
                            (showInfo != before[2]) + (showTiles != before[3]);
        EXPECT_EQ(changed, 1);
        EXPECT_NE(*t.setting, before[&t - toggles]);
        StepWithKeys({});
        StepWithKeys({t.key});
        EXPECT_EQ(*t.setting, before[&t - toggles]);
        StepWithKeys({});
    }
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
