// Command-line options and the key scripts that drive headless runs.
#include "shell/cli.h"

#include "shell/keys.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

// Longest run a script line or --frames may ask for: far beyond any test, far below overflow.
static const int64_t MAX_STEPS = INT64_C(1000000000000);
static const int MAX_FPS = 1000;

const char *UsageText() {
    return "Usage: kav [OPTION]...\n"
           "Kav: steer the hero through five screens of guns, probes and trains.\n"
           "\n"
           "  --windowed      start in a window without asking\n"
           "  --fullscreen    start full screen (800x600) without asking\n"
           "  --fps N         frames per second (default 60; 0 runs as fast as it can)\n"
           "  --headless      run the game without a window, a GL context or pictures\n"
           "  --frames N      headless: run N steps (default: as many as the --input script holds)\n"
           "  --input FILE    headless: key script, one line per run of steps: COUNT [KEY ...]\n"
           "  --dump FILE     write the world state as JSON to FILE when the run ends\n"
           "  --check [DIR]   check the maps and pictures under DIR (default: here) and exit:\n"
           "                  status 0 when all is well, 1 when anything is wrong\n"
           "  --help          show this text\n";
}

// A whole non-negative decimal number no larger than max.
static bool ParseCount(const std::string &text, int64_t max, int64_t *value) {
    if (text.empty() || text.size() > 18) return false;
    for (char c : text)
        if (!std::isdigit((unsigned char)c)) return false;
    const long long v = std::strtoll(text.c_str(), nullptr, 10);
    if (v > max) return false;
    *value = v;
    return true;
}

bool ParseCommandLine(int argc, const char *const *argv, CommandLine *cl, std::string *error) {
    *cl = CommandLine();
    bool sawFps = false, sawFrames = false, sawInput = false;
    int otherOptions = 0;   // options besides --check
    for (int i = 1; i < argc; i++) {
        std::string arg = argv[i], value;
        bool inlineValue = false;
        const size_t eq = arg.find('=');
        if (arg.compare(0, 2, "--") == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
            inlineValue = true;
        }
        const bool takesValue = arg == "--fps" || arg == "--frames" || arg == "--input" || arg == "--dump";
        if (takesValue && !inlineValue) {
            if (i + 1 >= argc) {
                *error = "option " + arg + " needs a value";
                return false;
            }
            value = argv[++i];
        } else if (!takesValue && inlineValue && arg != "--check") {
            *error = "option " + arg + " takes no value";
            return false;
        }

        if (arg == "--check") {
            // The folder is optional: --check, --check DIR or --check=DIR.
            if (!inlineValue && i + 1 < argc && argv[i + 1][0] != '-') value = argv[++i];
            if (inlineValue && value.empty()) {
                *error = "option --check needs a folder name after '='";
                return false;
            }
            cl->check = true;
            cl->checkDir = value;
            continue;
        }
        otherOptions++;
        if (arg == "--help" || arg == "-h") {
            cl->help = true;
        } else if (arg == "--windowed" || arg == "--fullscreen") {
            const int answer = arg == "--fullscreen" ? 1 : 0;
            if (cl->startAnswer >= 0 && cl->startAnswer != answer) {
                *error = "--windowed and --fullscreen cannot both be given";
                return false;
            }
            cl->startAnswer = answer;
        } else if (arg == "--headless") {
            cl->headless = true;
        } else if (arg == "--fps") {
            int64_t fps;
            if (!ParseCount(value, MAX_FPS, &fps)) {
                *error = "--fps needs a whole number from 0 to 1000, not '" + value + "'";
                return false;
            }
            cl->fps = (int)fps;
            sawFps = true;
        } else if (arg == "--frames") {
            if (!ParseCount(value, MAX_STEPS, &cl->frames)) {
                *error = "--frames needs a whole number of steps (0 or more), not '" + value + "'";
                return false;
            }
            sawFrames = true;
        } else if (arg == "--input" || arg == "--dump") {
            if (value.empty()) {
                *error = "option " + arg + " needs a file name";
                return false;
            }
            (arg == "--input" ? cl->inputPath : cl->dumpPath) = value;
            sawInput |= arg == "--input";
        } else {
            *error = "unknown option '" + std::string(argv[i]) + "'";
            return false;
        }
    }
    if (cl->help) return true;
    if (cl->check && otherOptions > 0) {
        *error = "--check goes alone: it only checks the data files";
        return false;
    }
    if (!cl->headless && (sawFrames || sawInput)) {
        *error = std::string(sawFrames ? "--frames" : "--input") + " needs --headless";
        return false;
    }
    if (cl->headless && (cl->startAnswer >= 0 || sawFps)) {
        *error = std::string(sawFps ? "--fps" : cl->startAnswer ? "--fullscreen" : "--windowed") +
                 " has no meaning with --headless (no window)";
        return false;
    }
    return true;
}

int KeyCodeFromName(const std::string &name) {
    std::string n;
    for (char c : name) n += (char)std::toupper((unsigned char)c);
    if (n.size() == 1 && ((n[0] >= 'A' && n[0] <= 'Z') || (n[0] >= '0' && n[0] <= '9'))) return n[0];
    static const struct { const char *name; int code; } names[] = {
        {"LEFT", VK_LEFT_},   {"RIGHT", VK_RIGHT_},     {"UP", VK_UP_},         {"DOWN", VK_DOWN_},
        {"SPACE", VK_SPACE_}, {"ESCAPE", VK_ESCAPE_},   {"PAGEUP", VK_PRIOR_},  {"PAGEDOWN", VK_NEXT_},
        {"F1", VK_F1_},
    };
    for (const auto &k : names)
        if (n == k.name) return k.code;
    return -1;
}

bool ParseKeyScript(const std::string &text, const std::string &name, std::vector<InputRun> *runs,
                    std::string *error) {
    runs->clear();
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        lineNo++;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string word;
        if (!(words >> word) || word[0] == '#') continue;
        const std::string where = name + ":" + std::to_string(lineNo) + ": ";
        InputRun run;
        if (!ParseCount(word, MAX_STEPS, &run.count)) {
            *error = where + "a line starts with its count of steps (a whole number), not '" + word + "'";
            return false;
        }
        while (words >> word) {
            const int code = KeyCodeFromName(word);
            if (code < 0) {
                *error = where + "unknown key '" + word + "'";
                return false;
            }
            run.keys.push_back((uint8_t)code);
        }
        runs->push_back(run);
    }
    return true;
}

bool ReadKeyScript(const std::string &path, std::vector<InputRun> *runs, std::string *error) {
    std::error_code ec;
    std::ifstream file(path, std::ios::binary);
    if (!file || std::filesystem::is_directory(path, ec)) {
        *error = path + ": cannot be read";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        *error = path + ": read error";
        return false;
    }
    return ParseKeyScript(text.str(), path, runs, error);
}

int64_t KeyScriptLength(const std::vector<InputRun> &runs) {
    int64_t total = 0;
    for (const InputRun &run : runs) {
        if (run.count > INT64_MAX - total) return INT64_MAX;   // a script that long never ends anyway
        total += run.count;
    }
    return total;
}
