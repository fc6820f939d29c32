// Shared pieces of the drawing tests: one offscreen GL context, pixel and texel reads, test pictures.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "render/gl.h"
#include "render/render.h"
#include "render/state.h"
#include "tests/unit/test_files.h"
#include "world/world.h"

using Bytes = std::vector<uint8_t>;

// Every GL test starts as the game does after start-up: the window's view, InitRenderState freshly
// run, empty world, start display settings, no textures, a black colour buffer, a fresh null
// platform record. `dir` is a folder of its own for files, removed afterwards.
class RenderTest : public FolderTest {
protected:
    void SetUp() override;
};

// "r g b" of one pixel (window coordinates, origin bottom-left).
std::string Colour(int x, int y);
// The window's colour buffer as RGBA, rows from the bottom.
Bytes ReadScreen();
// "left right bottom top" of the pixels of rows >= fromRow whose `channel` exceeds 127, with
// " gaps" added when the box is not solid; "none" when no pixel is lit.
std::string BoxText(const Bytes &screen, int channel = 0, int fromRow = 0);

// Textures made directly: nearest filtering, clamped, rows from the bottom.
unsigned int MakeTexture(int w, int h, const Bytes &rgba);
unsigned int SolidTexture(int r, int g, int b, int a = 255);
unsigned int RedBlueTexture();   // 2 by 1 texels: red on the left, blue on the right

