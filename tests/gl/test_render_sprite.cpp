// Drawing tests: the sprite quads on real pixels.
#include "tests/gl/test_render_gl.h"

#include <cmath>

using Sprites = RenderTest;

TEST_F(Sprites, QuadsCoverExactlyTheirTruncatedEdgesAndStaySafeFarAway) {
    struct Case { float x, y, w, h, ox, oy, scale, shift; bool mirrored; const char *box; };
    const Case cases[] = {
        {HERO_START_X, HERO_START_Y, 32, 24, 16, 1, 3.125f, 0, false, "375 474 46 120"},    // a hero, solid
        // half the scale: left trunc(187.5), right trunc(237.5) - 1, bottom trunc(23.4375), top 60 - 1
        {HERO_START_X, HERO_START_Y, 32, 24, 16, 1, 1.5625f, 0, true, "187 236 23 59"},
        // shifted by 10: left trunc(-0.5) = 0, right trunc(10.4375) = 10, bottom trunc(-1.5625) = -1,
        // top trunc(4.6875) = 4; rounding down instead would move every edge
        {-0.16f, -0.5f, 3.5f, 2, 0, 0, 3.125f, 10, false, "10 19 9 13"},
        {3e38f, 3e38f, 8, 8, 0, 0, 3.125f, 0, false, "none"},
        {NAN, 10, 8, 8, 0, 0, 3.125f, 0, false, "none"},
        {-1e30f, -1e30f, 3e30f, 3e30f, 0, 0, 3.125f, 0, false, "0 799 0 599"},   // past every side
    };
    for (const Case &c : cases) {
        LoadScreenSpace();
        glDisable(GL_TEXTURE_2D);
        glClear(GL_COLOR_BUFFER_BIT);
        glTranslatef(c.shift, c.shift, 0);
        viewScale = c.scale;
        (c.mirrored ? DrawSpriteMirrored : DrawSprite)(c.x, c.y, c.w, c.h, c.ox, c.oy);
        EXPECT_EQ(BoxText(ReadScreen()), c.box) << c.x << " " << c.y << " scale " << c.scale;
    }
}

// Sprites drawn in runs give the very pixels of the same quads drawn one by one, each with its
// texture bound: overlapping and blended, upright and mirrored, at edges that truncate, with
// runs of one texture, a texture coming back after another, and texture 0 (untextured).
TEST_F(Sprites, RunsOfSpritesGiveThePixelsOfTheSameQuadsOneByOne) {
    const unsigned int textures[3] = {RedBlueTexture(), SolidTexture(40, 200, 90, 128), 0};
    struct Quad { int texture; uint8_t face; float x, y, w, h, ox, oy; };
    std::vector<Quad> quads;
    for (int i = 0; i < 60; i++)
        quads.push_back({(i / 3 + i % 2) % 3, uint8_t(i % 5 != 0), 3.3f * (float)i, 1.7f * (float)(i % 40),
                         8.0f + (float)(i % 4) * 4.0f, 8.0f + (float)(i % 3) * 8.0f, 4.0f, (float)(i % 2)});
    Bytes screens[2];
    for (int batched = 0; batched < 2; batched++) {
        LoadScreenSpace();
        glClear(GL_COLOR_BUFFER_BIT);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        viewScale = 3.3f;
        for (const Quad &q : quads) {
            if (batched) {
                BatchSprite(textures[q.texture], q.face, q.x, q.y, q.w, q.h, q.ox, q.oy);
            } else {
                glBindTexture(GL_TEXTURE_2D, textures[q.texture]);
                (q.face ? DrawSprite : DrawSpriteMirrored)(q.x, q.y, q.w, q.h, q.ox, q.oy);   // upright unless face 0
            }
        }
        EndSprites();
        screens[batched] = ReadScreen();
    }
    EXPECT_NE(BoxText(screens[0]), "none");
    EXPECT_TRUE(screens[0] == screens[1]);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), textures[quads.back().texture]);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));   // no glEnd left open
}
