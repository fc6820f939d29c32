// Key scripts and demos: the keys held at each step, as run-length text lines.
//
// A script is read as a stream, one line at a time, so it may come from a pipe; a line
// longer than SCRIPT_MAX_LINE bytes or a file longer than SCRIPT_MAX_BYTES stops the reading
// at that line, before memory grows. A demo is a script whose first line names the format
// version and the start map ("# kav demo 1 map 0"): to a plain script that line is a note.
// The game writes every line of a demo whole, ending in a newline; a last line without one
// was cut short by a full disk or a killed game, and a demo plays up to the line before it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "world/files.h"

const size_t SCRIPT_MAX_LINE = 4096;                  // bytes in a line, without its end
const int64_t SCRIPT_MAX_BYTES = INT64_C(4) << 20;    // an hour of play is well under 1 MB
const int DEMO_VERSION = 1;

// The keys a script can name: LEFT RIGHT UP DOWN SPACE ESCAPE PAGEUP PAGEDOWN F1, then A to Z
// and 0 to 9. A set of them is a bit mask, one bit per key in this order.
const int SCRIPT_KEY_COUNT = 45;
const char *ScriptKeyName(int key);
int ScriptKeyCode(int key);   // its virtual-key code

// Index of a key name (any case) among the script keys, or -1.
int ScriptKeyFromName(const std::string &name);

// Most steps a script, a demo or --frames may ask for, in one line or all lines together:
// over nine days of play at 60 steps a second (a day is 5,184,000), so no real recording
// comes near it, while a headless run of that many steps still ends within minutes.
const int64_t MAX_STEPS = 50000000;
const char *const MAX_STEPS_TEXT = "50000000 steps (over nine days of play)";
// A whole non-negative decimal number no larger than max.
bool ParseCount(const std::string &text, int64_t max, int64_t *value);
// A number of steps to run as a person gives it (--frames N, the web page's frames=N): 0 to
// MAX_STEPS. False with *error naming `what`.
bool ParseStepLimit(const std::string &text, const char *what, int64_t *steps, std::string *error);

// One line of a key script: these keys are held for `count` steps.
struct InputRun {
    int64_t count;
    uint64_t keys;   // bit k: script key k is held
};

// Reads a key script from an open stream: one run per line, "COUNT [KEY ...]"; lines
// starting with '#' and empty lines are skipped. A bad line, a line too long or a stream
// too long makes it false, with *error naming `name` and the line number.
bool ReadKeyScriptFrom(FILE *in, const std::string &name, std::vector<InputRun> *runs, std::string *error);
// The same from text in memory, and from a file (or a pipe, or a device).
bool ParseKeyScript(const std::string &text, const std::string &name, std::vector<InputRun> *runs,
                    std::string *error);
bool ReadKeyScript(const std::string &path, std::vector<InputRun> *runs, std::string *error);
// A demo: the script after a header line of version DEMO_VERSION, whose start map
// (0 to MAP_COUNT - 1) goes to *startMap. A last line with no newline is left out, with a
// note on stderr: it is the half line of a recording that was cut short.
bool ReadDemo(const std::string &path, std::vector<InputRun> *runs, int *startMap, std::string *error);

// Steps the script holds: the sum of its counts.
int64_t KeyScriptLength(const std::vector<InputRun> &runs);

// A place in a script, step by step.
struct ScriptCursor {
    const std::vector<InputRun> *runs;
    size_t run;       // the run of the next step
    int64_t done;     // steps of that run already taken
};
// The keys of the next step into *keys, and the cursor moves on; false (and no keys) once
// the script has ended.
bool NextScriptStep(ScriptCursor *cursor, uint64_t *keys);

// The key table holds exactly the keys of the set.
void HoldScriptKeys(uint64_t keys);
// The script keys held in the key table now.
uint64_t HeldScriptKeys();

// A demo being recorded: each step's keys, one line written (and flushed) whenever they
// change, so a killed game leaves a demo that plays up to its last whole line.
//
// An earlier file at the path is kept until the game is known to run: the header goes to a
// new file beside it, which replaces it only once the window is up (KeepDemo).
struct DemoRecorder {
    AtomicFile out;   // out.file: the demo being written; null when not recording
    bool kept;        // the new file has replaced the earlier one
    uint64_t keys;    // keys of the run not yet written
    int64_t count;    // its steps so far
};

// Writes the header to a new file beside path. False with *error when it cannot be written;
// the earlier file is then as it was and nothing is left behind.
bool StartDemo(DemoRecorder *demo, const std::string &path, int startMap, std::string *error);
// The game runs: the new file replaces the earlier one and the steps are written to it from
// now on. A failure is said on stderr, the earlier file stays and nothing is recorded.
void KeepDemo(DemoRecorder *demo);
// Adds one step with the keys held in the key table now. A failed write is said once on
// stderr and ends the recording; the game goes on.
void RecordDemoStep(DemoRecorder *demo);
// Writes the last run and closes the file; a demo never kept is removed, leaving the
// earlier file as it was.
void EndDemo(DemoRecorder *demo);
