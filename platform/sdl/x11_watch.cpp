// The X11 window under SDL. Another program can destroy the game's window (xdotool
// windowclose, a window manager giving up on it), and SDL reports no event of its own for
// that: the game reads the X events itself, takes the window's end as the close box, and
// lets Xlib's complaints about the vanished window pass, which would otherwise end the
// program at once. The X server also tells which keys are held down now, which SDL forgets
// when its window is destroyed.
#include "platform/sdl/sdl_backend.h"

#include <SDL_syswm.h>
#include <X11/keysym.h>

static Display *xDisplay;
static Window xWindow;             // the X window of the game's window; 0 when none
static bool xWindowGone;           // destroyed from outside: nothing more is drawn into it
static XErrorHandler xErrorsBefore;

static int PassErrorsOfGoneWindow(Display *display, XErrorEvent *error) {
    if (xWindow != 0 && error->resourceid == xWindow) return 0;
    return xErrorsBefore ? xErrorsBefore(display, error) : 0;
}

void StartWatch() {
    if (SDL_strcmp(SDL_GetCurrentVideoDriver(), "x11") != 0) return;
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    xErrorsBefore = XSetErrorHandler(PassErrorsOfGoneWindow);
}

void WatchWindow(SDL_Window *window) {
    xWindow = 0;
    xWindowGone = false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
        xDisplay = info.info.x11.display;
        xWindow = info.info.x11.window;
    }
}

bool IsWindowEndedFromOutside(const SDL_Event &ev) {
    const SDL_SysWMmsg *wm = ev.syswm.msg;
    if (!wm || wm->subsystem != SDL_SYSWM_X11 || xWindow == 0 || wm->msg.x11.event.type != DestroyNotify ||
        wm->msg.x11.event.xdestroywindow.window != xWindow)
        return false;
    xWindowGone = true;
    return true;
}

bool IsWatchedWindowGone() { return xWindowGone; }

void WatchedWindowDestroyed() {
    // Take the X server's answers now, while the complaints about a window destroyed from
    // outside are still passed over (SDL puts Xlib's own handler back when it ends).
    if (xDisplay && xWindowGone) XSync(xDisplay, False);
}

// The X key symbol on the key of an SDL scancode, for the keys that are not a character.
static KeySym SymbolOf(SDL_Scancode sc) {
    if (sc >= SDL_SCANCODE_F1 && sc <= SDL_SCANCODE_F12) return XK_F1 + (sc - SDL_SCANCODE_F1);
    if (sc >= SDL_SCANCODE_KP_1 && sc <= SDL_SCANCODE_KP_9) return XK_KP_1 + (sc - SDL_SCANCODE_KP_1);
    switch (sc) {
    case SDL_SCANCODE_LEFT: return XK_Left;
    case SDL_SCANCODE_RIGHT: return XK_Right;
    case SDL_SCANCODE_UP: return XK_Up;
    case SDL_SCANCODE_DOWN: return XK_Down;
    case SDL_SCANCODE_PAGEUP: return XK_Prior;
    case SDL_SCANCODE_PAGEDOWN: return XK_Next;
    case SDL_SCANCODE_HOME: return XK_Home;
    case SDL_SCANCODE_END: return XK_End;
    case SDL_SCANCODE_INSERT: return XK_Insert;
    case SDL_SCANCODE_DELETE: return XK_Delete;
    case SDL_SCANCODE_ESCAPE: return XK_Escape;
    case SDL_SCANCODE_RETURN: return XK_Return;
    case SDL_SCANCODE_TAB: return XK_Tab;
    case SDL_SCANCODE_BACKSPACE: return XK_BackSpace;
    case SDL_SCANCODE_LSHIFT: return XK_Shift_L;
    case SDL_SCANCODE_RSHIFT: return XK_Shift_R;
    case SDL_SCANCODE_LCTRL: return XK_Control_L;
    case SDL_SCANCODE_RCTRL: return XK_Control_R;
    case SDL_SCANCODE_KP_0: return XK_KP_0;
    case SDL_SCANCODE_KP_PERIOD: return XK_KP_Decimal;
    case SDL_SCANCODE_KP_ENTER: return XK_KP_Enter;
    default: return NoSymbol;
    }
}

int IsKeyHeldDown(SDL_Scancode sc) {
    if (!xDisplay || xWindow == 0 || xWindowGone) return -1;
    const SDL_Keycode key = SDL_GetKeyFromScancode(sc);
    // Letters, digits and the other characters have the character's own X symbol.
    const KeySym sym = key >= 0x20 && key < 0x7F ? (KeySym)key : SymbolOf(sc);
    const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(xDisplay, sym);
    if (code == 0) return -1;
    char keys[32];
    XQueryKeymap(xDisplay, keys);
    return (keys[code / 8] >> (code % 8)) & 1;
}
