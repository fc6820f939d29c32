// Where the game's data (map/ and gfx/) is found at start-up.
#pragma once

#include <string>

// A folder the player names is the one place looked in: the folder of option (--data DIR),
// else the folder in KAV_DATA. Without either the game searches, in order, the working
// directory, the program's folder, the installed data beside it (../share/games/kav/) and
// where the build installs it, and takes the first holding both map/ and gfx/ (the working
// directory needs only one of them, as it always did). The folder found, or the one named,
// becomes dataFolder (empty: the working directory). False when no data was found; stderr
// then says where the game looked, MissingDataMessage() says it for a message box, and the
// game runs as it always has without its data.
bool FindGameData(const std::string &option);

// After FindGameData returned false: a few lines for the player saying what is missing,
// where the game looked and how to name the folder.
const std::string &MissingDataMessage();

// The search order as a player reads it, one place a line, for --help and the messages.
const char *DataSearchOrder();
