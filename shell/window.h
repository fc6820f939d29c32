// The game's window and rendering context: creation, destruction and the flags they keep.
#pragma once

#include "platform/platform.h"

// The game's window: its client area (or full-screen display mode) and colour bits, the
// title of the first window and of every one the full-screen toggle makes.
const int WINDOW_WIDTH = 800, WINDOW_HEIGHT = 600, WINDOW_BITS = 32;
const int WINDOW_DEPTH_BITS = 16;   // of the depth buffer
const char *const WINDOW_TITLE = "Kav";
const char *const TOGGLED_WINDOW_TITLE = "KAV";

// Makes the window with a current GL context, the view and the fixed GL state, and sets
// haveWindow. On any failure the player is told why in a message box, what was made is
// released, and the result is false (the program then ends with exit code 0).
bool CreateGameWindow(const char *title, int width, int height, int bits, bool fullscreenRequest);

// A picture that could not be read, told to the player in a message box captioned "Error".
// The game hands it to the picture loaders before the first picture is loaded.
void ShowPictureFailure(const char *text);

// Releases the context and the window, gives the desktop its display mode back and clears
// haveWindow. A step that fails is reported after the release has run to its end.
void DestroyGameWindow();

// The full-screen toggle's window work: the window is released and made again in the other
// mode, and every picture is loaded into the new context. False when the new window could
// not be made (the program then ends with exit code 0).
bool ToggleFullscreen();

// The window procedure: one message from the frame loop into the key table, the activity
// flag and the view; the close box posts the quit message.
void GameWindowProc(const PlatformMessage &msg);
