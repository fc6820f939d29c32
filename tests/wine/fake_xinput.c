/* A stand-in for the system's XInput DLL, for the Windows build under Wine: pad 0 is
   plugged in while the file pad.txt is in the working folder, and holds what the file says:
   XInput's button bits (decimal), then the left stick's x and y. Every other pad is out. */
#include <stdio.h>
#include <windows.h>

typedef struct {
    WORD wButtons;
    BYTE bLeftTrigger, bRightTrigger;
    SHORT sThumbLX, sThumbLY, sThumbRX, sThumbRY;
} Gamepad;
typedef struct {
    DWORD dwPacketNumber;
    Gamepad Gamepad;
} State;

__declspec(dllexport) DWORD WINAPI XInputGetState(DWORD user, State *state) {
    static DWORD packet;
    unsigned buttons = 0;
    int x = 0, y = 0;
    FILE *f;
    if (user != 0 || (f = fopen("pad.txt", "r")) == NULL) return ERROR_DEVICE_NOT_CONNECTED;
    if (fscanf(f, "%u %d %d", &buttons, &x, &y) != 3) buttons = 0, x = 0, y = 0;
    fclose(f);
    ZeroMemory(state, sizeof *state);
    state->dwPacketNumber = ++packet;
    state->Gamepad.wButtons = (WORD)buttons;
    state->Gamepad.sThumbLX = (SHORT)x;
    state->Gamepad.sThumbLY = (SHORT)y;
    return ERROR_SUCCESS;
}
