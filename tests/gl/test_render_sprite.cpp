// Drawing tests: the fixed GL state, the viewport, and the sprite quads on real pixels.
#include "tests/gl/test_render_gl.h"

using RenderState = RenderTest;
using Sprites = RenderTest;

TEST_F(RenderState, InitLeavesTexturingAndDepthTestOnBlendingOffAndBuildsTheFont) {
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_ONE, GL_ZERO);
    DeleteFontLists();
    ASSERT_TRUE(InitRenderState());

    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    const GLenum state[][2] = {{GL_DEPTH_FUNC, GL_LEQUAL}, {GL_BLEND_SRC, GL_SRC_ALPHA},
                               {GL_BLEND_DST, GL_ONE_MINUS_SRC_ALPHA}, {GL_SHADE_MODEL, GL_SMOOTH}};
    for (const auto &s : state) {
        GLint v = 0;
        glGetIntegerv(s[0], &v);
        EXPECT_EQ((GLenum)v, s[1]) << s[0];
    }
    ASSERT_NE(fontListBase, 0u);
    EXPECT_TRUE(glIsList(fontListBase));
    EXPECT_TRUE(glIsList(fontListBase + 255));
    EXPECT_FALSE(glIsList(fontListBase + 256));

    const unsigned int base = fontListBase;
    DeleteFontLists();
    EXPECT_FALSE(glIsList(base));
    EXPECT_FALSE(glIsList(base + 255));
}

TEST_F(RenderState, ResizeViewCoversTheWindowAndNeverMakesAnEmptyHeight) {
    GLint vp[4];
    ResizeView(640, 0);
    glGetIntegerv(GL_VIEWPORT, vp);
    EXPECT_EQ(vp[0] + vp[1], 0);
    EXPECT_EQ(vp[2], 640);
    EXPECT_EQ(vp[3], 1);

    // Any aspect: the whole 800 by 600 screen space is stretched over the viewport.
    ResizeView(400, 100);
    LoadScreenSpace();
    DrawSprite(0, 0, 128, 192, 0, 0);   // the left half of the playfield
    EXPECT_EQ(BoxText(ReadScreen()), "0 199 0 99");
}

TEST_F(Sprites, HeroSizedSpriteCoversExactlyItsTruncatedEdges) {
    LoadScreenSpace();
    glDisable(GL_TEXTURE_2D);
    DrawSprite(136, 16, 32, 24, 16, 1);
    const std::vector<uint8_t> screen = ReadScreen();
    EXPECT_EQ(BoxText(screen), "375 474 46 120");
    EXPECT_EQ(CountBright(screen, 375, 474, 46, 120), 100 * 75);   // solid, no holes

    // Half the scale: the same sprite shrinks towards the screen origin.
    glClear(GL_COLOR_BUFFER_BIT);
    viewScale = 1.5625f;
    DrawSpriteMirrored(136, 16, 32, 24, 16, 1);
    // left trunc(187.5), right edge trunc(237.5), bottom trunc(23.4375), top edge trunc(60.9375)
    EXPECT_EQ(BoxText(ReadScreen()), "187 236 23 59");
}

TEST_F(Sprites, EdgesTruncateTowardZeroOnBothSidesOfTheOrigin) {
    LoadScreenSpace();
    glDisable(GL_TEXTURE_2D);
    glTranslatef(10, 10, 0);   // bring negative edges into view
    // left = trunc(-0.5) = 0 (not -1), right = trunc(-0.5 + 10.9375) = 10 (not 11),
    // bottom = trunc(-1.5625) = -1 (not -2), top = trunc(-1.5625 + 6.25) = 4 (not 5).
    DrawSprite(-0.16f, -0.5f, 3.5f, 2.0f, 0, 0);
    EXPECT_EQ(BoxText(ReadScreen()), "10 19 9 13");
}

TEST_F(Sprites, HugeAndNonNumberCoordinatesStaySafe) {
    LoadScreenSpace();
    glDisable(GL_TEXTURE_2D);
    DrawSprite(3e38f, 3e38f, 8, 8, 0, 0);   // far away: nothing on screen
    DrawSprite(0.0f / 0.0f, 10, 8, 8, 0, 0);
    EXPECT_EQ(BoxText(ReadScreen()), "none");
    // A sprite reaching far past every side still covers the whole screen.
    DrawSprite(-1e30f, -1e30f, 3e30f, 3e30f, 0, 0);
    EXPECT_EQ(CountBright(ReadScreen(), 0, 799, 0, 599), 800 * 600);
}

TEST_F(Sprites, MirroredDrawerFlipsThePictureButNotTheQuad) {
    LoadScreenSpace();
    const unsigned int tex = LeftRedRightBlueTexture();
    glBindTexture(GL_TEXTURE_2D, tex);
    DrawSprite(0, 0, 32, 16, 0, 0);            // screen 0..100 by 0..50
    DrawSpriteMirrored(0, 32, 32, 16, 0, 0);   // screen 0..100 by 100..150
    // Red then blue upright, blue then red mirrored.
    EXPECT_EQ(ReadPixel(10, 25).r - ReadPixel(10, 25).b, 255);
    EXPECT_EQ(ReadPixel(90, 25).b - ReadPixel(90, 25).r, 255);
    EXPECT_EQ(ReadPixel(10, 125).b - ReadPixel(10, 125).r, 255);
    EXPECT_EQ(ReadPixel(90, 125).r - ReadPixel(90, 125).b, 255);
    // The drawers leave the binding and colour alone.
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ((unsigned int)bound, tex);
    EXPECT_EQ(ReadPixel(99, 149).r, 255);
    EXPECT_EQ(ReadPixel(100, 149).r + ReadPixel(100, 149).b, 0);
}
