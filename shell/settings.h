// The player's settings file (kav.cfg): the start answer, the frame rate and the key
// bindings. Bindings turn a keyboard key into the game key it stands for before the key
// table sees it, so the game step, demos and dumps know nothing of them.
//
// The file is plain text, one setting a line, words separated by spaces or tabs, any case:
//   fullscreen ask|yes|no     the start question, or its answer
//   fps N                     frames per second, 0 to 1000 (0: as fast as it can)
//   sound on|off              the sound at start (S switches it while playing)
//   volume N                  the sound's volume, 0 to 100
//   bind KEY ACTION           ACTION: left right up down fire quit, or none
// Lines starting with '#' and empty lines are notes. A line that is not right is told about
// (file and line) and skipped; the rest of the file applies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

const size_t SETTINGS_MAX_BYTES = 64 * 1024;   // a real file is a few hundred bytes
const size_t SETTINGS_MAX_LINE = 256;          // bytes in a line, without its end
const int SETTINGS_MAX_PROBLEMS = 10;          // lines told about one by one; the rest are counted

struct Settings {
    int startAnswer;     // -1: ask the full-screen question; 0 windowed; 1 full screen
    int fps;             // frames per second of the windowed loop; 0: unpaced
    bool sound;          // the sound device is opened
    int volume;          // 0 to 100
    uint8_t keys[256];   // by keyboard key: the game key it stands for; 0 for none
};

// The settings with no file: the question asked, 60 frames a second, sound on at full
// volume, every key itself.
void DefaultSettings(Settings *settings);

// Applies the text of a settings file, line by line, over *settings. Each bad line adds one
// "NAME:LINE: what was wrong" to *problems (after SETTINGS_MAX_PROBLEMS of them, one more
// line says how many others were skipped).
void ApplySettingsText(const char *text, size_t size, const std::string &name, Settings *settings,
                       std::vector<std::string> *problems);

// Reads the file at path over *settings. A file that is not there is no problem unless it was
// named (the player's --config); one that cannot be read, or is larger than
// SETTINGS_MAX_BYTES, is one problem and changes nothing.
void ReadSettingsFile(const std::string &path, bool named, Settings *settings, std::vector<std::string> *problems);

// The settings in the file's own format, every binding of a game key written out.
std::string SettingsText(const Settings &settings);

// Where the settings file is looked for when none is named: kav.cfg in the user's
// configuration folder; empty when there is none.
std::string DefaultSettingsPath();

// The key name a settings file uses for a virtual-key code (null for a key it cannot name),
// and the code of a name (any case), or -1.
const char *SettingsKeyName(int vk);
int SettingsKeyCode(const std::string &name);

// The bindings in force: the window procedure maps every keyboard key message through it.
extern uint8_t keyBindings[256];
