// The frame loop's step of the game, and the start-up of the world.
#pragma once

// One step of the game, in its fixed order. Returns false when the full-screen toggle
// could not make the window again (the program must then end with exit code 0).
bool FrameUpdate();

// The developer keys, the last step of a frame (full-screen toggle on F1 last of all).
// Returns false when the toggle failed to make the window again.
bool UpdateDeveloperKeys();

// Map index 0, the hero's start values, the first map: start-up steps 3 to 5.
void StartWorld();

// False in headless runs: the full-screen toggle then does nothing.
extern bool haveWindow;
