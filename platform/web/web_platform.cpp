// Browser backend of the platform interface, on emscripten's HTML5 API: the page's canvas
// is the window, a WebGL 1 context with the fixed-function emulation is the rendering
// context, the browser's full screen is the display mode, and the page shows the message
// boxes. Key, focus and visibility events are queued as the game's messages.
#include "platform/message_ring.h"
#include "platform/platform.h"
#include "platform/web/gl_compat.h"

#include <emscripten.h>
#include <emscripten/html5.h>

static const char *const CANVAS = "#canvas";

static bool callbacksSet;
static bool modeChanged;   // full screen asked for by the last opening
static bool windowOpen;    // the canvas is the game's window
static EMSCRIPTEN_WEBGL_CONTEXT_HANDLE context;

// Messages waiting for the frame loop, oldest first.
static MessageRing queue;

static void Post(int kind, uint32_t wParam, int32_t lParam) { RingPut(&queue, PlatformMessage{kind, wParam, lParam}); }

// A box cannot wait for the player in a browser: the page shows it as a dialog of its own
// (one per message, nothing blocks the tab) and the game goes on with the button that
// Return takes: OK, or Yes.
int PlatformMessageBox(const char *text, const char *caption, int buttons, int icon) {
    EM_ASM({
        var text = UTF8ToString($0);
        var caption = UTF8ToString($1);
        if (Module.kavMessageBox) Module.kavMessageBox(text, caption, $2, $3);
        else err(caption + ": " + text);
    }, text ? text : "", caption ? caption : "", buttons == MB_YESNO_ ? 1 : 0, icon);
    return buttons == MB_YESNO_ ? ID_YES_ : ID_OK_;
}

// Keys the browser would act on itself (scrolling on arrows, Space and the page keys, help
// on F1, the menu on F10, developer tools on F12, which saves the picture here) are kept
// from it where it lets a page do so; the rest (reload) are not.
static bool KeepFromBrowser(uint32_t vk) {
    return (vk >= VK_SPACE_ && vk <= VK_DOWN_) || vk == VK_F1_ || vk == VK_F10_ || vk == VK_F12_;
}

static EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent *e, void *) {
    // keyCode is the Windows virtual-key code the game numbers its keys by.
    const uint32_t vk = e->keyCode ? e->keyCode : e->which;
    if (vk == 0 || vk > 255) return EM_FALSE;
    // Keys with Alt held, Alt itself and F10 are system keys: the browser's, never the game's.
    if (!(e->altKey || vk == VK_MENU_ || vk == VK_F10_))
        Post(type == EMSCRIPTEN_EVENT_KEYDOWN ? MSG_KEYDOWN : MSG_KEYUP, vk, 0);
    return KeepFromBrowser(vk) ? EM_TRUE : EM_FALSE;
}

// A hidden tab is the browser's minimised window; a page without the focus hears no keys.
static EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent *e, void *) {
    Post(MSG_ACTIVATE, e->hidden ? 1u << 16 : 1u, 0);
    return EM_FALSE;
}

static EM_BOOL OnFocus(int type, const EmscriptenFocusEvent *, void *) {
    Post(MSG_ACTIVATE, type == EMSCRIPTEN_EVENT_FOCUS ? 1u : 0u, 0);
    return EM_FALSE;
}

// The browser allows full screen only while the player's click or key press is fresh (the
// start dialog's Yes, or F1): the request goes out at once and the browser answers later.
// A refusal leaves the canvas in the page, which is the windowed game. Where the browser
// lets a page keep Escape in full screen (the keyboard lock), Escape still ends the game and
// holding it leaves full screen; elsewhere the first Escape only leaves full screen.
static bool ChangeDisplayMode() {
    return EM_ASM_INT({
        var canvas = Module.canvas;
        if (!canvas || !canvas.requestFullscreen) return 0;
        var asked = canvas.requestFullscreen();
        if (asked && asked.catch) asked.catch(function() {});
        if (navigator.keyboard && navigator.keyboard.lock) {
            var locked = navigator.keyboard.lock(["Escape"]);
            if (locked && locked.catch) locked.catch(function() {});
        }
        return 1;
    }) != 0;
}

static void RestoreDisplayMode() {
    EM_ASM({
        if (navigator.keyboard && navigator.keyboard.unlock) navigator.keyboard.unlock();
        if (document.fullscreenElement && document.exitFullscreen) {
            var left = document.exitFullscreen();
            if (left && left.catch) left.catch(function() {});
        }
    });
}

static bool CreateContext(int depthBits) {
    if (context) return false;
    EmscriptenWebGLContextAttributes attrs;
    emscripten_webgl_init_context_attributes(&attrs);
    attrs.alpha = EM_FALSE;
    attrs.depth = depthBits > 0;
    attrs.stencil = EM_FALSE;
    attrs.antialias = EM_FALSE;
    // Each frame draws over the last one, as on the desktop (and the page can be read back).
    attrs.preserveDrawingBuffer = EM_TRUE;
    attrs.majorVersion = 1;
    attrs.minorVersion = 0;
    context = emscripten_webgl_create_context(CANVAS, &attrs);
    if (context <= 0) context = 0;
    return context != 0;
}

static bool MakeCurrent() {
    if (!context || emscripten_webgl_make_context_current(context) != EMSCRIPTEN_RESULT_SUCCESS)
        return false;
    // The fixed-function emulation sets itself up only through SDL, GLUT, GLFW or EGL: for a
    // context made here it is told by hand.
    EM_ASM({
        Module.useWebGL = true;
        Module.ctx = GLctx;
        Browser.moduleContextCreatedCallbacks.forEach(function(made) { made(); });
    });
    // The canvas outlives the game's windows: a new one starts black, as a new window does,
    // not with the last picture of the one before (each frame draws over the last).
    EM_ASM({
        GLctx.clearColor(0, 0, 0, 1);
        GLctx.clear(GLctx.COLOR_BUFFER_BIT);
        GLctx.clearColor(0, 0, 0, 0);
    });
    return true;
}

// A canvas keeps its one WebGL context for life; what goes with the game's context are its
// textures, so that a new one starts as empty as on the desktop.
static bool DeleteContext() {
    if (!context) return false;
    if (emscripten_webgl_make_context_current(context) == EMSCRIPTEN_RESULT_SUCCESS)
        KavDeleteAllTextures();
    emscripten_webgl_make_context_current(0);
    const bool ok = emscripten_webgl_destroy_context(context) == EMSCRIPTEN_RESULT_SUCCESS;
    context = 0;
    return ok;
}

bool PlatformOpenWindow(const WindowRequest &r, WindowStep *failed) {
    auto fail = [failed](WindowStep step) {
        *failed = step;
        return false;
    };
    // The page's events feed the queue from the first opening on.
    if (!callbacksSet) {
        emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
        emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
        emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, OnVisibility);
        emscripten_set_blur_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnFocus);
        emscripten_set_focus_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnFocus);
        callbacksSet = true;
    }
    if (r.fullscreen) {
        if (!ChangeDisplayMode()) return fail(STEP_DISPLAY_MODE);
        modeChanged = true;
        EM_ASM({ if (Module.canvas) Module.canvas.style.cursor = "none"; });
    }
    if (windowOpen) return fail(STEP_CREATE_WINDOW);
    const bool found = EM_ASM_INT({
        if (!Module.canvas) return 0;
        document.title = UTF8ToString($0);
        return 1;
    }, r.title ? r.title : "") != 0;
    // The drawing buffer keeps the game's size; in full screen the page stretches it.
    if (!found || emscripten_set_canvas_element_size(CANVAS, r.width, r.height) != EMSCRIPTEN_RESULT_SUCCESS)
        return fail(STEP_CREATE_WINDOW);
    windowOpen = true;
    // The canvas is the device context; WebGL always draws 8 bits a channel.
    const auto valid = [](int bits) { return bits == 16 || bits == 24 || bits == 32; };
    if (!valid(r.colorBits) || !valid(r.depthBits)) return fail(STEP_CHOOSE_PIXEL_FORMAT);
    if (!CreateContext(r.depthBits)) return fail(STEP_CREATE_CONTEXT);
    if (!MakeCurrent()) return fail(STEP_MAKE_CURRENT);
    EM_ASM({ if (Module.canvas && Module.canvas.focus) Module.canvas.focus(); });
    return true;
}

int PlatformCloseWindow(WindowStep failed[WINDOW_STEP_COUNT]) {
    int count = 0;
    if (modeChanged) {
        RestoreDisplayMode();
        EM_ASM({ if (Module.canvas) Module.canvas.style.cursor = ""; });
        modeChanged = false;
    }
    if (context) {
        if (emscripten_webgl_make_context_current(0) != EMSCRIPTEN_RESULT_SUCCESS) failed[count++] = STEP_RELEASE_CURRENT;
        if (!DeleteContext()) failed[count++] = STEP_DELETE_CONTEXT;
    }
    windowOpen = false;
    return count;
}

bool PlatformNextMessage(PlatformMessage *msg) { return RingTake(&queue, msg); }

void PlatformPostQuit(int code) { Post(MSG_QUIT, (uint32_t)code, 0); }

// The browser shows the canvas when the frame's callback returns.
void PlatformSwapBuffers() {}

double PlatformTime() { return emscripten_get_now() / 1000.0; }

// A page has no program folder: its packed map/ and gfx/ sit in the working directory.
std::string PlatformProgramFolder() { return ""; }

// The picture is a file in the page's memory: hand it to the browser as a download.
void PlatformPictureSaved(const char *path) {
    EM_ASM({
        var path = UTF8ToString($0);
        var url = URL.createObjectURL(new Blob([FS.readFile(path)], {type: "image/png"}));
        var link = document.createElement("a");
        link.href = url;
        link.download = path.split("/").pop();
        document.body.appendChild(link);
        link.click();
        link.remove();
        setTimeout(function () { URL.revokeObjectURL(url); }, 60000);
    }, path);
}

// A page cannot block: the browser's animation frames pace the loop instead, so the web
// loop never asks for a sleep.
void PlatformSleep(double) {}
