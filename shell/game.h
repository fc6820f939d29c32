// Start-up of the windowed game, the frame loop and its pacing.
#pragma once

// Keeps frames at a steady rate: each frame is due one period after the one before.
struct FramePacer {
    double period;     // seconds per frame; 0 or less: frames are not paced
    double deadline;   // when the next frame is due; 0 before the first
};

// A pacer for fps frames per second (0: unpaced).
void StartPacer(FramePacer *pacer, int fps);
// The time at which the frame asked for at `now` is to start (never later than one
// period after now), and the deadline moves on by one period. A loop that has fallen
// more than a few frames behind starts afresh from now instead of catching up in a burst.
double NextFrameTime(FramePacer *pacer, double now);
// Sleeps until the next frame is due.
void WaitForFrame(FramePacer *pacer);

// The frame loop: one message per pass, or one frame when none waits. Ends on the quit
// message, Escape held, or a failed drawing (the window is then destroyed and the last
// message's wParam returned), or at once with 0 when the full-screen toggle failed.
int RunFrameLoop(int fps);

// A whole windowed run. startAnswer: -1 asks the full-screen question, 0 windowed,
// 1 full screen. Returns the exit code.
int RunGame(int startAnswer, int fps);
