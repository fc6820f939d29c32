// A backend with no window system: every step succeeds unless a test says otherwise,
// nothing is shown, message boxes are recorded and answered with a preset button. Used by
// tests and benchmarks.
#include "platform/null/null_platform.h"

#include <chrono>
#include <thread>

std::vector<NullMessageBox> nullMessageBoxes;
int nullMessageBoxAnswer = ID_YES_;
std::vector<std::string> nullCalls;
std::set<std::string> nullFailSteps;
int nullPixelBits[2];
std::string nullWindowTitle;
bool nullWindowFullscreen;
std::deque<PlatformMessage> nullMessages;
int nullSwapCount;
void (*nullSwapHook)();

static bool classRegistered, modeChanged, windowHeld, dcHeld, contextHeld;

// Records a step and tells whether it succeeds.
static bool Step(const char *name) {
    nullCalls.push_back(name);
    return nullFailSteps.count(name) == 0;
}

bool NullHoldsWindow() { return windowHeld || dcHeld || contextHeld; }

void NullPlatformReset() {
    nullMessageBoxes.clear();
    nullMessageBoxAnswer = ID_YES_;
    nullCalls.clear();
    nullFailSteps.clear();
    nullPixelBits[0] = nullPixelBits[1] = 0;
    nullWindowTitle.clear();
    nullWindowFullscreen = false;
    nullMessages.clear();
    nullSwapCount = 0;
    nullSwapHook = nullptr;
    classRegistered = modeChanged = windowHeld = dcHeld = contextHeld = false;
}

int PlatformMessageBox(const char *text, const char *caption, int buttons, int icon) {
    nullCalls.push_back("MessageBox");
    nullMessageBoxes.push_back({text ? text : "", caption ? caption : "", buttons, icon, windowHeld});
    return buttons == MB_YESNO_ ? nullMessageBoxAnswer : ID_OK_;
}

bool PlatformOpenWindow(const WindowRequest &request, WindowStep *failed) {
    // Each step that fails names itself and leaves what was made before it held.
    const struct {
        const char *name;
        WindowStep step;
        bool *held;
    } steps[] = {
        {"CreateWindow", STEP_CREATE_WINDOW, &windowHeld},
        {"GetDeviceContext", STEP_DEVICE_CONTEXT, &dcHeld},
        {"ChoosePixelFormat", STEP_CHOOSE_PIXEL_FORMAT, nullptr},
        {"SetPixelFormat", STEP_SET_PIXEL_FORMAT, nullptr},
        {"CreateContext", STEP_CREATE_CONTEXT, &contextHeld},
        {"MakeCurrent", STEP_MAKE_CURRENT, nullptr},
    };
    if (!classRegistered && !(classRegistered = Step("RegisterClass"))) {
        *failed = STEP_REGISTER_CLASS;
        return false;
    }
    if (request.fullscreen) {
        if (!Step("ChangeDisplayMode")) {
            *failed = STEP_DISPLAY_MODE;
            return false;
        }
        modeChanged = true;
        Step("ShowCursor(0)");
    }
    nullWindowTitle = request.title ? request.title : "";
    nullWindowFullscreen = request.fullscreen;
    nullPixelBits[0] = request.colorBits;
    nullPixelBits[1] = request.depthBits;
    for (const auto &s : steps) {
        if (!Step(s.name)) {
            *failed = s.step;
            return false;
        }
        if (s.held) *s.held = true;
    }
    Step("ShowWindow");
    return true;
}

int PlatformCloseWindow(WindowStep failed[WINDOW_STEP_COUNT]) {
    int count = 0;
    auto release = [&](const char *name, WindowStep step) {
        if (!Step(name)) failed[count++] = step;
    };
    if (modeChanged) {
        Step("RestoreDisplayMode");
        Step("ShowCursor(1)");
        modeChanged = false;
    }
    if (contextHeld) {
        release("ReleaseCurrent", STEP_RELEASE_CURRENT);
        release("DeleteContext", STEP_DELETE_CONTEXT);
        contextHeld = false;
    }
    if (dcHeld) release("ReleaseDeviceContext", STEP_RELEASE_DEVICE_CONTEXT);
    if (windowHeld) release("DestroyWindow", STEP_DESTROY_WINDOW);
    release("UnregisterClass", STEP_UNREGISTER_CLASS);
    dcHeld = windowHeld = classRegistered = false;
    return count;
}

bool PlatformNextMessage(PlatformMessage *msg) {
    if (nullMessages.empty()) return false;
    *msg = nullMessages.front();
    nullMessages.pop_front();
    return true;
}

void PlatformPostQuit(int code) { nullMessages.push_back({MSG_QUIT, (uint32_t)code, 0}); }

void PlatformSwapBuffers() {
    nullSwapCount++;
    if (nullSwapHook) nullSwapHook();
}

std::string PlatformProgramFolder() { return ""; }

void PlatformPictureSaved(const char *) {}

double PlatformTime() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void PlatformSleep(double seconds) {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}
