// The game's window and rendering context: creation, destruction and the flags they keep.
#pragma once

// True while the game runs full screen at 800 by 600; true at start.
extern bool fullscreen;
// False only while the window is minimised; the scene is not drawn then.
extern bool appActive;

// Makes the window with a current GL context, the view and the fixed GL state. On any
// failure the player is told why in a message box, what was made is released, and the
// result is false (the program then ends with exit code 0).
bool CreateGameWindow(const char *title, int width, int height, int bits, bool fullscreenRequest);

// Releases the context and the window and gives the desktop its display mode back.
// A step that fails is reported and the rest still run.
void DestroyGameWindow();
