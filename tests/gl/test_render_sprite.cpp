// Drawing tests: the viewport and the sprite quads on real pixels.
#include "tests/gl/test_render_gl.h"

#include <cmath>

using RenderState = RenderTest;
using Sprites = RenderTest;

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
