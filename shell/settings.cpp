// The settings file and the key bindings.
#include "shell/settings.h"

#include "platform/files.h"
#include "platform/keycodes.h"
#include "shell/script.h"
#include "world/files.h"

#include <cstdio>
#include <cstring>

uint8_t keyBindings[256];
// Until settings are read, every key is itself.
static struct KeysThemselves {
    KeysThemselves() {
        for (int vk = 0; vk < 256; vk++) keyBindings[vk] = (uint8_t)vk;
    }
} keysThemselves;

static const int SETTINGS_MAX_FPS = 1000;

// Key names, the one a settings file is written with first for each code. Alt and F10 are
// missing: they are the system's and never reach the game.
struct KeyName {
    const char *name;
    int vk;
};
static const KeyName KEY_NAMES[] = {
    {"LEFT", VK_LEFT_}, {"RIGHT", VK_RIGHT_}, {"UP", VK_UP_}, {"DOWN", VK_DOWN_},
    {"SPACE", VK_SPACE_}, {"ESCAPE", VK_ESCAPE_}, {"ESC", VK_ESCAPE_},
    {"RETURN", VK_RETURN_}, {"ENTER", VK_RETURN_}, {"TAB", VK_TAB_}, {"BACKSPACE", VK_BACK_},
    {"SHIFT", VK_SHIFT_}, {"CONTROL", VK_CONTROL_}, {"CTRL", VK_CONTROL_},
    {"CAPSLOCK", VK_CAPITAL_}, {"PAUSE", VK_PAUSE_}, {"CLEAR", VK_CLEAR_},
    {"INSERT", VK_INSERT_}, {"DELETE", VK_DELETE_}, {"HOME", VK_HOME_}, {"END", VK_END_},
    {"PAGEUP", VK_PRIOR_}, {"PAGEDOWN", VK_NEXT_},
    {"KP_MULTIPLY", VK_MULTIPLY_}, {"KP_ADD", VK_ADD_}, {"KP_SUBTRACT", VK_SUBTRACT_},
    {"KP_DECIMAL", VK_DECIMAL_}, {"KP_DIVIDE", VK_DIVIDE_}, {"NUMLOCK", VK_NUMLOCK_},
    {"SCROLLLOCK", VK_SCROLL_}, {"SEMICOLON", VK_OEM_1_}, {"EQUALS", VK_OEM_PLUS_},
    {"COMMA", VK_OEM_COMMA_}, {"MINUS", VK_OEM_MINUS_}, {"PERIOD", VK_OEM_PERIOD_},
    {"SLASH", VK_OEM_2_}, {"GRAVE", VK_OEM_3_}, {"LEFTBRACKET", VK_OEM_4_},
    {"BACKSLASH", VK_OEM_5_}, {"RIGHTBRACKET", VK_OEM_6_}, {"APOSTROPHE", VK_OEM_7_},
    {"INTLBACKSLASH", VK_OEM_102_},
};

// The game keys a key can stand for, by the action's name; "none" is no key at all.
struct Action {
    const char *name;
    int vk;
};
static const Action ACTIONS[] = {
    {"left", VK_LEFT_}, {"right", VK_RIGHT_}, {"up", VK_UP_}, {"down", VK_DOWN_},
    {"fire", VK_SPACE_}, {"quit", VK_ESCAPE_}, {"none", 0},
};
static const char ACTION_LIST[] = "left, right, up, down, fire, quit or none";

static char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }
static bool SameWord(const std::string &a, const char *b) {
    if (a.size() != std::strlen(b)) return false;
    for (size_t i = 0; i < a.size(); i++)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

const char *SettingsKeyName(int vk) {
    static char single[256][2];
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        single[vk][0] = char(vk);
        return single[vk];
    }
    static char numbered[256][8];
    if (vk >= VK_NUMPAD0_ && vk <= VK_NUMPAD0_ + 9) {
        std::snprintf(numbered[vk], sizeof numbered[vk], "KP_%d", vk - VK_NUMPAD0_);
        return numbered[vk];
    }
    if (vk >= VK_F1_ && vk < VK_F1_ + 24 && vk != VK_F10_) {
        std::snprintf(numbered[vk], sizeof numbered[vk], "F%d", vk - VK_F1_ + 1);
        return numbered[vk];
    }
    for (const KeyName &k : KEY_NAMES)
        if (k.vk == vk) return k.name;
    return nullptr;
}

int SettingsKeyCode(const std::string &name) {
    for (int vk = 1; vk < 256; vk++)
        if (const char *n = SettingsKeyName(vk))
            if (SameWord(name, n)) return vk;
    for (const KeyName &k : KEY_NAMES)
        if (SameWord(name, k.name)) return k.vk;
    return -1;
}

void DefaultSettings(Settings *settings) {
    settings->startAnswer = -1;
    settings->fps = 60;
    settings->sound = true;
    settings->volume = 100;
    for (int vk = 0; vk < 256; vk++) settings->keys[vk] = (uint8_t)vk;
}

// A word of the file as it may be shown in a message: control bytes escaped, cut when long.
static std::string Shown(const std::string &word) {
    char shown[128];
    return EscapedText(word.data(), word.size(), 32, shown, sizeof shown);
}

// One line's words, applied. Empty when it was right, else what was wrong.
static std::string ApplyLine(const std::vector<std::string> &words, Settings *settings) {
    const std::string &setting = words[0];
    const size_t needed = SameWord(setting, "bind") ? 3 : 2;
    if (SameWord(setting, "fullscreen")) {
        if (words.size() != 2) return "fullscreen takes one word: ask, yes or no";
        static const char *const ANSWERS[] = {"ask", "no", "yes"};
        for (int a = 0; a < 3; a++)
            if (SameWord(words[1], ANSWERS[a])) {
                settings->startAnswer = a - 1;
                return "";
            }
        return "fullscreen is ask, yes or no, not '" + Shown(words[1]) + "'";
    }
    if (SameWord(setting, "fps")) {
        int64_t fps;
        if (words.size() != 2 || !ParseCount(words[1], SETTINGS_MAX_FPS, &fps))
            return "fps takes a whole number from 0 to 1000";
        settings->fps = (int)fps;
        return "";
    }
    if (SameWord(setting, "sound")) {
        if (words.size() == 2 && (SameWord(words[1], "on") || SameWord(words[1], "off"))) {
            settings->sound = SameWord(words[1], "on");
            return "";
        }
        return "sound is on or off";
    }
    if (SameWord(setting, "volume")) {
        int64_t volume;
        if (words.size() != 2 || !ParseCount(words[1], 100, &volume)) return "volume takes a whole number from 0 to 100";
        settings->volume = (int)volume;
        return "";
    }
    if (SameWord(setting, "bind")) {
        if (words.size() != needed) return "bind takes a key and an action: bind KEY ACTION";
        const int vk = SettingsKeyCode(words[1]);
        if (vk < 0) return "unknown key '" + Shown(words[1]) + "'";
        for (const Action &a : ACTIONS)
            if (SameWord(words[2], a.name)) {
                settings->keys[vk] = (uint8_t)a.vk;
                return "";
            }
        return "unknown action '" + Shown(words[2]) + "' (" + ACTION_LIST + ")";
    }
    return "unknown setting '" + Shown(setting) + "' (fullscreen, fps, sound, volume or bind)";
}

// Splits a line into words; false when it holds a byte that text does not.
static bool SplitWords(const char *line, size_t len, std::vector<std::string> *words) {
    words->clear();
    std::string word;
    for (size_t i = 0; i <= len; i++) {
        const unsigned char c = i < len ? (unsigned char)line[i] : ' ';
        if (c == ' ' || c == '\t') {
            if (!word.empty()) words->push_back(word);
            word.clear();
        } else if (c < 0x20 || c == 0x7F) {
            return false;
        } else {
            word += char(c);
        }
    }
    return true;
}

void ApplySettingsText(const char *text, size_t size, const std::string &name, Settings *settings,
                       std::vector<std::string> *problems) {
    int told = 0, untold = 0;
    auto problem = [&](int line, const std::string &what) {
        if (told++ < SETTINGS_MAX_PROBLEMS)
            problems->push_back(name + ":" + std::to_string(line) + ": " + what + "; line skipped");
        else
            untold++;
    };
    // A byte-order mark, as some editors write one, is not part of the first line.
    size_t at = size >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    std::vector<std::string> words;
    for (int line = 1; at < size; line++) {
        const char *start = text + at;
        const char *nl = (const char *)std::memchr(start, '\n', size - at);
        size_t len = nl ? size_t(nl - start) : size - at;
        at += len + 1;
        if (len > 0 && start[len - 1] == '\r') len--;
        if (len > SETTINGS_MAX_LINE) {
            problem(line, "longer than " + std::to_string(SETTINGS_MAX_LINE) + " bytes");
            continue;
        }
        if (!SplitWords(start, len, &words)) {
            problem(line, "not a line of text");
            continue;
        }
        // A word starting with '#' begins a note that runs to the end of the line.
        for (size_t w = 0; w < words.size(); w++)
            if (words[w][0] == '#') words.resize(w);
        if (words.empty()) continue;
        const std::string wrong = ApplyLine(words, settings);
        if (!wrong.empty()) problem(line, wrong);
    }
    if (untold > 0) problems->push_back(name + ": " + std::to_string(untold) + " more bad lines skipped");
}

void ReadSettingsFile(const std::string &path, bool named, Settings *settings, std::vector<std::string> *problems) {
    static char text[SETTINGS_MAX_BYTES];
    size_t size = 0;
    const FileReadResult read = ReadFileInto(path.c_str(), text, sizeof text, &size);
    if (read == FILE_CANNOT_OPEN && !named && !PlatformInspect(path.c_str()).exists) return;
    if (read != FILE_READ_OK) {
        const std::string limit =
            read == FILE_TOO_LARGE ? " (" + std::to_string(SETTINGS_MAX_BYTES) + " bytes of settings at most)" : "";
        problems->push_back(path + ": " + FileReadText(read) + limit + "; the game's own settings apply");
        return;
    }
    ApplySettingsText(text, size, path, settings, problems);
}

std::string SettingsText(const Settings &settings) {
    static const char *const ANSWERS[] = {"ask", "no", "yes"};
    std::string text =
        "# Kav settings: fullscreen ask|yes|no, fps N (0 to 1000), sound on|off, volume N (0 to 100),\n"
        "# bind KEY ACTION"
        " (ACTION: left, right, up, down, fire, quit or none).\n";
    const int answer = settings.startAnswer < 0 ? 0 : settings.startAnswer > 0 ? 2 : 1;
    text += std::string("fullscreen ") + ANSWERS[answer] + "\n";
    text += "fps " + std::to_string(settings.fps) + "\n";
    text += std::string("sound ") + (settings.sound ? "on" : "off") + "\n";
    text += "volume " + std::to_string(settings.volume) + "\n";
    for (const Action &a : ACTIONS)
        for (int vk = 1; vk < 256; vk++) {
            const char *key = SettingsKeyName(vk);
            // Every key of a game key, and every key taken away from what it was.
            if (key && settings.keys[vk] == a.vk)
                text += std::string("bind ") + key + " " + a.name + "\n";
        }
    return text;
}

std::string DefaultSettingsPath() {
    const std::string folder = PlatformUserConfigFolder();
    return folder.empty() ? folder : folder + "kav.cfg";
}
