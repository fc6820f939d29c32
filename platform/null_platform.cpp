// A backend with no window system: every creation succeeds, nothing is shown, message
// boxes are recorded and answered with a preset button. Used by tests and headless runs.
#include "platform/platform.h"
#include "platform/null_platform.h"

#include <chrono>
#include <thread>

std::vector<NullMessageBox> nullMessageBoxes;
int nullMessageBoxAnswer = ID_YES_;

static bool haveWindow, haveDc, haveContext;

int PlatformMessageBox(const char *text, const char *caption, int buttons, int icon) {
    nullMessageBoxes.push_back({text ? text : "", caption ? caption : "", buttons, icon});
    return buttons == MB_YESNO_ ? nullMessageBoxAnswer : ID_OK_;
}

bool PlatformRegisterClass() { return true; }
void PlatformUnregisterClass(bool *ok) { if (ok) *ok = true; }
bool PlatformChangeDisplayMode(int, int, int) { return true; }
void PlatformRestoreDisplayMode() {}
void PlatformShowCursor(bool) {}
bool PlatformCreateWindow(const char *, int, int, bool) { return haveWindow = true; }
bool PlatformGetDeviceContext() { return haveDc = true; }
bool PlatformChoosePixelFormat(int, int) { return true; }
bool PlatformSetPixelFormat() { return true; }
bool PlatformCreateContext() { return haveContext = true; }
bool PlatformMakeCurrent() { return true; }
void PlatformShowWindow() {}
bool PlatformHasContext() { return haveContext; }
bool PlatformHasDeviceContext() { return haveDc; }
bool PlatformHasWindow() { return haveWindow; }
bool PlatformReleaseCurrent() { return true; }
bool PlatformDeleteContext() { haveContext = false; return true; }
bool PlatformReleaseDeviceContext() { haveDc = false; return true; }
bool PlatformDestroyWindow() { haveWindow = false; return true; }
void PlatformForgetContext() { haveContext = false; }
void PlatformForgetDeviceContext() { haveDc = false; }
void PlatformForgetWindow() { haveWindow = false; }

bool PlatformPeekMessage(PlatformMessage *) { return false; }
void PlatformDispatchMessage(const PlatformMessage &msg) { GameWindowProc(msg); }
void PlatformPostQuit(int) {}
intptr_t PlatformDefaultProc(const PlatformMessage &) { return 0; }
void PlatformSwapBuffers() {}

double PlatformTime() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}
void PlatformSleep(double seconds) {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}
