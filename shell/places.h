// Where a run writes its files. A game started from a terminal writes world.log and its
// screenshots/ in the working directory, as it always has. A game started from the desktop
// menu (its launcher passes --desktop) keeps the top of the home folder clean: the log goes
// to the user's state folder ($XDG_STATE_HOME/kav/, by default ~/.local/state/kav/) and the
// screenshots to the user's pictures folder (XDG_PICTURES_DIR of ~/.config/user-dirs.dirs,
// by default ~/Pictures) under kav/.
#pragma once

#include <string>

// Set by the shell from --desktop before the first file is written.
extern bool desktopRun;

// The path of world.log for this run; its folder is made when missing. Empty when a desktop
// run has no state folder it can make: that run writes no log.
std::string WorldLogPath();

// The folder for numbered screenshots, without a trailing separator; not made here (a
// screenshot makes it, and removes it again when the picture could not be saved).
std::string ScreenshotFolder();
