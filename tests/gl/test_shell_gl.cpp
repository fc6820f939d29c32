// The window steps that need a real GL context: size messages and a whole creation. (The F1
// toggle is the window run's: a new window titled KAV, full screen and back; and the Wine run's:
// its pictures after F1.)
#include "tests/gl/test_render_gl.h"

#include <cstring>

#include "platform/null/null_platform.h"
#include "shell/state.h"
#include "shell/window.h"
#include "world/world.h"

namespace {

class ShellGl : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        std::memset(KeyState, 0, sizeof KeyState);
        fullscreen = appActive = true;
        haveWindow = false;
    }
};

std::vector<GLint> Viewport() {
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    return std::vector<GLint>(v, v + 4);
}

}  // namespace

TEST_F(ShellGl, SizeMessagesSetTheViewportWhileAWindowIsOpen) {
    GameWindowProc({MSG_SIZE, 0, 640 | (480 << 16)});   // no window: no view to change
    EXPECT_EQ(Viewport(), (std::vector<GLint>{0, 0, WINDOW_WIDTH, WINDOW_HEIGHT}));
    haveWindow = true;
    GameWindowProc({MSG_SIZE, 0, 640 | (480 << 16)});
    EXPECT_EQ(Viewport(), (std::vector<GLint>{0, 0, 640, 480}));
    GameWindowProc({MSG_SIZE, 0, 640});   // never an empty height
    EXPECT_EQ(Viewport(), (std::vector<GLint>{0, 0, 640, 1}));
}

TEST_F(ShellGl, CreationShowsTheWindowThenSetsTheViewAndStateAndReleaseUndoesIt) {
    DeleteFontLists();
    glViewport(0, 0, 10, 10);
    glDisable(GL_DEPTH_TEST);
    ASSERT_TRUE(CreateGameWindow(WINDOW_TITLE, WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_BITS, false));
    EXPECT_TRUE(haveWindow);
    EXPECT_EQ(nullCalls, (std::vector<std::string>{"RegisterClass", "CreateWindow", "GetDeviceContext",
                                                   "ChoosePixelFormat", "SetPixelFormat", "CreateContext",
                                                   "MakeCurrent", "ShowWindow"}));
    EXPECT_TRUE(nullMessageBoxes.empty());
    EXPECT_FALSE(fullscreen);
    EXPECT_EQ(Viewport(), (std::vector<GLint>{0, 0, WINDOW_WIDTH, WINDOW_HEIGHT}));
    EXPECT_TRUE(fontListBase != 0 && glIsEnabled(GL_DEPTH_TEST));
    DestroyGameWindow();
    EXPECT_EQ(fontListBase, 0u);
    EXPECT_FALSE(haveWindow);
}
