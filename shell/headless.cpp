// The headless runner: the game's steps fed from a key script, no window, no GL.
#include "shell/headless.h"

#include "shell/audio.h"
#include "shell/game_step.h"
#include "shell/script.h"
#include "world/world.h"

int64_t RunHeadlessSteps(const std::vector<InputRun> &runs, int64_t frames) {
    const int64_t total = frames >= 0 ? frames : KeyScriptLength(runs);
    ScriptCursor cursor = {&runs, 0, 0};
    int64_t step = 0;
    while (step < total) {
        uint64_t keys;
        NextScriptStep(&cursor, &keys);   // after the script's end, no key is held
        HoldScriptKeys(keys);
        // As in the frame loop, Escape ends the run before the step.
        if (KeyState[VK_ESCAPE_]) break;
        FrameUpdate();
        RunSoundStep();
        step++;
    }
    return step;
}
