// The SDL2 backend's translation of SDL events into the game's messages: the keypad with
// and without Num Lock, system keys, window events, the close box and the quit message,
// and game pads, whose buttons and stick come out as the keys they stand for.
#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/platform.h"

// Nothing is dispatched here: the messages are read as they come out of the queue.
intptr_t GameWindowProc(const PlatformMessage &) { return 0; }

namespace {

class SdlEvents : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_setenv("SDL_VIDEODRIVER", "dummy", 0);   // events only: no window system needed
        ASSERT_TRUE(PlatformRegisterClass());
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    // The one message that an event pushed into SDL's queue comes out as.
    static PlatformMessage Through(SDL_Event ev) {
        EXPECT_EQ(SDL_PushEvent(&ev), 1);
        PlatformMessage msg = {MSG_NONE, 0, 0};
        EXPECT_TRUE(PlatformPeekMessage(&msg));
        EXPECT_FALSE(PlatformPeekMessage(&msg)) << "more than one message";
        return msg;
    }
};

TEST_F(SdlEvents, KeysComeOutAsWindowsVirtualKeysKeypadByNumLockAltAndF10AsSystemKeys) {
    const Uint16 NUM = KMOD_NUM, ALT = KMOD_LALT;
    const struct {
        SDL_Scancode scancode;
        SDL_Keycode sym;
        Uint16 mod;
        bool down;
        int kind;
        uint32_t vk;
    } keys[] = {
        // The keypad walks with Num Lock off, as on Windows; with it on, it gives digits.
        {SDL_SCANCODE_KP_4, SDLK_KP_4, 0, true, MSG_KEYDOWN, VK_LEFT_},
        {SDL_SCANCODE_KP_4, SDLK_KP_4, NUM, false, MSG_KEYUP, VK_LEFT_},   // Num Lock went on while held
        {SDL_SCANCODE_KP_4, SDLK_KP_4, NUM, true, MSG_KEYDOWN, VK_NUMPAD0_ + 4},
        {SDL_SCANCODE_KP_4, SDLK_KP_4, 0, false, MSG_KEYUP, VK_NUMPAD0_ + 4},
        {SDL_SCANCODE_KP_8, SDLK_KP_8, 0, true, MSG_KEYDOWN, VK_UP_},
        {SDL_SCANCODE_KP_2, SDLK_KP_2, 0, true, MSG_KEYDOWN, VK_DOWN_},
        {SDL_SCANCODE_KP_6, SDLK_KP_6, 0, true, MSG_KEYDOWN, VK_RIGHT_},
        {SDL_SCANCODE_KP_9, SDLK_KP_9, 0, true, MSG_KEYDOWN, VK_PRIOR_},
        {SDL_SCANCODE_KP_3, SDLK_KP_3, 0, true, MSG_KEYDOWN, VK_NEXT_},
        {SDL_SCANCODE_KP_5, SDLK_KP_5, 0, true, MSG_KEYDOWN, VK_CLEAR_},
        {SDL_SCANCODE_KP_0, SDLK_KP_0, 0, true, MSG_KEYDOWN, VK_INSERT_},
        {SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, 0, true, MSG_KEYDOWN, VK_DELETE_},
        {SDL_SCANCODE_KP_0, SDLK_KP_0, NUM, true, MSG_KEYDOWN, VK_NUMPAD0_},
        {SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, NUM, true, MSG_KEYDOWN, VK_DECIMAL_},
        // Letters follow the layout (Q where the board says A). (Digits, Escape, F1 and Page Up
        // are pressed on the real program under Xvfb.)
        {SDL_SCANCODE_Q, SDLK_a, 0, true, MSG_KEYDOWN, VK_A_},
        // Alt, keys with Alt held and F10 are system keys, down and up.
        {SDL_SCANCODE_LALT, SDLK_LALT, ALT, true, MSG_SYSKEYDOWN, VK_MENU_},
        {SDL_SCANCODE_X, SDLK_x, ALT, true, MSG_SYSKEYDOWN, VK_A_ + ('X' - 'A')},
        {SDL_SCANCODE_X, SDLK_x, ALT, false, MSG_SYSKEYUP, VK_A_ + ('X' - 'A')},
        {SDL_SCANCODE_LALT, SDLK_LALT, 0, false, MSG_SYSKEYUP, VK_MENU_},
        {SDL_SCANCODE_RIGHT, SDLK_RIGHT, KMOD_RALT, true, MSG_SYSKEYDOWN, VK_RIGHT_},
        {SDL_SCANCODE_F10, SDLK_F10, 0, true, MSG_SYSKEYDOWN, VK_F10_},
        {SDL_SCANCODE_X, SDLK_x, 0, true, MSG_KEYDOWN, VK_A_ + ('X' - 'A')},
        // A key with no virtual key still takes its pass of the loop, and nothing more.
        {SDL_SCANCODE_AUDIOPLAY, SDLK_AUDIOPLAY, 0, true, MSG_OTHER, 0},
    };
    int row = 0;
    for (const auto &k : keys) {
        SDL_Event ev = {};
        ev.type = k.down ? SDL_KEYDOWN : SDL_KEYUP;
        ev.key.state = k.down ? SDL_PRESSED : SDL_RELEASED;
        ev.key.keysym.scancode = k.scancode;
        ev.key.keysym.sym = k.sym;
        ev.key.keysym.mod = k.mod;
        const PlatformMessage msg = Through(ev);
        EXPECT_EQ(msg.kind, k.kind) << "row " << row;
        EXPECT_EQ(msg.wParam, k.vk) << "row " << row;
        row++;
    }
}

TEST_F(SdlEvents, WindowEventsBecomeActivationSizeAndCloseAndThePostedQuitCarriesItsCode) {
    const struct {
        Uint8 event;
        int kind;
        uint32_t wParam;
        int32_t lParam;
    } windowEvents[] = {
        {SDL_WINDOWEVENT_MINIMIZED, MSG_ACTIVATE, 1u << 16, 0},   // minimised: the drawing stops
        {SDL_WINDOWEVENT_RESTORED, MSG_ACTIVATE, 1, 0},
        {SDL_WINDOWEVENT_FOCUS_LOST, MSG_ACTIVATE, 0, 0},         // another window has the focus
        {SDL_WINDOWEVENT_FOCUS_GAINED, MSG_ACTIVATE, 1, 0},
        {SDL_WINDOWEVENT_SIZE_CHANGED, MSG_SIZE, 0, 640 | (480 << 16)},   // (the close box: on the real program)
        {SDL_WINDOWEVENT_MOVED, MSG_OTHER, 0, 0},
    };
    for (const auto &w : windowEvents) {
        SDL_Event ev = {};
        ev.type = SDL_WINDOWEVENT;
        ev.window.event = w.event;
        ev.window.data1 = 640;
        ev.window.data2 = 480;
        const PlatformMessage msg = Through(ev);
        EXPECT_EQ(msg.kind, w.kind) << "window event " << (int)w.event;
        EXPECT_EQ(msg.wParam, w.wParam) << "window event " << (int)w.event;
        EXPECT_EQ(msg.lParam, w.lParam) << "window event " << (int)w.event;
    }

    SDL_Event quit = {};
    quit.type = SDL_QUIT;   // asked to end from outside: as the close box
    EXPECT_EQ(Through(quit).kind, MSG_CLOSE);

    PlatformPostQuit(27);
    PlatformMessage msg = {MSG_NONE, 0, 0};
    ASSERT_TRUE(PlatformPeekMessage(&msg));
    EXPECT_EQ(msg.kind, MSG_QUIT);
    EXPECT_EQ(msg.wParam, 27u);
    EXPECT_FALSE(PlatformPeekMessage(&msg));
}

// The key messages that an event pushed into SDL's queue comes out as, "+VK" down, "-VK" up.
static std::string KeysThrough(SDL_Event ev) {
    EXPECT_EQ(SDL_PushEvent(&ev), 1);
    std::string keys;
    PlatformMessage msg;
    while (PlatformPeekMessage(&msg)) {
        EXPECT_TRUE(msg.kind == MSG_KEYDOWN || msg.kind == MSG_KEYUP) << msg.kind;
        keys += (keys.empty() ? "" : " ") + std::string(msg.kind == MSG_KEYDOWN ? "+" : "-") +
                std::to_string(msg.wParam);
    }
    return keys;
}

TEST_F(SdlEvents, PadButtonsAndTheLeftStickBecomeTheGameKeysOfEveryPadTogether) {
    const std::string L = std::to_string(VK_LEFT_), R = std::to_string(VK_RIGHT_), U = std::to_string(VK_UP_),
                      D = std::to_string(VK_DOWN_), FIRE = std::to_string(VK_SPACE_),
                      ESC = std::to_string(VK_ESCAPE_);
    enum { BUTTON_DOWN, BUTTON_UP, AXIS, REMOVED };
    const struct {
        int what;
        SDL_JoystickID pad;
        int control;   // button or axis
        int value;     // axis value
        std::string keys;
    } events[] = {
        {BUTTON_DOWN, 7, SDL_CONTROLLER_BUTTON_DPAD_RIGHT, 0, "+" + R},
        {BUTTON_DOWN, 7, SDL_CONTROLLER_BUTTON_A, 0, "+" + U},          // A jumps
        {BUTTON_DOWN, 7, SDL_CONTROLLER_BUTTON_DPAD_UP, 0, ""},         // up already held by A
        {BUTTON_UP, 7, SDL_CONTROLLER_BUTTON_A, 0, ""},                 // ... and still by the d-pad
        {BUTTON_UP, 7, SDL_CONTROLLER_BUTTON_DPAD_UP, 0, "-" + U},
        {BUTTON_DOWN, 7, SDL_CONTROLLER_BUTTON_B, 0, "+" + FIRE},       // B fires
        {BUTTON_DOWN, 7, SDL_CONTROLLER_BUTTON_X, 0, ""},               // other buttons do nothing
        {AXIS, 7, SDL_CONTROLLER_AXIS_LEFTX, -7000, ""},                // inside the dead zone
        {AXIS, 7, SDL_CONTROLLER_AXIS_LEFTX, -20000, "+" + L},
        {AXIS, 7, SDL_CONTROLLER_AXIS_LEFTY, 30000, "+" + D},           // the stick's y grows downward
        {AXIS, 7, SDL_CONTROLLER_AXIS_LEFTX, 25000, "-" + L},           // right is held by the d-pad too
        {AXIS, 7, SDL_CONTROLLER_AXIS_RIGHTX, -30000, ""},              // the right stick does nothing
        {BUTTON_DOWN, 9, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0, "+" + L},  // a second pad adds its keys
        {BUTTON_DOWN, 9, SDL_CONTROLLER_BUTTON_START, 0, "+" + ESC},    // Start quits like Escape
        {BUTTON_UP, 9, SDL_CONTROLLER_BUTTON_START, 0, "-" + ESC},
        {BUTTON_DOWN, 9, SDL_CONTROLLER_BUTTON_BACK, 0, "+" + ESC},
        {REMOVED, 9, 0, 0, "-" + L + " -" + ESC},                        // pulled out: its keys let go
        {REMOVED, 7, 0, 0, "-" + R + " -" + D + " -" + FIRE},
    };
    int row = 0;
    for (const auto &e : events) {
        SDL_Event ev = {};
        if (e.what == AXIS) {
            ev.type = SDL_CONTROLLERAXISMOTION;
            ev.caxis.which = e.pad;
            ev.caxis.axis = (Uint8)e.control;
            ev.caxis.value = (Sint16)e.value;
        } else if (e.what == REMOVED) {
            ev.type = SDL_CONTROLLERDEVICEREMOVED;
            ev.cdevice.which = e.pad;
        } else {
            ev.type = e.what == BUTTON_DOWN ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
            ev.cbutton.which = e.pad;
            ev.cbutton.button = (Uint8)e.control;
        }
        EXPECT_EQ(KeysThrough(ev), e.keys) << "row " << row;
        row++;
    }
    // A pad plugged in is opened at once; one that cannot be opened changes nothing.
    SDL_Event added = {};
    added.type = SDL_CONTROLLERDEVICEADDED;
    added.cdevice.which = 99;
    EXPECT_EQ(KeysThrough(added), "");
}

}  // namespace
