// What the game needs from the window system, and nothing more. The game code reaches the
// platform only through this header; each backend (platform/sdl, platform/win32,
// platform/web, and platform/null for tests) implements it in its own folder, and none of
// them calls back into the game. No backend type appears here.
#pragma once

#include <cstdint>
#include <string>

#include "platform/keycodes.h"

// A finished window message as the game handles it: kind, wParam, lParam. The backend has
// already done whatever the window system itself wants done with it (system keys, the
// screen saver, the window's own default handling); what is left is only what the game
// acts on.
enum MsgKind : int {
    MSG_NONE = 0,
    MSG_KEYDOWN,    // wParam: virtual-key code (auto-repeat sends it again); lParam: KEY_*
    MSG_KEYUP,      // wParam: virtual-key code; lParam: KEY_*
    MSG_ACTIVATE,   // wParam: low word non-zero when the window has the focus, high word
                    // non-zero when it is minimised
    MSG_CLOSE,      // the close box, or the window ended from outside
    MSG_SIZE,       // lParam: low word client width, high word client height
    MSG_QUIT,       // wParam: exit code
};

// Where a key message comes from: a keyboard key, which the player's bindings may make stand
// for another key, or a game pad or touch control, whose key is the game key it names.
enum KeySource : int { KEY_KEYBOARD = 0, KEY_FIXED = 1 };

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

// The steps of opening and closing the window with its rendering context, as the Win32
// backend does them (the other backends do what stands for each, in the same order). A
// step a backend has nothing for always succeeds there.
enum WindowStep : int {
    STEP_NONE = 0,
    // Opening, in order.
    STEP_REGISTER_CLASS,
    STEP_DISPLAY_MODE,          // full screen only
    STEP_CREATE_WINDOW,
    STEP_DEVICE_CONTEXT,
    STEP_CHOOSE_PIXEL_FORMAT,
    STEP_SET_PIXEL_FORMAT,
    STEP_CREATE_CONTEXT,
    STEP_MAKE_CURRENT,
    // Closing, in order.
    STEP_RELEASE_CURRENT,
    STEP_DELETE_CONTEXT,
    STEP_RELEASE_DEVICE_CONTEXT,
    STEP_DESTROY_WINDOW,
    STEP_UNREGISTER_CLASS,
    WINDOW_STEP_COUNT
};

struct WindowRequest {
    const char *title;
    int width, height;   // the client area, and the display mode in full screen
    int colorBits;       // bits per pixel of the display mode and the pixel format
    int depthBits;       // depth buffer bits of the pixel format
    bool fullscreen;
};

// Called by the shell, one window at a time. Opens the window with a current rendering
// context, shown, in front and with the keyboard focus. Keys the game held when the last
// window closed stay held while they are down, and a key let go in between comes as a
// key-up (the full-screen toggle must not lose them). False with *failed set to the step
// that failed; what was made up
// to then stays held for PlatformCloseWindow, except after STEP_REGISTER_CLASS (nothing was
// made) and STEP_DISPLAY_MODE (only the class is held, and a second call may ask again,
// windowed).
bool PlatformOpenWindow(const WindowRequest &request, WindowStep *failed);

// Called by the shell at the end, before a full-screen toggle and after a failed opening.
// Closes whatever is held, gives the desktop its display mode back and shows the cursor
// after full screen, and unregisters the class. A step that fails is forgotten all the
// same and the rest still run. Writes the steps that failed, in order, to failed and
// returns how many.
int PlatformCloseWindow(WindowStep failed[WINDOW_STEP_COUNT]);

// Called by the shell for every message box. Shows a modal box, owned by the game's window
// while one is open, and returns the button chosen. Return takes the first button (OK or
// Yes), Escape takes No (or OK in a box with one button). In the SDL backend SIGTERM
// ends the process while a box is up (status 128 + SIGTERM, through exit(), so that the
// display mode is restored); at other times it arrives as the close box (MSG_CLOSE).
int PlatformMessageBox(const char *text, const char *caption, int buttons, int icon);

// Called by the frame loop once a pass. Takes the next finished message; false when none
// waits. A window losing the focus comes as MSG_ACTIVATE with a low word of 0.
bool PlatformNextMessage(PlatformMessage *msg);
// Queues MSG_QUIT with the code, behind the messages already waiting.
void PlatformPostQuit(int code);

// Called by the frame loop after drawing: shows the picture.
void PlatformSwapBuffers();

// High-resolution clock in seconds and a sleep that gives the processor away, for pacing.
double PlatformTime();
void PlatformSleep(double seconds);

// The folder holding the running program, ending in a separator; empty when it cannot be
// told. The shell asks once at start-up, to find the game's data beside the program.
std::string PlatformProgramFolder();

// Called by the shell after it saved a screenshot at path: the browser offers the file as a
// download (it lives only in the page's memory); the other backends have nothing to do.
void PlatformPictureSaved(const char *path);

// Called by the shell once at start-up of a run with sound: opens the sound output for
// 16-bit stereo samples at `rate` a second. False when there is no device; the backend has
// then said so once on stderr, and the game plays silently.
bool PlatformOpenAudio(int rate, int stepFrames);
// Called by the shell after each step with that step's samples (stepFrames frames, left and
// right interleaved). At most about three steps stay queued: what comes beyond is dropped,
// so a fast or slow loop never piles sound up or plays it late. A device that goes away
// makes the rest silent (said once). The backend closes the output at exit.
void PlatformQueueAudio(const int16_t *samples, int frames);
