// Everything a map sets, copied out of the world after the game's loader has read it.
#pragma once

#include <cstring>
#include <string>

#include "world/map.h"
#include "world/world.h"

struct MapCopy {
    int32_t grid[GRID_ROWS][GRID_COLS];
    int32_t counts[KIND_COUNT];
    ObjectRecord objects[KIND_COUNT][POOL_SIZE];
};

// Map text loaded into an emptied world; what the loader reports is added to *problems.
inline MapCopy LoadMapCopy(const std::string &text, std::string *problems = nullptr) {
    ResetWorld();
    LoadMapFromBuffer(text.data(), text.size(), [](void *user, int, const char *message) {
        if (user) *static_cast<std::string *>(user) += std::string(message) + "\n";
    }, problems);
    MapCopy m;
    std::memcpy(m.grid, TileGrid, sizeof m.grid);
    for (int k = 0; k < KIND_COUNT; k++) {
        m.counts[k] = *KindCount(k);
        std::memcpy(m.objects[k], KindPool(k), sizeof m.objects[k]);
    }
    return m;
}
