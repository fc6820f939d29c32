// The Win32 backend's game pads, through XInput (win32_pads.cpp).
#pragma once

#include "platform/pad_keys.h"

// Loads XInput from whichever of the system's XInput DLLs there is; without one the game
// plays without pads. Called once, when the first window opens.
void StartPads();
// Reads the pads (while the game's window has the focus) and writes the key messages of
// the pads' keys that moved to out; returns how many. Pads plugged in are found within a
// second; one pulled out lets go of its keys.
int PollPads(bool focused, double now, PlatformMessage out[PAD_KEY_COUNT]);
