// The SDL2 backend's game pads. They feed the key table as keys: the d-pad or the left
// stick walks, jumps (up) and crouches (down), A jumps, B fires, Start or Back quits like
// Escape. A pad plugged in while the game runs is opened at once; one pulled out lets go of
// its keys.
#include "platform/sdl/sdl_backend.h"

#include "platform/pad_keys.h"

static const int MAX_PADS = 8;

struct Pad {
    SDL_JoystickID id;               // -1: a free slot
    SDL_GameController *controller;  // null for a pad only heard of through its events
    PadState state;
};
static Pad pads[MAX_PADS] = {{-1, nullptr, {0, 0, 0}}, {-1, nullptr, {0, 0, 0}}, {-1, nullptr, {0, 0, 0}},
                             {-1, nullptr, {0, 0, 0}}, {-1, nullptr, {0, 0, 0}}, {-1, nullptr, {0, 0, 0}},
                             {-1, nullptr, {0, 0, 0}}, {-1, nullptr, {0, 0, 0}}};
static uint32_t padKeysHeld;   // pad keys the game was last told are down

// Key messages waiting to come out before SDL's next event: one pad event can move two keys.
static PlatformMessage pendingKeys[PAD_KEY_COUNT];
static int pendingCount, pendingNext;

static Pad *FindPad(SDL_JoystickID id, bool add) {
    for (Pad &p : pads)
        if (p.id == id) return &p;
    if (!add) return nullptr;
    for (Pad &p : pads)
        if (p.id < 0) {
            p = Pad{id, nullptr, {0, 0, 0}};
            return &p;
        }
    return nullptr;   // more pads than slots: the extra one is not heard
}

// The pad button of an SDL game controller button, or -1 for one the game does not use.
static int PadButtonOf(uint8_t button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PAD_DPAD_LEFT;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PAD_DPAD_RIGHT;
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return PAD_DPAD_UP;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PAD_DPAD_DOWN;
    case SDL_CONTROLLER_BUTTON_A: return PAD_A;
    case SDL_CONTROLLER_BUTTON_B: return PAD_B;
    case SDL_CONTROLLER_BUTTON_START: return PAD_START;
    case SDL_CONTROLLER_BUTTON_BACK: return PAD_BACK;
    default: return -1;
    }
}

// Turns a pad event into the key messages of the keys it moved (queued in pendingKeys).
void TranslatePad(const SDL_Event &ev) {
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
            *p = Pad{-1, nullptr, {0, 0, 0}};
        }
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        Pad *p = FindPad(ev.cbutton.which, true);
        const int button = PadButtonOf(ev.cbutton.button);
        if (!p || button < 0) break;
        if (ev.type == SDL_CONTROLLERBUTTONDOWN) p->state.buttons |= 1u << button;
        else p->state.buttons &= ~(1u << button);
        break;
    }
    case SDL_CONTROLLERAXISMOTION:
        if (Pad *p = FindPad(ev.caxis.which, true)) {
            if (ev.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) p->state.stickX = ev.caxis.value;
            if (ev.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) p->state.stickY = ev.caxis.value;
        }
        break;
    }
    uint32_t now = 0;   // every pad's keys together
    for (const Pad &p : pads)
        if (p.id >= 0) now |= PadKeysOf(p.state);
    pendingCount = PadKeyMessages(padKeysHeld, now, pendingKeys);
    pendingNext = 0;
    padKeysHeld = now;
}

void PadFocusChanged(bool focused) {
    pendingCount = pendingNext = 0;
    if (focused) {
        // The keys the pads hold come again; the game let go of them with the focus.
        uint32_t now = 0;
        for (const Pad &p : pads)
            if (p.id >= 0) now |= PadKeysOf(p.state);
        pendingCount = PadKeyMessages(0, now, pendingKeys);
        padKeysHeld = now;
    } else {
        padKeysHeld = 0;
    }
}

bool IsPadEvent(Uint32 type) {
    return type == SDL_CONTROLLERDEVICEADDED || type == SDL_CONTROLLERDEVICEREMOVED ||
           type == SDL_CONTROLLERBUTTONDOWN || type == SDL_CONTROLLERBUTTONUP || type == SDL_CONTROLLERAXISMOTION;
}

bool NextPadKey(PlatformMessage *msg) {
    if (pendingNext >= pendingCount) return false;
    *msg = pendingKeys[pendingNext++];
    return true;
}
