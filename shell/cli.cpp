// Command-line options.
#include "shell/cli.h"

#include "shell/data.h"
#include "shell/script.h"

#include <algorithm>
#include <filesystem>
#include <vector>

static const int MAX_FPS = 1000;

#ifndef KAV_VERSION
#define KAV_VERSION "(unknown version)"
#endif

const char *VersionText() {
    return "kav " KAV_VERSION "\n"
           "Copyright (C) 2026 The Kav developers. zlib licence: free to use, change and pass on.\n";
}

const char *UsageText() {
    static const std::string text =
        std::string("Usage: kav [OPTION]...\n"
                    "Kav: steer the hero through five screens of guns, probes and trains.\n"
                    "\n"
                    "  --windowed      start in a window without asking\n"
                    "  --fullscreen    start full screen (800x600) without asking\n"
                    "  --fps N         frames per second (default 60; 0 runs as fast as it can)\n"
                    "  --headless      run the game without a window, a GL context or pictures\n"
                    "  --frames N      run N steps, then end (headless default: as many as the script holds)\n"
                    "  --input FILE    headless: key script, one line per run of steps: COUNT [KEY ...]\n"
                    "  --dump FILE     write the world state as JSON to FILE when the run ends\n"
                    "  --data DIR      read map/, gfx/ and sfx/ from DIR and nowhere else\n"
                    "  --record FILE   record the keys of each step of a window run as a demo\n"
                    "  --playdemo FILE play a demo back, in a window (Escape ends it) or with --headless\n"
                    "  --timedemo FILE play a demo in a window as fast as it can be drawn and print\n"
                    "                  the steps, the seconds and the frames per second\n"
                    "  --screenshot FILE  with --frames N: save the picture after step N as PNG and end\n"
                    "  --nosound       play without sound (S switches the sound off and on while playing)\n"
                    "  --volume N      sound volume from 0 to 100 (default 100)\n"
                    "  --audio-out FILE  write all the sound of the run to FILE as a WAV file (48 kHz\n"
                    "                  stereo, 16 bits); a headless run mixes as if at 60 steps a second\n"
                    "  --check [DIR]   check the maps, pictures and sounds under DIR (default: the\n"
                    "                  ones the game would read, found as for a run) and exit:\n"
                    "                  status 0 when all is well, 1 when anything is wrong\n"
                    "  --desktop       write world.log to ~/.local/state/kav/ and F12's pictures to\n"
                    "                  ~/Pictures/kav/ (the XDG folders), as the desktop menu's entry does\n"
                    "  --config FILE   read the settings (start answer, fps, key bindings) from FILE\n"
                    "                  instead of the user's kav.cfg\n"
                    "  --print-config  write the settings in force, in the settings file's format\n"
                    "  --version       show the version and the licence\n"
                    "  --help          show this text\n"
                    "\n"
                    "The game reads its maps, pictures and sounds (map/, gfx/ and sfx/) from:\n") +
        DataSearchOrder();
    return text.c_str();
}

// What follows an option's name.
enum OptionValue { NO_VALUE, NEEDS_VALUE, OPTIONAL_FOLDER };

// One option: its name, what follows it, and what it does to the command line.
struct OptionSpec {
    const char *name;
    OptionValue value;
    bool (*apply)(const std::string &value, CommandLine *cl, std::string *error);
};

// --windowed and --fullscreen answer the start question; repeating one is harmless.
static bool SetStartAnswer(int answer, CommandLine *cl, std::string *error) {
    if (cl->startAnswer >= 0 && cl->startAnswer != answer) {
        *error = "--windowed and --fullscreen cannot both be given";
        return false;
    }
    cl->startAnswer = answer;
    return true;
}

static bool SetWindowed(const std::string &, CommandLine *cl, std::string *error) {
    return SetStartAnswer(0, cl, error);
}

static bool SetFullscreen(const std::string &, CommandLine *cl, std::string *error) {
    return SetStartAnswer(1, cl, error);
}

// An option that only switches something on.
template <bool CommandLine::*flag>
static bool SetFlag(const std::string &, CommandLine *cl, std::string *) {
    cl->*flag = true;
    return true;
}

static bool SetFps(const std::string &value, CommandLine *cl, std::string *error) {
    int64_t fps;
    if (!ParseCount(value, MAX_FPS, &fps)) {
        *error = "--fps needs a whole number from 0 to 1000, not '" + value + "'";
        return false;
    }
    cl->fps = (int)fps;
    cl->fpsGiven = true;
    return true;
}

static bool SetFrames(const std::string &value, CommandLine *cl, std::string *error) {
    return ParseStepLimit(value, "--frames", &cl->frames, error);
}

// The options that name a file: never an empty name.
static bool SetPath(const char *option, std::string *path, const std::string &value, std::string *error) {
    if (value.empty()) {
        *error = std::string("option ") + option + " needs a file name";
        return false;
    }
    *path = value;
    return true;
}

static bool SetInput(const std::string &value, CommandLine *cl, std::string *error) {
    return SetPath("--input", &cl->inputPath, value, error);
}

static bool SetDump(const std::string &value, CommandLine *cl, std::string *error) {
    return SetPath("--dump", &cl->dumpPath, value, error);
}

static bool SetData(const std::string &value, CommandLine *cl, std::string *error) {
    if (value.empty()) {
        *error = "option --data needs a folder name";
        return false;
    }
    cl->dataDir = value;
    return true;
}

static bool SetRecord(const std::string &value, CommandLine *cl, std::string *error) {
    return SetPath("--record", &cl->recordPath, value, error);
}

static bool SetPlaydemo(const std::string &value, CommandLine *cl, std::string *error) {
    return SetPath("--playdemo", &cl->demoPath, value, error);
}

static bool SetTimedemo(const std::string &value, CommandLine *cl, std::string *error) {
    cl->timedemo = true;
    return SetPath("--timedemo", &cl->demoPath, value, error);
}

static bool SetScreenshot(const std::string &value, CommandLine *cl, std::string *error) {
    return SetPath("--screenshot", &cl->screenshotPath, value, error);
}

static bool SetConfig(const std::string &value, CommandLine *cl, std::string *error) {
    return SetPath("--config", &cl->configPath, value, error);
}

static bool SetVolume(const std::string &value, CommandLine *cl, std::string *error) {
    int64_t volume;
    if (!ParseCount(value, 100, &volume)) {
        *error = "--volume needs a whole number from 0 to 100, not '" + value + "'";
        return false;
    }
    cl->volume = (int)volume;
    cl->volumeGiven = true;
    return true;
}

static bool SetAudioOut(const std::string &value, CommandLine *cl, std::string *error) {
    return SetPath("--audio-out", &cl->audioOutPath, value, error);
}

static bool SetCheck(const std::string &value, CommandLine *cl, std::string *) {
    cl->check = true;
    cl->checkDir = value;
    return true;
}

static const OptionSpec OPTIONS[] = {
    {"--help", NO_VALUE, SetFlag<&CommandLine::help>},          {"-h", NO_VALUE, SetFlag<&CommandLine::help>},
    {"--version", NO_VALUE, SetFlag<&CommandLine::version>},   {"--desktop", NO_VALUE, SetFlag<&CommandLine::desktop>},
    {"--windowed", NO_VALUE, SetWindowed},  {"--fullscreen", NO_VALUE, SetFullscreen},
    {"--fps", NEEDS_VALUE, SetFps},         {"--headless", NO_VALUE, SetFlag<&CommandLine::headless>},
    {"--frames", NEEDS_VALUE, SetFrames},   {"--input", NEEDS_VALUE, SetInput},
    {"--dump", NEEDS_VALUE, SetDump},       {"--check", OPTIONAL_FOLDER, SetCheck},
    {"--data", NEEDS_VALUE, SetData},
    {"--config", NEEDS_VALUE, SetConfig},   {"--print-config", NO_VALUE, SetFlag<&CommandLine::printConfig>},
    {"--record", NEEDS_VALUE, SetRecord},   {"--playdemo", NEEDS_VALUE, SetPlaydemo},
    {"--timedemo", NEEDS_VALUE, SetTimedemo}, {"--screenshot", NEEDS_VALUE, SetScreenshot},
    {"--nosound", NO_VALUE, SetFlag<&CommandLine::nosound>},    {"--volume", NEEDS_VALUE, SetVolume},
    {"--audio-out", NEEDS_VALUE, SetAudioOut},
};

static const OptionSpec *FindOption(const std::string &name) {
    for (const OptionSpec &o : OPTIONS)
        if (name == o.name) return &o;
    return nullptr;
}

// Reads the option at argv[*i], and its value from "--name=value" or from the next word
// (which *i then moves past).
static bool ReadOption(int argc, const char *const *argv, int *i, const OptionSpec **option,
                       std::string *value, std::string *error) {
    std::string name = argv[*i];
    bool inlineValue = false;
    const size_t eq = name.find('=');
    if (name.compare(0, 2, "--") == 0 && eq != std::string::npos) {
        *value = name.substr(eq + 1);
        name.resize(eq);
        inlineValue = true;
    }
    *option = FindOption(name);
    if (!*option) {
        *error = "unknown option '" + std::string(argv[*i]) + "'";
        return false;
    }
    switch ((*option)->value) {
    case NO_VALUE:
        if (inlineValue) {
            *error = "option " + name + " takes no value";
            return false;
        }
        break;
    case NEEDS_VALUE:
        if (inlineValue) break;
        if (*i + 1 >= argc) {
            *error = "option " + name + " needs a value";
            return false;
        }
        *value = argv[++*i];
        break;
    case OPTIONAL_FOLDER:
        // --check, --check DIR or --check=DIR.
        if (inlineValue && value->empty()) {
            *error = "option " + name + " needs a folder name after '='";
            return false;
        }
        if (!inlineValue && *i + 1 < argc && argv[*i + 1][0] != '-') *value = argv[++*i];
        break;
    }
    return true;
}

static bool Saw(const std::vector<std::string> &seen, const char *name) {
    for (const std::string &s : seen)
        if (s == name) return true;
    return false;
}

// The first two of the options named that were given, in their order on the command line,
// for a message about them; empty when fewer than two were.
static std::string TwoOf(const std::vector<std::string> &seen, std::vector<std::string> names) {
    std::vector<std::string> given;
    for (const std::string &s : seen)
        if (std::count(names.begin(), names.end(), s) && !std::count(given.begin(), given.end(), s))
            given.push_back(s);
    return given.size() >= 2 ? given[0] + " and " + given[1] : std::string();
}

// Whether two paths name one file: the same file already there (through links too), or the
// same place for a new one.
static bool SameFile(const std::string &a, const std::string &b) {
    namespace fs = std::filesystem;
    std::error_code ea, eb;
    if (fs::equivalent(a, b, ea)) return true;
    const fs::path ca = fs::weakly_canonical(fs::absolute(a, ea), ea).lexically_normal();
    const fs::path cb = fs::weakly_canonical(fs::absolute(b, eb), eb).lexically_normal();
    return !ea && !eb && ca == cb;
}

// Each file a run writes is written by one thing only, and never over what it reads.
static bool CheckFilesApart(const CommandLine &cl, std::string *error) {
    struct Named { const char *what; const std::string *path; bool writes; };
    // The log of a run from a terminal; a desktop run keeps it in a state folder of its own.
    const std::string LOG = cl.desktop ? "" : "world.log";
    const Named files[] = {
        {"--input", &cl.inputPath, false},       {"--playdemo", &cl.demoPath, false},
        {"--record", &cl.recordPath, true},      {"--screenshot", &cl.screenshotPath, true},
        {"--audio-out", &cl.audioOutPath, true}, {"--dump", &cl.dumpPath, true},
        {"the game's log", &LOG, true},
    };
    const int count = sizeof files / sizeof files[0];
    for (int i = 0; i < count; i++)
        for (int j = i + 1; j < count; j++) {
            const Named &a = files[i], &b = files[j];
            if ((!a.writes && !b.writes) || a.path->empty() || b.path->empty() || !SameFile(*a.path, *b.path))
                continue;
            const char *first = i == 1 && cl.timedemo ? "--timedemo" : a.what;
            *error = std::string(first) + " and " + b.what + " name the same file, " + *b.path +
                     (a.writes ? ": one would write over the other" : ": the run would write over what it reads");
            return false;
        }
    return true;
}

// Options that are each fine alone but do not fit together.
static bool CheckOptionsFit(const CommandLine &cl, const std::vector<std::string> &seen, std::string *error) {
    if (cl.help || cl.version) return true;
    if (cl.check && std::count(seen.begin(), seen.end(), "--check") != (long)seen.size()) {
        *error = "--check goes alone: it only checks the data files";
        return false;
    }
    if (cl.printConfig) {
        // The settings in force are the file's with the options it holds given over it.
        for (const std::string &s : seen)
            if (s != "--print-config" && s != "--config" && s != "--windowed" && s != "--fullscreen" && s != "--fps" &&
                s != "--nosound" && s != "--volume") {
                *error = "--print-config goes only with --config and the options a settings file holds, not " + s;
                return false;
            }
        return true;
    }
    const std::string keySources = TwoOf(seen, {"--input", "--playdemo", "--timedemo", "--record"});
    if (!keySources.empty()) {
        *error = keySources + " cannot both be given: the keys come from one place";
        return false;
    }
    if (!cl.headless && Saw(seen, "--input")) {
        *error = "--input needs --headless (a window run takes its keys from the keyboard or --playdemo)";
        return false;
    }
    if (Saw(seen, "--screenshot") && !Saw(seen, "--frames")) {
        *error = "--screenshot needs --frames N: the picture is saved after step N";
        return false;
    }
    if (cl.headless) {
        for (const char *windowOnly :
             {"--fps", "--fullscreen", "--windowed", "--record", "--timedemo", "--screenshot", "--config"})
            if (Saw(seen, windowOnly)) {
                *error = std::string(windowOnly) + " has no meaning with --headless (no window)";
                return false;
            }
    }
    if (cl.nosound && Saw(seen, "--audio-out")) {
        *error = "--nosound and --audio-out cannot both be given: there would be nothing to write";
        return false;
    }
    if (cl.timedemo && Saw(seen, "--audio-out")) {
        *error = "--audio-out has no meaning with --timedemo, which plays without sound";
        return false;
    }
    if (cl.timedemo && Saw(seen, "--fps")) {
        *error = "--fps has no meaning with --timedemo, which runs as fast as it can";
        return false;
    }
    return CheckFilesApart(cl, error);
}

bool ParseCommandLine(int argc, const char *const *argv, CommandLine *cl, std::string *error) {
    *cl = CommandLine();
    std::vector<std::string> seen;   // names of the options given, in order
    for (int i = 1; i < argc; i++) {
        const OptionSpec *option;
        std::string value;
        if (!ReadOption(argc, argv, &i, &option, &value, error) || !option->apply(value, cl, error))
            return false;
        seen.push_back(option->name);
    }
    return CheckOptionsFit(*cl, seen, error);
}
