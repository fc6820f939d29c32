// Drawing tests: the fixed GL state, the viewport, and the sprite quads on real pixels.
#include "tests/gl/test_render_gl.h"

#include <cmath>

using RenderState = RenderTest;
using Sprites = RenderTest;

TEST_F(RenderState, InitTurnsOnTexturingAndDepthTestSetsTheFunctionsAndBuildsTheFont) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_ONE, GL_ZERO);
    DeleteFontLists();
    ASSERT_TRUE(InitRenderState());
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D) && glIsEnabled(GL_DEPTH_TEST) && !glIsEnabled(GL_BLEND));
    const GLenum state[][2] = {{GL_DEPTH_FUNC, GL_LEQUAL}, {GL_BLEND_SRC, GL_SRC_ALPHA},
                               {GL_BLEND_DST, GL_ONE_MINUS_SRC_ALPHA}, {GL_SHADE_MODEL, GL_SMOOTH}};
    for (const auto &s : state) {
        GLint v = 0;
        glGetIntegerv(s[0], &v);
        EXPECT_EQ((GLenum)v, s[1]) << s[0];
    }
    const unsigned int base = fontListBase;
    ASSERT_NE(base, 0u);
    EXPECT_TRUE(glIsList(base) && glIsList(base + 255) && !glIsList(base + 256));
    DeleteFontLists();
    EXPECT_FALSE(glIsList(base) || glIsList(base + 255));
}

TEST_F(RenderState, ResizeViewCoversTheWindowAndNeverMakesAnEmptyHeight) {
    GLint vp[4];
    ResizeView(640, 0);
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(std::vector<GLint>(vp, vp + 4), (std::vector<GLint>{0, 0, 640, 1}));
}

TEST_F(Sprites, QuadsCoverExactlyTheirTruncatedEdgesAndStaySafeFarAway) {
    struct Case { float x, y, w, h, ox, oy, scale, shift; bool mirrored; const char *box; };
    const Case cases[] = {
        {136, 16, 32, 24, 16, 1, 3.125f, 0, false, "375 474 46 120"},    // a hero, solid
        // half the scale: left trunc(187.5), right trunc(237.5) - 1, bottom trunc(23.4375), top 60 - 1
        {136, 16, 32, 24, 16, 1, 1.5625f, 0, true, "187 236 23 59"},
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
