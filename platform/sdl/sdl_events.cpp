// The SDL2 backend's events as the game's finished messages: keys, pads, the window's
// activation, size and close, and the quit message.
#include "platform/sdl/sdl_backend.h"

static Uint32 quitEventType = (Uint32)-1;   // SDL user event that carries PlatformPostQuit's code

void StartEvents() {
    quitEventType = SDL_RegisterEvents(1);
    SDL_StopTextInput();   // keys only: no text events, no input method
}

// One SDL event as the game's message; false for an event that means nothing to the game.
static bool Translate(const SDL_Event &ev, PlatformMessage *msg) {
    *msg = PlatformMessage{MSG_NONE, 0, 0};
    switch (ev.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        return TranslateKey(ev.key, msg);
    case SDL_WINDOWEVENT: {
        // Only the window open now: a destroyed one's last events are nobody's.
        if (!sdlWindow || ev.window.windowID != SDL_GetWindowID(sdlWindow)) return false;
        const bool minimised = SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_MINIMIZED;
        switch (ev.window.event) {
        case SDL_WINDOWEVENT_MINIMIZED:
            *msg = PlatformMessage{MSG_ACTIVATE, 1u << 16, 0};   // inactive, minimised
            return true;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_MAXIMIZED:
            *msg = PlatformMessage{MSG_ACTIVATE, 1, 0};   // active, not minimised
            return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            PadFocusChanged(true);
            *msg = PlatformMessage{MSG_ACTIVATE, 1u | (minimised ? 1u << 16 : 0u), 0};
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            // The game lets go of every key; so does SDL, and no key-up of the keys carried
            // over a re-creation will come.
            ForgetHeldKeys();
            PadFocusChanged(false);
            *msg = PlatformMessage{MSG_ACTIVATE, minimised ? 1u << 16 : 0u, 0};
            return true;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            *msg = PlatformMessage{MSG_SIZE, 0,
                                   (int32_t)(((uint32_t)ev.window.data1 & 0xFFFF) |
                                             (((uint32_t)ev.window.data2 & 0xFFFF) << 16))};
            return true;
        case SDL_WINDOWEVENT_CLOSE:
            *msg = PlatformMessage{MSG_CLOSE, 0, 0};
            return true;
        default:
            return false;
        }
    }
    case SDL_QUIT:
        // Asked to end from outside (a signal, the session ending): as if closed.
        *msg = PlatformMessage{MSG_CLOSE, 0, 0};
        return true;
    case SDL_SYSWMEVENT:
        if (!IsWindowEndedFromOutside(ev)) return false;
        *msg = PlatformMessage{MSG_CLOSE, 0, 0};
        return true;
    default:
        if (IsPadEvent(ev.type)) {
            TranslatePad(ev);   // its key messages, if any, come out of NextPadKey
            return false;
        }
        if (quitEventType != (Uint32)-1 && ev.type == quitEventType) {
            *msg = PlatformMessage{MSG_QUIT, (uint32_t)ev.user.code, 0};
            return true;
        }
        return false;
    }
}

bool PlatformNextMessage(PlatformMessage *msg) {
    if (!sdlVideoStarted) return false;
    if (TakeTermRequest()) {   // SIGTERM: as if the window were closed
        *msg = PlatformMessage{MSG_CLOSE, 0, 0};
        return true;
    }
    SDL_Event ev;
    for (;;) {
        if (NextPadKey(msg)) return true;
        if (!SDL_PollEvent(&ev)) return NextCarriedKeyUp(msg);
        if (Translate(ev, msg)) return true;
    }
}

void PlatformPostQuit(int code) {
    if (!sdlVideoStarted) return;
    SDL_Event ev = {};
    ev.type = quitEventType;
    ev.user.code = code;
    SDL_PushEvent(&ev);
}
