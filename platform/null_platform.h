// The null backend's record of what the game asked of it, for tests.
#pragma once

#include <string>
#include <vector>

struct NullMessageBox {
    std::string text, caption;
    int buttons, icon;
};

// Every message box shown since the last clear, in order.
extern std::vector<NullMessageBox> nullMessageBoxes;
// The answer every box gets (ID_OK_ for one button boxes regardless).
extern int nullMessageBoxAnswer;
