// SDL2 backend of the platform interface: window, GL context, display mode, message boxes, events.
#include "platform/platform.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#if defined(__linux__)
#include <dirent.h>
#include <unistd.h>
#endif

// The one window and its context. SDL has no device context of its own: the window's
// drawable plays that part, held from PlatformGetDeviceContext until its release.
static SDL_Window *window;
static SDL_GLContext context;
static bool haveDeviceContext;
static bool videoStarted;      // SDL video runs from the first registration to the end
static bool classRegistered;

// The display mode asked for by the last successful PlatformChangeDisplayMode; used by
// the full-screen window made right after it.
static SDL_DisplayMode fullscreenMode;
static bool fullscreenModeReady;

// The pixel format the window and its context are made with.
static int pixelColorBits = 32, pixelDepthBits = 16;

static Uint32 quitEventType;   // SDL user event that carries PlatformPostQuit's code

// The virtual key each key went down as, by scancode, so that its key-up says the same even
// if Num Lock changed in between (a keypad key would otherwise stay held).
static uint8_t heldAs[SDL_NUM_SCANCODES];

#if defined(SDL_VIDEO_DRIVER_X11)
// Under X11 another program can destroy the game's window (xdotool windowclose, a window
// manager giving up on it). SDL reports no event of its own for that: the game reads the
// X events itself, takes the window's end as the close box, and lets Xlib's complaints
// about the vanished window pass, which would otherwise end the program at once.
static Display *xDisplay;
static Window xWindow;             // the X window of the game's window; 0 when none
static bool xWindowGone;           // destroyed from outside: nothing more is drawn into it
static XErrorHandler xErrorsBefore;

static int PassErrorsOfGoneWindow(Display *display, XErrorEvent *error) {
    if (xWindow != 0 && error->resourceid == xWindow) return 0;
    return xErrorsBefore ? xErrorsBefore(display, error) : 0;
}

static void WatchX11Window() {
    xWindow = 0;
    xWindowGone = false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
        xDisplay = info.info.x11.display;
        xWindow = info.info.x11.window;
    }
}

static bool IsDestroyOfGameWindow(const SDL_SysWMmsg *wm) {
    return wm && wm->subsystem == SDL_SYSWM_X11 && xWindow != 0 && wm->msg.x11.event.type == DestroyNotify &&
           wm->msg.x11.event.xdestroywindow.window == xWindow;
}
#endif

// SIGTERM (a service manager, `timeout`, the session ending) ends the game whatever it is
// doing. While it plays, the signal is the close box at the next look at the queue. While a
// message box waits for the player, the box is shown from a thread of its own and this
// thread watches for the signal: the box is closed and the process ends at once through
// exit(), whose handlers restore the display mode (SDL_Quit) and let the game tidy up.
// SDL's own handler, which would only queue a quit that nobody reads under a box, is never
// installed: SDL leaves a signal alone that already has one.
static volatile sig_atomic_t termAsked;   // 1: a SIGTERM not yet acted on

static void OnTerm(int) { termAsked = 1; }

static void WatchTerm() {
    static bool watching;
    if (watching) return;
    watching = true;
    struct sigaction now;
    if (sigaction(SIGTERM, nullptr, &now) != 0 || now.sa_handler == SIG_IGN) return;   // ignored: stays so
    struct sigaction act;
    std::memset(&act, 0, sizeof act);
    act.sa_handler = OnTerm;
    sigemptyset(&act.sa_mask);
    act.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &act, nullptr);
}

// Ends the processes this one started, which are the boxes SDL shows from a child process of
// their own. SIGKILL: a child made by fork() alone keeps this process's SIGTERM handler.
static void EndBoxProcesses() {
#if defined(__linux__)
    DIR *proc = opendir("/proc");
    if (!proc) return;
    const long self = (long)getpid();
    while (const dirent *entry = readdir(proc)) {
        char *end;
        const long pid = std::strtol(entry->d_name, &end, 10);
        if (*end || pid <= 0) continue;
        char path[64], stat[512];
        std::snprintf(path, sizeof path, "/proc/%ld/stat", pid);
        FILE *file = std::fopen(path, "r");
        if (!file) continue;
        const size_t got = std::fread(stat, 1, sizeof stat - 1, file);
        std::fclose(file);
        stat[got] = '\0';
        const char *name = std::strrchr(stat, ')');   // "PID (NAME) STATE PARENT ...": NAME may hold anything
        char state;
        long parent;
        if (name && std::sscanf(name + 1, " %c %ld", &state, &parent) == 2 && parent == self) kill((pid_t)pid, SIGKILL);
    }
    closedir(proc);
#endif
}

struct BoxCall {
    const SDL_MessageBoxData *data;
    int chosen;
    int result;
    SDL_atomic_t done;
};

static int ShowBox(void *call) {
    BoxCall *c = static_cast<BoxCall *>(call);
    c->result = SDL_ShowMessageBox(c->data, &c->chosen);
    SDL_AtomicSet(&c->done, 1);
    return 0;
}

// Shows the box and waits for it, ending the process on SIGTERM.
static void ShowBoxUntilTerm(BoxCall *call) {
    WatchTerm();
    SDL_Thread *thread = termAsked ? nullptr : SDL_CreateThread(ShowBox, "kav-box", call);
    if (!thread && !termAsked) {   // no thread to spare: the box as it is, the signal waits
        ShowBox(call);
        return;
    }
    while (!termAsked && !SDL_AtomicGet(&call->done)) SDL_Delay(20);
    if (termAsked) {
        std::fprintf(stderr, "kav: ended by SIGTERM while the box '%s' was up\n", call->data->title);
        EndBoxProcesses();
        for (int i = 0; thread && i < 50 && !SDL_AtomicGet(&call->done); i++) SDL_Delay(10);
        if (thread && SDL_AtomicGet(&call->done)) SDL_WaitThread(thread, nullptr);
        std::exit(128 + SIGTERM);
    }
    SDL_WaitThread(thread, nullptr);
}

int PlatformMessageBox(const char *text, const char *caption, int buttons, int icon) {
    Uint32 flags = SDL_MESSAGEBOX_INFORMATION;   // SDL has no question icon
    if (icon == MB_ICONSTOP_) flags = SDL_MESSAGEBOX_ERROR;
    else if (icon == MB_ICONEXCLAMATION_) flags = SDL_MESSAGEBOX_WARNING;
    flags |= SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;

    SDL_MessageBoxButtonData yesNo[2] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, ID_YES_, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, ID_NO_, "No"},
    };
    SDL_MessageBoxButtonData ok[1] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, ID_OK_, "OK"},
    };
    const bool question = buttons == MB_YESNO_;
    SDL_MessageBoxData data = {};
    data.flags = flags;
    data.window = nullptr;   // no owner window
    data.title = caption ? caption : "";
    data.message = text ? text : "";
    data.numbuttons = question ? 2 : 1;
    data.buttons = question ? yesNo : ok;

    BoxCall call = {&data, -1, -1, {0}};
    ShowBoxUntilTerm(&call);
    int chosen = call.chosen;
    if (call.result != 0) {
        // No display to show it on: the player still learns why the game stops.
        std::fprintf(stderr, "%s: %s\n", data.title, data.message);
        return question ? ID_NO_ : ID_OK_;
    }
    // A box closed without a button counts as Escape.
    if (chosen != ID_YES_ && chosen != ID_NO_ && chosen != ID_OK_) chosen = question ? ID_NO_ : ID_OK_;
    return chosen;
}

// Without a display to reach (no X server, or one restarting at that moment) SDL falls back
// to a driver that shows nothing, and the game would play on where nobody can see it. Such a
// driver is taken only when SDL_VIDEODRIVER asks for it by name (the tests do).
static bool ShowsWindows() {
    const char *driver = SDL_GetCurrentVideoDriver();
    const char *asked = SDL_getenv("SDL_VIDEODRIVER");
    if (!driver || (SDL_strcmp(driver, "offscreen") != 0 && SDL_strcmp(driver, "dummy") != 0)) return true;
    if (asked && SDL_strcasecmp(asked, driver) == 0) return true;
    std::fprintf(stderr, "kav: no display to open a window on\n");
    return false;
}

bool PlatformRegisterClass() {
    if (!videoStarted) {
        // The close box is a window event for the game to handle, not a quit of its own.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        WatchTerm();   // before SDL's video, which would put a handler of its own
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
        if (!ShowsWindows()) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return false;
        }
        std::atexit(SDL_Quit);
        // Pads are welcome, not needed: without the subsystem the keyboard plays alone.
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) SDL_GameControllerEventState(SDL_ENABLE);
        videoStarted = true;
        quitEventType = SDL_RegisterEvents(1);
        SDL_DisableScreenSaver();
        SDL_StopTextInput();   // keys only: no text events, no input method
#if defined(SDL_VIDEO_DRIVER_X11)
        if (SDL_strcmp(SDL_GetCurrentVideoDriver(), "x11") == 0) {
            SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
            xErrorsBefore = XSetErrorHandler(PassErrorsOfGoneWindow);
        }
#endif
    }
    classRegistered = true;
    return true;
}

// SDL stays started between a destruction and the next creation, so that the keys held
// across a full-screen toggle keep their key-up events.
bool PlatformUnregisterClass() {
    classRegistered = false;
    return true;
}

bool PlatformChangeDisplayMode(int width, int height, int bits) {
    fullscreenModeReady = false;
    if (!videoStarted) return false;
    SDL_DisplayMode want = {};
    want.w = width;
    want.h = height;
    want.format = bits >= 24 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_RGB565;
    SDL_DisplayMode got = {};
    if (!SDL_GetClosestDisplayMode(0, &want, &got)) return false;
    // Only the exact size will do: a bigger mode would show the game cropped or shifted.
    if (got.w != width || got.h != height || SDL_BITSPERPIXEL(got.format) < (bits >= 24 ? 24 : 16))
        return false;
    fullscreenMode = got;
    fullscreenModeReady = true;
    return true;
}

void PlatformRestoreDisplayMode() {
    // Leaving full screen gives the desktop its own mode back.
    if (window && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN))
        SDL_SetWindowFullscreen(window, 0);
    fullscreenModeReady = false;
}

void PlatformShowCursor(bool show) {
    if (videoStarted) SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE);
}

static void SetPixelFormatAttributes() {
    const int channel = pixelColorBits >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, pixelColorBits >= 24 ? 8 : 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, pixelDepthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
}

bool PlatformCreateWindow(const char *title, int width, int height, bool fullscreen) {
    if (!videoStarted || !classRegistered || window) return false;
    if (fullscreen && !fullscreenModeReady) return false;
    // Under X11 the window's visual, and so its pixel format, is fixed when it is made.
    SetPixelFormatAttributes();
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    flags |= fullscreen ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_RESIZABLE;
    window = SDL_CreateWindow(title, 0, 0, width, height, flags);
    if (!window) return false;
#if defined(SDL_VIDEO_DRIVER_X11)
    WatchX11Window();
#endif
    // The mode change itself happens when the window is shown.
    if (fullscreen && SDL_SetWindowDisplayMode(window, &fullscreenMode) != 0) {
        SDL_DestroyWindow(window);
        window = nullptr;
        return false;
    }
    return true;
}

bool PlatformGetDeviceContext() {
    haveDeviceContext = window != nullptr;
    return haveDeviceContext;
}

bool PlatformChoosePixelFormat(int colorBits, int depthBits) {
    if (colorBits != 16 && colorBits != 24 && colorBits != 32) return false;
    if (depthBits != 16 && depthBits != 24 && depthBits != 32) return false;
    pixelColorBits = colorBits;
    pixelDepthBits = depthBits;
    return haveDeviceContext;
}

bool PlatformSetPixelFormat() {
    if (!haveDeviceContext) return false;
    SetPixelFormatAttributes();   // the context is made with the same attributes
    return true;
}

bool PlatformCreateContext() {
    if (!window || context) return false;
    context = SDL_GL_CreateContext(window);
    if (!context) {
        // Some drivers refuse a version request this old; any compatibility context will do.
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
        context = SDL_GL_CreateContext(window);
    }
    return context != nullptr;
}

bool PlatformMakeCurrent() {
    if (!context || SDL_GL_MakeCurrent(window, context) != 0) return false;
    SDL_GL_SetSwapInterval(0);   // the frame loop paces itself
    return true;
}

void PlatformShowWindow() {
    if (!window) return;
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
}

bool PlatformHasContext() { return context != nullptr; }
bool PlatformHasDeviceContext() { return haveDeviceContext; }
bool PlatformHasWindow() { return window != nullptr; }

bool PlatformReleaseCurrent() { return SDL_GL_MakeCurrent(window, nullptr) == 0; }

bool PlatformDeleteContext() {
    if (!context) return false;
    SDL_GL_DeleteContext(context);
    context = nullptr;
    return true;
}

bool PlatformReleaseDeviceContext() {
    const bool held = haveDeviceContext;
    haveDeviceContext = false;
    return held;
}

bool PlatformDestroyWindow() {
    if (!window) return false;
    SDL_DestroyWindow(window);
    window = nullptr;
#if defined(SDL_VIDEO_DRIVER_X11)
    // Take the X server's answers now, while the complaints about a window destroyed from
    // outside are still passed over (SDL puts Xlib's own handler back when it ends).
    if (xDisplay && xWindowGone) XSync(xDisplay, False);
#endif
    return true;
}

// Windows virtual-key code of an SDL key, 0 for a key that has none. Letters and digits
// follow the keyboard layout, as virtual keys do; the rest go by their place on the board.
static uint32_t VirtualKey(const SDL_Keysym &key) {
    const SDL_Keycode sym = key.sym;
    if (sym >= SDLK_a && sym <= SDLK_z) return VK_A_ + (sym - SDLK_a);
    if (sym >= SDLK_0 && sym <= SDLK_9) return VK_0_ + (sym - SDLK_0);

    const SDL_Scancode sc = key.scancode;
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z) return VK_A_ + (sc - SDL_SCANCODE_A);
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9) return VK_0_ + 1 + (sc - SDL_SCANCODE_1);
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return VK_F1_ + (sc - SDL_SCANCODE_F1);
    if (sc >= SDL_SCANCODE_F13 && sc <= SDL_SCANCODE_F24) return VK_F13_ + (sc - SDL_SCANCODE_F13);
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) {
        // With Num Lock off the keypad is the navigation keys printed on it, as on Windows.
        static const uint8_t navigation[9] = {VK_END_,  VK_DOWN_,  VK_NEXT_, VK_LEFT_, VK_CLEAR_,
                                              VK_RIGHT_, VK_HOME_, VK_UP_,   VK_PRIOR_};
        if (!(key.mod & KMOD_NUM)) return navigation[sc - SDL_SCANCODE_KP_1];
        return VK_NUMPAD0_ + 1 + (sc - SDL_SCANCODE_KP_1);
    }
    if (!(key.mod & KMOD_NUM) && sc == SDL_SCANCODE_KP_0) return VK_INSERT_;
    if (!(key.mod & KMOD_NUM) && sc == SDL_SCANCODE_KP_PERIOD) return VK_DELETE_;

    switch (sc) {
    case SDL_SCANCODE_0: return VK_0_;
    case SDL_SCANCODE_KP_0: return VK_NUMPAD0_;
    case SDL_SCANCODE_BACKSPACE: return VK_BACK_;
    case SDL_SCANCODE_TAB: return VK_TAB_;
    case SDL_SCANCODE_CLEAR: return VK_CLEAR_;
    case SDL_SCANCODE_RETURN: case SDL_SCANCODE_RETURN2: case SDL_SCANCODE_KP_ENTER: return VK_RETURN_;
    case SDL_SCANCODE_LSHIFT: case SDL_SCANCODE_RSHIFT: return VK_SHIFT_;
    case SDL_SCANCODE_LCTRL: case SDL_SCANCODE_RCTRL: return VK_CONTROL_;
    case SDL_SCANCODE_LALT: case SDL_SCANCODE_RALT: return VK_MENU_;
    case SDL_SCANCODE_PAUSE: return VK_PAUSE_;
    case SDL_SCANCODE_CAPSLOCK: return VK_CAPITAL_;
    case SDL_SCANCODE_ESCAPE: return VK_ESCAPE_;
    case SDL_SCANCODE_SPACE: return VK_SPACE_;
    case SDL_SCANCODE_PAGEUP: return VK_PRIOR_;
    case SDL_SCANCODE_PAGEDOWN: return VK_NEXT_;
    case SDL_SCANCODE_END: return VK_END_;
    case SDL_SCANCODE_HOME: return VK_HOME_;
    case SDL_SCANCODE_LEFT: return VK_LEFT_;
    case SDL_SCANCODE_UP: return VK_UP_;
    case SDL_SCANCODE_RIGHT: return VK_RIGHT_;
    case SDL_SCANCODE_DOWN: return VK_DOWN_;
    case SDL_SCANCODE_SELECT: return VK_SELECT_;
    case SDL_SCANCODE_EXECUTE: return VK_EXECUTE_;
    case SDL_SCANCODE_PRINTSCREEN: return VK_SNAPSHOT_;
    case SDL_SCANCODE_INSERT: return VK_INSERT_;
    case SDL_SCANCODE_DELETE: return VK_DELETE_;
    case SDL_SCANCODE_HELP: return VK_HELP_;
    case SDL_SCANCODE_LGUI: return VK_LWIN_;
    case SDL_SCANCODE_RGUI: return VK_RWIN_;
    case SDL_SCANCODE_APPLICATION: return VK_APPS_;
    case SDL_SCANCODE_SLEEP: return VK_SLEEP_;
    case SDL_SCANCODE_KP_MULTIPLY: return VK_MULTIPLY_;
    case SDL_SCANCODE_KP_PLUS: return VK_ADD_;
    case SDL_SCANCODE_KP_MINUS: return VK_SUBTRACT_;
    case SDL_SCANCODE_KP_PERIOD: case SDL_SCANCODE_KP_DECIMAL: return VK_DECIMAL_;
    case SDL_SCANCODE_KP_DIVIDE: return VK_DIVIDE_;
    case SDL_SCANCODE_NUMLOCKCLEAR: return VK_NUMLOCK_;
    case SDL_SCANCODE_SCROLLLOCK: return VK_SCROLL_;
    case SDL_SCANCODE_SEMICOLON: return VK_OEM_1_;
    case SDL_SCANCODE_EQUALS: return VK_OEM_PLUS_;
    case SDL_SCANCODE_COMMA: return VK_OEM_COMMA_;
    case SDL_SCANCODE_MINUS: return VK_OEM_MINUS_;
    case SDL_SCANCODE_PERIOD: return VK_OEM_PERIOD_;
    case SDL_SCANCODE_SLASH: return VK_OEM_2_;
    case SDL_SCANCODE_GRAVE: return VK_OEM_3_;
    case SDL_SCANCODE_LEFTBRACKET: return VK_OEM_4_;
    case SDL_SCANCODE_BACKSLASH: return VK_OEM_5_;
    case SDL_SCANCODE_RIGHTBRACKET: return VK_OEM_6_;
    case SDL_SCANCODE_APOSTROPHE: return VK_OEM_7_;
    case SDL_SCANCODE_NONUSBACKSLASH: return VK_OEM_102_;
    default: return 0;
    }
}

// Game pads feed the key table as keys: the d-pad or the left stick walks, jumps (up) and
// crouches (down), A jumps, B fires, Start or Back quits like Escape. A pad plugged in while
// the game runs is opened at once; one pulled out lets go of its keys.
static const int MAX_PADS = 8;
static const int STICK_DEAD_ZONE = 8000;   // of 32767: a resting stick never walks
enum PadKey { PAD_LEFT, PAD_RIGHT, PAD_UP, PAD_DOWN, PAD_FIRE, PAD_QUIT, PAD_KEY_COUNT };
static const uint32_t PAD_VK[PAD_KEY_COUNT] = {VK_LEFT_, VK_RIGHT_, VK_UP_, VK_DOWN_, VK_SPACE_, VK_ESCAPE_};

struct Pad {
    SDL_JoystickID id;               // -1: a free slot
    SDL_GameController *controller;  // null for a pad only heard of through its events
    uint32_t buttons;                // bit per SDL button held
    int16_t stickX, stickY;
};
static Pad pads[MAX_PADS] = {{-1, nullptr, 0, 0, 0}, {-1, nullptr, 0, 0, 0}, {-1, nullptr, 0, 0, 0},
                             {-1, nullptr, 0, 0, 0}, {-1, nullptr, 0, 0, 0}, {-1, nullptr, 0, 0, 0},
                             {-1, nullptr, 0, 0, 0}, {-1, nullptr, 0, 0, 0}};
static uint8_t padKeysHeld;   // pad keys the game was last told are down

// Key messages waiting to come out before SDL's next event: one pad event can move two keys.
static PlatformMessage pendingKeys[2 * PAD_KEY_COUNT];
static int pendingCount, pendingNext;

static Pad *FindPad(SDL_JoystickID id, bool add) {
    for (Pad &p : pads)
        if (p.id == id) return &p;
    if (!add) return nullptr;
    for (Pad &p : pads)
        if (p.id < 0) {
            p = Pad{id, nullptr, 0, 0, 0};
            return &p;
        }
    return nullptr;   // more pads than slots: the extra one is not heard
}

static int PadButtonKey(uint8_t button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PAD_LEFT;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PAD_RIGHT;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: case SDL_CONTROLLER_BUTTON_A: return PAD_UP;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PAD_DOWN;
    case SDL_CONTROLLER_BUTTON_B: return PAD_FIRE;
    case SDL_CONTROLLER_BUTTON_START: case SDL_CONTROLLER_BUTTON_BACK: return PAD_QUIT;
    default: return -1;
    }
}

// Pad keys held by every pad together.
static uint8_t PadKeysNow() {
    uint8_t keys = 0;
    for (const Pad &p : pads) {
        if (p.id < 0) continue;
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX && b < 32; b++) {
            const int key = PadButtonKey((uint8_t)b);
            if (key >= 0 && (p.buttons >> b & 1)) keys |= 1 << key;
        }
        if (p.stickX < -STICK_DEAD_ZONE) keys |= 1 << PAD_LEFT;
        if (p.stickX > STICK_DEAD_ZONE) keys |= 1 << PAD_RIGHT;
        if (p.stickY < -STICK_DEAD_ZONE) keys |= 1 << PAD_UP;   // the stick's y grows downward
        if (p.stickY > STICK_DEAD_ZONE) keys |= 1 << PAD_DOWN;
    }
    return keys;
}

// Turns a pad event into the key messages of the keys it moved (queued in pendingKeys).
static void TranslatePad(const SDL_Event &ev) {
    switch (ev.type) {
    case SDL_CONTROLLERDEVICEADDED:
        if (SDL_GameController *c = SDL_GameControllerOpen(ev.cdevice.which)) {
            if (Pad *p = FindPad(SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c)), true)) p->controller = c;
            else SDL_GameControllerClose(c);
        }
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        if (Pad *p = FindPad(ev.cdevice.which, false)) {
            if (p->controller) SDL_GameControllerClose(p->controller);
            *p = Pad{-1, nullptr, 0, 0, 0};
        }
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        Pad *p = FindPad(ev.cbutton.which, true);
        if (!p || ev.cbutton.button >= 32) break;
        if (ev.type == SDL_CONTROLLERBUTTONDOWN) p->buttons |= 1u << ev.cbutton.button;
        else p->buttons &= ~(1u << ev.cbutton.button);
        break;
    }
    case SDL_CONTROLLERAXISMOTION:
        if (Pad *p = FindPad(ev.caxis.which, true)) {
            if (ev.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) p->stickX = ev.caxis.value;
            if (ev.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) p->stickY = ev.caxis.value;
        }
        break;
    }
    const uint8_t now = PadKeysNow();
    pendingCount = pendingNext = 0;
    for (int k = 0; k < PAD_KEY_COUNT; k++) {
        const bool was = padKeysHeld >> k & 1, is = now >> k & 1;
        if (was != is) pendingKeys[pendingCount++] = PlatformMessage{is ? MSG_KEYDOWN : MSG_KEYUP, PAD_VK[k], 0};
    }
    padKeysHeld = now;
}

// One SDL event as the game's message. Events without a meaning for the game become
// MSG_OTHER, so that each still takes its own pass of the frame loop; the window system's
// raw events, seen only for the window's end, become MSG_NONE and are passed over.
static PlatformMessage Translate(const SDL_Event &ev) {
    PlatformMessage msg = {MSG_OTHER, 0, 0};
    switch (ev.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const bool down = ev.type == SDL_KEYDOWN;
        const SDL_Scancode sc = ev.key.keysym.scancode;
        const bool known = sc > SDL_SCANCODE_UNKNOWN && sc < SDL_NUM_SCANCODES;
        uint32_t vk = !down && known && heldAs[sc] ? heldAs[sc] : VirtualKey(ev.key.keysym);
        if (known) heldAs[sc] = down ? (uint8_t)vk : 0;
        if (vk == 0) break;
        // Keys with Alt held, Alt itself and F10 are system keys.
        const bool sys = (ev.key.keysym.mod & KMOD_ALT) || vk == VK_MENU_ || vk == VK_F10_;
        msg.kind = sys ? (down ? MSG_SYSKEYDOWN : MSG_SYSKEYUP) : (down ? MSG_KEYDOWN : MSG_KEYUP);
        msg.wParam = vk;
        break;
    }
    case SDL_WINDOWEVENT: {
        const bool minimised = window && (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED);
        switch (ev.window.event) {
        case SDL_WINDOWEVENT_MINIMIZED:
            msg.kind = MSG_ACTIVATE;
            msg.wParam = 1u << 16;   // inactive, minimised
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            msg.kind = MSG_ACTIVATE;
            msg.wParam = 1;          // active, not minimised
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
            msg.kind = MSG_ACTIVATE;
            msg.wParam = (ev.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ? 1u : 0u) |
                         (minimised ? 1u << 16 : 0u);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            msg.kind = MSG_SIZE;
            msg.lParam = (int32_t)(((uint32_t)ev.window.data1 & 0xFFFF) |
                                   (((uint32_t)ev.window.data2 & 0xFFFF) << 16));
            break;
        case SDL_WINDOWEVENT_CLOSE:
            msg.kind = MSG_CLOSE;
            break;
        default:
            break;
        }
        break;
    }
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
        TranslatePad(ev);
        msg.kind = MSG_NONE;   // its key messages, if any, come out of pendingKeys
        break;
    case SDL_QUIT:
        // Asked to end from outside (a signal, the session ending): as if closed.
        msg.kind = MSG_CLOSE;
        break;
    case SDL_SYSWMEVENT:
        msg.kind = MSG_NONE;
#if defined(SDL_VIDEO_DRIVER_X11)
        if (IsDestroyOfGameWindow(ev.syswm.msg)) {
            xWindowGone = true;
            msg.kind = MSG_CLOSE;
        }
#endif
        break;
    default:
        if (quitEventType != (Uint32)-1 && ev.type == quitEventType) {
            msg.kind = MSG_QUIT;
            msg.wParam = (uint32_t)ev.user.code;
        }
        break;
    }
    return msg;
}

bool PlatformPeekMessage(PlatformMessage *msg) {
    if (!videoStarted) return false;
    if (termAsked) {   // SIGTERM: as if the window were closed
        termAsked = 0;
        *msg = PlatformMessage{MSG_CLOSE, 0, 0};
        return true;
    }
    SDL_Event ev;
    do {
        if (pendingNext < pendingCount) {
            *msg = pendingKeys[pendingNext++];
            return true;
        }
        if (!SDL_PollEvent(&ev)) return false;
        *msg = Translate(ev);
    } while (msg->kind == MSG_NONE);
    return true;
}

void PlatformDispatchMessage(const PlatformMessage &msg) { GameWindowProc(msg); }

void PlatformPostQuit(int code) {
    if (!videoStarted) return;
    SDL_Event ev = {};
    ev.type = quitEventType;
    ev.user.code = code;
    SDL_PushEvent(&ev);
}

intptr_t PlatformDefaultProc(const PlatformMessage &) { return 0; }

void PlatformSwapBuffers() {
#if defined(SDL_VIDEO_DRIVER_X11)
    if (xWindowGone) return;   // nothing left to show the picture in
#endif
    if (window && context) SDL_GL_SwapWindow(window);
}

std::string PlatformProgramFolder() {
    char *base = SDL_GetBasePath();
    if (!base) return "";
    std::string folder = base;
    SDL_free(base);
    return folder;
}

double PlatformTime() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void PlatformSleep(double seconds) {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}
