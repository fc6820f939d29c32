// The frame loop's order of work and exit code, and the frame pacer's deadlines.
#include "shell_fixture.h"

#include "shell/game.h"

class FrameLoopTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        appActive = false;   // no scene drawing: there is no GL context here
        haveWindow = false;
    }
};

static int escapeAfterSwaps;
static void PressEscapeAfterSwaps() {
    if (nullSwapCount == escapeAfterSwaps) nullMessages.push_back({MSG_KEYDOWN, VK_ESCAPE_, 0});
}

TEST_F(FrameLoopTest, EscapeEndsTheLoopBeforeSwapAndUpdate) {
    nullMessages.push_back({MSG_KEYDOWN, VK_PRIOR_, 0});
    escapeAfterSwaps = 3;
    nullSwapHook = PressEscapeAfterSwaps;
    const int code = RunFrameLoop(0);
    // Three frames were swapped and updated; the frame that saw Escape did neither.
    EXPECT_EQ(nullSwapCount, 3);
    EXPECT_NEAR(viewScale, 3.125f + 3 * 0.2f, 1e-5f);
    // The exit code is the last message's wParam: the Escape key-down.
    EXPECT_EQ(code, VK_ESCAPE_);
    EXPECT_EQ(nullCalls.back(), "UnregisterClass");   // the window was destroyed
}

TEST_F(FrameLoopTest, EveryWaitingMessageIsHandledBeforeTheNextFrame) {
    // Page Up pressed and released between two frames never zooms.
    nullMessages.push_back({MSG_KEYDOWN, VK_PRIOR_, 0});
    nullMessages.push_back({MSG_KEYUP, VK_PRIOR_, 0});
    nullMessages.push_back({MSG_KEYDOWN, VK_ESCAPE_, 0});
    EXPECT_EQ(RunFrameLoop(0), VK_ESCAPE_);
    EXPECT_EQ(nullSwapCount, 0);
    EXPECT_EQ(viewScale, 3.125f);
}

static void CloseAfterTwoSwaps() {
    if (nullSwapCount == 2) nullMessages.push_back({MSG_CLOSE, 0, 0});
}

TEST_F(FrameLoopTest, ClosingTheWindowEndsWithCodeZeroAndAQuitCodeIsReturned) {
    nullMessages.push_back({MSG_KEYDOWN, 'X', 0});
    nullSwapHook = CloseAfterTwoSwaps;
    EXPECT_EQ(RunFrameLoop(0), 0);
    EXPECT_EQ(nullSwapCount, 2);

    NullPlatformReset();
    nullMessages.push_back({MSG_KEYDOWN, 'X', 0});
    PlatformPostQuit(5);
    EXPECT_EQ(RunFrameLoop(0), 5);
}

TEST_F(FrameLoopTest, MinimisedGameKeepsRunningItsSteps) {
    nullMessages.push_back({MSG_ACTIVATE, 1u << 16, 0});
    nullMessages.push_back({MSG_KEYDOWN, VK_NEXT_, 0});
    escapeAfterSwaps = 4;
    nullSwapHook = PressEscapeAfterSwaps;
    RunFrameLoop(0);
    EXPECT_FALSE(appActive);
    EXPECT_NEAR(viewScale, 3.125f - 4 * 0.2f, 1e-5f);
}

TEST(FramePacer, DeadlinesFollowAFixedGridWithoutDrift) {
    FramePacer p;
    StartPacer(&p, 60);
    const double period = 1.0 / 60;
    const double t0 = 1000.0;
    EXPECT_EQ(NextFrameTime(&p, t0), t0);   // the first frame at once
    // Frames asked for early or a little late are due on the grid t0 + k * period.
    const double asked[] = {t0 + 0.001, t0 + 2 * period + 0.004, t0 + 2 * period + 0.005, t0 + 3 * period};
    for (int k = 1; k <= 4; k++) EXPECT_NEAR(NextFrameTime(&p, asked[k - 1]), t0 + k * period, 1e-12);
    // After a thousand frames the grid has not moved.
    double due = 0;
    for (int k = 5; k <= 1000; k++) due = NextFrameTime(&p, t0 + k * period - 0.0005);
    EXPECT_NEAR(due, t0 + 1000 * period, 1e-9);
}

TEST(FramePacer, FarBehindStartsAfreshInsteadOfBursting) {
    FramePacer p;
    StartPacer(&p, 50);
    NextFrameTime(&p, 10.0);
    // Half a second late: the frame runs now, and the next one is a full period later.
    EXPECT_EQ(NextFrameTime(&p, 10.5), 10.5);
    EXPECT_NEAR(NextFrameTime(&p, 10.5), 10.52, 1e-12);
}

TEST(FramePacer, ZeroRateNeverWaits) {
    FramePacer p;
    StartPacer(&p, 0);
    for (double t : {1.0, 1.0, 0.5, 7.0}) EXPECT_EQ(NextFrameTime(&p, t), t);
}
