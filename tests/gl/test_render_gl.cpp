// Offscreen GL context and helpers for the drawing tests.
#include "tests/gl/test_render_gl.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

class RenderEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        RenderContext &rc = TheRenderContext();
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        rc.window = SDL_CreateWindow("render tests", 0, 0, 800, 600,
                                     SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(rc.window, nullptr) << SDL_GetError();
        rc.context = SDL_GL_CreateContext(rc.window);
        ASSERT_NE(rc.context, nullptr) << SDL_GetError();
        ASSERT_TRUE(InitRenderState());
    }
    void TearDown() override {
        RenderContext &rc = TheRenderContext();
        if (rc.context) SDL_GL_DeleteContext(rc.context);
        if (rc.window) SDL_DestroyWindow(rc.window);
        SDL_Quit();
    }
};

::testing::Environment *const renderEnvironment =
    ::testing::AddGlobalTestEnvironment(new RenderEnvironment);

}  // namespace

RenderContext &TheRenderContext() {
    static RenderContext rc;
    return rc;
}

void RenderTest::SetUp() {
    RenderContext &rc = TheRenderContext();
    ASSERT_NE(rc.context, nullptr);
    ASSERT_EQ(SDL_GL_MakeCurrent(rc.window, rc.context), 0);
    ResetWorld();
    viewScale = 3.125f;
    showBackground = true;
    showOverlay = true;
    showInfo = false;
    showTiles = false;
    fontTexture = backgroundTexture = craftTexture = cannonTexture = twowaysTexture = 0;
    for (unsigned int *table : {heroTextures, tileTextures, shotTextures, explosionTextures})
        std::memset(table, 0, sizeof heroTextures);
    std::memset(overlayTextures, 0, sizeof overlayTextures);
    std::memset(cellingTextures, 0, sizeof cellingTextures);
    std::memset(sondaTextures, 0, sizeof sondaTextures);
    std::memset(trainTextures, 0, sizeof trainTextures);

    DeleteFontLists();
    ASSERT_TRUE(InitRenderState());
    ResizeView(800, 600);
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

Rgba ReadPixel(int x, int y) {
    uint8_t p[4] = {0, 0, 0, 0};
    glFinish();
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgba{p[0], p[1], p[2], p[3]};
}

std::vector<uint8_t> ReadScreen() {
    std::vector<uint8_t> screen(800 * 600 * 4);
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, screen.data());
    return screen;
}

bool BrightBox(const std::vector<uint8_t> &screen, int *left, int *right, int *bottom, int *top) {
    *left = *bottom = 1 << 30;
    *right = *top = -1;
    for (int y = 0; y < 600; y++)
        for (int x = 0; x < 800; x++)
            if (screen[(y * 800 + x) * 4] > 127) {
                *left = std::min(*left, x), *right = std::max(*right, x);
                *bottom = std::min(*bottom, y), *top = std::max(*top, y);
            }
    return *right >= 0;
}

std::string BoxText(const std::vector<uint8_t> &screen) {
    int l, r, b, t;
    if (!BrightBox(screen, &l, &r, &b, &t)) return "none";
    return std::to_string(l) + " " + std::to_string(r) + " " + std::to_string(b) + " " + std::to_string(t);
}

int CountBright(const std::vector<uint8_t> &screen, int left, int right, int bottom, int top) {
    int n = 0;
    for (int y = bottom; y <= top; y++)
        for (int x = left; x <= right; x++) n += screen[(y * 800 + x) * 4] > 127;
    return n;
}

unsigned int MakeTexture(int w, int h, const std::vector<uint8_t> &rgba) {
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

unsigned int LeftRedRightBlueTexture() {
    return MakeTexture(2, 1, {255, 0, 0, 255, 0, 0, 255, 255});
}

unsigned int CodedFontTexture(int only) {
    std::vector<uint8_t> sheet(256 * 256 * 4);
    for (int y = 0; y < 256; y++) {
        for (int x = 0; x < 256; x++) {
            const int n = 16 * (15 - y / 16) + x / 16;   // texel rows run bottom up, cells top down
            const bool lit = only < 0 || only == n;
            uint8_t *p = &sheet[(y * 256 + x) * 4];
            p[0] = lit ? (uint8_t)n : 0;
            p[1] = lit ? 255 : 0;
            p[2] = 0;
            p[3] = 255;
        }
    }
    return MakeTexture(256, 256, sheet);
}

void LoadScreenSpace() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, 800.0, 0.0, 600.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
}

std::string ReadTextLine(int x, int y) {
    std::string text;
    for (int k = 0; x + 13 * k + 8 < 800; k++) {
        const Rgba p = ReadPixel(x + 13 * k + 8, y + 8);
        if (p.g < 128) break;
        text += (char)(p.r + 32);
    }
    return text;
}
