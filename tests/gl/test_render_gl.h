// Shared pieces of the drawing tests: one offscreen GL context per test binary, pixel reads, test textures.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/gl.h"
#include "render/render.h"
#include "render/textures.h"
#include "shell/settings.h"
#include "world/world.h"

struct Rgba {
    int r, g, b, a;
};

// The window and context of the drawing tests (offscreen under SDL_VIDEODRIVER=offscreen).
struct RenderContext {
    SDL_Window *window = nullptr;
    SDL_GLContext context = nullptr;
};
RenderContext &TheRenderContext();

// Every drawing test starts from the state the game has after start-up: 800 by 600 viewport,
// InitRenderState freshly run, empty world, start display settings, no textures loaded,
// and a black colour buffer.
class RenderTest : public ::testing::Test {
protected:
    void SetUp() override;
};

// Reads one pixel of the colour buffer (window coordinates, origin bottom-left).
Rgba ReadPixel(int x, int y);
// Reads the whole 800 by 600 colour buffer, rows from the bottom.
std::vector<uint8_t> ReadScreen();
// Bounding box of the pixels whose red channel exceeds 127; false when there are none.
bool BrightBox(const std::vector<uint8_t> &screen, int *left, int *right, int *bottom, int *top);
// That box as "left right bottom top", or "none": one comparison per sprite in the tests.
std::string BoxText(const std::vector<uint8_t> &screen);
// Counts the pixels inside [left, right] by [bottom, top] whose red channel exceeds 127.
int CountBright(const std::vector<uint8_t> &screen, int left, int right, int bottom, int top);

// A texture of w by h texels, rows from the bottom, nearest filtering, clamped.
unsigned int MakeTexture(int w, int h, const std::vector<uint8_t> &rgba);
unsigned int SolidTexture(int r, int g, int b, int a = 255);
// 2 by 1 texels: red on the left, blue on the right.
unsigned int LeftRedRightBlueTexture();
// A font sheet whose glyph cell n is coloured (n, 255, 0); with `only` >= 0 only that glyph
// is lit and every other cell is black.
unsigned int CodedFontTexture(int only = -1);

// The frame's screen-space projection and an identity modelview, for drawing sprites alone.
void LoadScreenSpace();
// Decodes a line printed with CodedFontTexture at (x, y): one character per 13 units.
std::string ReadTextLine(int x, int y);
