// The frame loop's step of the game, and the start-up of the world.
#pragma once

// One step of the game, in its fixed order.
void FrameUpdate();

// The developer keys, the last step of a frame: zoom, drawing layers, debug text, and F1
// last of all, which with a window asks the frame loop for the full-screen toggle.
void UpdateDeveloperKeys();

// The map index (0 unless a demo starts elsewhere), the hero's start values, the first
// map: start-up steps 3 to 5.
void StartWorld(int map = 0);
