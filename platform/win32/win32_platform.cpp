// Win32 backend of the platform interface: the window class, the display mode, the window,
// its device context and WGL rendering context, message boxes, the window procedure with
// its queue of finished messages, and the clock.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/message_ring.h"
#include "platform/platform.h"

// The header's numbers are the system's own, so they go to and come from it unchanged.
static_assert(MB_OK_ == MB_OK && MB_YESNO_ == MB_YESNO, "message box buttons");
static_assert(MB_ICONSTOP_ == MB_ICONSTOP && MB_ICONQUESTION_ == MB_ICONQUESTION &&
              MB_ICONEXCLAMATION_ == MB_ICONEXCLAMATION && MB_ICONINFORMATION_ == MB_ICONINFORMATION,
              "message box icons");
static_assert(ID_OK_ == IDOK && ID_YES_ == IDYES && ID_NO_ == IDNO, "message box answers");
static_assert(VK_ESCAPE_ == VK_ESCAPE && VK_PRIOR_ == VK_PRIOR && VK_LEFT_ == VK_LEFT &&
              VK_F1_ == VK_F1 && VK_F10_ == VK_F10 && VK_MENU_ == VK_MENU && VK_NUMPAD0_ == VK_NUMPAD0,
              "virtual-key codes");

static const char CLASS_NAME[] = "OpenGL";

static HINSTANCE instance;
static bool classRegistered;
static bool modeChanged;   // full screen: the display mode was changed and the cursor hidden
static HWND window;
static HDC deviceContext;
static HGLRC renderContext;

// The window procedure's finished messages, waiting for the frame loop.
static MessageRing queue;
// Keys the game was told are down: checked against the keyboard when a window is made anew.
static bool held[256];
// While the window is being closed its deactivation is not the player's: the keys stay held
// for the next window.
static bool closing;

static void Post(int kind, uint32_t wParam, int32_t lParam) {
    if (kind == MSG_KEYDOWN || kind == MSG_KEYUP) held[wParam & 0xFF] = kind == MSG_KEYDOWN;
    RingPut(&queue, PlatformMessage{kind, wParam, lParam});
}

int PlatformMessageBox(const char *text, const char *caption, int buttons, int icon) {
    // Owned by the game's window while one is open, so that it never hides behind it.
    const int answer = MessageBoxA(window, text, caption, (UINT)(buttons | icon));
    // A Yes/No box that is cancelled after all (Escape, where the system lets it) or
    // cannot be shown answers No, as the header promises.
    if (buttons == MB_YESNO_) return answer == IDYES ? ID_YES_ : ID_NO_;
    return ID_OK_;
}

// What the game takes is queued; the screen saver and monitor power saving are kept from
// starting; everything else, system keys included, is the system's.
static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (wParam < 256) Post(message == WM_KEYDOWN ? MSG_KEYDOWN : MSG_KEYUP, (uint32_t)wParam, 0);
        return 0;
    case WM_ACTIVATE:
        if (closing) return 0;
        // The game lets go of every key when the focus goes.
        if (LOWORD(wParam) == WA_INACTIVE)
            for (bool &key : held) key = false;
        Post(MSG_ACTIVATE, (uint32_t)wParam, 0);
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
        break;
    case WM_CLOSE:
        Post(MSG_CLOSE, 0, 0);   // the window itself goes when the frame loop has ended
        return 0;
    case WM_SIZE:
        Post(MSG_SIZE, 0, (int32_t)lParam);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

static bool RegisterWindowClass() {
    instance = GetModuleHandleA(nullptr);
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    wc.lpfnWndProc = WindowProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = instance;
    wc.hIcon = LoadIcon(nullptr, IDI_WINLOGO);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = CLASS_NAME;
    return RegisterClassA(&wc) != 0;
}

static bool ChangeDisplayMode(int width, int height, int bits) {
    DEVMODEA mode;
    ZeroMemory(&mode, sizeof mode);
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = (DWORD)width;
    mode.dmPelsHeight = (DWORD)height;
    mode.dmBitsPerPel = (DWORD)bits;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

static HWND MakeWindow(const char *title, int width, int height, bool fullscreen) {
    RECT rect = {0, 0, width, height};
    DWORD exStyle, style;
    if (fullscreen) {
        exStyle = WS_EX_APPWINDOW;
        style = WS_POPUP;
    } else {
        exStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
        style = WS_OVERLAPPEDWINDOW;
    }
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return CreateWindowExA(exStyle, CLASS_NAME, title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                           rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
}

// The pixel format request: draw to a window, OpenGL, double-buffered RGBA with the bits
// asked for, main plane, every other count 0.
static int ChooseFormat(int colorBits, int depthBits, PIXELFORMATDESCRIPTOR *pfd) {
    ZeroMemory(pfd, sizeof *pfd);
    pfd->nSize = sizeof *pfd;   // 40
    pfd->nVersion = 1;
    pfd->dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd->iPixelType = PFD_TYPE_RGBA;
    pfd->cColorBits = (BYTE)colorBits;
    pfd->cDepthBits = (BYTE)depthBits;
    pfd->iLayerType = PFD_MAIN_PLANE;
    return ChoosePixelFormat(deviceContext, pfd);
}

bool PlatformOpenWindow(const WindowRequest &r, WindowStep *failed) {
    auto fail = [failed](WindowStep step) {
        *failed = step;
        return false;
    };
    if (!classRegistered) {
        if (!RegisterWindowClass()) return fail(STEP_REGISTER_CLASS);
        classRegistered = true;
    }
    if (r.fullscreen) {
        if (!ChangeDisplayMode(r.width, r.height, r.colorBits)) return fail(STEP_DISPLAY_MODE);
        modeChanged = true;
        ShowCursor(FALSE);
    }
    window = MakeWindow(r.title, r.width, r.height, r.fullscreen);
    if (!window) return fail(STEP_CREATE_WINDOW);
    deviceContext = GetDC(window);
    if (!deviceContext) return fail(STEP_DEVICE_CONTEXT);
    PIXELFORMATDESCRIPTOR pfd;
    const int format = ChooseFormat(r.colorBits, r.depthBits, &pfd);
    if (format == 0) return fail(STEP_CHOOSE_PIXEL_FORMAT);
    if (!SetPixelFormat(deviceContext, format, &pfd)) return fail(STEP_SET_PIXEL_FORMAT);
    renderContext = wglCreateContext(deviceContext);
    if (!renderContext) return fail(STEP_CREATE_CONTEXT);
    if (!wglMakeCurrent(deviceContext, renderContext)) return fail(STEP_MAKE_CURRENT);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
    // A key let go while no window of the game had the focus sent its key-up nowhere.
    for (int vk = 0; vk < 256; vk++)
        if (held[vk] && !(GetAsyncKeyState(vk) & 0x8000)) Post(MSG_KEYUP, (uint32_t)vk, 0);
    return true;
}

int PlatformCloseWindow(WindowStep failed[WINDOW_STEP_COUNT]) {
    int count = 0;
    closing = true;
    if (modeChanged) {
        ChangeDisplaySettingsA(nullptr, 0);
        ShowCursor(TRUE);
        modeChanged = false;
    }
    if (renderContext) {
        if (!wglMakeCurrent(nullptr, nullptr)) failed[count++] = STEP_RELEASE_CURRENT;
        if (!wglDeleteContext(renderContext)) failed[count++] = STEP_DELETE_CONTEXT;
        renderContext = nullptr;
    }
    if (deviceContext) {
        if (!ReleaseDC(window, deviceContext)) failed[count++] = STEP_RELEASE_DEVICE_CONTEXT;
        deviceContext = nullptr;
    }
    if (window) {
        if (!DestroyWindow(window)) failed[count++] = STEP_DESTROY_WINDOW;
        window = nullptr;
    }
    if (!UnregisterClassA(CLASS_NAME, instance)) {
        failed[count++] = STEP_UNREGISTER_CLASS;
        instance = nullptr;
    }
    classRegistered = false;
    closing = false;
    return count;
}

bool PlatformNextMessage(PlatformMessage *msg) {
    MSG m;
    while (queue.count == 0 && PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            Post(MSG_QUIT, (uint32_t)m.wParam, 0);
            break;
        }
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    return RingTake(&queue, msg);
}

void PlatformPostQuit(int code) { Post(MSG_QUIT, (uint32_t)code, 0); }

void PlatformSwapBuffers() {
    if (deviceContext) SwapBuffers(deviceContext);
}

void PlatformPictureSaved(const char *) {}   // the file is where the player finds it

std::string PlatformProgramFolder() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return "";   // failed, or cut short
    std::string folder(path, n);
    const size_t slash = folder.find_last_of("\\/");
    return slash == std::string::npos ? "" : folder.substr(0, slash + 1);
}

double PlatformTime() {
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

// A waitable timer in 100-nanosecond units; with the system timer at 1 ms (set before main
// below) it wakes within about a millisecond of the time asked for.
void PlatformSleep(double seconds) {
    if (seconds <= 0) return;
    static HANDLE timer = CreateWaitableTimerA(nullptr, TRUE, nullptr);
    LARGE_INTEGER due;
    due.QuadPart = -(LONGLONG)(seconds * 1e7);
    if (timer && due.QuadPart < 0 && SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE))
        WaitForSingleObject(timer, INFINITE);
    else
        Sleep((DWORD)(seconds * 1000.0));
}

// Before main: started from a console, the game prints its command-line messages there
// (started from the desktop it has none, and they go nowhere, as a windowed program's do);
// and the system timer runs at 1 ms for the whole run, for the frame loop's sleeps.
static void UseParentConsole() {
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err != nullptr && err != INVALID_HANDLE_VALUE) return;   // already redirected
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
}

static struct ProcessSetUp {
    ProcessSetUp() {
        UseParentConsole();
        timeBeginPeriod(1);
    }
    ~ProcessSetUp() { timeEndPeriod(1); }
} processSetUp;
