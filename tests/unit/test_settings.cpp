// The settings file, the key bindings as the window procedure applies them, and the one
// table of what a game pad's buttons and stick mean on every backend.
#include "shell_fixture.h"

#include "platform/pad_keys.h"
#include "shell/script.h"
#include "shell/settings.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

static Settings Applied(const std::string &text, std::vector<std::string> *problems) {
    Settings s;
    DefaultSettings(&s);
    ApplySettingsText(text.data(), text.size(), "kav.cfg", &s, problems);
    return s;
}

TEST(SettingsFile, GoodLinesApplyAndEachBadOneIsNamedByFileAndLineAndSkipped) {
    std::vector<std::string> problems;
    const Settings s = Applied(std::string("\xEF\xBB\xBF") +   // an editor's byte-order mark
                                   "# my keys\r\n"
                                   "bind W up\r\n"
                                   "BIND kp_0 Fire   # keypad 0 fires too\n"
                                   "\n"
                                   "fullscreen no\n"
                                   "fps 0\n"
                                   "bind UP none\n"
                                   "bind F12 jump\n"          // 8: not an action
                                   "bind ALT up\n"            // 9: the system's key
                                   "bind W\n"                 // 10
                                   "fullscreen maybe\n"       // 11
                                   "fps 1001\n"               // 12
                                   "volume 101\n"             // 13
                                   "bind \x1b[2J fire\n"      // 14: a terminal escape
                                   + std::string(300, 'x') +  // 15: too long
                                   "\nsound off\nvolume 40\n"
                                   "jump\n"                   // 18
                                   "fps 30",                  // no line end at the end
                               &problems);
    const std::vector<std::string> expected = {
        "kav.cfg:8: unknown action 'jump' (left, right, up, down, fire, quit or none); line skipped",
        "kav.cfg:9: unknown key 'ALT'; line skipped",
        "kav.cfg:10: bind takes a key and an action: bind KEY ACTION; line skipped",
        "kav.cfg:11: fullscreen is ask, yes or no, not 'maybe'; line skipped",
        "kav.cfg:12: fps takes a whole number from 0 to 1000; line skipped",
        "kav.cfg:13: volume takes a whole number from 0 to 100; line skipped",
        "kav.cfg:14: not a line of text; line skipped",
        "kav.cfg:15: longer than 256 bytes; line skipped",
        "kav.cfg:18: unknown setting 'jump' (fullscreen, fps, sound, volume or bind); line skipped",
    };
    EXPECT_EQ(problems, expected);
    EXPECT_EQ(s.startAnswer, 0);
    EXPECT_EQ(s.fps, 30);
    EXPECT_FALSE(s.sound);
    EXPECT_EQ(s.volume, 40);
    EXPECT_EQ(s.keys['W'], VK_UP_);
    EXPECT_EQ(s.keys[VK_NUMPAD0_], VK_SPACE_);
    EXPECT_EQ(s.keys[VK_UP_], 0);
    EXPECT_EQ(s.keys[VK_SPACE_], VK_SPACE_);   // a key named nowhere is itself
    EXPECT_EQ(s.keys['G'], 'G');

    // What --print-config writes reads back to the same settings, without a problem.
    std::vector<std::string> none;
    const std::string text = SettingsText(s);
    const Settings back = Applied(text, &none);
    EXPECT_TRUE(none.empty()) << none[0];
    EXPECT_EQ(back.startAnswer, s.startAnswer);
    EXPECT_EQ(back.fps, s.fps);
    EXPECT_EQ(back.sound, s.sound);
    EXPECT_EQ(back.volume, s.volume);
    EXPECT_EQ(std::string((const char *)back.keys, 256), std::string((const char *)s.keys, 256)) << text;

    // Junk gets a few lines told, then a count: never a flood of messages.
    problems.clear();
    std::string junk;
    for (int i = 0; i < SETTINGS_MAX_PROBLEMS + 25; i++) junk += "\x01\x02\n";
    Applied(junk + "fps 10\n", &problems);
    ASSERT_EQ(problems.size(), size_t(SETTINGS_MAX_PROBLEMS + 1));
    EXPECT_EQ(problems.back(), "kav.cfg: 25 more bad lines skipped");
}

TEST(SettingsFile, AMissingFileIsQuietUnlessNamedAndAnUnreadableOneChangesNothing) {
    const std::string dir = testing::TempDir(), big = dir + "kav-big.cfg", good = dir + "kav-good.cfg";
    std::ofstream(big) << "fps 5\n" << std::string(SETTINGS_MAX_BYTES, '#');
    std::ofstream(good) << "fps 5\nbind A left\n";
    const struct { std::string path; bool named; int fps; size_t problems; const char *says; } cases[] = {
        {dir + "kav-none.cfg", false, 60, 0, ""},
        {dir + "kav-none.cfg", true, 60, 1, "cannot open"},
        {dir, false, 60, 1, "cannot open"},   // a folder where the file should be
        {big, true, 60, 1, "bytes of settings at most"},
        {good, false, 5, 0, ""},
    };
    for (const auto &c : cases) {
        Settings s;
        DefaultSettings(&s);
        std::vector<std::string> problems;
        ReadSettingsFile(c.path, c.named, &s, &problems);
        EXPECT_EQ(s.fps, c.fps) << c.path;
        ASSERT_EQ(problems.size(), c.problems) << c.path;
        if (c.problems) {
            EXPECT_EQ(problems[0].rfind(c.path + ": ", 0), 0u) << problems[0];
            EXPECT_NE(problems[0].find(c.says), std::string::npos) << problems[0];
        }
    }
    std::remove(big.c_str());
    std::remove(good.c_str());
}

TEST(SettingsFile, EveryKeyNameReadsBackAndTheKeyScriptsNamesAreAmongThem) {
    int named = 0;
    for (int vk = 1; vk < 256; vk++)
        if (const char *name = SettingsKeyName(vk)) {
            EXPECT_EQ(SettingsKeyCode(name), vk) << name;
            named++;
        }
    EXPECT_GT(named, 100);
    for (int k = 0; k < SCRIPT_KEY_COUNT; k++) EXPECT_EQ(SettingsKeyCode(ScriptKeyName(k)), ScriptKeyCode(k));
    EXPECT_EQ(SettingsKeyCode("ctrl"), VK_CONTROL_);
    EXPECT_EQ(SettingsKeyName(VK_F10_), nullptr);   // the system's
    EXPECT_EQ(SettingsKeyName(VK_MENU_), nullptr);
}

class BindingTest : public ShellTest {};

// The window procedure maps keyboard keys through the bindings; pad and touch keys are the
// game keys they name whatever the bindings say; a game key is held while any key holding it
// is down.
TEST_F(BindingTest, KeyboardKeysGoThroughTheBindingsAndAGameKeyIsHeldWhileAnyOfItsKeysIs) {
    keyBindings['W'] = VK_UP_;
    keyBindings['Q'] = VK_UP_;
    keyBindings[VK_UP_] = 0;
    keyBindings[VK_SPACE_] = VK_LEFT_;
    const int32_t KB = KEY_KEYBOARD, PAD = KEY_FIXED;
    const struct { int kind; uint32_t vk; int32_t source; bool up, left, space, w; } steps[] = {
        {MSG_KEYDOWN, 'W', KB, true, false, false, false},
        {MSG_KEYDOWN, 'Q', KB, true, false, false, false},
        {MSG_KEYUP, 'W', KB, true, false, false, false},       // Q still holds it
        {MSG_KEYDOWN, VK_UP_, PAD, true, false, false, false},
        {MSG_KEYUP, 'Q', KB, true, false, false, false},       // the pad still holds it
        {MSG_KEYUP, VK_UP_, KB, true, false, false, false},    // the keyboard's Up is bound to nothing
        {MSG_KEYUP, VK_UP_, PAD, false, false, false, false},
        {MSG_KEYDOWN, VK_UP_, KB, false, false, false, false},
        {MSG_KEYDOWN, VK_SPACE_, KB, false, true, false, false},
        {MSG_KEYDOWN, VK_SPACE_, PAD, false, true, true, false},   // a pad's fire is fire
        {MSG_KEYUP, VK_SPACE_, KB, false, false, true, false},
    };
    int row = 0;
    for (const auto &s : steps) {
        GameWindowProc({s.kind, s.vk, s.source});
        EXPECT_EQ(KeyState[VK_UP_], s.up) << "row " << row;
        EXPECT_EQ(KeyState[VK_LEFT_], s.left) << "row " << row;
        EXPECT_EQ(KeyState[VK_SPACE_], s.space) << "row " << row;
        EXPECT_EQ(KeyState['W'] || KeyState['Q'], s.w) << "row " << row;
        row++;
    }
    // Losing the focus lets go of everything, whoever held it.
    GameWindowProc({MSG_KEYDOWN, 'W', KB});
    GameWindowProc({MSG_ACTIVATE, 0, 0});
    GameWindowProc({MSG_KEYUP, VK_SPACE_, PAD});
    for (int vk = 0; vk < 256; vk++) EXPECT_FALSE(KeyState[vk]) << vk;
    GameWindowProc({MSG_KEYDOWN, 'Q', KB});
    EXPECT_TRUE(KeyState[VK_UP_]);
}

// One pad's state as the keys it holds: the table all three backends go through.
TEST(PadKeys, ButtonsAndTheLeftStickPastItsDeadZoneHoldTheGameKeys) {
    const uint32_t L = 1u << PAD_KEY_LEFT, R = 1u << PAD_KEY_RIGHT, U = 1u << PAD_KEY_UP, D = 1u << PAD_KEY_DOWN,
                   FIRE = 1u << PAD_KEY_FIRE, QUIT = 1u << PAD_KEY_QUIT;
    auto b = [](PadButton button) { return 1u << button; };
    const struct { PadState pad; uint32_t keys; } rows[] = {
        {{0, 0, 0}, 0},
        {{b(PAD_DPAD_LEFT), 0, 0}, L},
        {{b(PAD_DPAD_RIGHT), 0, 0}, R},
        {{b(PAD_DPAD_UP), 0, 0}, U},
        {{b(PAD_DPAD_DOWN), 0, 0}, D},
        {{b(PAD_A), 0, 0}, U},   // A jumps
        {{b(PAD_B), 0, 0}, FIRE},
        {{b(PAD_START), 0, 0}, QUIT},
        {{b(PAD_BACK), 0, 0}, QUIT},
        {{b(PAD_A) | b(PAD_B) | b(PAD_DPAD_RIGHT), 0, 0}, U | FIRE | R},
        {{0, -PAD_STICK_DEAD_ZONE, PAD_STICK_DEAD_ZONE}, 0},   // at the dead zone's edge: at rest
        {{0, -PAD_STICK_DEAD_ZONE - 1, 0}, L},
        {{0, 32767, 0}, R},
        {{0, 0, -32768}, U},   // y grows downward
        {{0, 0, PAD_STICK_DEAD_ZONE + 1}, D},
        {{b(PAD_DPAD_LEFT), 32767, 32767}, L | R | D},   // d-pad and stick together
    };
    int row = 0;
    for (const auto &r : rows) EXPECT_EQ(PadKeysOf(r.pad), r.keys) << "row " << row++;

    // The change from one set to another as key messages, in key order, as pad keys.
    PlatformMessage out[PAD_KEY_COUNT];
    ASSERT_EQ(PadKeyMessages(L | FIRE, R | FIRE | QUIT, out), 3);
    const PlatformMessage expected[] = {{MSG_KEYUP, VK_LEFT_, KEY_FIXED},
                                        {MSG_KEYDOWN, VK_RIGHT_, KEY_FIXED},
                                        {MSG_KEYDOWN, VK_ESCAPE_, KEY_FIXED}};
    for (int i = 0; i < 3; i++) {
        EXPECT_EQ(out[i].kind, expected[i].kind) << i;
        EXPECT_EQ(out[i].wParam, expected[i].wParam) << i;
        EXPECT_EQ(out[i].lParam, KEY_FIXED) << i;
    }
    EXPECT_EQ(PadKeyMessages(U, U, out), 0);
}
