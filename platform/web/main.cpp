// The game in a web page. The page calls in here: KavSettings with the settings kept in the
// browser's local storage, KavStart when the player has answered the start question,
// KavBeginScript and the two after it for a run of a key script without a person. The
// frame loop runs one frame per animation frame of the browser, at most 60 steps a second
// (or the settings' fps).
#include "render/render.h"
#include "shell/audio.h"
#include "shell/dump.h"
#include "shell/game_step.h"
#include "shell/frame_loop.h"
#include "shell/headless.h"
#include "shell/script.h"
#include "shell/settings.h"
#include "shell/state.h"
#include "shell/window.h"
#include "world/map.h"

#include <emscripten.h>

#include <cstdio>
#include <cstring>
#include <string>

static FrameLoop loop;
static std::string dumpText;   // the world as --dump writes it, or why a script failed
static FramePacer pacer;   // the game's 60 steps a second, whatever the display's refresh
static Settings settings;   // the page's settings, from KavSettings

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

// The settings file's text, as the page keeps it in local storage: its key bindings and
// frame rate apply from now on; bad lines are told in one dialog and skipped. Returns the
// start answer: -1 ask, 0 windowed, 1 full screen.
extern "C" EMSCRIPTEN_KEEPALIVE int KavSettings(const char *text) {
    DefaultSettings(&settings);
    std::vector<std::string> problems;
    const std::string cfg = text ? text : "";
    if (cfg.size() > SETTINGS_MAX_BYTES)
        problems.push_back("kav.cfg: larger than " + std::to_string(SETTINGS_MAX_BYTES) +
                           " bytes; the game's own settings apply");
    else
        ApplySettingsText(cfg.data(), cfg.size(), "kav.cfg", &settings, &problems);
    if (!problems.empty()) {
        std::string told;
        for (const std::string &p : problems) told += p + "\n";
        told.pop_back();
        PlatformMessageBox(told.c_str(), "Settings", MB_OK_, MB_ICONEXCLAMATION_);
    }
    std::memcpy(keyBindings, settings.keys, sizeof keyBindings);
    return settings.startAnswer;
}

// The settings in force, in the settings file's format (the page shows them to be edited).
extern "C" EMSCRIPTEN_KEEPALIVE const char *KavSettingsText() {
    static std::string text;
    text = SettingsText(settings);
    return text.c_str();
}

// answer: 1 full screen, 0 windowed (the page asked the start question). Called inside the
// player's click, so the sound may start.
extern "C" EMSCRIPTEN_KEEPALIVE void KavStart(int answer) {
    OpenWorldLog();
    RunSoundOptions sound;
    sound.device = settings.sound;
    sound.volume = settings.volume;
    std::string error;
    StartRunSound(sound, &error);   // with a device only, nothing can fail
    if (!StartGame(answer != 0 ? 1 : 0)) {
        CloseWorldLog();
        EM_ASM({ if (Module.kavEnded) Module.kavEnded(0); });
        return;
    }
    StartFrameLoop(&loop, 0);   // unpaced: WebFrame paces it, a page cannot sleep
    StartPacer(&pacer, settings.fps);
    emscripten_set_main_loop(WebFrame, 0, 0);
}

// A key script run without a person, in slices, so the page stays alive through a long one:
// KavBeginScript reads it, KavRunScriptSlice runs steps for a while at a time (the page
// lets the browser breathe between calls), KavEndScript ends it. The script comes as a
// file the page wrote into the game's file system, read as the native game reads --input:
// a line at a time within the same limits, with the same messages.
static std::vector<InputRun> scriptRuns;
static HeadlessRun scriptRun;
static bool scriptPicture;

// frames: the page's frames=N, empty when not given. With picture set, the game's window
// is made first and the scene drawn once after the last step (the picture the next frame
// would show). With audio set, the run's sound goes to /kav-audio.wav as --audio-out writes
// it. Returns 1 when the run can go on; 0 with the reason in KavDumpText.
extern "C" EMSCRIPTEN_KEEPALIVE int KavBeginScript(const char *path, const char *name, const char *frames,
                                                   int picture, int audio) {
    int64_t steps = -1;
    if (frames && *frames && !ParseStepLimit(frames, "frames", &steps, &dumpText)) return 0;
    FILE *in = std::fopen(path ? path : "", "rb");
    if (!in) {
        dumpText = std::string(name ? name : "script") + ": cannot be read";
        return 0;
    }
    const bool read = ReadKeyScriptFrom(in, name ? name : "script", &scriptRuns, &dumpText);
    std::fclose(in);
    if (!read) return 0;
    OpenWorldLog();
    SetPictureFailureHandler(ShowPictureFailure);
    scriptPicture = picture != 0;
    if (scriptPicture && !CreateGameWindow(WINDOW_TITLE, WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_BITS, false)) {
        dumpText = "the window could not be made";
        CloseWorldLog();
        return 0;
    }
    RunSoundOptions sound;
    if (audio) sound.outPath = "/kav-audio.wav";
    if (!StartRunSound(sound, &dumpText)) {
        CloseWorldLog();
        return 0;
    }
    StartWorld();
    if (scriptPicture) LoadAssetTable();
    StartHeadlessRun(&scriptRun, scriptRuns, steps);
    return 1;
}

// Runs steps for about `seconds`. 1 while steps are left, 0 once the run has ended.
extern "C" EMSCRIPTEN_KEEPALIVE int KavRunScriptSlice(double seconds) {
    const double until = PlatformTime() + seconds;
    while (RunHeadlessSlice(&scriptRun, 2000))
        if (PlatformTime() >= until) return 1;
    return 0;
}

// Steps run so far, for the page to show.
extern "C" EMSCRIPTEN_KEEPALIVE double KavScriptSteps() { return (double)scriptRun.step; }

// The end of the run: the picture when asked for, the sound file, and the world dump in
// KavDumpText. 0 with the reason there when the sound could not be written.
extern "C" EMSCRIPTEN_KEEPALIVE int KavEndScript() {
    if (scriptPicture) DrawScene();
    const bool written = EndRunSound(&dumpText);
    CloseWorldLog();
    if (!written) return 0;
    dumpText = WorldDumpText(scriptRun.step);
    return 1;
}

// The world as --dump writes it, now, while the game runs (for the page's tests).
extern "C" EMSCRIPTEN_KEEPALIVE const char *KavWorldNow() {
    dumpText = WorldDumpText(framesRun);
    return dumpText.c_str();
}

// The most bytes a script may hold. The page hands over one byte more at most, enough for a
// longer script to be refused as the native game refuses it, without reading it all.
extern "C" EMSCRIPTEN_KEEPALIVE double KavScriptMaxBytes() { return (double)SCRIPT_MAX_BYTES; }

// After a script, or when the game has ended: the world as --dump writes it.
extern "C" EMSCRIPTEN_KEEPALIVE const char *KavDumpText() { return dumpText.c_str(); }

// The page decides what happens once the game's files are in: see kav.html.
int main() {
    DefaultSettings(&settings);
    return 0;
}
