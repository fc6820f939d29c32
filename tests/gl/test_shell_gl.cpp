// The window steps that need a real GL context: size messages, a whole creation, the toggle.
#include "test_render_gl.h"

#include <cstring>

#include "platform/null_platform.h"
#include "shell/frame.h"
#include "shell/keys.h"
#include "shell/window.h"

class ShellGlTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        NullPlatformReset();
        std::memset(KeyState, 0, sizeof KeyState);
        fullscreen = true;
        appActive = true;
        haveWindow = false;
    }
    void TearDown() override { NullPlatformReset(); }

    static void Viewport(int v[4]) { glGetIntegerv(GL_VIEWPORT, v); }
};

TEST_F(ShellGlTest, SizeMessagesSetTheViewportOnceAContextExists) {
    int v[4];
    // Before the context exists, a size message leaves the view alone.
    GameWindowProc({MSG_SIZE, 0, 640 | (480 << 16)});
    Viewport(v);
    EXPECT_EQ(v[2], 800);
    EXPECT_EQ(v[3], 600);

    ASSERT_TRUE(PlatformCreateContext());
    GameWindowProc({MSG_SIZE, 0, 640 | (480 << 16)});
    Viewport(v);
    EXPECT_EQ(v[0], 0);
    EXPECT_EQ(v[1], 0);
    EXPECT_EQ(v[2], 640);
    EXPECT_EQ(v[3], 480);
}

TEST_F(ShellGlTest, CreationShowsTheWindowThenSetsTheViewAndStateAndReleaseUndoesIt) {
    DeleteFontLists();
    glViewport(0, 0, 10, 10);
    ASSERT_TRUE(CreateGameWindow("Kav", 800, 600, 32, false));
    EXPECT_EQ(nullCalls, (std::vector<std::string>{"RegisterClass", "CreateWindow", "GetDeviceContext",
                                                   "ChoosePixelFormat", "SetPixelFormat", "CreateContext",
                                                   "MakeCurrent", "ShowWindow"}));
    EXPECT_TRUE(nullMessageBoxes.empty());
    EXPECT_FALSE(fullscreen);
    int v[4];
    Viewport(v);
    EXPECT_EQ(v[2], 800);
    EXPECT_EQ(v[3], 600);
    EXPECT_NE(fontListBase, 0u);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));

    nullCalls.clear();
    DestroyGameWindow();
    EXPECT_EQ(nullCalls, (std::vector<std::string>{"ReleaseCurrent", "DeleteContext", "ReleaseDeviceContext",
                                                   "DestroyWindow", "UnregisterClass"}));
    EXPECT_EQ(fontListBase, 0u);
}

TEST_F(ShellGlTest, ToggleMakesANewWindowTitledKAVAndEveryPictureAgain) {
    ASSERT_TRUE(CreateGameWindow("Kav", 800, 600, 32, false));
    haveWindow = true;
    heroTextures[1] = 0;
    cannonTexture = 0;
    nullCalls.clear();
    KeyState[VK_F1_] = true;
    EXPECT_TRUE(UpdateDeveloperKeys());
    EXPECT_FALSE(KeyState[VK_F1_]);
    EXPECT_TRUE(fullscreen);
    EXPECT_TRUE(nullWindowFullscreen);
    EXPECT_EQ(nullWindowTitle, "KAV");
    // Released first, then made again with the mode change.
    ASSERT_GE(nullCalls.size(), 3u);
    EXPECT_EQ(nullCalls[0], "ReleaseCurrent");
    EXPECT_NE(std::find(nullCalls.begin(), nullCalls.end(), "ChangeDisplayMode"), nullCalls.end());
    // The asset table ran again: even without picture files every Targa slot holds a new name.
    EXPECT_NE(heroTextures[1], 0u);
    EXPECT_NE(cannonTexture, 0u);
    EXPECT_TRUE(haveWindow);
    DestroyGameWindow();
}
