// Drawing tests: glyph placement, skipped bytes, the cut and the state the text printer leaves.
#include "tests/gl/test_render_gl.h"
#include "render/render.h"

#include <string>

// A font sheet whose glyph cell n is coloured (n, 255, 0).
static unsigned int CodedFontTexture() {
    Bytes sheet(256 * 256 * 4);
    for (int y = 0; y < 256; y++) {
        for (int x = 0; x < 256; x++) {
            const int n = 16 * (15 - y / 16) + x / 16;   // texel rows run bottom up, cells top down
            uint8_t *p = &sheet[(y * 256 + x) * 4];
            p[0] = (uint8_t)n;
            p[1] = p[3] = 255;
        }
    }
    return MakeTexture(256, 256, sheet);
}

// Decodes a line printed with CodedFontTexture at (x, y): one character per 13 units.
static std::string ReadTextLine(int x, int y) {
    std::string text;
    for (int k = 0; x + 13 * k + 8 < SCREEN_WIDTH; k++) {
        uint8_t p[4];
        glReadPixels(x + 13 * k + 8, y + 8, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        if (p[1] < 128) break;
        text += (char)(p[0] + 32);
    }
    return text;
}

// Every font test prints with the coded sheet: glyph n lit as (n, 255, 0).
class Font : public RenderTest {
    void SetUp() override {
        RenderTest::SetUp();
        fontTexture = CodedFontTexture();
    }
};

TEST_F(Font, GlyphsAreSixteenUnitsAndAdvanceThirteenAndBytesWithoutAGlyphAreSkipped) {
    PrintText(10, 10, 0, "AB");
    EXPECT_EQ(BoxText(ReadScreen(), 1), "10 38 10 25");   // green marks every glyph pixel
    // 'A' is glyph 65 - 32 = 33; 'B' starts 13 units on and is drawn over 'A'.
    EXPECT_EQ(Colour(22, 25) + " " + Colour(23, 10), "33 255 0 34 255 0");
    PrintText(0, 300, 0, "A\nB\x90" "C");   // no glyph for a newline or byte 144 in set 0: no advance
    EXPECT_EQ(ReadTextLine(0, 300), "ABC");
}

TEST_F(Font, LongOutputIsCutAt255Characters) {
    const std::string text = std::string(255, 'A') + std::string(100, 'B');
    // Glyph 255 would start at x = 65; glyph 254 (the last kept) covers 52..67.
    PrintText(-13 * 250, 0, 0, "%s", text.c_str());
    EXPECT_EQ(BoxText(ReadScreen(), 1), "0 67 0 15");
}

TEST_F(Font, PrinterRestoresMatricesAndLeavesBlendOffDepthOn) {
    glMatrixMode(GL_PROJECTION);
    glScalef(2, 2, 2);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(5, 6, 0);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    PrintText(100, 100, 0, "x = %d", 7);
    EXPECT_EQ(ReadTextLine(100, 100), "x = 7");
    EXPECT_TRUE(!glIsEnabled(GL_BLEND) && glIsEnabled(GL_DEPTH_TEST));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat mv[16], proj[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, mv);
    glGetFloatv(GL_PROJECTION_MATRIX, proj);
    EXPECT_TRUE(mv[12] == 5 && mv[13] == 6 && proj[0] == 2 && proj[12] == 0);
}

// A row of bits prints as each digit printed alone at its place, 2 units apart.
TEST_F(Font, BitRowsPrintAsEachDigitAlone) {
    uint8_t bits[300];
    for (int i = 0; i < 300; i++) bits[i] = uint8_t((i * 7) % 3 == 0 ? 1 : 0);
    Bytes screens[2];
    for (int alone = 0; alone < 2; alone++) {
        glClear(GL_COLOR_BUFFER_BIT);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        if (alone) {
            for (int i = 0; i < 256; i++) PrintText(5 + 2 * i, 40, 0, "%d", bits[i]);   // at most 256
        } else {
            BeginTextBlock();
            TextBits(5, 40, bits, 300);
            EndTextBlock();
        }
        screens[alone] = ReadScreen();
    }
    EXPECT_TRUE(screens[0] == screens[1]);
}
