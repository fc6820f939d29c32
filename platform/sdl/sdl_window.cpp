// The SDL2 backend's window: SDL's video, the display mode, the window with its GL context,
// message boxes, the buffer swap, the clock and the program's folder.
#include "platform/sdl/sdl_backend.h"

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

SDL_Window *sdlWindow;
bool sdlVideoStarted;

// SDL has no window class: starting the video stands for registering one, and
// unregistering does nothing (SDL stays started between a destruction and the next
// creation, so that the keys held across a full-screen toggle keep their key-up events).
static bool classRegistered;
// The display mode full screen asks for (set when the window is shown), and whether it was
// asked for: from the mode's check until the window is closed.
static SDL_DisplayMode fullscreenMode;
static bool modeChanged;
static SDL_GLContext context;

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

bool TakeTermRequest() {
    if (!termAsked) return false;
    termAsked = 0;
    return true;
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
    data.window = IsWatchedWindowGone() ? nullptr : sdlWindow;   // owned by the game's window while one is open
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

static bool StartVideo() {
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
    sdlVideoStarted = true;
    StartEvents();
    SDL_DisableScreenSaver();   // neither the screen saver nor monitor power saving while the game runs
    StartWatch();
    return true;
}

// Only the exact size will do: a bigger mode would show the game cropped or shifted.
static bool ChangeDisplayMode(int width, int height, int bits) {
    SDL_DisplayMode want = {};
    want.w = width;
    want.h = height;
    want.format = bits >= 24 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_RGB565;
    SDL_DisplayMode got = {};
    if (!SDL_GetClosestDisplayMode(0, &want, &got)) return false;
    if (got.w != width || got.h != height || SDL_BITSPERPIXEL(got.format) < (bits >= 24 ? 24 : 16)) return false;
    fullscreenMode = got;
    return true;
}

static void SetPixelFormatAttributes(int colorBits, int depthBits) {
    const int channel = colorBits >= 24 ? 8 : 5;
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, colorBits >= 24 ? 8 : 6);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
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

static bool ValidBits(int bits) { return bits == 16 || bits == 24 || bits == 32; }

static SDL_GLContext CreateContext() {
    SDL_GLContext made = SDL_GL_CreateContext(sdlWindow);
    if (!made) {
        // Some drivers refuse a version request this old; any compatibility context will do.
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
        made = SDL_GL_CreateContext(sdlWindow);
    }
    return made;
}

bool PlatformOpenWindow(const WindowRequest &r, WindowStep *failed) {
    auto fail = [failed](WindowStep step) {
        *failed = step;
        return false;
    };
    if (!classRegistered) {
        if (!sdlVideoStarted && !StartVideo()) return fail(STEP_REGISTER_CLASS);
        classRegistered = true;
    }
    if (r.fullscreen) {
        if (!ChangeDisplayMode(r.width, r.height, r.colorBits)) return fail(STEP_DISPLAY_MODE);
        modeChanged = true;
        SDL_ShowCursor(SDL_DISABLE);
    }
    if (sdlWindow) return fail(STEP_CREATE_WINDOW);
    // Under X11 the window's visual, and so its pixel format, is fixed when it is made.
    SetPixelFormatAttributes(r.colorBits, r.depthBits);
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
    flags |= r.fullscreen ? SDL_WINDOW_FULLSCREEN : SDL_WINDOW_RESIZABLE;
    sdlWindow = SDL_CreateWindow(r.title ? r.title : "", 0, 0, r.width, r.height, flags);
    if (!sdlWindow) return fail(STEP_CREATE_WINDOW);
    WatchWindow(sdlWindow);
    // The mode change itself happens when the window is shown.
    if (r.fullscreen && SDL_SetWindowDisplayMode(sdlWindow, &fullscreenMode) != 0) {
        SDL_DestroyWindow(sdlWindow);
        sdlWindow = nullptr;
        return fail(STEP_CREATE_WINDOW);
    }
    // The window's drawable stands for the device context; the pixel format was fixed above.
    if (!ValidBits(r.colorBits) || !ValidBits(r.depthBits)) return fail(STEP_CHOOSE_PIXEL_FORMAT);
    context = CreateContext();
    if (!context) return fail(STEP_CREATE_CONTEXT);
    if (SDL_GL_MakeCurrent(sdlWindow, context) != 0) return fail(STEP_MAKE_CURRENT);
    SDL_GL_SetSwapInterval(0);   // the frame loop paces itself
    SDL_ShowWindow(sdlWindow);
    SDL_RaiseWindow(sdlWindow);
    return true;
}

int PlatformCloseWindow(WindowStep failed[WINDOW_STEP_COUNT]) {
    int count = 0;
    if (modeChanged) {
        // Leaving full screen gives the desktop its own mode back.
        if (sdlWindow && (SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_FULLSCREEN)) SDL_SetWindowFullscreen(sdlWindow, 0);
        SDL_ShowCursor(SDL_ENABLE);
        modeChanged = false;
    }
    if (context) {
        if (SDL_GL_MakeCurrent(sdlWindow, nullptr) != 0) failed[count++] = STEP_RELEASE_CURRENT;
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (sdlWindow) {
        CarryHeldKeys();
        SDL_DestroyWindow(sdlWindow);
        sdlWindow = nullptr;
        WatchedWindowDestroyed();
    }
    classRegistered = false;
    return count;
}

void PlatformSwapBuffers() {
    if (IsWatchedWindowGone()) return;   // nothing left to show the picture in
    if (sdlWindow && context) SDL_GL_SwapWindow(sdlWindow);
}

void PlatformPictureSaved(const char *) {}   // the file is where the player finds it

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
