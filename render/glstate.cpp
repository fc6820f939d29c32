// Fixed GL state for the whole run, and the viewport that stretches screen space over the window.
#include "render/gl.h"
#include "render/render.h"

// Run once after the context is made current (and again for every new context).
bool InitRenderState() {
    CreateFontLists();
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);   // texture environment stays at modulate
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    // Blending stays off here; every frame turns it on itself.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    return true;
}

// The viewport covers the whole client area; the screen space is stretched over
// it by the projection each frame loads, so nothing here depends on the aspect.
void ResizeView(int32_t width, int32_t height) {
    if (height <= 0) height = 1;   // minimised windows report 0; GL refuses negative sizes
    if (width < 0) width = 0;
    glViewport(0, 0, width, height);
}

void LoadScreenSpace() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, SCREEN_WIDTH, 0.0, SCREEN_HEIGHT, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
}
