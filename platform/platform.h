// What the game needs from the window system, and nothing more. The game code reaches the
// platform only through this header; each backend (SDL2, Win32, and a null backend for
// tests) implements it in its own files. No backend type appears here.
#pragma once

#include <cstdint>
#include <string>

#include "platform/keycodes.h"

// A window message as the game handles it: kind, wParam, lParam.
enum MsgKind : int {
    MSG_NONE = 0,
    MSG_KEYDOWN,      // wParam: virtual-key code
    MSG_KEYUP,        // wParam: virtual-key code
    MSG_SYSKEYDOWN,   // Alt combinations and F10: never reach the key table
    MSG_SYSKEYUP,
    MSG_ACTIVATE,     // wParam: low word active state, high word non-zero when minimised
    MSG_SYSCOMMAND,   // wParam: one of SC_*
    MSG_CLOSE,        // the close box
    MSG_SIZE,         // lParam: low word client width, high word client height
    MSG_QUIT,         // wParam: exit code
    MSG_OTHER,        // anything else: goes to PlatformDefaultProc
};

enum : uint32_t { SC_SCREENSAVE_ = 0xF140, SC_MONITORPOWER_ = 0xF170 };

struct PlatformMessage {
    int kind;
    uint32_t wParam;
    int32_t lParam;
};

// Message boxes.
enum MsgBoxButtons { MB_OK_ = 0, MB_YESNO_ = 4 };
enum MsgBoxIcon { MB_ICONNONE_ = 0, MB_ICONSTOP_ = 0x10, MB_ICONQUESTION_ = 0x20,
                  MB_ICONEXCLAMATION_ = 0x30, MB_ICONINFORMATION_ = 0x40 };
enum MsgBoxResult { ID_OK_ = 1, ID_YES_ = 6, ID_NO_ = 7 };

// Shows a modal box and returns the button chosen. Return takes the first button (OK or
// Yes), Escape takes No (or OK in a box with one button). In the SDL backend SIGTERM
// ends the process while a box is up (status 128 + SIGTERM, through exit(), so that
// the display mode is restored); at other times it arrives as the close box (MSG_CLOSE).
int PlatformMessageBox(const char *text, const char *caption, int buttons, int icon);

// Window and rendering context, in the order CreateGameWindow and DestroyGameWindow use
// them: one call per step that the game reports when it fails. Each returns false on
// failure; the caller reports it. A release forgets what it released, failed or not.
//
// On SDL2 some of these stand for nothing of their own: registering the class starts SDL's
// video (unregistering does nothing), the device context is the window itself, the pixel
// format is fixed when the window is made, and the default procedure has nothing to do.
bool PlatformRegisterClass();
bool PlatformUnregisterClass();
bool PlatformChangeDisplayMode(int width, int height, int bits);   // full screen
void PlatformRestoreDisplayMode();
void PlatformShowCursor(bool show);
bool PlatformCreateWindow(const char *title, int width, int height, bool fullscreen);
bool PlatformGetDeviceContext();
bool PlatformChoosePixelFormat(int colorBits, int depthBits);
bool PlatformSetPixelFormat();
bool PlatformCreateContext();
bool PlatformMakeCurrent();
void PlatformShowWindow();   // show, foreground, keyboard focus
bool PlatformHasContext();
bool PlatformHasDeviceContext();
bool PlatformHasWindow();
bool PlatformReleaseCurrent();      // make no context current
bool PlatformDeleteContext();
bool PlatformReleaseDeviceContext();
bool PlatformDestroyWindow();

// Message queue: non-blocking peek with removal. Returns false when the queue is empty.
bool PlatformPeekMessage(PlatformMessage *msg);
// Hands a message to the window procedure (translation is the backend's business).
void PlatformDispatchMessage(const PlatformMessage &msg);
void PlatformPostQuit(int code);
// Default handling of a message the window procedure does not take.
intptr_t PlatformDefaultProc(const PlatformMessage &msg);

void PlatformSwapBuffers();

// High-resolution clock in seconds and a sleep that gives the processor away.
double PlatformTime();
void PlatformSleep(double seconds);

// The folder holding the running program, ending in a separator; empty when it cannot be
// told. The shell asks once at start-up, to find the game's data beside the program.
std::string PlatformProgramFolder();

// The window procedure: portable game code, called by PlatformDispatchMessage.
intptr_t GameWindowProc(const PlatformMessage &msg);

// The game's entry with the command line's arguments; returns the exit status. Each
// backend with a window system owns the process entry (main, WinMain) and calls it.
int GameMain(int argc, char **argv);
