// Sprite quads: playfield rectangles scaled by viewScale onto integer screen-space edges.
#include "render/gl.h"
#include "render/render.h"
#include "render/state.h"

// Screen edges far beyond the 800 by 600 space are held at this distance: the visible part
// of a sprite stays the same, and the conversion to int never overflows.
static const double EDGE_LIMIT = 1.0e6;

static int ScreenEdge(double v) {
    if (v != v) return 0;   // NaN: a degenerate edge, draws nothing useful but stays defined
    if (v > EDGE_LIMIT) v = EDGE_LIMIT;
    if (v < -EDGE_LIMIT) v = -EDGE_LIMIT;
    return (int)v;           // truncation toward zero
}

SpriteEdges SpriteScreenEdges(float x, float y, float w, float h, float ox, float oy) {
    const double s = viewScale;
    SpriteEdges e;
    e.left = ScreenEdge((double)x * s - (double)ox * s);
    e.right = ScreenEdge((double)w * s + (double)x * s - (double)ox * s);
    e.bottom = ScreenEdge((double)y * s - (double)oy * s);
    e.top = ScreenEdge((double)h * s + (double)y * s - (double)oy * s);
    return e;
}

// The image upright as stored: t = 0 at the bottom, s = 0 at the left.
void DrawSprite(float x, float y, float w, float h, float ox, float oy) {
    const SpriteEdges e = SpriteScreenEdges(x, y, w, h, ox, oy);
    glBegin(GL_TRIANGLE_STRIP);
    glTexCoord2i(0, 0); glVertex2i(e.left, e.bottom);
    glTexCoord2i(0, 1); glVertex2i(e.left, e.top);
    glTexCoord2i(1, 0); glVertex2i(e.right, e.bottom);
    glTexCoord2i(1, 1); glVertex2i(e.right, e.top);
    glEnd();
}

// The run of sprites open now: its texture, and whether a glBegin is open at all.
static bool runOpen;
static unsigned int runTexture;

void BatchSprite(unsigned int texture, uint8_t face, float x, float y, float w, float h, float ox, float oy) {
    if (!runOpen || texture != runTexture) {
        if (runOpen) glEnd();
        else runTexture = texture + 1;   // nothing bound by the run yet: bind whatever comes
        if (texture != runTexture) glBindTexture(GL_TEXTURE_2D, texture);
        runTexture = texture;
        runOpen = true;
        glBegin(GL_TRIANGLES);
    }
    const SpriteEdges e = SpriteScreenEdges(x, y, w, h, ox, oy);
    // The two triangles a four-corner strip is made of, in the strip's own vertex order
    // (the second one turned round), so every pixel comes out as the strip gives it.
    const int s0 = face != 0 ? 0 : 1, s1 = 1 - s0;
    glTexCoord2i(s0, 0); glVertex2i(e.left, e.bottom);
    glTexCoord2i(s0, 1); glVertex2i(e.left, e.top);
    glTexCoord2i(s1, 0); glVertex2i(e.right, e.bottom);
    glTexCoord2i(s1, 0); glVertex2i(e.right, e.bottom);
    glTexCoord2i(s0, 1); glVertex2i(e.left, e.top);
    glTexCoord2i(s1, 1); glVertex2i(e.right, e.top);
}

void EndSprites() {
    if (runOpen) glEnd();
    runOpen = false;
}
