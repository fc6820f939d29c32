// Offscreen GL context and helpers shared by the drawing, picture and window tests.
#include "tests/gl/test_render_gl.h"

#include <SDL.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/null/null_platform.h"
#include "shell/window.h"

namespace {

SDL_Window *window;
SDL_GLContext context;

class RenderEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        for (SDL_GLattr a : {SDL_GL_RED_SIZE, SDL_GL_GREEN_SIZE, SDL_GL_BLUE_SIZE, SDL_GL_ALPHA_SIZE})
            SDL_GL_SetAttribute(a, 8);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        window = SDL_CreateWindow("render tests", 0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        context = SDL_GL_CreateContext(window);
        ASSERT_NE(context, nullptr) << SDL_GetError();
    }
    void TearDown() override {
        if (context) SDL_GL_DeleteContext(context);
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
    }
};

::testing::Environment *const renderEnvironment = ::testing::AddGlobalTestEnvironment(new RenderEnvironment);

}  // namespace

void RenderTest::SetUp() {
    ASSERT_NE(context, nullptr);
    ASSERT_EQ(SDL_GL_MakeCurrent(window, context), 0);
    FolderTest::SetUp();
    NullPlatformReset();
    ResetWorld();
    viewScale = 3.125f;
    showBackground = showOverlay = true;
    showInfo = showTiles = false;
    fontTexture = backgroundTexture = craftTexture = cannonTexture = twowaysTexture = 0;
    for (unsigned int *table : {heroTextures, tileTextures, shotTextures, explosionTextures})
        std::memset(table, 0, sizeof heroTextures);
    std::memset(overlayTextures, 0, sizeof overlayTextures);
    std::memset(cellingTextures, 0, sizeof cellingTextures);
    std::memset(sondaTextures, 0, sizeof sondaTextures);
    std::memset(trainTextures, 0, sizeof trainTextures);
    DeleteFontLists();
    ASSERT_TRUE(InitRenderState());
    ResizeView(WINDOW_WIDTH, WINDOW_HEIGHT);
    glDisable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor4f(1, 1, 1, 1);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

std::string Colour(int x, int y) {
    uint8_t p[4] = {0, 0, 0, 0};
    glFinish();
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return std::to_string(p[0]) + " " + std::to_string(p[1]) + " " + std::to_string(p[2]);
}

Bytes ReadScreen() {
    Bytes screen(WINDOW_WIDTH * WINDOW_HEIGHT * 4);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, WINDOW_WIDTH, WINDOW_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, screen.data());
    return screen;
}

std::string BoxText(const Bytes &screen, int channel, int fromRow) {
    int l = 1 << 30, r = -1, b = 1 << 30, t = -1, lit = 0;
    for (int y = fromRow; y < WINDOW_HEIGHT; y++)
        for (int x = 0; x < WINDOW_WIDTH; x++)
            if (screen[(y * WINDOW_WIDTH + x) * 4 + channel] > 127) {
                l = std::min(l, x), r = std::max(r, x), b = std::min(b, y), t = std::max(t, y);
                lit++;
            }
    if (r < 0) return "none";
    const std::string box = std::to_string(l) + " " + std::to_string(r) + " " + std::to_string(b) + " " +
                            std::to_string(t);
    return lit == (r - l + 1) * (t - b + 1) ? box : box + " gaps";
}

unsigned int MakeTexture(int w, int h, const Bytes &rgba) {
    unsigned int name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}

unsigned int SolidTexture(int r, int g, int b, int a) {
    return MakeTexture(1, 1, {(uint8_t)r, (uint8_t)g, (uint8_t)b, (uint8_t)a});
}

unsigned int RedBlueTexture() { return MakeTexture(2, 1, {255, 0, 0, 255, 0, 0, 255, 255}); }

