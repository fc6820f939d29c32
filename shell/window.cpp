// The game's window over the platform layer: its opening and closing with the message box
// of every step that fails, the full-screen toggle, and the window procedure.
#include "shell/window.h"

#include "platform/platform.h"
#include "render/render.h"
#include "shell/state.h"
#include "world/world.h"

// The pixel format asked for: colour bits from the first creation, kept for every later one.
static int pixelColorBits;
static const int pixelDepthBits = WINDOW_DEPTH_BITS;

// The last step of the window's opening is the game's own: the fixed GL state.
static const int STEP_RENDER_STATE = WINDOW_STEP_COUNT;

// What the player is told when a step fails: every box the window's opening and closing show.
struct StepBox {
    const char *text, *caption;
    int buttons, icon;
};
static const StepBox STEP_BOXES[WINDOW_STEP_COUNT + 1] = {
    /* STEP_NONE */ {"", "", MB_OK_, MB_ICONNONE_},   // never shown
    /* STEP_REGISTER_CLASS */ {"Failed To Register The Window Class.", "ERROR", MB_OK_, MB_ICONEXCLAMATION_},
    /* STEP_DISPLAY_MODE */
    {"The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?", "Vela GL",
     MB_YESNO_, MB_ICONEXCLAMATION_},
    /* STEP_CREATE_WINDOW */ {"Window Creation Error.", "ERROR", MB_OK_, MB_ICONEXCLAMATION_},
    /* STEP_DEVICE_CONTEXT */ {"Can't Create A GL Device Context.", "ERROR", MB_OK_, MB_ICONEXCLAMATION_},
    /* STEP_CHOOSE_PIXEL_FORMAT */ {"Can't Find A Suitable PixelFormat.", "ERROR", MB_OK_, MB_ICONEXCLAMATION_},
    /* STEP_SET_PIXEL_FORMAT */ {"Can't Set The PixelFormat.", "ERROR", MB_OK_, MB_ICONEXCLAMATION_},
    /* STEP_CREATE_CONTEXT */ {"Can't Create A GL Rendering Context.", "ERROR", MB_OK_, MB_ICONEXCLAMATION_},
    /* STEP_MAKE_CURRENT */ {"Can't Activate The GL Rendering Context.", "ERROR", MB_OK_, MB_ICONEXCLAMATION_},
    /* STEP_RELEASE_CURRENT */ {"Release Of DC And RC Failed.", "SHUTDOWN ERROR", MB_OK_, MB_ICONINFORMATION_},
    /* STEP_DELETE_CONTEXT */ {"Release Rendering Context Failed.", "SHUTDOWN ERROR", MB_OK_, MB_ICONINFORMATION_},
    /* STEP_RELEASE_DEVICE_CONTEXT */ {"Release Device Context Failed.", "SHUTDOWN ERROR", MB_OK_, MB_ICONINFORMATION_},
    /* STEP_DESTROY_WINDOW */ {"Could Not Release hWnd.", "SHUTDOWN ERROR", MB_OK_, MB_ICONINFORMATION_},
    /* STEP_UNREGISTER_CLASS */ {"Could Not Unregister Class.", "SHUTDOWN ERROR", MB_OK_, MB_ICONINFORMATION_},
    /* STEP_RENDER_STATE */ {"Initialization Failed.", "ERROR", MB_OK_, MB_ICONEXCLAMATION_},
};

static int ShowStepBox(int step) {
    const StepBox &box = STEP_BOXES[step];
    return PlatformMessageBox(box.text, box.caption, box.buttons, box.icon);
}

// A step failed after the window was begun: release what is held, then report.
static bool CreationFailed(int step) {
    DestroyGameWindow();
    ShowStepBox(step);
    return false;
}

bool CreateGameWindow(const char *title, int width, int height, int bits, bool fullscreenRequest) {
    fullscreen = fullscreenRequest;
    if (pixelColorBits == 0) pixelColorBits = bits;
    WindowStep failed = STEP_NONE;
    if (!PlatformOpenWindow(WindowRequest{title, width, height, pixelColorBits, pixelDepthBits, fullscreen}, &failed)) {
        if (failed == STEP_REGISTER_CLASS) {   // nothing made: nothing to release
            ShowStepBox(failed);
            return false;
        }
        if (failed == STEP_DISPLAY_MODE) {
            if (ShowStepBox(failed) != ID_YES_) {
                PlatformMessageBox("Program Will Now Close.", "ERROR", MB_OK_, MB_ICONSTOP_);
                return false;
            }
            fullscreen = false;   // windowed, in the class already registered
            if (PlatformOpenWindow(WindowRequest{title, width, height, pixelColorBits, pixelDepthBits, false}, &failed))
                failed = STEP_NONE;
        }
        if (failed != STEP_NONE) return CreationFailed(failed);
    }
    haveWindow = true;
    ResizeView(width, height);
    if (!InitRenderState()) return CreationFailed(STEP_RENDER_STATE);
    return true;
}

void ShowPictureFailure(const char *text) { PlatformMessageBox(text, "Error", MB_OK_, MB_ICONNONE_); }

void DestroyGameWindow() {
    WindowStep failed[WINDOW_STEP_COUNT];
    const int count = PlatformCloseWindow(failed);
    haveWindow = false;
    for (int i = 0; i < count; i++) ShowStepBox(failed[i]);
    DeleteFontLists();
}

bool ToggleFullscreen() {
    DestroyGameWindow();
    fullscreen = !fullscreen;
    if (!CreateGameWindow(TOGGLED_WINDOW_TITLE, WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_BITS, fullscreen)) return false;
    // The new context has none of the old one's textures: make every picture again.
    LoadAssetTable();
    return true;
}

void GameWindowProc(const PlatformMessage &msg) {
    switch (msg.kind) {
    case MSG_ACTIVATE:
        // Only minimising stops the drawing; losing the focus does not. A window without
        // the focus hears no key-up, so every key is let go when the focus goes.
        appActive = ((msg.wParam >> 16) & 0xFFFF) == 0;
        if ((msg.wParam & 0xFFFF) == 0)
            for (bool &key : KeyState) key = false;
        break;
    case MSG_CLOSE:
        // The window itself goes when the frame loop has ended.
        PlatformPostQuit(0);
        break;
    case MSG_KEYDOWN:
        if (msg.wParam < 256) KeyState[msg.wParam] = true;
        break;
    case MSG_KEYUP:
        if (msg.wParam < 256) KeyState[msg.wParam] = false;
        break;
    case MSG_SIZE:
        // A size reported while no window is open has no view to change.
        if (haveWindow) ResizeView((uint32_t)msg.lParam & 0xFFFF, ((uint32_t)msg.lParam >> 16) & 0xFFFF);
        break;
    default:
        break;
    }
}
