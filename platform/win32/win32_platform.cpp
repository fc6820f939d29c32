// Win32 backend of the platform interface: the window class, the display mode, the window,
// its device context and WGL rendering context, message boxes, the message queue, the
// clock, and WinMain, the process entry.
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

#include "platform/platform.h"

// The header's numbers are the system's own, so they go to and come from it unchanged.
static_assert(MB_OK_ == MB_OK && MB_YESNO_ == MB_YESNO, "message box buttons");
static_assert(MB_ICONSTOP_ == MB_ICONSTOP && MB_ICONQUESTION_ == MB_ICONQUESTION &&
              MB_ICONEXCLAMATION_ == MB_ICONEXCLAMATION && MB_ICONINFORMATION_ == MB_ICONINFORMATION,
              "message box icons");
static_assert(ID_OK_ == IDOK && ID_YES_ == IDYES && ID_NO_ == IDNO, "message box answers");
static_assert(SC_SCREENSAVE_ == SC_SCREENSAVE && SC_MONITORPOWER_ == SC_MONITORPOWER, "system commands");
static_assert(VK_ESCAPE_ == VK_ESCAPE && VK_PRIOR_ == VK_PRIOR && VK_LEFT_ == VK_LEFT &&
              VK_F1_ == VK_F1 && VK_F10_ == VK_F10 && VK_MENU_ == VK_MENU && VK_NUMPAD0_ == VK_NUMPAD0,
              "virtual-key codes");

static const char CLASS_NAME[] = "OpenGL";

static HINSTANCE instance;
static HWND window;
static HDC deviceContext;
static HGLRC renderContext;

// The pixel format request and the format chosen for it.
static PIXELFORMATDESCRIPTOR pixelFormatRequest;
static int pixelFormat;

// The last message taken from the queue, dispatched as it came.
static MSG lastMessage;

// The message the window procedure is handling now, for the default procedure. Messages
// nest (the default procedure sends new ones), so each handler restores the one before.
struct RawMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
static RawMessage handling;

int PlatformMessageBox(const char *text, const char *caption, int buttons, int icon) {
    const int answer = MessageBoxA(nullptr, text, caption, (UINT)(buttons | icon));
    // A Yes/No box that is cancelled after all (Escape, where the system lets it) or
    // cannot be shown answers No, as the header promises.
    if (buttons == MB_YESNO_) return answer == IDYES ? ID_YES_ : ID_NO_;
    return ID_OK_;
}

// The game's view of a system message: its kind and the two parameters, cut to 32 bits.
static PlatformMessage Translate(UINT message, WPARAM wParam, LPARAM lParam) {
    PlatformMessage msg = {MSG_OTHER, (uint32_t)wParam, (int32_t)lParam};
    switch (message) {
    case WM_KEYDOWN: msg.kind = MSG_KEYDOWN; break;
    case WM_KEYUP: msg.kind = MSG_KEYUP; break;
    case WM_SYSKEYDOWN: msg.kind = MSG_SYSKEYDOWN; break;
    case WM_SYSKEYUP: msg.kind = MSG_SYSKEYUP; break;
    case WM_ACTIVATE: msg.kind = MSG_ACTIVATE; break;
    case WM_SYSCOMMAND: msg.kind = MSG_SYSCOMMAND; break;
    case WM_CLOSE: msg.kind = MSG_CLOSE; break;
    case WM_SIZE: msg.kind = MSG_SIZE; break;
    case WM_QUIT: msg.kind = MSG_QUIT; break;
    default: break;
    }
    return msg;
}

static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const RawMessage outer = handling;
    handling = {hwnd, message, wParam, lParam};
    const LRESULT result = (LRESULT)GameWindowProc(Translate(message, wParam, lParam));
    handling = outer;
    return result;
}

intptr_t PlatformDefaultProc(const PlatformMessage &) {
    return (intptr_t)DefWindowProcA(handling.hwnd, handling.message, handling.wParam, handling.lParam);
}

bool PlatformRegisterClass() {
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

bool PlatformUnregisterClass() {
    if (UnregisterClassA(CLASS_NAME, instance)) return true;
    instance = nullptr;
    return false;
}

bool PlatformChangeDisplayMode(int width, int height, int bits) {
    DEVMODEA mode;
    ZeroMemory(&mode, sizeof mode);
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = (DWORD)width;
    mode.dmPelsHeight = (DWORD)height;
    mode.dmBitsPerPel = (DWORD)bits;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

void PlatformRestoreDisplayMode() { ChangeDisplaySettingsA(nullptr, 0); }

void PlatformShowCursor(bool show) { ShowCursor(show ? TRUE : FALSE); }

bool PlatformCreateWindow(const char *title, int width, int height, bool fullscreen) {
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
    window = CreateWindowExA(exStyle, CLASS_NAME, title, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                             rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance,
                             nullptr);
    return window != nullptr;
}

bool PlatformGetDeviceContext() {
    deviceContext = GetDC(window);
    return deviceContext != nullptr;
}

bool PlatformChoosePixelFormat(int colorBits, int depthBits) {
    PIXELFORMATDESCRIPTOR &pfd = pixelFormatRequest;
    ZeroMemory(&pfd, sizeof pfd);
    pfd.nSize = sizeof pfd;   // 40
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = (BYTE)colorBits;
    pfd.cDepthBits = (BYTE)depthBits;
    pfd.iLayerType = PFD_MAIN_PLANE;
    pixelFormat = ChoosePixelFormat(deviceContext, &pfd);
    return pixelFormat != 0;
}

bool PlatformSetPixelFormat() { return SetPixelFormat(deviceContext, pixelFormat, &pixelFormatRequest) != FALSE; }

bool PlatformCreateContext() {
    renderContext = wglCreateContext(deviceContext);
    return renderContext != nullptr;
}

bool PlatformMakeCurrent() { return wglMakeCurrent(deviceContext, renderContext) != FALSE; }

void PlatformShowWindow() {
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
}

bool PlatformHasContext() { return renderContext != nullptr; }
bool PlatformHasDeviceContext() { return deviceContext != nullptr; }
bool PlatformHasWindow() { return window != nullptr; }

bool PlatformReleaseCurrent() { return wglMakeCurrent(nullptr, nullptr) != FALSE; }

bool PlatformDeleteContext() {
    const bool ok = wglDeleteContext(renderContext) != FALSE;
    renderContext = nullptr;
    return ok;
}

bool PlatformReleaseDeviceContext() {
    const bool ok = ReleaseDC(window, deviceContext) != 0;
    deviceContext = nullptr;
    return ok;
}

bool PlatformDestroyWindow() {
    const bool ok = DestroyWindow(window) != FALSE;
    window = nullptr;
    return ok;
}

bool PlatformPeekMessage(PlatformMessage *msg) {
    if (!PeekMessageA(&lastMessage, nullptr, 0, 0, PM_REMOVE)) return false;
    *msg = Translate(lastMessage.message, lastMessage.wParam, lastMessage.lParam);
    return true;
}

// The message handed back is the one just taken; the system dispatches its own record.
void PlatformDispatchMessage(const PlatformMessage &) {
    TranslateMessage(&lastMessage);
    DispatchMessageA(&lastMessage);
}

void PlatformPostQuit(int code) { PostQuitMessage(code); }

void PlatformSwapBuffers() {
    if (deviceContext) SwapBuffers(deviceContext);
}

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

// A waitable timer in 100-nanosecond units; with the system timer at 1 ms (WinMain) it
// wakes within about a millisecond of the time asked for.
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

// Started from a console, the game prints its command-line messages there; started from
// the desktop it has none, and they go nowhere, as a windowed program's do.
static void UseParentConsole() {
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err != nullptr && err != INVALID_HANDLE_VALUE) return;   // already redirected
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    std::freopen("CONOUT$", "w", stdout);
    std::freopen("CONOUT$", "w", stderr);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    UseParentConsole();
    timeBeginPeriod(1);
    const int status = GameMain(__argc, __argv);
    timeEndPeriod(1);
    return status;
}
