// The headless runner: the game's steps fed from a key script, no window, no GL.
#include "shell/headless.h"

#include "shell/frame.h"
#include "shell/keys.h"

#include <cstring>

int64_t RunHeadlessSteps(const std::vector<InputRun> &runs, int64_t frames) {
    const int64_t total = frames >= 0 ? frames : KeyScriptLength(runs);
    size_t run = 0;
    int64_t leftInRun = runs.empty() ? 0 : runs[0].count;
    int64_t step = 0;
    while (step < total) {
        while (run < runs.size() && leftInRun == 0) {
            run++;
            leftInRun = run < runs.size() ? runs[run].count : 0;
        }
        std::memset(KeyState, 0, sizeof KeyState);
        if (run < runs.size()) {
            for (uint8_t key : runs[run].keys) KeyState[key] = true;
            leftInRun--;
        }
        // As in the frame loop, Escape ends the run before the step.
        if (KeyState[VK_ESCAPE_]) break;
        FrameUpdate();
        step++;
    }
    return step;
}
