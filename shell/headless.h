// Runs of the game without a window: keys from a script, the world state dumped at the end.
#pragma once

#include <cstdint>
#include <vector>

#include "shell/script.h"

// Runs the game's steps with the keys of the script (no key held after its last line)
// until `frames` steps have run (-1: until the script ends) or Escape is held at the start
// of a step. Returns the number of steps run. The world must have been started.
int64_t RunHeadlessSteps(const std::vector<InputRun> &runs, int64_t frames);
