// Maps for the tests: map text built line by line, and everything a map sets copied out of
// the world after the game's loader has read it.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "world/map.h"
#include "world/schema.h"
#include "world/world.h"

// Tile code of the test grid at (row, col): every known code appears, rows differ.
inline int Code(int row, int col) {
    static const int codes[] = {0, 1, 2, 3, 8, 9};
    return codes[(row * 5 + col) % 6];
}

// The grid's 24 lines of 32 cells; `comma` ends each line with one, `between` goes after each.
inline std::string GridText(bool comma = true, const std::string &eol = "\n", const std::string &between = "") {
    std::string s;
    for (int r = 0; r < GRID_ROWS; r++) {
        for (int c = 0; c < GRID_COLS; c++) s += std::to_string(Code(r, c)) + (c < 31 || comma ? "," : "");
        s += eol + between;
    }
    return s;
}

// The five count lines.
inline std::string Counts(int can, int two, int cel, int son, int tra, const std::string &eol = "\n") {
    std::string s;
    const char *keys[] = {"can", "two", "cel", "son", "tra"};
    const int values[] = {can, two, cel, son, tra};
    for (int k = 0; k < 5; k++) s += std::string("nof ") + keys[k] + " " + std::to_string(values[k]) + eol;
    return s;
}

// The first lines of one group, keys in file order, one value per key.
inline std::string Group(const char *word, int index, const std::vector<std::string> &values,
                         const std::string &tail = "") {
    const MapKind *kind = &mapKinds[0];
    while (kind + 1 < mapKinds + KIND_COUNT && std::string(kind->word) != word) kind++;
    std::string s;
    for (size_t i = 0; i < values.size() && int(i) < kind->fieldCount; i++)
        s += std::string(word) + "[" + std::to_string(index) + "].crd." + kind->fields[i].field->name + " " +
             values[i] + tail + "\n";
    return s;
}

// A cannon's whole group.
inline std::string Cannon(int index, int x, int y, const char *freqmax = "60.0", const std::string &tail = "") {
    return Group("cannon", index, {std::to_string(x), std::to_string(y), "1", "0.5", freqmax, "1.25"}, tail);
}

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
