// The command line.
#pragma once

#include <cstdint>
#include <string>

struct CommandLine {
    bool help = false;
    bool version = false;       // print the version and end
    bool desktop = false;       // started from the desktop menu: files go to the XDG folders
    int startAnswer = -1;       // -1: ask the full-screen question; 0 windowed; 1 full screen
    int fps = 60;               // frames per second of the windowed loop; 0: unpaced
    bool headless = false;
    int64_t frames = -1;        // steps to run; -1: as many as the key script or demo holds, or no limit
    std::string inputPath;      // headless key script
    std::string dumpPath;       // world state written here at the end of the run
    std::string recordPath;     // demo recorded here in a window run
    std::string demoPath;       // demo played back (in a window or headless)
    bool timedemo = false;      // the demo is played as fast as it can be drawn, and timed
    std::string screenshotPath; // the picture after --frames steps of a window run
    bool check = false;         // check the game's data files instead of playing
    std::string checkDir;       // where the data to check lives; empty: the working directory
    std::string dataDir;        // where to read map/ and gfx/, instead of searching
    bool nosound = false;       // no sound device, nothing mixed
    int volume = 100;           // sound volume, 0..100
    std::string audioOutPath;   // everything mixed during the run written here as a WAV file
};

// Reads the options. False with *error saying what was wrong for an unknown option, a
// bad or missing value, or an option that does not fit the others.
bool ParseCommandLine(int argc, const char *const *argv, CommandLine *cl, std::string *error);

// The usage text printed by --help, with the order in which the data is looked for.
const char *UsageText();

// The version and licence lines printed by --version.
const char *VersionText();
