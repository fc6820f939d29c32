// Drawing tests: glyph placement, character sets and the state the text printer leaves.
#include "tests/gl/test_render_gl.h"

#include <string>

using Font = RenderTest;

TEST_F(Font, TwoLettersLandOnTheirCellsAndOverlapByThreeUnits) {
    fontTexture = CodedFontTexture();
    PrintText(10, 10, 0, "AB");
    const std::vector<uint8_t> screen = ReadScreen();
    // Every glyph pixel has green 255; the red channel names the glyph.
    auto green = [&](int x, int y) { return screen[(y * 800 + x) * 4 + 1]; };
    auto glyph = [&](int x, int y) { return (int)screen[(y * 800 + x) * 4]; };
    EXPECT_EQ(green(9, 15), 0);
    EXPECT_EQ(green(10, 10), 255);
    EXPECT_EQ(green(38, 25), 255);
    EXPECT_EQ(green(39, 15), 0);
    EXPECT_EQ(green(20, 26), 0);
    EXPECT_EQ(green(20, 9), 0);
    EXPECT_EQ(glyph(10, 10), 33);   // 'A' is glyph 65 - 32
    EXPECT_EQ(glyph(22, 25), 33);
    EXPECT_EQ(glyph(23, 10), 34);   // 'B' starts 13 units on and is drawn over 'A'
    EXPECT_EQ(glyph(38, 25), 34);

    // Text ignores viewScale: the same call at another zoom draws the same pixels.
    glClear(GL_COLOR_BUFFER_BIT);
    viewScale = 1.0f;
    PrintText(10, 10, 0, "AB");
    EXPECT_EQ(ReadScreen(), screen);
}

TEST_F(Font, CharacterSetsPickTheSheetHalvesAndClampOutsideZeroToOne) {
    fontTexture = CodedFontTexture();
    PrintText(0, 0, 1, "A");
    PrintText(0, 100, 5, "A");
    PrintText(100, 100, 2, "A");
    PrintText(0, 200, -3, "A");
    PrintText(0, 300, 0, "A\nB\x90" "C");   // no glyph for a newline or byte 144 in set 0: skipped, no advance
    PrintText(0, 400, 1, "\x90" "A");       // bytes 128..159 have no glyph in set 1
    PrintText(0, 500, 1, "\xa1");           // byte 161 counts as -95: glyph 1 in set 1
    EXPECT_EQ(ReadPixel(8, 8).r, 161);
    EXPECT_EQ(ReadPixel(8, 108).r, 161);
    EXPECT_EQ(ReadPixel(108, 108).r, 161);
    EXPECT_EQ(ReadPixel(8, 208).r, 33);
    EXPECT_EQ(ReadTextLine(0, 300), "ABC");
    EXPECT_EQ(ReadPixel(8, 408).r, 161);
    EXPECT_EQ(ReadPixel(8, 508).r, 1);
}

TEST_F(Font, LongOutputIsCutAt255Characters) {
    fontTexture = CodedFontTexture();
    std::string text(255, 'A');
    text += std::string(100, 'B');
    // Glyph 255 would start at x = 65; glyph 254 (the last kept) covers 52..67.
    PrintText(-13 * 250, 0, 0, "%s", text.c_str());
    EXPECT_EQ(ReadPixel(60, 8).r, 33);
    EXPECT_EQ(ReadPixel(70, 8).g, 0);
}

TEST_F(Font, PrinterRestoresMatricesLeavesBlendOffDepthOnAndNullFormatChangesNothing) {
    fontTexture = CodedFontTexture();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(2, 2, 2);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(5, 6, 0);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    PrintText(100, 100, 0, "x = %d", 7);

    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_EQ(m[12], 5.0f);
    EXPECT_EQ(m[13], 6.0f);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_EQ(m[0], 2.0f);
    EXPECT_EQ(m[12], 0.0f);
    EXPECT_EQ(ReadTextLine(100, 100), "x = 7");

    // A null format: no drawing, no binding, no state change.
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, 0);
    const char *volatile none = nullptr;
    PrintText(0, 0, 0, none);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    EXPECT_EQ(BoxText(ReadScreen()), "none");
}
