// The start question, the frame loop's order of work and exit code, and the frame pacer.
#include "shell_fixture.h"

#include <algorithm>

#include "shell/frame_loop.h"

class FrameLoopTest : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        appActive = false;   // no scene drawing: there is no GL context here
    }
};

static int pushAfterSwaps;
static PlatformMessage pushed;
static void PushAfterSwaps() {
    if (nullSwapCount == pushAfterSwaps) nullMessages.push_back(pushed);
}

TEST_F(FrameLoopTest, EscapeEndsTheLoopBeforeSwapAndUpdateEvenWhenMinimised) {
    nullMessages.push_back({MSG_ACTIVATE, 1u << 16, 0});   // minimised: no drawing, but steps run
    nullMessages.push_back({MSG_KEYDOWN, VK_PRIOR_, 0});
    pushAfterSwaps = 3;
    pushed = {MSG_KEYDOWN, VK_ESCAPE_, 0};
    nullSwapHook = PushAfterSwaps;
    const int code = RunFrameLoop(0);
    // Three frames were swapped and updated; the frame that saw Escape did neither.
    EXPECT_EQ(nullSwapCount, 3);
    EXPECT_NEAR(viewScale, 3.125f + 3 * 0.2f, 1e-5f);
    EXPECT_EQ(code, VK_ESCAPE_);   // the last message's wParam: the Escape key-down
    EXPECT_EQ(nullCalls.back(), "UnregisterClass");   // the window was destroyed

    // A key pressed and released between two frames never acts.
    NullPlatformReset();
    viewScale = 3.125f;
    for (int kind : {MSG_KEYDOWN, MSG_KEYUP}) nullMessages.push_back({kind, VK_PRIOR_, 0});
    nullMessages.push_back({MSG_KEYDOWN, VK_ESCAPE_, 0});
    EXPECT_EQ(RunFrameLoop(0), VK_ESCAPE_);
    EXPECT_EQ(nullSwapCount, 0);
    EXPECT_EQ(viewScale, 3.125f);
}

// (The close box's status 0 is the window run's check on the real program.)
TEST_F(FrameLoopTest, TheQuitMessageEndsTheLoopUndispatchedWithItsCode) {
    nullMessages.push_back({MSG_KEYDOWN, 'X', 0});
    PlatformPostQuit(5);
    EXPECT_EQ(RunFrameLoop(0), 5);
}

TEST_F(FrameLoopTest, TheToggleNeedsAWindowAndAFailedOneEndsTheProgramAtOnceWithCodeZero) {
    KeyState[VK_F1_] = true;   // headless: nothing happens
    UpdateDeveloperKeys();
    EXPECT_TRUE(KeyState[VK_F1_] && !toggleAsked);
    haveWindow = true;
    UpdateDeveloperKeys();   // the step only asks; the window work follows it
    EXPECT_TRUE(!KeyState[VK_F1_] && toggleAsked && nullCalls.empty());
    toggleAsked = false;

    WindowStep failed = STEP_NONE;   // a full-screen window to toggle from
    ASSERT_TRUE(PlatformOpenWindow(WindowRequest{WINDOW_TITLE, WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_BITS, WINDOW_DEPTH_BITS, true}, &failed));
    nullCalls.clear();
    nullMessages.push_back({MSG_KEYDOWN, VK_F1_, 0});
    nullFailSteps = {"CreateWindow"};
    EXPECT_EQ(RunFrameLoop(0), 0);
    // The old window went first, giving the display mode back; the new one, titled KAV and
    // windowed now, failed. One release for the toggle, one after the failed creation, none
    // at the end.
    ASSERT_GE(nullCalls.size(), 2u);
    EXPECT_EQ(nullCalls[0], "RestoreDisplayMode");
    EXPECT_EQ(nullCalls[1], "ShowCursor(1)");
    EXPECT_EQ(std::count(nullCalls.begin(), nullCalls.end(), "UnregisterClass"), 2);
    EXPECT_EQ(nullCalls.back(), "MessageBox");
    ASSERT_EQ(nullMessageBoxes.size(), 1u);
    EXPECT_EQ(nullMessageBoxes[0].text, "Window Creation Error.");
    EXPECT_EQ(nullWindowTitle, "KAV");
    EXPECT_FALSE(fullscreen || nullWindowFullscreen || haveWindow);
}

// Which answer makes which window, and its title, the window run shows on the real program.
TEST_F(FrameLoopTest, TheStartQuestionAsksInItsOwnWords) {
    nullFailSteps = {"CreateWindow"};   // a failed creation returns 0 at once
    EXPECT_EQ(RunGame(-1, 0), 0);
    ASSERT_GE(nullMessageBoxes.size(), 1u);
    EXPECT_EQ(nullMessageBoxes[0].text, "Would You Like To Run In Fullscreen Mode?");
    EXPECT_EQ(nullMessageBoxes[0].caption, "Start FullScreen?");
    EXPECT_EQ(nullMessageBoxes[0].buttons, MB_YESNO_);
    EXPECT_EQ(nullMessageBoxes[0].icon, MB_ICONQUESTION_);
}

TEST(FramePacer, DeadlinesFollowAFixedGridAndFarBehindStartsAfresh) {
    FramePacer p;
    StartPacer(&p, 60);
    const double period = 1.0 / 60, t0 = 1000.0;
    EXPECT_EQ(NextFrameTime(&p, t0), t0);   // the first frame at once
    // Frames asked for early or a little late are due on the grid t0 + k * period.
    const double asked[] = {t0 + 0.001, t0 + 2 * period + 0.004, t0 + 2 * period + 0.005, t0 + 3 * period};
    for (int k = 1; k <= 4; k++) EXPECT_NEAR(NextFrameTime(&p, asked[k - 1]), t0 + k * period, 1e-12);
    double due = 0;
    for (int k = 5; k <= 1000; k++) due = NextFrameTime(&p, t0 + k * period - 0.0005);
    EXPECT_NEAR(due, t0 + 1000 * period, 1e-9);   // no drift
    // Half a second late: the frame runs now, the next one a full period later.
    EXPECT_EQ(NextFrameTime(&p, t0 + 30.0), t0 + 30.0);
    EXPECT_NEAR(NextFrameTime(&p, t0 + 30.0), t0 + 30.0 + period, 1e-9);
    StartPacer(&p, 0);   // unpaced: never waits
    for (double t : {1.0, 0.5, 7.0}) EXPECT_EQ(NextFrameTime(&p, t), t);
}
