// The window procedure and the creation and release of the window over the null platform.
#include "shell_fixture.h"

#include "platform/message_ring.h"

#include <cstring>
#include <string>
#include <vector>

using Calls = std::vector<std::string>;

static void Proc(int kind, uint32_t wParam = 0) { GameWindowProc({kind, wParam, 0}); }

// The frame loop handles every waiting message before it runs a frame: the key table after
// a run of messages is what counts.
static void ApplyAll(MessageRing *ring) {
    PlatformMessage msg;
    while (RingTake(ring, &msg)) GameWindowProc(msg);
}

static void ExpectBox(size_t i, const char *text, const char *caption, int buttons, int icon) {
    ASSERT_GT(nullMessageBoxes.size(), i);
    EXPECT_EQ(nullMessageBoxes[i].text, text);
    EXPECT_EQ(nullMessageBoxes[i].caption, caption);
    EXPECT_EQ(nullMessageBoxes[i].buttons, buttons);
    EXPECT_EQ(nullMessageBoxes[i].icon, icon);
    EXPECT_FALSE(nullMessageBoxes[i].owned);   // the window is gone, or never was
}

class WindowProcTest : public ShellTest {};

TEST_F(WindowProcTest, KeysAreHeldFromKeyDownToKeyUpAndCodesOutsideTheTableChangeNothing) {
    Proc(MSG_KEYDOWN, VK_LEFT_);
    Proc(MSG_KEYDOWN, VK_LEFT_);   // auto-repeat
    Proc(MSG_KEYDOWN, VK_SPACE_);
    Proc(MSG_KEYUP, VK_LEFT_);
    EXPECT_FALSE(KeyState[VK_LEFT_]);
    EXPECT_TRUE(KeyState[VK_SPACE_]);
    Proc(MSG_KEYDOWN, 256 + VK_LEFT_);
    Proc(MSG_KEYDOWN, 0xFFFFFFFFu);
    int held = 0;
    for (bool k : KeyState) held += k ? 1 : 0;
    EXPECT_EQ(held, 1);
    EXPECT_TRUE(KeyState[VK_SPACE_]);
}

TEST_F(WindowProcTest, OnlyMinimisingStopsDrawingAndLosingTheFocusLetsGoOfEveryKey) {
    const struct { uint32_t wParam; bool active, keysKept; } activations[] = {
        {(1u << 16) | 0, false, false},   // minimised
        {1, true, true},                  // restored
        {0, true, false},                 // another window has the focus
        {(1u << 16) | 1, false, true},    // minimised with the focus: keys still come
    };
    for (const auto &a : activations) {
        KeyState[VK_LEFT_] = KeyState[VK_SPACE_] = true;
        Proc(MSG_ACTIVATE, a.wParam);
        EXPECT_EQ(appActive, a.active) << a.wParam;
        EXPECT_EQ(KeyState[VK_LEFT_] && KeyState[VK_SPACE_], a.keysKept) << a.wParam;
        EXPECT_EQ(KeyState[VK_LEFT_] || KeyState[VK_SPACE_], a.keysKept) << a.wParam;
    }
}

TEST_F(WindowProcTest, AFullMessageRingKeepsWhatTheGameSeesAndNeverDropsTheLastKeyUp) {
    static MessageRing ring;
    ring = MessageRing{};
    std::vector<PlatformMessage> all;
    uint32_t seed = 1;
    for (int i = 0; i < 6 * MESSAGE_RING_SIZE; i++) {
        seed = seed * 1103515245u + 12345u;
        const uint32_t r = seed >> 8;
        PlatformMessage m = {r % 2 ? MSG_KEYDOWN : MSG_KEYUP, r / 2 % 300, 0};   // some codes past the table
        if (r % 97 == 0) m = {MSG_ACTIVATE, (r / 97 % 2) << 16 | 1, 0};
        if (r % 89 == 0) m = {MSG_SIZE, 0, (int32_t)(r % 1000 | 600 << 16)};
        if (i == 10 || i == 2000) m = {MSG_CLOSE, 0, 0};
        all.push_back(m);
    }
    // Every key goes down and then up again in a ring long full, and one stays down.
    for (int kind : {MSG_KEYDOWN, MSG_KEYUP})
        for (uint32_t k = 0; k < 256; k++) all.push_back({kind, k, 0});
    all.push_back({MSG_KEYDOWN, VK_LEFT_, 0});

    for (const PlatformMessage &m : all) GameWindowProc(m);
    bool expected[256];
    std::memcpy(expected, KeyState, sizeof expected);
    const bool expectedActive = appActive;
    ASSERT_EQ(nullMessages.size(), 2u);   // each close box posts a quit

    std::memset(KeyState, 1, sizeof KeyState);
    nullMessages.clear();
    appActive = !expectedActive;
    for (const PlatformMessage &m : all) RingPut(&ring, m);
    EXPECT_LE(ring.count, MESSAGE_RING_SIZE);
    ApplyAll(&ring);
    EXPECT_EQ(std::memcmp(KeyState, expected, sizeof expected), 0);
    EXPECT_TRUE(KeyState[VK_LEFT_]);
    EXPECT_EQ(appActive, expectedActive);
    EXPECT_EQ(nullMessages.size(), 1u);   // the first: the loop ends on it, never sees the second
}

class CreateWindowTest : public ShellTest {};

TEST_F(CreateWindowTest, EachFailingStepIsReleasedThenReportedInOrder) {
    const Calls start = {"RegisterClass", "ChangeDisplayMode", "ShowCursor(0)", "CreateWindow"};
    const Calls leave = {"RestoreDisplayMode", "ShowCursor(1)"};
    const Calls made = {"GetDeviceContext", "ChoosePixelFormat", "SetPixelFormat", "CreateContext", "MakeCurrent"};
    const struct {
        const char *step, *text;
        size_t made;         // steps after CreateWindow that ran
        Calls released;      // what the release then does after giving the display back
    } failures[] = {
        {"CreateWindow", "Window Creation Error.", 0, {}},
        {"GetDeviceContext", "Can't Create A GL Device Context.", 1, {"DestroyWindow"}},
        {"ChoosePixelFormat", "Can't Find A Suitable PixelFormat.", 2, {"ReleaseDeviceContext", "DestroyWindow"}},
        {"SetPixelFormat", "Can't Set The PixelFormat.", 3, {"ReleaseDeviceContext", "DestroyWindow"}},
        {"CreateContext", "Can't Create A GL Rendering Context.", 4, {"ReleaseDeviceContext", "DestroyWindow"}},
        {"MakeCurrent", "Can't Activate The GL Rendering Context.", 5,
         {"ReleaseCurrent", "DeleteContext", "ReleaseDeviceContext", "DestroyWindow"}},
    };
    for (const auto &f : failures) {
        SCOPED_TRACE(f.step);
        NullPlatformReset();
        nullFailSteps = {f.step};
        EXPECT_FALSE(CreateGameWindow(WINDOW_TITLE, WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_BITS, true));
        Calls want = start;
        want.insert(want.end(), made.begin(), made.begin() + f.made);
        want.insert(want.end(), leave.begin(), leave.end());
        want.insert(want.end(), f.released.begin(), f.released.end());
        want.insert(want.end(), {"UnregisterClass", "MessageBox"});
        EXPECT_EQ(nullCalls, want);
        ASSERT_EQ(nullMessageBoxes.size(), 1u);
        ExpectBox(0, f.text, "ERROR", MB_OK_, MB_ICONEXCLAMATION_);
        EXPECT_FALSE(NullHoldsWindow());
        EXPECT_FALSE(haveWindow);
    }
    EXPECT_EQ(nullPixelBits[0], 32);   // 32-bit colour, 16-bit depth
    EXPECT_EQ(nullPixelBits[1], 16);

    NullPlatformReset();   // a class that cannot be registered leaves nothing to release
    nullFailSteps = {"RegisterClass"};
    EXPECT_FALSE(CreateGameWindow(WINDOW_TITLE, WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_BITS, false));
    EXPECT_EQ(nullCalls, (Calls{"RegisterClass", "MessageBox"}));
    ExpectBox(0, "Failed To Register The Window Class.", "ERROR", MB_OK_, MB_ICONEXCLAMATION_);
}

TEST_F(CreateWindowTest, UnsupportedFullScreenAsksYesGoesOnWindowedNoEndsTheProgram) {
    for (int answer : {ID_YES_, ID_NO_}) {
        NullPlatformReset();
        nullFailSteps = {"ChangeDisplayMode", "MakeCurrent"};   // stop before the GL state
        nullMessageBoxAnswer = answer;
        EXPECT_FALSE(CreateGameWindow(WINDOW_TITLE, WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_BITS, true));
        ASSERT_EQ(nullMessageBoxes.size(), 2u);
        ExpectBox(0, "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
                  "Vela GL", MB_YESNO_, MB_ICONEXCLAMATION_);
        EXPECT_EQ(fullscreen, answer == ID_NO_);
        if (answer == ID_NO_) {
            EXPECT_EQ(nullCalls, (Calls{"RegisterClass", "ChangeDisplayMode", "MessageBox", "MessageBox"}));
            ExpectBox(1, "Program Will Now Close.", "ERROR", MB_OK_, MB_ICONSTOP_);
        } else {
            // Windowed: no hidden cursor and no display mode to give back.
            EXPECT_EQ(nullWindowTitle, "Kav");
            EXPECT_FALSE(nullWindowFullscreen);
            for (const auto &call : nullCalls) EXPECT_TRUE(call != "ShowCursor(0)" && call != "RestoreDisplayMode");
        }
    }
}

TEST_F(CreateWindowTest, EveryReleaseFailureIsReportedAndTheReleaseGoesOnAndOnlyPictureBoxesHaveAnOwner) {
    WindowStep failed = STEP_NONE;
    ASSERT_TRUE(PlatformOpenWindow(WindowRequest{WINDOW_TITLE, WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_BITS, WINDOW_DEPTH_BITS, true}, &failed));
    haveWindow = true;
    nullCalls.clear();
    nullFailSteps = {"ReleaseCurrent", "DeleteContext", "ReleaseDeviceContext", "DestroyWindow", "UnregisterClass"};
    DestroyGameWindow();
    // The release runs to its end; the boxes then tell each failure in the order it came.
    EXPECT_EQ(nullCalls, (Calls{"RestoreDisplayMode", "ShowCursor(1)", "ReleaseCurrent", "DeleteContext",
                                "ReleaseDeviceContext", "DestroyWindow", "UnregisterClass", "MessageBox",
                                "MessageBox", "MessageBox", "MessageBox", "MessageBox"}));
    EXPECT_FALSE(haveWindow || NullHoldsWindow());

    const char *texts[] = {"Release Of DC And RC Failed.", "Release Rendering Context Failed.",
                           "Release Device Context Failed.", "Could Not Release hWnd.", "Could Not Unregister Class."};
    ASSERT_EQ(nullMessageBoxes.size(), 5u);
    for (int i = 0; i < 5; i++) ExpectBox(i, texts[i], "SHUTDOWN ERROR", MB_OK_, MB_ICONINFORMATION_);
    // Whatever failed is forgotten: a second release has nothing left to release.
    nullCalls.clear();
    fullscreen = false;
    DestroyGameWindow();
    EXPECT_EQ(nullCalls, (Calls{"UnregisterClass", "MessageBox"}));
    // A picture that cannot be read is told over the open window, owned by it.
    nullFailSteps.clear();
    ASSERT_TRUE(PlatformOpenWindow(WindowRequest{WINDOW_TITLE, WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_BITS, WINDOW_DEPTH_BITS, false}, &failed));
    nullMessageBoxes.clear();
    ShowPictureFailure("Unknown DIB file format.");
    ASSERT_EQ(nullMessageBoxes.size(), 1u);
    EXPECT_TRUE(nullMessageBoxes[0].owned);
}
