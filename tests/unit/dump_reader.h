// The world dump read back into the world state: the tests' side of shell/dump.cpp.
#pragma once

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "render/state.h"
#include "world/files.h"
#include "world/schema.h"
#include "world/world.h"

namespace dump_reader {

using json = nlohmann::json;

// A dump is about half a megabyte; anything many times that is not one.
constexpr size_t DUMP_FILE_LIMIT = size_t(64) << 20;

inline bool FloatFromJson(const json &j, float *v) {
    if (j.is_number()) {
        *v = (float)j.get<double>();
        return true;
    }
    if (j.is_string()) {
        const std::string s = j.get<std::string>();
        if (s == "NaN") { *v = NAN; return true; }
        if (s == "Infinity") { *v = INFINITY; return true; }
        if (s == "-Infinity") { *v = -INFINITY; return true; }
    }
    return false;
}

inline bool IntFromJson(const json &j, int64_t lo, int64_t hi, int64_t *v) {
    if (!j.is_number_integer()) return false;
    const int64_t n = j.get<int64_t>();
    if (n < lo || n > hi) return false;
    *v = n;
    return true;
}

inline bool RecordFromJson(const json &j, ObjectRecord *r, std::string *error) {
    if (!j.is_object()) {
        *error = "a record is not an object";
        return false;
    }
    for (const RecordField &f : recordFields) {
        int64_t n;
        if (f.real && !(j.contains(f.name) && FloatFromJson(j[f.name], &(r->*f.real)))) {
            *error = std::string("record field '") + f.name + "' missing or not a number";
            return false;
        }
        if (f.flag) {
            if (!j.contains(f.name) || !IntFromJson(j[f.name], 0, 255, &n)) {
                *error = std::string("record field '") + f.name + "' missing or not a byte";
                return false;
            }
            r->*f.flag = (uint8_t)n;
        }
    }
    return true;
}

inline bool PoolFromJson(const json &root, const char *key, ObjectRecord *pool, int size,
                         std::string *error) {
    if (!root.contains(key) || !root[key].is_array() || (int)root[key].size() != size) {
        *error = std::string("'") + key + "' must be an array of " + std::to_string(size) + " records";
        return false;
    }
    for (int i = 0; i < size; i++) {
        if (!RecordFromJson(root[key][i], &pool[i], error)) {
            *error = std::string(key) + "[" + std::to_string(i) + "]: " + *error;
            return false;
        }
    }
    return true;
}

}   // namespace dump_reader

// Loads a dump into the world state and the display settings; *frame gets its step count.
// On a malformed dump the result is false with *error, and the state may be partly loaded.
inline bool LoadWorldDumpText(const std::string &text, int64_t *frame, std::string *error) {
    using namespace dump_reader;
    const json root = json::parse(text, nullptr, false);
    if (root.is_discarded() || !root.is_object()) {
        *error = "not a JSON object";
        return false;
    }
    int64_t n;
    if (!root.contains("frame") || !IntFromJson(root["frame"], 0, INT64_MAX, frame)) {
        *error = "'frame' missing or not a step count";
        return false;
    }
    if (!root.contains("mapIndex") || !IntFromJson(root["mapIndex"], INT32_MIN, INT32_MAX, &n)) {
        *error = "'mapIndex' missing or not a whole number";
        return false;
    }
    mapIndex = (int32_t)n;
    if (!root.contains("hero") || !RecordFromJson(root["hero"], &HeroState, error)) {
        if (!root.contains("hero")) *error = "'hero' missing";
        *error = "hero: " + *error;
        return false;
    }
    if (!root.contains("counts") || !root["counts"].is_object()) {
        *error = "'counts' missing";
        return false;
    }
    for (int k = 0; k < KIND_COUNT; k++) {
        const json &counts = root["counts"];
        if (!counts.contains(mapKinds[k].word) || !IntFromJson(counts[mapKinds[k].word], INT32_MIN, INT32_MAX, &n)) {
            *error = std::string("counts: '") + mapKinds[k].word + "' missing or not a whole number";
            return false;
        }
        *KindCount(k) = (int32_t)n;
        if (!PoolFromJson(root, mapKinds[k].word, KindPool(k), POOL_SIZE, error)) return false;
    }
    if (!PoolFromJson(root, "shots", ShotPool, SHOT_POOL_SIZE, error)) return false;
    if (!PoolFromJson(root, "explosions", ExplosionPool, EXPLOSION_POOL_SIZE, error)) return false;

    const json *grid = root.contains("grid") ? &root["grid"] : nullptr;
    if (!grid || !grid->is_array() || grid->size() != GRID_ROWS) {
        *error = "'grid' must be an array of 24 rows";
        return false;
    }
    for (int r = 0; r < GRID_ROWS; r++) {
        const json &row = (*grid)[r];
        if (!row.is_array() || row.size() != GRID_COLS) {
            *error = "grid row " + std::to_string(r) + " must hold 32 codes";
            return false;
        }
        for (int c = 0; c < GRID_COLS; c++) {
            if (!IntFromJson(row[c], INT32_MIN, INT32_MAX, &n)) {
                *error = "grid row " + std::to_string(r) + ": a code is not a whole number";
                return false;
            }
            TileGrid[r][c] = (int32_t)n;
        }
    }

    struct { const char *key; float *value; } floats[] = {
        {"Rem01", &Rem01}, {"Rem02", &Rem02}, {"Rem03", &Rem03}, {"viewScale", &viewScale}};
    for (const auto &f : floats) {
        if (!root.contains(f.key) || !FloatFromJson(root[f.key], f.value)) {
            *error = std::string("'") + f.key + "' missing or not a number";
            return false;
        }
    }
    struct { const char *key; bool *value; } flags[] = {
        {"showBackground", &showBackground}, {"showOverlay", &showOverlay},
        {"showInfo", &showInfo}, {"showTiles", &showTiles}};
    for (const auto &f : flags) {
        if (!root.contains(f.key) || !IntFromJson(root[f.key], 0, 1, &n)) {
            *error = std::string("'") + f.key + "' missing or not 0 or 1";
            return false;
        }
        *f.value = n != 0;
    }
    return true;
}

inline bool ReadWorldDump(const std::string &path, int64_t *frame, std::string *error) {
    using dump_reader::DUMP_FILE_LIMIT;
    uint8_t *data;
    size_t size;
    FileReadResult read = ReadFileAlloc(path.c_str(), DUMP_FILE_LIMIT, &data, &size);
    if (read != FILE_READ_OK) {
        *error = path + ": " + FileReadText(read);
        return false;
    }
    const std::string text(reinterpret_cast<const char *>(data), size);
    std::free(data);
    if (!LoadWorldDumpText(text, frame, error)) {
        *error = path + ": " + *error;
        return false;
    }
    return true;
}
