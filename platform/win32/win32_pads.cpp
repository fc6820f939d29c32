// The Win32 backend's game pads: XInput, loaded when the game starts from the system's own
// DLL (none is shipped with the game), polled once a frame, fed to the game as keys.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "platform/win32/win32_pads.h"

// XInput's own records and button bits, as its header declares them.
struct XInputGamepad {
    WORD wButtons;
    BYTE bLeftTrigger, bRightTrigger;
    SHORT sThumbLX, sThumbLY, sThumbRX, sThumbRY;
};
struct XInputState {
    DWORD dwPacketNumber;
    XInputGamepad Gamepad;
};
typedef DWORD(WINAPI *XInputGetStateCall)(DWORD user, XInputState *state);

static const int XINPUT_PADS = 4;
static const struct {
    WORD bit;
    PadButton button;
} XINPUT_BUTTONS[] = {
    {0x0004, PAD_DPAD_LEFT}, {0x0008, PAD_DPAD_RIGHT}, {0x0001, PAD_DPAD_UP}, {0x0002, PAD_DPAD_DOWN},
    {0x1000, PAD_A},         {0x2000, PAD_B},          {0x0010, PAD_START},   {0x0020, PAD_BACK},
};
// Asking for a pad that is not there is slow in XInput: an empty slot is asked again only
// after this long.
static const double EMPTY_SLOT_WAIT = 1.0;

static XInputGetStateCall getState;
static double nextLook[XINPUT_PADS];   // when an empty slot is asked again
static bool connected[XINPUT_PADS];
static PadState pads[XINPUT_PADS];
static uint32_t padKeysHeld;   // pad keys the game was last told are down

void StartPads() {
    static const char *const DLLS[] = {"xinput1_4.dll", "xinput1_3.dll", "xinput9_1_0.dll"};
    for (const char *name : DLLS) {
        if (HMODULE dll = LoadLibraryA(name)) {
            getState = (XInputGetStateCall)(void *)GetProcAddress(dll, "XInputGetState");
            if (getState) return;
            FreeLibrary(dll);
        }
    }
}

// One pad's state in the common form: XInput's stick y grows upward, the common one downward.
static PadState Common(const XInputGamepad &g) {
    PadState s = {0, g.sThumbLX, g.sThumbLY == -32768 ? 32767 : -g.sThumbLY};
    for (const auto &b : XINPUT_BUTTONS)
        if (g.wButtons & b.bit) s.buttons |= 1u << b.button;
    return s;
}

int PollPads(bool focused, double now, PlatformMessage out[PAD_KEY_COUNT]) {
    if (!getState) return 0;
    if (!focused) {
        // The game let go of every key when the focus went; held pad keys come again with it.
        padKeysHeld = 0;
        return 0;
    }
    uint32_t keys = 0;
    for (int i = 0; i < XINPUT_PADS; i++) {
        if (!connected[i] && now < nextLook[i]) continue;
        XInputState state;
        ZeroMemory(&state, sizeof state);
        connected[i] = getState((DWORD)i, &state) == ERROR_SUCCESS;
        if (!connected[i]) {
            nextLook[i] = now + EMPTY_SLOT_WAIT;
            continue;
        }
        pads[i] = Common(state.Gamepad);
        keys |= PadKeysOf(pads[i]);
    }
    const int count = PadKeyMessages(padKeysHeld, keys, out);
    padKeysHeld = keys;
    return count;
}
