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
    GLint v = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &v);
    EXPECT_EQ(v, GL_LEQUAL);
    glGetIntegerv(GL_BLEND_SRC, &v);
    EXPECT_EQ(v, GL_SRC_ALPHA);
    glGetIntegerv(GL_BLEND_DST, &v);
    EXPECT_EQ(v, GL_ONE_MINUS_SRC_ALPHA);
    glGetIntegerv(GL_SHADE_MODEL, &v);
    EXPECT_EQ(v, GL_SMOOTH);
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
    EXPECT_EQ(vp[0], 0);
    EXPECT_EQ(vp[1], 0);
    EXPECT_EQ(vp[2], 640);
    EXPECT_EQ(vp[3], 1);

    // Any aspect: the whole 800 by 600 screen space is stretched over the viewport.
    ResizeView(400, 100);
    LoadScreenSpace();
    DrawSprite(0, 0, 128, 192, 0, 0);   // the left half of the playfield
    const std::vector<uint8_t> screen = ReadScreen();
    int l, r, b, t;
    ASSERT_TRUE(BrightBox(screen, &l, &r, &b, &t));
    EXPECT_EQ(l, 0);
    EXPECT_EQ(r, 199);
    EXPECT_EQ(b, 0);
    EXPECT_EQ(t, 99);
}

TEST_F(Sprites, HeroSizedSpriteCoversExactlyItsTruncatedEdges) {
    LoadScreenSpace();
    glDisable(GL_TEXTURE_2D);
    DrawSprite(136, 16, 32, 24, 16, 1);
    const std::vector<uint8_t> screen = ReadScreen();
    int l, r, b, t;
    ASSERT_TRUE(BrightBox(screen, &l, &r, &b, &t));
    EXPECT_EQ(l, 375);
    EXPECT_EQ(r, 474);
    EXPECT_EQ(b, 46);
    EXPECT_EQ(t, 120);
    EXPECT_EQ(CountBright(screen, 375, 474, 46, 120), 100 * 75);   // solid, no holes

    // Half the scale: the same sprite shrinks towards the screen origin.
    glClear(GL_COLOR_BUFFER_BIT);
    viewScale = 1.5625f;
    DrawSpriteMirrored(136, 16, 32, 24, 16, 1);
    ASSERT_TRUE(BrightBox(ReadScreen(), &l, &r, &b, &t));
    EXPECT_EQ(l, 187);   // trunc(187.5)
    EXPECT_EQ(r, 236);   // right edge trunc(237.5) = 237
    EXPECT_EQ(b, 23);    // trunc(23.4375)
    EXPECT_EQ(t, 59);    // top edge trunc(60.9375) = 60
}

TEST_F(Sprites, EdgesTruncateTowardZeroOnBothSidesOfTheOrigin) {
    LoadScreenSpace();
    glDisable(GL_TEXTURE_2D);
    glTranslatef(10, 10, 0);   // bring negative edges into view
    // left = trunc(-0.5) = 0 (not -1), right = trunc(-0.5 + 10.9375) = 10 (not 11),
    // bottom = trunc(-1.5625) = -1 (not -2), top = trunc(-1.5625 + 6.25) = 4 (not 5).
    DrawSprite(-0.16f, -0.5f, 3.5f, 2.0f, 0, 0);
    int l, r, b, t;
    ASSERT_TRUE(BrightBox(ReadScreen(), &l, &r, &b, &t));
    EXPECT_EQ(l, 10);
    EXPECT_EQ(r, 19);
    EXPECT_EQ(b, 9);
    EXPECT_EQ(t, 13);
}

TEST_F(Sprites, HugeAndNonNumberCoordinatesStaySafe) {
    LoadScreenSpace();
    glDisable(GL_TEXTURE_2D);
    DrawSprite(3e38f, 3e38f, 8, 8, 0, 0);   // far away: nothing on screen
    DrawSprite(0.0f / 0.0f, 10, 8, 8, 0, 0);
    int l, r, b, t;
    EXPECT_FALSE(BrightBox(ReadScreen(), &l, &r, &b, &t));
    // A sprite reaching far past every side still covers the whole screen.
    DrawSprite(-1e30f, -1e30f, 3e30f, 3e30f, 0, 0);
    ASSERT_TRUE(BrightBox(ReadScreen(), &l, &r, &b, &t));
    EXPECT_EQ(CountBright(ReadScreen(), 0, 799, 0, 599), 800 * 600);
}

TEST_F(Sprites, MirroredDrawerFlipsThePictureButNotTheQuad) {
    LoadScreenSpace();
    const unsigned int tex = LeftRedRightBlueTexture();
    glBindTexture(GL_TEXTURE_2D, tex);
    DrawSprite(0, 0, 32, 16, 0, 0);            // screen 0..100 by 0..50
    DrawSpriteMirrored(0, 32, 32, 16, 0, 0);   // screen 0..100 by 100..150
    const Rgba upLeft = ReadPixel(10, 25), upRight = ReadPixel(90, 25);
    const Rgba mirLeft = ReadPixel(10, 125), mirRight = ReadPixel(90, 125);
    EXPECT_EQ(upLeft.r, 255);
    EXPECT_EQ(upLeft.b, 0);
    EXPECT_EQ(upRight.b, 255);
    EXPECT_EQ(mirLeft.b, 255);
    EXPECT_EQ(mirLeft.r, 0);
    EXPECT_EQ(mirRight.r, 255);
    // The drawers leave the binding and colour alone.
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ((unsigned int)bound, tex);
    EXPECT_EQ(ReadPixel(99, 149).r, 255);
    EXPECT_EQ(ReadPixel(100, 149).r + ReadPixel(100, 149).b, 0);
}
