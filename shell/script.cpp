// Key scripts and demos: reading them line by line within limits, and recording them.
#include "shell/script.h"

#include "world/files.h"
#include "world/world.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

static const char *const NAMED_KEYS[] = {"LEFT", "RIGHT", "UP", "DOWN", "SPACE", "ESCAPE", "PAGEUP", "PAGEDOWN", "F1"};
static const int NAMED_CODES[] = {VK_LEFT_, VK_RIGHT_, VK_UP_, VK_DOWN_, VK_SPACE_, VK_ESCAPE_, VK_PRIOR_, VK_NEXT_, VK_F1_};
static const int NAMED_COUNT = 9;
static const char LETTERS_AND_DIGITS[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

const char *ScriptKeyName(int key) {
    if (key < NAMED_COUNT) return NAMED_KEYS[key];
    static char names[36][2];
    char *name = names[key - NAMED_COUNT];
    name[0] = LETTERS_AND_DIGITS[key - NAMED_COUNT];
    return name;
}

int ScriptKeyCode(int key) {
    return key < NAMED_COUNT ? NAMED_CODES[key] : LETTERS_AND_DIGITS[key - NAMED_COUNT];
}

int ScriptKeyFromName(const std::string &name) {
    std::string n;
    for (char c : name) n += (char)std::toupper((unsigned char)c);
    if (n.size() == 1) {
        const char *p = std::strchr(LETTERS_AND_DIGITS, n[0]);
        if (n[0] && p) return NAMED_COUNT + (int)(p - LETTERS_AND_DIGITS);
    }
    for (int k = 0; k < NAMED_COUNT; k++)
        if (n == NAMED_KEYS[k]) return k;
    return -1;
}

bool ParseCount(const std::string &text, int64_t max, int64_t *value) {
    if (text.empty() || text.size() > 18) return false;
    for (char c : text)
        if (!std::isdigit((unsigned char)c)) return false;
    const long long v = std::strtoll(text.c_str(), nullptr, 10);
    if (v > max) return false;
    *value = v;
    return true;
}

// A word of a script as it may be shown in a message: control characters (terminal escapes
// among them) escaped, and cut short when long.
static std::string Shown(const std::string &word) {
    char shown[256];
    return EscapedText(word.data(), word.size(), 40, shown, sizeof shown);
}

bool ParseStepLimit(const std::string &text, const char *what, int64_t *steps, std::string *error) {
    if (ParseCount(text, MAX_STEPS, steps)) return true;
    *error = std::string(what) + " needs a whole number of steps, 0 to " + MAX_STEPS_TEXT + ", not '" + Shown(text) + "'";
    return false;
}

// A stream, or a text in memory, read one line at a time within the limits.
struct LineReader {
    FILE *in;                   // null: the text is read
    const std::string *text;
    size_t at;                  // next byte of the text
    const std::string *name;
    int64_t lineNo;
    int64_t bytes;
    std::string line;
    bool ended;                 // the line ended with a newline
};

static int NextByte(LineReader *r) {
    if (r->in) return getc(r->in);
    return r->at < r->text->size() ? (unsigned char)(*r->text)[r->at++] : EOF;
}

// "name:line: " for messages about the current line.
static std::string Where(const LineReader &r) {
    return *r.name + ":" + std::to_string(r.lineNo) + ": ";
}

// The next line, without its end ("\n" or "\r\n"), into r->line. 1: a line; 0: the end;
// -1: failure, with *error set. Reading stops at the first byte past a limit.
static int NextLine(LineReader *r, std::string *error) {
    r->line.clear();
    r->ended = false;
    int c = NextByte(r);
    if (c != EOF) r->lineNo++;
    for (; c != EOF; c = NextByte(r)) {
        if (++r->bytes > SCRIPT_MAX_BYTES) {
            *error = Where(*r) + "the file is longer than " + std::to_string(SCRIPT_MAX_BYTES >> 20) +
                     " MB, more than any script or demo needs";
            return -1;
        }
        if (c == '\n') {
            r->ended = true;
            break;
        }
        if (r->line.size() == SCRIPT_MAX_LINE) {
            *error = Where(*r) + "the line is longer than " + std::to_string(SCRIPT_MAX_LINE) + " bytes";
            return -1;
        }
        r->line += (char)c;
    }
    if (r->in && ferror(r->in)) {
        *error = *r->name + ": read error: " + std::strerror(errno);
        return -1;
    }
    if (c == EOF && r->line.empty()) return 0;
    if (!r->line.empty() && r->line.back() == '\r') r->line.pop_back();
    return 1;
}

// The words of a line, split at spaces and tabs.
static std::vector<std::string> Words(const std::string &line) {
    std::vector<std::string> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) i++;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') i++;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

static bool AllDigits(const std::string &word) {
    for (char c : word)
        if (!std::isdigit((unsigned char)c)) return false;
    return true;
}

// The runs of the lines still to come. With wholeLinesOnly (a demo) a last line without its
// newline is left out, and said so on stderr.
static bool ReadRuns(LineReader *r, std::vector<InputRun> *runs, std::string *error, bool wholeLinesOnly) {
    int got;
    int64_t total = 0;
    while ((got = NextLine(r, error)) > 0) {
        const std::vector<std::string> words = Words(r->line);
        if (words.empty() || words[0][0] == '#') continue;
        if (wholeLinesOnly && !r->ended) {
            std::fprintf(stderr, "kav: %sthe last line was cut short (it has no end); the demo plays up to the line before\n",
                         Where(*r).c_str());
            return true;
        }
        InputRun run = {0, 0};
        if (!ParseCount(words[0], MAX_STEPS, &run.count)) {
            if (AllDigits(words[0]))
                *error = Where(*r) + Shown(words[0]) + " steps in one line, more than a script or demo may hold: " +
                         MAX_STEPS_TEXT;
            else
                *error = Where(*r) + "a line starts with its count of steps (a whole number), not '" +
                         Shown(words[0]) + "'";
            return false;
        }
        total += run.count;
        if (total > MAX_STEPS) {
            *error = Where(*r) + "the lines up to here add up to more steps than a script or demo may hold: " +
                     MAX_STEPS_TEXT;
            return false;
        }
        for (size_t w = 1; w < words.size(); w++) {
            const int key = ScriptKeyFromName(words[w]);
            if (key < 0) {
                *error = Where(*r) + "unknown key '" + Shown(words[w]) + "'";
                return false;
            }
            run.keys |= UINT64_C(1) << key;
        }
        // A line of no steps holds nothing; a line with the keys of the one before adds to it.
        if (run.count == 0) continue;
        if (!runs->empty() && runs->back().keys == run.keys) runs->back().count += run.count;
        else runs->push_back(run);
    }
    return got == 0;
}

bool ReadKeyScriptFrom(FILE *in, const std::string &name, std::vector<InputRun> *runs, std::string *error) {
    runs->clear();
    LineReader r = {in, nullptr, 0, &name, 0, 0, std::string(), false};
    return ReadRuns(&r, runs, error, false);
}

bool ParseKeyScript(const std::string &text, const std::string &name, std::vector<InputRun> *runs,
                    std::string *error) {
    runs->clear();
    LineReader r = {nullptr, &text, 0, &name, 0, 0, std::string(), false};
    return ReadRuns(&r, runs, error, false);
}

// Opens a script: a file, a pipe or a device, but not a folder.
static FILE *OpenScript(const std::string &path, std::string *error) {
    std::error_code ec;
    FILE *in = std::filesystem::is_directory(path, ec) ? nullptr : std::fopen(path.c_str(), "rb");
    if (!in) *error = path + ": cannot be read";
    return in;
}

bool ReadKeyScript(const std::string &path, std::vector<InputRun> *runs, std::string *error) {
    FILE *in = OpenScript(path, error);
    if (!in) return false;
    const bool ok = ReadKeyScriptFrom(in, path, runs, error);
    std::fclose(in);
    return ok;
}

// The header of a demo: "# kav demo VERSION map MAP".
static bool ReadDemoHeader(LineReader *r, int *startMap, std::string *error) {
    const int got = NextLine(r, error);
    if (got < 0) return false;
    if (r->lineNo == 0) r->lineNo = 1;
    const std::vector<std::string> w = Words(r->line);
    int64_t version, map;
    if (got == 0 || w.size() != 6 || w[0] != "#" || w[1] != "kav" || w[2] != "demo" || w[4] != "map" ||
        !ParseCount(w[3], 1000000, &version) || !ParseCount(w[5], 1000000, &map)) {
        *error = Where(*r) + "not a demo: its first line is not '# kav demo " + std::to_string(DEMO_VERSION) +
                 " map N'";
        return false;
    }
    if (version != DEMO_VERSION) {
        *error = Where(*r) + "a demo of version " + std::to_string(version) + ", and this game plays version " +
                 std::to_string(DEMO_VERSION);
        return false;
    }
    if (map >= MAP_COUNT) {
        *error = Where(*r) + "start map " + std::to_string(map) + " is not one of the game's maps (0 to " +
                 std::to_string(MAP_COUNT - 1) + ")";
        return false;
    }
    *startMap = (int)map;
    return true;
}

bool ReadDemo(const std::string &path, std::vector<InputRun> *runs, int *startMap, std::string *error) {
    FILE *in = OpenScript(path, error);
    if (!in) return false;
    runs->clear();
    LineReader r = {in, nullptr, 0, &path, 0, 0, std::string(), false};
    const bool ok = ReadDemoHeader(&r, startMap, error) && ReadRuns(&r, runs, error, true);
    std::fclose(in);
    return ok;
}

int64_t KeyScriptLength(const std::vector<InputRun> &runs) {
    int64_t total = 0;
    for (const InputRun &run : runs) {
        if (run.count > INT64_MAX - total) return INT64_MAX;   // a script that long never ends anyway
        total += run.count;
    }
    return total;
}

bool NextScriptStep(ScriptCursor *cursor, uint64_t *keys) {
    const std::vector<InputRun> &runs = *cursor->runs;
    while (cursor->run < runs.size() && cursor->done >= runs[cursor->run].count) {
        cursor->run++;
        cursor->done = 0;
    }
    if (cursor->run == runs.size()) {
        *keys = 0;
        return false;
    }
    *keys = runs[cursor->run].keys;
    cursor->done++;
    return true;
}

void HoldScriptKeys(uint64_t keys) {
    std::memset(KeyState, 0, sizeof KeyState);
    for (int k = 0; k < SCRIPT_KEY_COUNT; k++)
        if (keys >> k & 1) KeyState[ScriptKeyCode(k)] = true;
}

uint64_t HeldScriptKeys() {
    uint64_t keys = 0;
    for (int k = 0; k < SCRIPT_KEY_COUNT; k++)
        if (KeyState[ScriptKeyCode(k)]) keys |= UINT64_C(1) << k;
    return keys;
}

bool StartDemo(DemoRecorder *demo, const std::string &path, int startMap, std::string *error) {
    *demo = DemoRecorder{};
    if (!BeginAtomicFile(&demo->out, path.c_str(), error)) return false;
    errno = 0;
    if (std::fprintf(demo->out.file, "# kav demo %d map %d\n", DEMO_VERSION, startMap) < 0 ||
        std::fflush(demo->out.file) != 0) {
        const int saved = errno;
        AbandonAtomicFile(&demo->out);
        errno = saved;
        *error = demo->out.target + ": cannot write the demo (" + std::strerror(errno) +
                 "); the earlier file is left as it was";
        return false;
    }
    return true;
}

void KeepDemo(DemoRecorder *demo) {
    if (!demo->out.file) return;
    std::string error;
    // Closed to be renamed (Windows renames no open file), then opened again to go on.
    if (!FinishAtomicFile(&demo->out, &error)) {
        std::fprintf(stderr, "kav: %s; nothing is recorded\n", error.c_str());
        return;
    }
    demo->kept = true;
    demo->out.file = std::fopen(demo->out.target.c_str(), "ab");
    if (!demo->out.file)
        std::fprintf(stderr, "kav: %s: the demo cannot be written on (%s); it holds no steps\n",
                     demo->out.target.c_str(), std::strerror(errno));
}

// Writes the run of steps gathered so far as one line.
static void WriteDemoRun(DemoRecorder *demo) {
    if (!demo->out.file || !demo->kept || demo->count == 0) return;
    std::string line = std::to_string(demo->count);
    for (int k = 0; k < SCRIPT_KEY_COUNT; k++)
        if (demo->keys >> k & 1) line += std::string(" ") + ScriptKeyName(k);
    line += '\n';
    if (std::fputs(line.c_str(), demo->out.file) < 0 || std::fflush(demo->out.file) != 0) {
        std::fprintf(stderr, "kav: %s: the demo could not be written on (%s); recording stops here\n",
                     demo->out.target.c_str(), std::strerror(errno));
        std::fclose(demo->out.file);
        demo->out.file = nullptr;
    }
    demo->count = 0;
}

void RecordDemoStep(DemoRecorder *demo) {
    const uint64_t keys = HeldScriptKeys();
    if (demo->count > 0 && keys != demo->keys) WriteDemoRun(demo);
    demo->keys = keys;
    demo->count++;
}

void EndDemo(DemoRecorder *demo) {
    if (!demo->kept) {   // the game never ran: the earlier file stays
        AbandonAtomicFile(&demo->out);
        demo->out.temp.clear();
        return;
    }
    WriteDemoRun(demo);
    if (demo->out.file) std::fclose(demo->out.file);
    demo->out.file = nullptr;
}
