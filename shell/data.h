// Where the game's data (map/ and gfx/) is found at start-up.
#pragma once

#include <string>

// Looks, in order, in the working directory, the program's folder, the installed data beside
// it (../share/kav/) and where the build installs it, the folder of option (--data) and the
// folder in KAV_DATA. The first holding both map/ and gfx/ becomes dataFolder (the working
// directory needs only one of them, as it always did). When none does, stderr
// says where the game looked and dataFolder stays empty (the working directory): the game
// then runs as it always has without its data. False in that case.
bool FindGameData(const std::string &option);
