// What a game pad means to the game, the same on every backend: each backend reads its pads
// into PadState (SDL's game controllers, XInput, the browser's standard gamepads) and sends
// the key messages that PadKeyMessages makes of the change, so that no two can drift apart.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// The buttons the game listens to, as bits of PadState::buttons.
enum PadButton : int {
    PAD_DPAD_LEFT, PAD_DPAD_RIGHT, PAD_DPAD_UP, PAD_DPAD_DOWN,
    PAD_A, PAD_B, PAD_START, PAD_BACK,
    PAD_BUTTON_COUNT
};

// One pad at one moment. The left stick runs from -32768 to 32767, x to the right and y
// downward (a backend whose y grows upward turns it over).
struct PadState {
    uint32_t buttons;   // bit per PadButton held
    int stickX, stickY;
};

// A stick nearer its middle than this is at rest: a worn stick never walks by itself.
const int PAD_STICK_DEAD_ZONE = 8000;

// The keys a pad can hold, as bits of a key set: the d-pad or the stick walks, jumps (up)
// and hides (down), A jumps, B fires, Start or Back quits like Escape.
enum PadKey : int { PAD_KEY_LEFT, PAD_KEY_RIGHT, PAD_KEY_UP, PAD_KEY_DOWN, PAD_KEY_FIRE, PAD_KEY_QUIT, PAD_KEY_COUNT };
// The virtual key of each.
extern const uint32_t PAD_KEY_VK[PAD_KEY_COUNT];
// The key of each button.
extern const PadKey PAD_BUTTON_KEY[PAD_BUTTON_COUNT];

// The set of keys one pad holds.
uint32_t PadKeysOf(const PadState &pad);

// The key messages (source KEY_FIXED) that take the game from the keys `was` to `now`, into
// out, in key order; returns how many.
int PadKeyMessages(uint32_t was, uint32_t now, PlatformMessage out[PAD_KEY_COUNT]);
