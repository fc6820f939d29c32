// What the SDL2 backend's files share: the game's window, and the calls between the window,
// the events, the keys, the pads and the watch on the window system underneath SDL.
#pragma once

#include <SDL.h>

#include "platform/platform.h"

// The game's window; null when none is open (sdl_window.cpp).
extern SDL_Window *sdlWindow;
// SDL's video runs from the first opening to the end of the program.
extern bool sdlVideoStarted;

// Events (sdl_events.cpp): set up once when the video starts.
void StartEvents();

// SIGTERM (sdl_window.cpp): true once for each signal not yet acted on, which the events
// then hand over as the close box. Under a message box the signal ends the process instead.
bool TakeTermRequest();

// Keys (sdl_keys.cpp). The key message of a key event; false when the key means nothing to
// the game (or is a system key: Alt combinations, Alt itself and F10, which SDL handles).
bool TranslateKey(const SDL_KeyboardEvent &key, PlatformMessage *msg);
// Before the window is destroyed: the keys the game holds are carried over to the next
// window instead of being let go with SDL's own key table.
void CarryHeldKeys();
// The next key-up of a carried key that is no longer held down; false when none.
bool NextCarriedKeyUp(PlatformMessage *msg);
// Every key let go without a message (the window lost the focus: the game lets go itself).
void ForgetHeldKeys();

// Game pads (sdl_pads.cpp), fed to the game as the keys they stand for.
bool IsPadEvent(Uint32 type);
void TranslatePad(const SDL_Event &ev);
// The window lost the focus (the game lets go of every key) or gained it (the keys the pads
// hold come again, after the activation).
void PadFocusChanged(bool focused);
// The next key message of the pads' keys that moved; false when none waits.
bool NextPadKey(PlatformMessage *msg);

// The window system under SDL, for what SDL does not tell (x11_watch.cpp under X11,
// no_watch.cpp elsewhere).
void StartWatch();                      // SDL's video has just started
void WatchWindow(SDL_Window *window);   // a window was made
bool IsWindowEndedFromOutside(const SDL_Event &ev);   // a window-system event of SDL_SYSWMEVENT
bool IsWatchedWindowGone();             // destroyed from outside: nothing is drawn into it
void WatchedWindowDestroyed();          // after SDL_DestroyWindow
// Whether the key is held down on the keyboard now: 1 held, 0 up, -1 cannot be told.
int IsKeyHeldDown(SDL_Scancode scancode);
