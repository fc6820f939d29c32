// Window creation and destruction over the platform layer, and the window procedure.
#include "shell/window.h"

#include "platform/platform.h"
#include "render/render.h"
#include "shell/state.h"
#include "world/world.h"

// The pixel format asked for: colour bits from the first creation, kept for every later one.
static int pixelColorBits;
static const int pixelDepthBits = 16;

static void CreationError(const char *text) {
    PlatformMessageBox(text, "ERROR", MB_OK_, MB_ICONEXCLAMATION_);
}

// A creation step failed after the window was begun: release what is held, then report.
static bool CreationFailed(const char *text) {
    DestroyGameWindow();
    CreationError(text);
    return false;
}

bool CreateGameWindow(const char *title, int width, int height, int bits, bool fullscreenRequest) {
    fullscreen = fullscreenRequest;

    if (!PlatformRegisterClass()) {
        CreationError("Failed To Register The Window Class.");
        return false;
    }

    if (fullscreen && !PlatformChangeDisplayMode(width, height, bits)) {
        const int answer = PlatformMessageBox(
            "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed Mode Instead?",
            "Vela GL", MB_YESNO_, MB_ICONEXCLAMATION_);
        if (answer == ID_YES_) {
            fullscreen = false;
        } else {
            PlatformMessageBox("Program Will Now Close.", "ERROR", MB_OK_, MB_ICONSTOP_);
            return false;
        }
    }

    if (fullscreen) PlatformShowCursor(false);

    if (!PlatformCreateWindow(title, width, height, fullscreen))
        return CreationFailed("Window Creation Error.");
    if (!PlatformGetDeviceContext())
        return CreationFailed("Can't Create A GL Device Context.");
    if (pixelColorBits == 0) pixelColorBits = bits;
    if (!PlatformChoosePixelFormat(pixelColorBits, pixelDepthBits))
        return CreationFailed("Can't Find A Suitable PixelFormat.");
    if (!PlatformSetPixelFormat())
        return CreationFailed("Can't Set The PixelFormat.");
    if (!PlatformCreateContext())
        return CreationFailed("Can't Create A GL Rendering Context.");
    if (!PlatformMakeCurrent())
        return CreationFailed("Can't Activate The GL Rendering Context.");

    PlatformShowWindow();
    ResizeView(width, height);
    if (!InitRenderState())
        return CreationFailed("Initialization Failed.");
    return true;
}

void ShowPictureFailure(const char *text) { PlatformMessageBox(text, "Error", MB_OK_, MB_ICONNONE_); }

static void ShutdownError(const char *text) {
    PlatformMessageBox(text, "SHUTDOWN ERROR", MB_OK_, MB_ICONINFORMATION_);
}

void DestroyGameWindow() {
    if (fullscreen) {
        PlatformRestoreDisplayMode();
        PlatformShowCursor(true);
    }

    if (PlatformHasContext()) {
        if (!PlatformReleaseCurrent()) ShutdownError("Release Of DC And RC Failed.");
        if (!PlatformDeleteContext()) ShutdownError("Release Rendering Context Failed.");
    }

    if (PlatformHasDeviceContext() && !PlatformReleaseDeviceContext())
        ShutdownError("Release Device Context Failed.");
    if (PlatformHasWindow() && !PlatformDestroyWindow()) ShutdownError("Could Not Release hWnd.");
    if (!PlatformUnregisterClass()) ShutdownError("Could Not Unregister Class.");

    DeleteFontLists();
}

bool ToggleFullscreen() {
    DestroyGameWindow();
    fullscreen = !fullscreen;
    if (!CreateGameWindow("KAV", 800, 600, 32, fullscreen)) {
        haveWindow = false;
        return false;
    }
    // The new context has none of the old one's textures: make every picture again.
    LoadAssetTable();
    return true;
}

intptr_t GameWindowProc(const PlatformMessage &msg) {
    switch (msg.kind) {
    case MSG_ACTIVATE:
        // Only minimising stops the drawing; losing the focus does not.
        appActive = ((msg.wParam >> 16) & 0xFFFF) == 0;
        return 0;
    case MSG_SYSCOMMAND:
        // Neither the screen saver nor monitor power saving starts while the game runs.
        if (msg.wParam == SC_SCREENSAVE_ || msg.wParam == SC_MONITORPOWER_) return 0;
        break;
    case MSG_CLOSE:
        // The window itself goes when the frame loop has ended.
        PlatformPostQuit(0);
        return 0;
    case MSG_KEYDOWN:
        if (msg.wParam < 256) KeyState[msg.wParam] = true;
        return 0;
    case MSG_KEYUP:
        if (msg.wParam < 256) KeyState[msg.wParam] = false;
        return 0;
    case MSG_SIZE:
        // A size reported before the context exists has no view to change yet.
        if (PlatformHasContext())
            ResizeView((uint32_t)msg.lParam & 0xFFFF, ((uint32_t)msg.lParam >> 16) & 0xFFFF);
        return 0;
    default:
        break;
    }
    return PlatformDefaultProc(msg);
}
