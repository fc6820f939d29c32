// The game in a web page. The page calls in here: KavStart when the player has answered
// the start question, KavRunScript for a run of a key script without a person. The frame
// loop runs one frame per animation frame of the browser, at most 60 steps a second.
#include "render/render.h"
#include "shell/dump.h"
#include "shell/frame.h"
#include "shell/game.h"
#include "shell/headless.h"
#include "shell/script.h"
#include "shell/state.h"
#include "shell/window.h"
#include "world/map.h"

#include <emscripten.h>

#include <cmath>
#include <string>

static FrameLoop loop;
static std::string dumpText;   // the world as --dump writes it, or why a script failed
static FramePacer pacer;   // the game's 60 steps a second, whatever the display's refresh

// One animation frame: the messages that came in, then one frame when one is due.
static void WebFrame() {
    const double now = PlatformTime();
    // A frame is due from half a period before its deadline on: on a 60 Hz display every
    // animation frame runs one, on a faster one some are skipped.
    if (pacer.deadline != 0.0 && now < pacer.deadline - pacer.period / 2) return;
    NextFrameTime(&pacer, now);
    for (;;) {
        const LoopPass pass = RunLoopPass(&loop);
        if (pass == LOOP_FRAME) return;
        if (pass == LOOP_ENDED) {
            emscripten_cancel_main_loop();
            CloseWorldLog();
            dumpText = WorldDumpText(framesRun);
            EM_ASM({ if (Module.kavEnded) Module.kavEnded($0); }, loop.exitCode);
            return;
        }
    }
}

// answer: 1 full screen, 0 windowed (the page asked the start question).
extern "C" EMSCRIPTEN_KEEPALIVE void KavStart(int answer) {
    OpenWorldLog();
    if (!StartGame(answer != 0 ? 1 : 0)) {
        CloseWorldLog();
        EM_ASM({ if (Module.kavEnded) Module.kavEnded(0); });
        return;
    }
    StartFrameLoop(&loop, 0);   // unpaced: WebFrame paces it, a page cannot sleep
    StartPacer(&pacer, 60);
    emscripten_set_main_loop(WebFrame, 0, 0);
}

// Runs a key script at once, without a person and without waiting for animation frames:
// frames < 0 runs as long as the script. With picture set, the game's window is made first
// and the scene drawn once after the last step (the picture the next frame would show).
// Returns 1 with the world dump in KavDumpText; 0 with the reason there.
extern "C" EMSCRIPTEN_KEEPALIVE int KavRunScript(const char *text, const char *name, double frames,
                                                 int picture) {
    std::vector<InputRun> runs;
    if (!ParseKeyScript(text ? text : "", name ? name : "script", &runs, &dumpText)) return 0;
    if (std::isnan(frames) || frames > 9.0e15) {
        dumpText = "frames: not a number of steps";
        return 0;
    }
    OpenWorldLog();
    SetPictureFailureHandler(ShowPictureFailure);
    if (picture && !CreateGameWindow("Kav", 800, 600, 32, false)) {
        dumpText = "the window could not be made";
        CloseWorldLog();
        return 0;
    }
    StartWorld();
    if (picture) LoadAssetTable();
    const int64_t steps = RunHeadlessSteps(runs, frames < 0 ? -1 : (int64_t)frames);
    if (picture) DrawScene();
    dumpText = WorldDumpText(steps);
    CloseWorldLog();
    return 1;
}

// After a script, or when the game has ended: the world as --dump writes it.
extern "C" EMSCRIPTEN_KEEPALIVE const char *KavDumpText() { return dumpText.c_str(); }

// The page decides what happens once the game's files are in: see kav.html.
int main() { return 0; }
