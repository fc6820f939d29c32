// The command line and the key script of headless runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct CommandLine {
    bool help = false;
    int startAnswer = -1;       // -1: ask the full-screen question; 0 windowed; 1 full screen
    int fps = 60;               // frames per second of the windowed loop; 0: unpaced
    bool headless = false;
    int64_t frames = -1;        // headless steps; -1: as many as the key script holds
    std::string inputPath;      // headless key script
    std::string dumpPath;       // world state written here at the end of the run
    bool check = false;         // check the game's data files instead of playing
    std::string checkDir;       // where the data to check lives; empty: the working directory
};

// Reads the options. False with *error saying what was wrong for an unknown option, a
// bad or missing value, or an option that does not fit the others.
bool ParseCommandLine(int argc, const char *const *argv, CommandLine *cl, std::string *error);

// The usage text printed by --help.
const char *UsageText();

// One line of a key script: these keys are held for `count` steps.
struct InputRun {
    int64_t count;
    std::vector<uint8_t> keys;   // virtual-key codes
};

// Virtual-key code of a key name of the script (LEFT, SPACE, PAGEUP, F1, A-Z, 0-9, ...,
// any case), or -1.
int KeyCodeFromName(const std::string &name);

// Parses a key script: one run per line, "COUNT [KEY ...]"; lines starting with '#' and
// empty lines are skipped. A bad line makes it false, with *error naming `name` and the
// line number.
bool ParseKeyScript(const std::string &text, const std::string &name, std::vector<InputRun> *runs,
                    std::string *error);
bool ReadKeyScript(const std::string &path, std::vector<InputRun> *runs, std::string *error);

// Steps the script holds: the sum of its counts.
int64_t KeyScriptLength(const std::vector<InputRun> &runs);
