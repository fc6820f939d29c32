// Developer keys: zoom, drawing layers, debug text and the full-screen toggle.
#include "shell/frame.h"
#include "shell/keys.h"
#include "shell/settings.h"
#include "shell/window.h"
#include "render/render.h"

bool haveWindow;

static bool latchBackground, latchOverlay, latchInfo, latchTiles, latchZoomOne, latchZoomFit;

bool UpdateDeveloperKeys() {
    // Page Up and Page Down held together cancel exactly, so the net step is applied once.
    float zoom = 0.0f;
    if (KeyState[VK_PRIOR_]) zoom += 0.2f;
    if (KeyState[VK_NEXT_]) zoom -= 0.2f;
    if (zoom != 0.0f) viewScale += zoom;

    if (KeyPressed('1', latchBackground)) showBackground = !showBackground;
    if (KeyPressed('2', latchOverlay)) showOverlay = !showOverlay;
    if (KeyPressed('I', latchInfo)) showInfo = !showInfo;
    if (KeyPressed('B', latchTiles)) showTiles = !showTiles;
    if (KeyPressed('G', latchZoomOne)) viewScale = 1.0f;        // one screen unit per playfield pixel
    if (KeyPressed('F', latchZoomFit)) viewScale = 3.125f;      // the playfield fills the screen

    // F1 acts on each key-down message (auto-repeat toggles again), so its entry is cleared.
    if (KeyState[VK_F1_] && haveWindow) {
        KeyState[VK_F1_] = false;
        DestroyGameWindow();
        fullscreen = !fullscreen;
        if (!CreateGameWindow("KAV", 800, 600, 32, fullscreen)) {
            haveWindow = false;
            return false;
        }
        // The new context has none of the old one's textures: make every picture again.
        LoadAssetTable();
    }
    return true;
}
