// The shell's state.
#include "shell/state.h"

bool fullscreen = true;
bool appActive = true;
bool haveWindow;
bool toggleAsked;
long long framesRun;
