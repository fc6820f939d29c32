// Virtual-key codes: the numbers that key messages carry and that index the key table.
// They are the Windows numbering, which every backend translates into. Names end in an
// underscore so that they never clash with the window system's own macros.
#pragma once

enum : int {
    VK_BACK_ = 0x08, VK_TAB_ = 0x09, VK_CLEAR_ = 0x0C, VK_RETURN_ = 0x0D,
    VK_SHIFT_ = 0x10, VK_CONTROL_ = 0x11, VK_MENU_ = 0x12, VK_PAUSE_ = 0x13, VK_CAPITAL_ = 0x14,
    VK_ESCAPE_ = 0x1B, VK_SPACE_ = 0x20,
    VK_PRIOR_ = 0x21, VK_NEXT_ = 0x22, VK_END_ = 0x23, VK_HOME_ = 0x24,
    VK_LEFT_ = 0x25, VK_UP_ = 0x26, VK_RIGHT_ = 0x27, VK_DOWN_ = 0x28,
    VK_SELECT_ = 0x29, VK_EXECUTE_ = 0x2B, VK_SNAPSHOT_ = 0x2C, VK_INSERT_ = 0x2D,
    VK_DELETE_ = 0x2E, VK_HELP_ = 0x2F,
    VK_0_ = 0x30,   // the digits 0 to 9 follow in order ('0' to '9')
    VK_A_ = 0x41,   // the letters A to Z follow in order ('A' to 'Z')
    VK_LWIN_ = 0x5B, VK_RWIN_ = 0x5C, VK_APPS_ = 0x5D, VK_SLEEP_ = 0x5F,
    VK_NUMPAD0_ = 0x60,   // keypad digits 0 to 9 follow in order
    VK_MULTIPLY_ = 0x6A, VK_ADD_ = 0x6B, VK_SUBTRACT_ = 0x6D, VK_DECIMAL_ = 0x6E, VK_DIVIDE_ = 0x6F,
    VK_F1_ = 0x70,    // F1 to F24 follow in order
    VK_F10_ = 0x79, VK_F12_ = 0x7B, VK_F13_ = 0x7C,
    VK_NUMLOCK_ = 0x90, VK_SCROLL_ = 0x91,
    VK_OEM_1_ = 0xBA, VK_OEM_PLUS_ = 0xBB, VK_OEM_COMMA_ = 0xBC, VK_OEM_MINUS_ = 0xBD,
    VK_OEM_PERIOD_ = 0xBE, VK_OEM_2_ = 0xBF, VK_OEM_3_ = 0xC0, VK_OEM_4_ = 0xDB,
    VK_OEM_5_ = 0xDC, VK_OEM_6_ = 0xDD, VK_OEM_7_ = 0xDE, VK_OEM_102_ = 0xE2,
};
