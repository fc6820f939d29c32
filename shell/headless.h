// Runs of the game without a window: keys from a script, the world state dumped at the end.
#pragma once

#include <cstdint>
#include <vector>

#include "shell/script.h"

// A run of the game's steps with the keys of a script (no key held after its last line),
// until `total` steps have run or Escape is held at the start of a step. Kept between calls,
// so a caller that must not block for long (a web page) can run it a slice at a time.
struct HeadlessRun {
    ScriptCursor cursor;
    int64_t total;   // steps asked for
    int64_t step;    // steps run so far
    bool ended;      // all steps ran, or Escape ended the run
};

// frames: the steps to run; -1: as many as the script holds. The world must have been started.
void StartHeadlessRun(HeadlessRun *run, const std::vector<InputRun> &runs, int64_t frames);
// Runs up to maxSteps more steps. False once the run has ended.
bool RunHeadlessSlice(HeadlessRun *run, int64_t maxSteps);

// A whole run at once. Returns the number of steps run.
int64_t RunHeadlessSteps(const std::vector<InputRun> &runs, int64_t frames);
