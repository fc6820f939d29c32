// The game pad's buttons and stick as the game's keys, for every backend.
#include "platform/pad_keys.h"

const uint32_t PAD_KEY_VK[PAD_KEY_COUNT] = {VK_LEFT_, VK_RIGHT_, VK_UP_, VK_DOWN_, VK_SPACE_, VK_ESCAPE_};

const PadKey PAD_BUTTON_KEY[PAD_BUTTON_COUNT] = {
    /* PAD_DPAD_LEFT */ PAD_KEY_LEFT, /* PAD_DPAD_RIGHT */ PAD_KEY_RIGHT,
    /* PAD_DPAD_UP */ PAD_KEY_UP,     /* PAD_DPAD_DOWN */ PAD_KEY_DOWN,
    /* PAD_A */ PAD_KEY_UP,           /* PAD_B */ PAD_KEY_FIRE,
    /* PAD_START */ PAD_KEY_QUIT,     /* PAD_BACK */ PAD_KEY_QUIT,
};

uint32_t PadKeysOf(const PadState &pad) {
    uint32_t keys = 0;
    for (int b = 0; b < PAD_BUTTON_COUNT; b++)
        if (pad.buttons >> b & 1) keys |= 1u << PAD_BUTTON_KEY[b];
    if (pad.stickX < -PAD_STICK_DEAD_ZONE) keys |= 1u << PAD_KEY_LEFT;
    if (pad.stickX > PAD_STICK_DEAD_ZONE) keys |= 1u << PAD_KEY_RIGHT;
    if (pad.stickY < -PAD_STICK_DEAD_ZONE) keys |= 1u << PAD_KEY_UP;
    if (pad.stickY > PAD_STICK_DEAD_ZONE) keys |= 1u << PAD_KEY_DOWN;
    return keys;
}

int PadKeyMessages(uint32_t was, uint32_t now, PlatformMessage out[PAD_KEY_COUNT]) {
    int count = 0;
    for (int k = 0; k < PAD_KEY_COUNT; k++) {
        const bool before = was >> k & 1, after = now >> k & 1;
        if (before != after) out[count++] = PlatformMessage{after ? MSG_KEYDOWN : MSG_KEYUP, PAD_KEY_VK[k], KEY_FIXED};
    }
    return count;
}
