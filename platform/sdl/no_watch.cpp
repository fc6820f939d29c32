// The SDL2 backend without a window system to watch beneath SDL: nothing more is known
// than SDL tells.
#include "platform/sdl/sdl_backend.h"

void StartWatch() {}
void WatchWindow(SDL_Window *) {}
bool IsWindowEndedFromOutside(const SDL_Event &) { return false; }
bool IsWatchedWindowGone() { return false; }
void WatchedWindowDestroyed() {}
int IsKeyHeldDown(SDL_Scancode) { return -1; }
