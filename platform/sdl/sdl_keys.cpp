// The SDL2 backend's keys: SDL key events as the game's virtual-key messages, and the keys
// the game holds carried across a re-creation of the window.
#include "platform/sdl/sdl_backend.h"

// The virtual key each key went down as, by scancode, so that its key-up says the same even
// if Num Lock changed in between (a keypad key would otherwise stay held); 0 when up.
static uint8_t heldAs[SDL_NUM_SCANCODES];
// Keys held by the game when its window was destroyed. SDL lets go of them in its own table
// then, and would never report their key-up: they stay down for the game until the
// keyboard says they are up, or until SDL hears of them again.
static bool carried[SDL_NUM_SCANCODES];

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

bool TranslateKey(const SDL_KeyboardEvent &key, PlatformMessage *msg) {
    const bool down = key.type == SDL_KEYDOWN;
    const SDL_Scancode sc = key.keysym.scancode;
    const bool known = sc > SDL_SCANCODE_UNKNOWN && sc < SDL_NUM_SCANCODES;
    if (known && carried[sc]) {
        // SDL's let-go of a carried key is not the player's; a new press is SDL's again.
        if (!down) return false;
        carried[sc] = false;
    }
    const uint32_t vk = !down && known && heldAs[sc] ? heldAs[sc] : VirtualKey(key.keysym);
    if (known) heldAs[sc] = down ? (uint8_t)vk : 0;
    // Alt combinations, Alt itself and F10 are system keys: never the game's.
    if (vk == 0 || (key.keysym.mod & KMOD_ALT) || vk == VK_MENU_ || vk == VK_F10_) return false;
    *msg = PlatformMessage{down ? MSG_KEYDOWN : MSG_KEYUP, vk, 0};
    return true;
}

void CarryHeldKeys() {
    for (int sc = 0; sc < SDL_NUM_SCANCODES; sc++) carried[sc] = heldAs[sc] != 0;
}

bool NextCarriedKeyUp(PlatformMessage *msg) {
    for (int sc = 0; sc < SDL_NUM_SCANCODES; sc++) {
        if (!carried[sc] || IsKeyHeldDown((SDL_Scancode)sc) == 1) continue;
        // Up, or no way to tell: let go, as SDL did.
        *msg = PlatformMessage{MSG_KEYUP, heldAs[sc], 0};
        carried[sc] = false;
        heldAs[sc] = 0;
        return true;
    }
    return false;
}

void ForgetHeldKeys() {
    for (int sc = 0; sc < SDL_NUM_SCANCODES; sc++) {
        carried[sc] = false;
        heldAs[sc] = 0;
    }
}
