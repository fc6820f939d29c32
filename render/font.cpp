// Bitmap font: one display list per glyph of the 16 by 16 glyph sheet, and the text printer.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "render/gl.h"
#include "render/render.h"
#include "render/state.h"

static const int GLYPH_COUNT = 256;
static const int GLYPH_SIZE = 16;      // screen units
static const double GLYPH_ADVANCE = 13.0;

unsigned int fontListBase;

// Needs a current context; the font texture itself may come later, the lists never bind it.
void CreateFontLists() {
    fontListBase = glGenLists(GLYPH_COUNT);
    if (fontListBase == 0) return;   // no lists: the printer then draws no glyphs
    for (int n = 0; n < GLYPH_COUNT; n++) {
        const float left = (float)(n % 16) / 16.0f;
        const float right = left + 0.0625f;
        const float top = 1.0f - (float)(n / 16) / 16.0f;   // sheet rows count from the top
        const float bottom = top - 0.0625f;
        glNewList(fontListBase + n, GL_COMPILE);
        glBegin(GL_QUADS);
        glTexCoord2f(left, bottom);  glVertex2i(0, 0);
        glTexCoord2f(right, bottom); glVertex2i(GLYPH_SIZE, 0);
        glTexCoord2f(right, top);    glVertex2i(GLYPH_SIZE, GLYPH_SIZE);
        glTexCoord2f(left, top);     glVertex2i(0, GLYPH_SIZE);
        glEnd();
        glTranslated(GLYPH_ADVANCE, 0.0, 0.0);
        glEndList();
    }
}

// Called when the window and its context go away.
void DeleteFontLists() {
    if (fontListBase == 0) return;
    glDeleteLists(fontListBase, GLYPH_COUNT);
    fontListBase = 0;
}

// Text in screen space, never scaled by viewScale. Set 0 is the upper half of the sheet,
// set 1 the lower half; sets above 1 print as set 1 and sets below 0 as set 0, so a list
// call never reaches outside the font's own 256 lists. Output beyond 255 characters is cut.
// Leaves blending off and the depth test on; the blend function and colour are the caller's.
void PrintText(int32_t x, int32_t y, int32_t set, const char *format, ...) {
    if (format == nullptr) return;

    char text[256];
    va_list args;
    va_start(args, format);
    const int written = vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (written < 0) text[0] = '\0';

    if (set > 1) set = 1;
    if (set < 0) set = 0;

    glBindTexture(GL_TEXTURE_2D, fontTexture);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, 800.0, 0.0, 600.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glTranslated((double)x, (double)y, 0.0);
    if (fontListBase != 0) {
        // Each byte is a signed list offset: byte 32 (space) is the first glyph of its set.
        glListBase(fontListBase - 32u + 128u * (unsigned int)set);
        glCallLists((GLsizei)strlen(text), GL_BYTE, text);
    }
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}
