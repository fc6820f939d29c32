// The null backend's record of what the game asked of it, for tests.
#pragma once

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

struct NullMessageBox {
    std::string text, caption;
    int buttons, icon;
    bool owned;   // shown while a window was open: owned by it
};

// Every message box shown since the last clear, in order.
extern std::vector<NullMessageBox> nullMessageBoxes;
// The answer every box gets (ID_OK_ for one button boxes regardless).
extern int nullMessageBoxAnswer;

// Names of the window steps done, in the Win32 backend's order ("RegisterClass",
// "ChangeDisplayMode", "ShowCursor(0)", "CreateWindow", ..., "UnregisterClass"), with
// "MessageBox" wherever a box was shown.
extern std::vector<std::string> nullCalls;
// The steps named here (as in nullCalls, without arguments) fail.
extern std::set<std::string> nullFailSteps;
// Colour and depth bits of the last pixel format asked for.
extern int nullPixelBits[2];
// Title and full-screen flag of the last window asked for.
extern std::string nullWindowTitle;
extern bool nullWindowFullscreen;

// Pending messages, taken by PlatformNextMessage from the front; PlatformPostQuit appends
// a MSG_QUIT.
extern std::deque<PlatformMessage> nullMessages;
// Buffer swaps so far, and a hook run after each one (tests feed messages from it).
extern int nullSwapCount;
extern void (*nullSwapHook)();

// True while a window, its device context or its rendering context is held.
bool NullHoldsWindow();
// Back to the start state: no window, no boxes, no calls, no failures, empty queue.
void NullPlatformReset();
