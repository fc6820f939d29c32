// The headless runner: the game's steps fed from a key script, no window, no GL.
#include "shell/headless.h"

#include "shell/audio.h"
#include "shell/game_step.h"
#include "shell/script.h"
#include "world/world.h"

void StartHeadlessRun(HeadlessRun *run, const std::vector<InputRun> &runs, int64_t frames) {
    *run = HeadlessRun{ScriptCursor{&runs, 0, 0}, frames >= 0 ? frames : KeyScriptLength(runs), 0, false};
}

bool RunHeadlessSlice(HeadlessRun *run, int64_t maxSteps) {
    for (int64_t n = 0; n < maxSteps && !run->ended; n++) {
        if (run->step >= run->total) {
            run->ended = true;
            break;
        }
        uint64_t keys;
        NextScriptStep(&run->cursor, &keys);   // after the script's end, no key is held
        HoldScriptKeys(keys);
        // As in the frame loop, Escape ends the run before the step.
        if (KeyState[VK_ESCAPE_]) {
            run->ended = true;
            break;
        }
        FrameUpdate();
        RunSoundStep();
        run->step++;
    }
    if (run->step >= run->total) run->ended = true;
    return !run->ended;
}

int64_t RunHeadlessSteps(const std::vector<InputRun> &runs, int64_t frames) {
    HeadlessRun run;
    StartHeadlessRun(&run, runs, frames);
    RunHeadlessSlice(&run, INT64_MAX);
    return run.step;
}
