// The keyboard as the game sees it: one flag per virtual-key code, held or not.
#pragma once

#include <cstdint>

#include "platform/keycodes.h"

// True from a key's key-down message to its key-up message.
extern bool KeyState[256];

// Edge latch of a key that acts once per press: returns true in a step in which the key
// is held and the latch is clear (and sets the latch); a step with the key up clears it.
inline bool KeyPressed(int vk, bool &latch) {
    if (!KeyState[vk & 0xFF]) {
        latch = false;
        return false;
    }
    if (latch) return false;
    latch = true;
    return true;
}
