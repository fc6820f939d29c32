// A backend with no window system: every creation succeeds, nothing is shown, message
// boxes are recorded and answered with a preset button. Used by tests and headless runs.
#include "platform/platform.h"
#include "platform/null/null_platform.h"

#include <chrono>
#include <thread>

std::vector<NullMessageBox> nullMessageBoxes;
int nullMessageBoxAnswer = ID_YES_;
std::vector<std::string> nullCalls;
std::set<std::string> nullFailSteps;
int nullDefaultProcCalls;
int nullPixelBits[2];
std::string nullWindowTitle;
bool nullWindowFullscreen;
std::deque<PlatformMessage> nullMessages;
int nullSwapCount;
void (*nullSwapHook)();

static bool haveWindow, haveDc, haveContext;

// Records a step and tells whether it succeeds.
static bool Step(const char *name) {
    nullCalls.push_back(name);
    return nullFailSteps.count(name) == 0;
}

void NullPlatformReset() {
    nullMessageBoxes.clear();
    nullMessageBoxAnswer = ID_YES_;
    nullCalls.clear();
    nullFailSteps.clear();
    nullDefaultProcCalls = 0;
    nullPixelBits[0] = nullPixelBits[1] = 0;
    nullWindowTitle.clear();
    nullWindowFullscreen = false;
    nullMessages.clear();
    nullSwapCount = 0;
    nullSwapHook = nullptr;
    haveWindow = haveDc = haveContext = false;
}

int PlatformMessageBox(const char *text, const char *caption, int buttons, int icon) {
    nullCalls.push_back("MessageBox");
    nullMessageBoxes.push_back({text ? text : "", caption ? caption : "", buttons, icon});
    return buttons == MB_YESNO_ ? nullMessageBoxAnswer : ID_OK_;
}

bool PlatformRegisterClass() { return Step("RegisterClass"); }
bool PlatformUnregisterClass() { return Step("UnregisterClass"); }
bool PlatformChangeDisplayMode(int, int, int) { return Step("ChangeDisplayMode"); }
void PlatformRestoreDisplayMode() { Step("RestoreDisplayMode"); }
void PlatformShowCursor(bool show) { Step(show ? "ShowCursor(1)" : "ShowCursor(0)"); }
bool PlatformCreateWindow(const char *title, int, int, bool fullscreen) {
    nullWindowTitle = title ? title : "";
    nullWindowFullscreen = fullscreen;
    return Step("CreateWindow") && (haveWindow = true);
}
bool PlatformGetDeviceContext() { return Step("GetDeviceContext") && (haveDc = true); }
bool PlatformChoosePixelFormat(int colorBits, int depthBits) {
    nullPixelBits[0] = colorBits;
    nullPixelBits[1] = depthBits;
    return Step("ChoosePixelFormat");
}
bool PlatformSetPixelFormat() { return Step("SetPixelFormat"); }
bool PlatformCreateContext() { return Step("CreateContext") && (haveContext = true); }
bool PlatformMakeCurrent() { return Step("MakeCurrent"); }
void PlatformShowWindow() { Step("ShowWindow"); }
bool PlatformHasContext() { return haveContext; }
bool PlatformHasDeviceContext() { return haveDc; }
bool PlatformHasWindow() { return haveWindow; }
bool PlatformReleaseCurrent() { return Step("ReleaseCurrent"); }
bool PlatformDeleteContext() {
    haveContext = false;
    return Step("DeleteContext");
}
bool PlatformReleaseDeviceContext() {
    haveDc = false;
    return Step("ReleaseDeviceContext");
}
bool PlatformDestroyWindow() {
    haveWindow = false;
    return Step("DestroyWindow");
}

bool PlatformPeekMessage(PlatformMessage *msg) {
    if (nullMessages.empty()) return false;
    *msg = nullMessages.front();
    nullMessages.pop_front();
    return true;
}
void PlatformDispatchMessage(const PlatformMessage &msg) { GameWindowProc(msg); }
void PlatformPostQuit(int code) { nullMessages.push_back({MSG_QUIT, (uint32_t)code, 0}); }
intptr_t PlatformDefaultProc(const PlatformMessage &) {
    nullDefaultProcCalls++;
    return 0;
}
void PlatformSwapBuffers() {
    nullSwapCount++;
    if (nullSwapHook) nullSwapHook();
}

std::string PlatformProgramFolder() { return ""; }

double PlatformTime() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}
void PlatformSleep(double seconds) {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}
