// The SDL2 backend's game pads. They feed the key table as keys: the d-pad or the left
// stick walks, jumps (up) and crouches (down), A jumps, B fires, Start or Back quits like
// Escape. A pad plugged in while the game runs is opened at once; one pulled out lets go of
// its keys.
#include "platform/sdl/sdl_backend.h"

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

bool IsPadEvent(Uint32 type) {
    return type == SDL_CONTROLLERDEVICEADDED || type == SDL_CONTROLLERDEVICEREMOVED ||
           type == SDL_CONTROLLERBUTTONDOWN || type == SDL_CONTROLLERBUTTONUP || type == SDL_CONTROLLERAXISMOTION;
}

bool NextPadKey(PlatformMessage *msg) {
    if (pendingNext >= pendingCount) return false;
    *msg = pendingKeys[pendingNext++];
    return true;
}
