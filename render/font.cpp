// Bitmap font: one display list per glyph of the 16 by 16 glyph sheet, and the text printer.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "render/gl.h"
#include "render/render.h"
#include "render/state.h"

static const int GLYPH_COUNT = 256;
static const int GLYPH_SIZE = 16;      // screen units
static const int GLYPH_ADVANCE = 13;
static const int BIT_ADVANCE = 2;
static const int BITS_MAX = 256;      // digits in one row of bits

unsigned int fontListBase;

// One glyph quad of sheet cell n with its lower left corner at (x, y).
static void GlyphQuad(int n, int x, int y) {
    const float left = (float)(n % 16) / 16.0f;
    const float right = left + 0.0625f;
    const float top = 1.0f - (float)(n / 16) / 16.0f;   // sheet rows count from the top
    const float bottom = top - 0.0625f;
    glTexCoord2f(left, bottom);  glVertex2i(x, y);
    glTexCoord2f(right, bottom); glVertex2i(x + GLYPH_SIZE, y);
    glTexCoord2f(right, top);    glVertex2i(x + GLYPH_SIZE, y + GLYPH_SIZE);
    glTexCoord2f(left, top);     glVertex2i(x, y + GLYPH_SIZE);
}

// Needs a current context; the font texture itself may come later, the lists never bind it.
// Each list is one glyph followed by the advance to the next.
void CreateFontLists() {
    fontListBase = glGenLists(GLYPH_COUNT);
    if (fontListBase == 0) return;   // no lists: the printer then draws no glyphs
    for (int n = 0; n < GLYPH_COUNT; n++) {
        glNewList(fontListBase + n, GL_COMPILE);
        glBegin(GL_QUADS);
        GlyphQuad(n, 0, 0);
        glEnd();
        glTranslated((double)GLYPH_ADVANCE, 0.0, 0.0);
        glEndList();
    }
}

// Called when the window and its context go away.
void DeleteFontLists() {
    if (fontListBase == 0) return;
    glDeleteLists(fontListBase, GLYPH_COUNT);
    fontListBase = 0;
}

// A block of text: the font bound, screen space of 800 by 600, blending on and the depth
// test off, and one run of quads for every line printed into it. EndTextBlock puts the
// matrices back, leaves blending off and the depth test on.
static bool blockOpen;   // a glBegin is open: the font has its lists

void BeginTextBlock() {
    glBindTexture(GL_TEXTURE_2D, fontTexture);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, SCREEN_WIDTH, 0.0, SCREEN_HEIGHT, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    blockOpen = fontListBase != 0;
    if (blockOpen) glBegin(GL_QUADS);
}

void EndTextBlock() {
    if (blockOpen) glEnd();
    blockOpen = false;
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

// The glyphs the font's lists would draw, as quads instead of one list call (and one draw)
// each: the pen moves 13 units per glyph, on whole units, so every corner lands where the
// list's own advance would have put it. Each byte is a signed offset from the set's first
// list, byte 32 (space) being its first glyph; a byte with no glyph in the set draws nothing
// and does not move the pen. Set 0 is the upper half of the sheet, set 1 the lower half;
// sets above 1 print as set 1 and sets below 0 as set 0. Output beyond 255 characters is cut.
static void TextLineV(int32_t x, int32_t y, int32_t set, const char *format, va_list args) {
    if (format == nullptr || !blockOpen) return;
    char text[256];
    const int written = vsnprintf(text, sizeof text, format, args);
    if (written < 0) text[0] = '\0';
    if (set > 1) set = 1;
    if (set < 0) set = 0;
    int pen = x;
    for (const char *c = text; *c; c++) {
        const int n = (signed char)*c - 32 + 128 * set;
        if (n < 0 || n >= GLYPH_COUNT) continue;
        GlyphQuad(n, pen, y);
        pen += GLYPH_ADVANCE;
    }
}

void TextLine(int32_t x, int32_t y, int32_t set, const char *format, ...) {
    va_list args;
    va_start(args, format);
    TextLineV(x, y, set, format, args);
    va_end(args);
}

void TextBits(int32_t x, int32_t y, const uint8_t *bits, int32_t count) {
    if (bits == nullptr || count <= 0 || !blockOpen) return;
    if (count > BITS_MAX) count = BITS_MAX;
    for (int32_t i = 0; i < count; i++) GlyphQuad('0' - 32 + (bits[i] ? 1 : 0), x + BIT_ADVANCE * i, y);
}

