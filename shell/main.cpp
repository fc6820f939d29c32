// The program's entry: reads the command line and runs the game, in a window or headless.
// On Windows too: the MinGW start-up calls main for a windowed program that has no WinMain.
#include "platform/platform.h"
#include "shell/audio.h"
#include "shell/check.h"
#include "shell/cli.h"
#include "shell/data.h"
#include "shell/dump.h"
#include "shell/game_step.h"
#include "shell/frame_loop.h"
#include "shell/headless.h"
#include "shell/places.h"
#include "shell/script.h"
#include "shell/session.h"
#include "shell/settings.h"
#include "shell/state.h"
#include "world/map.h"
#include "world/world.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// The keys of the run: the --input script or the demo, read whole before anything starts.
// False after saying what was wrong.
static bool ReadRunKeys(const CommandLine &cl, std::vector<InputRun> *runs, int *startMap) {
    std::string error;
    *startMap = 0;
    if (!cl.inputPath.empty() && !ReadKeyScript(cl.inputPath, runs, &error)) {
        std::fprintf(stderr, "kav: %s\n", error.c_str());
        return false;
    }
    if (!cl.demoPath.empty() && !ReadDemo(cl.demoPath, runs, startMap, &error)) {
        std::fprintf(stderr, "kav: %s\n", error.c_str());
        return false;
    }
    return true;
}

static int Headless(const CommandLine &cl, const std::vector<InputRun> &runs, int startMap) {
    StartWorld(startMap);
    const int64_t steps = RunHeadlessSteps(runs, cl.frames);
    int status = 0;
    std::string error;
    if (!cl.dumpPath.empty() && !WriteWorldDump(cl.dumpPath, steps, &error)) {
        std::fprintf(stderr, "kav: %s\n", error.c_str());
        status = 1;
    }
    return status;
}

// The settings of the run: a window run's come from the settings file (the one named, else
// the user's own), each bad line told on stderr; a headless run reads none. The command
// line's options go over them.
static Settings RunSettings(const CommandLine &cl) {
    Settings settings;
    DefaultSettings(&settings);
    std::vector<std::string> problems;
    const std::string path = cl.configPath.empty() ? DefaultSettingsPath() : cl.configPath;
    if (!cl.headless && !path.empty()) ReadSettingsFile(path, !cl.configPath.empty(), &settings, &problems);
    for (const std::string &p : problems) std::fprintf(stderr, "kav: %s\n", p.c_str());
    if (cl.startAnswer >= 0) settings.startAnswer = cl.startAnswer;
    if (cl.fpsGiven) settings.fps = cl.fps;
    if (cl.nosound) settings.sound = false;
    if (cl.volumeGiven) settings.volume = cl.volume;
    return settings;
}

// A run in a window: played from the keyboard or a demo, perhaps recorded, limited, timed.
static int Windowed(const CommandLine &cl, const Settings &settings, const std::vector<InputRun> &runs,
                    int startMap) {
    std::memcpy(keyBindings, settings.keys, sizeof keyBindings);
    std::string error;
    session.startMap = startMap;
    session.frames = cl.frames;
    session.screenshotPath = cl.screenshotPath;
    if (!cl.demoPath.empty()) {
        session.playback = &runs;
        session.cursor = ScriptCursor{&runs, 0, 0};
    }
    // A timedemo measures the drawing: no question, no pacing.
    const bool started = StartGame(cl.timedemo && settings.startAnswer < 0 ? 0 : settings.startAnswer);
    if (started) KeepDemo(&session.recorder);   // the game runs: the new demo replaces the old
    int status = started ? RunFrameLoop(cl.timedemo ? 0 : settings.fps) : 0;
    EndDemo(&session.recorder);
    if (cl.timedemo) {
        status = 0;
        if (!started) {
            std::fprintf(stderr, "kav: %s: not timed: the timedemo could not open its window\n", cl.demoPath.c_str());
            status = 1;
        } else {
            const double seconds = session.lastFrameTime - session.firstFrameTime;
            std::printf("%lld steps, %.3f seconds, %.1f frames per second\n", framesRun, seconds,
                        seconds > 0.0 ? framesRun / seconds : 0.0);
        }
    }
    if (!cl.screenshotPath.empty() && !session.screenshotSaved) {
        if (!session.screenshotFailed)
            std::fprintf(stderr, "kav: %s: no screenshot: the run ended after %lld steps, before step %lld\n",
                         cl.screenshotPath.c_str(), framesRun, (long long)cl.frames);
        status = 1;
    }
    if (!cl.dumpPath.empty() && !WriteWorldDump(cl.dumpPath, framesRun, &error)) {
        std::fprintf(stderr, "kav: %s\n", error.c_str());
        status = 1;
    }
    return status;
}

// What the run printed on standard output must have got there: a full disk or a closed
// output is a failure (status 1), said on stderr.
static int CheckStandardOutput(int status) {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
    std::fprintf(stderr, "kav: standard output: write error%s%s\n", errno ? ": " : "", errno ? std::strerror(errno) : "");
    return 1;
}

// A run ended from outside before its window was up (SIGTERM while a message box waits)
// leaves no new demo file behind.
static void DropUnkeptDemo() {
    if (!session.recorder.kept) EndDemo(&session.recorder);
}

int main(int argc, char **argv) {
    CommandLine cl;
    std::string error;
    if (!ParseCommandLine(argc, argv, &cl, &error)) {
        std::fprintf(stderr, "kav: %s\nTry 'kav --help'.\n", error.c_str());
        return 2;
    }
    if (cl.help) {
        std::fputs(UsageText(), stdout);
        return CheckStandardOutput(0);
    }
    if (cl.version) {
        std::fputs(VersionText(), stdout);
        return CheckStandardOutput(0);
    }
    if (cl.printConfig) {
        std::fputs(SettingsText(RunSettings(cl)).c_str(), stdout);
        return CheckStandardOutput(0);
    }
    if (cl.check) {
        if (!cl.checkDir.empty()) return CheckStandardOutput(RunDataCheck(cl.checkDir.c_str()));
        FindGameData("");   // the data a run started here would read
        return CheckStandardOutput(RunDataCheck(dataFolder));
    }
    std::vector<InputRun> runs;
    int startMap;
    if (!ReadRunKeys(cl, &runs, &startMap)) return 2;
    if (!FindGameData(cl.dataDir) && !cl.headless) {
        // A player who started the game from a menu never sees stderr: the box tells.
        PlatformMessageBox(MissingDataMessage().c_str(), "Kav", MB_OK_, MB_ICONSTOP_);
        return 1;
    }
    ResetSession();
    if (!cl.recordPath.empty() && !StartDemo(&session.recorder, cl.recordPath, startMap, &error)) {
        std::fprintf(stderr, "kav: %s\n", error.c_str());
        return 2;
    }
    if (!cl.recordPath.empty()) std::atexit(DropUnkeptDemo);

    desktopRun = cl.desktop;
    OpenWorldLog(WorldLogPath().c_str());
    const Settings settings = RunSettings(cl);
    RunSoundOptions sound;
    sound.device = !cl.headless && !cl.timedemo && settings.sound;
    sound.outPath = cl.audioOutPath;
    sound.volume = settings.volume;
    if (!StartRunSound(sound, &error)) {
        std::fprintf(stderr, "kav: %s\n", error.c_str());
        CloseWorldLog();
        return 1;
    }
    int status = cl.headless ? Headless(cl, runs, startMap) : Windowed(cl, settings, runs, startMap);
    if (!EndRunSound(&error)) {
        std::fprintf(stderr, "kav: %s\n", error.c_str());
        status = 1;
    }
    CloseWorldLog();
    // The timedemo's line is what it is run for; a play's own notes on stdout (F12) are not,
    // and a game started without a console (Windows) has nowhere to write them.
    if (cl.timedemo) status = CheckStandardOutput(status);
    return status;
}
