// The window procedure and the creation and release of the window over the null platform.
#include "shell_fixture.h"

#include <string>
#include <vector>

using Calls = std::vector<std::string>;

static PlatformMessage Msg(int kind, uint32_t wParam = 0, int32_t lParam = 0) {
    return {kind, wParam, lParam};
}

class WindowProcTest : public ShellTest {};

TEST_F(WindowProcTest, KeysAreHeldFromKeyDownToKeyUpAndRepeatChangesNothing) {
    EXPECT_EQ(GameWindowProc(Msg(MSG_KEYDOWN, VK_LEFT_)), 0);
    EXPECT_TRUE(KeyState[VK_LEFT_]);
    GameWindowProc(Msg(MSG_KEYDOWN, VK_LEFT_));   // auto-repeat
    GameWindowProc(Msg(MSG_KEYDOWN, VK_LEFT_));
    EXPECT_TRUE(KeyState[VK_LEFT_]);
    GameWindowProc(Msg(MSG_KEYDOWN, VK_SPACE_));
    GameWindowProc(Msg(MSG_KEYUP, VK_LEFT_));
    EXPECT_FALSE(KeyState[VK_LEFT_]);
    EXPECT_TRUE(KeyState[VK_SPACE_]);
    // A press and release between two frames leaves nothing behind.
    GameWindowProc(Msg(MSG_KEYDOWN, 'M'));
    GameWindowProc(Msg(MSG_KEYUP, 'M'));
    EXPECT_FALSE(KeyState['M']);
    EXPECT_EQ(nullDefaultProcCalls, 0);
}

TEST_F(WindowProcTest, SystemKeysNeverReachTheKeyTable) {
    GameWindowProc(Msg(MSG_SYSKEYDOWN, VK_F10_));
    GameWindowProc(Msg(MSG_SYSKEYDOWN, 'X'));
    GameWindowProc(Msg(MSG_SYSKEYDOWN, VK_MENU_));
    EXPECT_FALSE(KeyState[VK_F10_]);
    EXPECT_FALSE(KeyState['X']);
    EXPECT_FALSE(KeyState[VK_MENU_]);
    // Nor do they release a key that a plain key-down set.
    GameWindowProc(Msg(MSG_KEYDOWN, VK_RIGHT_));
    GameWindowProc(Msg(MSG_SYSKEYUP, VK_RIGHT_));
    EXPECT_TRUE(KeyState[VK_RIGHT_]);
    EXPECT_EQ(nullDefaultProcCalls, 4);
}

TEST_F(WindowProcTest, KeyCodesOutsideTheTableAreIgnored) {
    bool before[256];
    std::memcpy(before, KeyState, sizeof before);
    GameWindowProc(Msg(MSG_KEYDOWN, 256 + VK_LEFT_));
    GameWindowProc(Msg(MSG_KEYDOWN, 0xFFFFFFFFu));
    EXPECT_EQ(std::memcmp(before, KeyState, sizeof before), 0);
}

TEST_F(WindowProcTest, OnlyMinimisingStopsTheDrawing) {
    GameWindowProc(Msg(MSG_ACTIVATE, (1u << 16) | 0));   // minimised
    EXPECT_FALSE(appActive);
    GameWindowProc(Msg(MSG_ACTIVATE, 1));                // restored and active
    EXPECT_TRUE(appActive);
    GameWindowProc(Msg(MSG_ACTIVATE, 0));                // another window has the focus
    EXPECT_TRUE(appActive);
    GameWindowProc(Msg(MSG_ACTIVATE, (1u << 16) | 1));   // the low word is not looked at
    EXPECT_FALSE(appActive);
}

TEST_F(WindowProcTest, CloseBoxPostsQuitWithCodeZero) {
    EXPECT_EQ(GameWindowProc(Msg(MSG_CLOSE)), 0);
    ASSERT_EQ(nullMessages.size(), 1u);
    EXPECT_EQ(nullMessages.front().kind, MSG_QUIT);
    EXPECT_EQ(nullMessages.front().wParam, 0u);
    EXPECT_EQ(nullDefaultProcCalls, 0);
}

TEST_F(WindowProcTest, ScreenSaverAndMonitorPowerAreSwallowedOtherCommandsAreNot) {
    GameWindowProc(Msg(MSG_SYSCOMMAND, SC_SCREENSAVE_));
    GameWindowProc(Msg(MSG_SYSCOMMAND, SC_MONITORPOWER_));
    EXPECT_EQ(nullDefaultProcCalls, 0);
    GameWindowProc(Msg(MSG_SYSCOMMAND, 0xF020));   // minimise
    GameWindowProc(Msg(MSG_OTHER, 7));
    EXPECT_EQ(nullDefaultProcCalls, 2);
}

class CreateWindowTest : public ShellTest {};

TEST_F(CreateWindowTest, EachFailingStepIsReleasedThenReportedInOrder) {
    const Calls start = {"RegisterClass", "ChangeDisplayMode", "ShowCursor(0)", "CreateWindow"};
    const Calls leave = {"RestoreDisplayMode", "ShowCursor(1)"};
    const struct {
        const char *step;
        const char *text;
        Calls made, released;   // steps after CreateWindow, and what the release then does
    } failures[] = {
        {"CreateWindow", "Window Creation Error.", {}, {}},
        {"GetDeviceContext", "Can't Create A GL Device Context.", {"GetDeviceContext"}, {"DestroyWindow"}},
        {"ChoosePixelFormat", "Can't Find A Suitable PixelFormat.", {"GetDeviceContext", "ChoosePixelFormat"},
         {"ReleaseDeviceContext", "DestroyWindow"}},
        {"SetPixelFormat", "Can't Set The PixelFormat.",
         {"GetDeviceContext", "ChoosePixelFormat", "SetPixelFormat"}, {"ReleaseDeviceContext", "DestroyWindow"}},
        {"CreateContext", "Can't Create A GL Rendering Context.",
         {"GetDeviceContext", "ChoosePixelFormat", "SetPixelFormat", "CreateContext"},
         {"ReleaseDeviceContext", "DestroyWindow"}},
        {"MakeCurrent", "Can't Activate The GL Rendering Context.",
         {"GetDeviceContext", "ChoosePixelFormat", "SetPixelFormat", "CreateContext", "MakeCurrent"},
         {"ReleaseCurrent", "DeleteContext", "ReleaseDeviceContext", "DestroyWindow"}},
    };
    for (const auto &f : failures) {
        SCOPED_TRACE(f.step);
        NullPlatformReset();
        nullFailSteps = {f.step};
        EXPECT_FALSE(CreateGameWindow("Kav", 800, 600, 32, true));

        Calls want = start;
        want.insert(want.end(), f.made.begin(), f.made.end());
        want.insert(want.end(), leave.begin(), leave.end());
        want.insert(want.end(), f.released.begin(), f.released.end());
        want.push_back("UnregisterClass");
        want.push_back("MessageBox");
        EXPECT_EQ(nullCalls, want);

        ASSERT_EQ(nullMessageBoxes.size(), 1u);
        EXPECT_EQ(nullMessageBoxes[0].text, f.text);
        EXPECT_EQ(nullMessageBoxes[0].caption, "ERROR");
        EXPECT_EQ(nullMessageBoxes[0].buttons, MB_OK_);
        EXPECT_EQ(nullMessageBoxes[0].icon, MB_ICONEXCLAMATION_);
        EXPECT_FALSE(PlatformHasWindow());
        EXPECT_FALSE(PlatformHasDeviceContext());
        EXPECT_FALSE(PlatformHasContext());
    }
}

TEST_F(CreateWindowTest, ClassRegistrationFailureIsReportedWithNothingToRelease) {
    nullFailSteps = {"RegisterClass"};
    EXPECT_FALSE(CreateGameWindow("Kav", 800, 600, 32, false));
    EXPECT_EQ(nullCalls, (Calls{"RegisterClass", "MessageBox"}));
    ASSERT_EQ(nullMessageBoxes.size(), 1u);
    EXPECT_EQ(nullMessageBoxes[0].text, "Failed To Register The Window Class.");
    EXPECT_EQ(nullMessageBoxes[0].caption, "ERROR");
    EXPECT_EQ(nullMessageBoxes[0].icon, MB_ICONEXCLAMATION_);
}

TEST_F(CreateWindowTest, UnsupportedFullScreenAsksAndYesGoesOnWindowed) {
    nullFailSteps = {"ChangeDisplayMode", "MakeCurrent"};   // stop before the GL state
    nullMessageBoxAnswer = ID_YES_;
    EXPECT_FALSE(CreateGameWindow("Kav", 800, 600, 32, true));
    ASSERT_EQ(nullMessageBoxes.size(), 2u);
    EXPECT_EQ(nullMessageBoxes[0].text,
              "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?");
    EXPECT_EQ(nullMessageBoxes[0].caption, "Vela GL");
    EXPECT_EQ(nullMessageBoxes[0].buttons, MB_YESNO_);
    EXPECT_EQ(nullMessageBoxes[0].icon, MB_ICONEXCLAMATION_);
    EXPECT_FALSE(fullscreen);
    EXPECT_FALSE(nullWindowFullscreen);
    EXPECT_EQ(nullWindowTitle, "Kav");
    // Windowed: the cursor stays and no display mode is given back.
    for (const auto &call : nullCalls) {
        EXPECT_NE(call, "ShowCursor(0)");
        EXPECT_NE(call, "RestoreDisplayMode");
    }
}

TEST_F(CreateWindowTest, UnsupportedFullScreenAnsweredNoEndsTheProgram) {
    nullFailSteps = {"ChangeDisplayMode"};
    nullMessageBoxAnswer = ID_NO_;
    EXPECT_FALSE(CreateGameWindow("Kav", 800, 600, 32, true));
    EXPECT_EQ(nullCalls, (Calls{"RegisterClass", "ChangeDisplayMode", "MessageBox", "MessageBox"}));
    ASSERT_EQ(nullMessageBoxes.size(), 2u);
    EXPECT_EQ(nullMessageBoxes[1].text, "Program Will Now Close.");
    EXPECT_EQ(nullMessageBoxes[1].caption, "ERROR");
    EXPECT_EQ(nullMessageBoxes[1].buttons, MB_OK_);
    EXPECT_EQ(nullMessageBoxes[1].icon, MB_ICONSTOP_);
}

TEST_F(CreateWindowTest, EveryReleaseFailureIsReportedAndTheReleaseGoesOn) {
    ASSERT_TRUE(PlatformCreateWindow("Kav", 800, 600, true));
    ASSERT_TRUE(PlatformGetDeviceContext());
    ASSERT_TRUE(PlatformCreateContext());
    nullCalls.clear();
    nullFailSteps = {"ReleaseCurrent", "DeleteContext", "ReleaseDeviceContext", "DestroyWindow", "UnregisterClass"};
    fullscreen = true;
    DestroyGameWindow();

    EXPECT_EQ(nullCalls, (Calls{"RestoreDisplayMode", "ShowCursor(1)", "ReleaseCurrent", "MessageBox",
                                "DeleteContext", "MessageBox", "ReleaseDeviceContext", "MessageBox",
                                "DestroyWindow", "MessageBox", "UnregisterClass", "MessageBox"}));
    const char *texts[] = {"Release Of DC And RC Failed.", "Release Rendering Context Failed.",
                           "Release Device Context Failed.", "Could Not Release hWnd.",
                           "Could Not Unregister Class."};
    ASSERT_EQ(nullMessageBoxes.size(), 5u);
    for (int i = 0; i < 5; i++) {
        EXPECT_EQ(nullMessageBoxes[i].text, texts[i]);
        EXPECT_EQ(nullMessageBoxes[i].caption, "SHUTDOWN ERROR");
        EXPECT_EQ(nullMessageBoxes[i].buttons, MB_OK_);
        EXPECT_EQ(nullMessageBoxes[i].icon, MB_ICONINFORMATION_);
    }
    // Whatever failed is forgotten: a second release has nothing left to release.
    nullCalls.clear();
    fullscreen = false;
    DestroyGameWindow();
    EXPECT_EQ(nullCalls, (Calls{"UnregisterClass", "MessageBox"}));
}
