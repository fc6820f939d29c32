// The shell's global state: the key table and the display settings.
#include "shell/keys.h"
#include "shell/settings.h"

bool KeyState[256];

float viewScale = 3.125f;
bool showBackground = true;
bool showOverlay = true;
bool showInfo = false;
bool showTiles = false;
