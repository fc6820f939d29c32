// What a window run does around the game's steps: a demo recorded or played back, a limit
// on the steps, screenshots (F12, and --screenshot after the last step), and the clock of
// a timedemo. With nothing asked for, each step is FrameUpdate with the keyboard's keys.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/script.h"

struct WindowSession {
    int startMap = 0;                                  // map index the world starts at
    int64_t frames = -1;                               // steps before the loop ends; -1: no limit
    const std::vector<InputRun> *playback = nullptr;   // demo the steps take their keys from
    ScriptCursor cursor = {nullptr, 0, 0};             // the demo's next step
    uint64_t demoKeys = 0;                             // keys of the step about to run, from the demo
    DemoRecorder recorder = {};                        // recording while its file is open
    std::string screenshotPath;                        // the picture after `frames` steps goes here
    bool screenshotSaved = false;                      // it was written
    bool screenshotFailed = false;                     // it could not be written (and that was said)
    bool screenshotLatch = false;                      // F12 acts once per press
    int nextShot = 1;                                  // first number to try for screenshots/kav-NNNN.png
    double firstFrameTime = -1.0;                      // clock at the first and the latest frame drawn
    double lastFrameTime = -1.0;
};

extern WindowSession session;

// The session of a plain run: nothing recorded, played or limited.
void ResetSession();

// Between the drawing and the swap of a frame: the screenshot asked for by F12, and whether
// another step is to run. False ends the loop: the step limit was reached (after the
// --screenshot picture was written, or said why not), or the demo has ended or holds Escape.
bool SessionBeforeSwap();

// One step: FrameUpdate, with the demo's keys while one plays (the keyboard's own table is
// put back afterwards, so Escape on the keyboard still ends the playback), recorded when
// recording.
void SessionStep();

// Writes the picture just drawn to kav-NNNN.png in the screenshot folder (screenshots/
// under the working directory, or the pictures folder of a desktop run: shell/places.h),
// never over an existing file, and offers it to the player where the platform must (the
// browser's download). The folder is made when missing; a failure is one line on stderr
// and leaves no folder that this call made.
void TakeNumberedScreenshot();
