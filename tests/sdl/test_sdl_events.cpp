// The SDL2 backend's translation of SDL events into the game's messages: the keypad with
// and without Num Lock, system keys, window events, focus loss, the close box and the quit
// message, keys carried over a new window, and game pads, whose buttons and stick come out
// as the keys they stand for.
#include <gtest/gtest.h>

#include <SDL.h>

#include "platform/sdl/sdl_backend.h"
#include "shell/window.h"

namespace {

class SdlEvents : public ::testing::Test {
protected:
    void SetUp() override {
        SDL_setenv("SDL_VIDEODRIVER", "offscreen", 0);   // a window with GL, no window system
        WindowStep failed = STEP_NONE;
        ASSERT_TRUE(PlatformOpenWindow(WindowRequest{WINDOW_TITLE, WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_BITS, WINDOW_DEPTH_BITS, false}, &failed)) << failed;
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
    void TearDown() override {
        WindowStep failed[WINDOW_STEP_COUNT];
        EXPECT_EQ(PlatformCloseWindow(failed), 0);
    }
    // The message that an event pushed into SDL's queue comes out as; MSG_NONE for none.
    static PlatformMessage Through(SDL_Event ev) {
        EXPECT_EQ(SDL_PushEvent(&ev), 1);
        PlatformMessage msg = {MSG_NONE, 0, 0}, more;
        PlatformNextMessage(&msg);
        EXPECT_FALSE(PlatformNextMessage(&more)) << "more than one message";
        return msg;
    }
    static SDL_Event Key(SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod, bool down) {
        SDL_Event ev = {};
        ev.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        ev.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        ev.key.keysym.scancode = scancode;
        ev.key.keysym.sym = sym;
        ev.key.keysym.mod = mod;
        return ev;
    }
    static SDL_Event Window(Uint8 event) {
        SDL_Event ev = {};
        ev.type = SDL_WINDOWEVENT;
        ev.window.windowID = SDL_GetWindowID(sdlWindow);
        ev.window.event = event;
        ev.window.data1 = 640;
        ev.window.data2 = 480;
        return ev;
    }
};

TEST_F(SdlEvents, KeysComeOutAsWindowsVirtualKeysKeypadByNumLockAndSystemKeysNotAtAll) {
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
        // Alt, keys with Alt held and F10 are system keys, down and up: never the game's.
        {SDL_SCANCODE_LALT, SDLK_LALT, ALT, true, MSG_NONE, 0},
        {SDL_SCANCODE_X, SDLK_x, ALT, true, MSG_NONE, 0},
        {SDL_SCANCODE_X, SDLK_x, ALT, false, MSG_NONE, 0},
        {SDL_SCANCODE_LALT, SDLK_LALT, 0, false, MSG_NONE, 0},
        {SDL_SCANCODE_RIGHT, SDLK_RIGHT, KMOD_RALT, true, MSG_NONE, 0},
        {SDL_SCANCODE_F10, SDLK_F10, 0, true, MSG_NONE, 0},
        {SDL_SCANCODE_X, SDLK_x, 0, true, MSG_KEYDOWN, VK_A_ + ('X' - 'A')},
        // A key with no virtual key is nothing to the game.
        {SDL_SCANCODE_AUDIOPLAY, SDLK_AUDIOPLAY, 0, true, MSG_NONE, 0},
    };
    int row = 0;
    for (const auto &k : keys) {
        const PlatformMessage msg = Through(Key(k.scancode, k.sym, k.mod, k.down));
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
        {SDL_WINDOWEVENT_SIZE_CHANGED, MSG_SIZE, 0, 640 | (480 << 16)},
        {SDL_WINDOWEVENT_CLOSE, MSG_CLOSE, 0, 0},
        {SDL_WINDOWEVENT_MOVED, MSG_NONE, 0, 0},
    };
    for (const auto &w : windowEvents) {
        const PlatformMessage msg = Through(Window(w.event));
        EXPECT_EQ(msg.kind, w.kind) << "window event " << (int)w.event;
        EXPECT_EQ(msg.wParam, w.wParam) << "window event " << (int)w.event;
        EXPECT_EQ(msg.lParam, w.lParam) << "window event " << (int)w.event;
    }
    // A window destroyed before (a full-screen toggle) says nothing any more.
    SDL_Event old = Window(SDL_WINDOWEVENT_FOCUS_LOST);
    old.window.windowID += 1000;
    EXPECT_EQ(Through(old).kind, MSG_NONE);

    SDL_Event quit = {};
    quit.type = SDL_QUIT;   // asked to end from outside: as the close box
    EXPECT_EQ(Through(quit).kind, MSG_CLOSE);

    PlatformPostQuit(27);
    PlatformMessage msg = {MSG_NONE, 0, 0};
    ASSERT_TRUE(PlatformNextMessage(&msg));
    EXPECT_EQ(msg.kind, MSG_QUIT);
    EXPECT_EQ(msg.wParam, 27u);
    EXPECT_FALSE(PlatformNextMessage(&msg));
}

// A new window keeps the keys held: SDL's let-go of them when the old one goes is not the
// player's; each stays down until the keyboard says otherwise (here nothing can tell, so it
// is let go once the new window is open). Focus loss lets go of every key at once.
TEST_F(SdlEvents, KeysHeldOverANewWindowStayDownUntilTheKeyboardSaysUpAndFocusLossEndsThem) {
    PlatformMessage msg;
    EXPECT_EQ(Through(Key(SDL_SCANCODE_LEFT, SDLK_LEFT, 0, true)).kind, MSG_KEYDOWN);
    EXPECT_EQ(Through(Key(SDL_SCANCODE_SPACE, SDLK_SPACE, 0, true)).kind, MSG_KEYDOWN);
    EXPECT_EQ(Through(Key(SDL_SCANCODE_SPACE, SDLK_SPACE, 0, false)).kind, MSG_KEYUP);
    WindowStep failed[WINDOW_STEP_COUNT];
    ASSERT_EQ(PlatformCloseWindow(failed), 0);
    SDL_Event reset = Key(SDL_SCANCODE_LEFT, SDLK_LEFT, 0, false);   // SDL's own, at the destruction
    SDL_PushEvent(&reset);
    WindowStep step = STEP_NONE;
    ASSERT_TRUE(PlatformOpenWindow(WindowRequest{TOGGLED_WINDOW_TITLE, WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_BITS, WINDOW_DEPTH_BITS, false}, &step));
    SDL_FlushEvent(SDL_WINDOWEVENT);
    ASSERT_TRUE(PlatformNextMessage(&msg));   // SDL's key-up passed over; the keyboard asked
    EXPECT_EQ(msg.kind, MSG_KEYUP);
    EXPECT_EQ(msg.wParam, (uint32_t)VK_LEFT_);
    EXPECT_FALSE(PlatformNextMessage(&msg)) << "Space was not held: nothing to carry";

    // Carried again, then the focus goes: the game lets go itself, no key-up follows.
    EXPECT_EQ(Through(Key(SDL_SCANCODE_LEFT, SDLK_LEFT, 0, true)).kind, MSG_KEYDOWN);
    CarryHeldKeys();
    const PlatformMessage lost = Through(Window(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(lost.kind, MSG_ACTIVATE);
    EXPECT_EQ(lost.wParam & 0xFFFF, 0u);
    EXPECT_FALSE(PlatformNextMessage(&msg));
}

// The key messages that an event pushed into SDL's queue comes out as, "+VK" down, "-VK" up.
static std::string KeysThrough(SDL_Event ev) {
    EXPECT_EQ(SDL_PushEvent(&ev), 1);
    std::string keys;
    PlatformMessage msg;
    while (PlatformNextMessage(&msg)) {
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
