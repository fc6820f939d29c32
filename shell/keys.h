// The keyboard as the game sees it: one flag per virtual-key code, held or not.
#pragma once

#include <cstdint>

// Virtual-key codes (the Windows numbering, which every backend translates into).
enum : int {
    VK_BACK_ = 0x08, VK_TAB_ = 0x09, VK_RETURN_ = 0x0D, VK_SHIFT_ = 0x10, VK_CONTROL_ = 0x11,
    VK_MENU_ = 0x12, VK_PAUSE_ = 0x13, VK_CAPITAL_ = 0x14, VK_ESCAPE_ = 0x1B, VK_SPACE_ = 0x20,
    VK_PRIOR_ = 0x21, VK_NEXT_ = 0x22, VK_END_ = 0x23, VK_HOME_ = 0x24,
    VK_LEFT_ = 0x25, VK_UP_ = 0x26, VK_RIGHT_ = 0x27, VK_DOWN_ = 0x28,
    VK_INSERT_ = 0x2D, VK_DELETE_ = 0x2E,
    VK_F1_ = 0x70, VK_F10_ = 0x79, VK_F12_ = 0x7B,
};

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
