// Start-up of the windowed game, the frame loop and its pacing.
#pragma once

#include "platform/platform.h"

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

// What the frame loop keeps from one pass to the next.
struct FrameLoop {
    FramePacer pacer;
    PlatformMessage msg;   // the last message taken; its wParam is the exit code
    int exitCode;          // set when the loop has ended
};

enum LoopPass { LOOP_MESSAGE, LOOP_FRAME, LOOP_ENDED };

void StartFrameLoop(FrameLoop *loop, int fps);
// One pass of the frame loop: one message when one waits, else one frame (paced, drawn,
// swapped, one step, then the full-screen toggle if F1 asked for it). LOOP_ENDED on the
// quit message, Escape held, or a failed drawing (the window is then destroyed and
// loop->exitCode is the last message's wParam), or when the toggle could not make the
// window again (exitCode 0, nothing left to destroy).
LoopPass RunLoopPass(FrameLoop *loop);

// The frame loop, pass after pass until it ends. Returns the exit code.
int RunFrameLoop(int fps);

// Start-up of a windowed run up to the frame loop. startAnswer: -1 asks the full-screen
// question, 0 windowed, 1 full screen. False when the window could not be made (the
// program then ends with exit code 0).
bool StartGame(int startAnswer);

// A whole windowed run: StartGame and the frame loop. Returns the exit code.
int RunGame(int startAnswer, int fps);
