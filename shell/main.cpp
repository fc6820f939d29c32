// The game's entry, called by the backend's process entry: reads the command line and
// runs the game, in a window or headless.
#include "platform/platform.h"
#include "shell/check.h"
#include "shell/cli.h"
#include "shell/data.h"
#include "shell/dump.h"
#include "shell/frame.h"
#include "shell/game.h"
#include "shell/headless.h"
#include "shell/script.h"
#include "shell/state.h"
#include "world/map.h"

#include <cstdio>

static int Headless(const CommandLine &cl, const std::vector<InputRun> &runs) {
    StartWorld();
    const int64_t steps = RunHeadlessSteps(runs, cl.frames);
    int status = 0;
    std::string error;
    if (!cl.dumpPath.empty() && !WriteWorldDump(cl.dumpPath, steps, &error)) {
        std::fprintf(stderr, "kav: %s\n", error.c_str());
        status = 1;
    }
    return status;
}

int GameMain(int argc, char **argv) {
    CommandLine cl;
    std::string error;
    if (!ParseCommandLine(argc, argv, &cl, &error)) {
        std::fprintf(stderr, "kav: %s\nTry 'kav --help'.\n", error.c_str());
        return 2;
    }
    if (cl.help) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    if (cl.check) return RunDataCheck(cl.checkDir.empty() ? nullptr : cl.checkDir.c_str());
    std::vector<InputRun> runs;
    if (!cl.inputPath.empty() && !ReadKeyScript(cl.inputPath, &runs, &error)) {
        std::fprintf(stderr, "kav: %s\n", error.c_str());
        return 2;
    }

    FindGameData(cl.dataDir);
    OpenWorldLog();
    int status;
    if (cl.headless) {
        status = Headless(cl, runs);
    } else {
        status = RunGame(cl.startAnswer, cl.fps);
        if (!cl.dumpPath.empty() && !WriteWorldDump(cl.dumpPath, framesRun, &error)) {
            std::fprintf(stderr, "kav: %s\n", error.c_str());
            status = 1;
        }
    }
    CloseWorldLog();
    return status;
}
