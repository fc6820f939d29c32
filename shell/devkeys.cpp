// Developer keys: zoom, drawing layers, debug text and the full-screen toggle.
#include "render/state.h"
#include "shell/game_step.h"
#include "shell/state.h"
#include "world/world.h"

static bool latchBackground, latchOverlay, latchInfo, latchTiles, latchZoomOne, latchZoomFit;

void UpdateDeveloperKeys() {
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
        toggleAsked = true;
    }
}
