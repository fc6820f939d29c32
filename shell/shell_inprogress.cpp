// TEMPORARY: empty bodies so the tree links while the shell is being written.
#include "shell/frame.h"

bool haveWindow;
bool UpdateDeveloperKeys() { return true; }
