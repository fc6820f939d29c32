// The shell's state: the window's flags, the frame count and the full-screen toggle's request.
#pragma once

// True while the game runs full screen at 800 by 600; true at start.
extern bool fullscreen;
// False only while the window is minimised; the scene is not drawn then.
extern bool appActive;
// True while the game's window is open with its current rendering context, from
// CreateGameWindow's success to DestroyGameWindow; never in headless runs, where the
// full-screen toggle then does nothing.
extern bool haveWindow;
// Set by F1 during a game step; the frame loop remakes the window right after that step.
extern bool toggleAsked;
// Frames run by the frame loop so far (each ran FrameUpdate once).
extern long long framesRun;
