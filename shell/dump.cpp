// World state to JSON and back, for headless runs and tests.
#include "shell/dump.h"

#include "render/state.h"
#include "world/files.h"
#include "world/schema.h"
#include "world/world.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdlib>
#include <cstring>

using json = nlohmann::json;

// A float as JSON: a number whose shortest form reads back to the same float; the
// values JSON has no number for as strings.
static json FloatJson(float v) {
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v > 0 ? "Infinity" : "-Infinity";
    return (double)v;
}

static json RecordJson(const ObjectRecord &r) {
    json j = json::object();
    for (const RecordField &f : recordFields) {
        if (f.real) j[f.name] = FloatJson(r.*f.real);
        else j[f.name] = (int)(r.*f.flag);
    }
    return j;
}

static json PoolJson(const ObjectRecord *pool, int size) {
    json a = json::array();
    for (int i = 0; i < size; i++) a.push_back(RecordJson(pool[i]));
    return a;
}

std::string WorldDumpText(int64_t frame) {
    json root = json::object();
    root["frame"] = frame;
    root["mapIndex"] = mapIndex;
    root["hero"] = RecordJson(HeroState);
    json counts = json::object();
    for (int k = 0; k < KIND_COUNT; k++) counts[mapKinds[k].word] = *KindCount(k);
    root["counts"] = counts;
    for (int k = 0; k < KIND_COUNT; k++) root[mapKinds[k].word] = PoolJson(KindPool(k), POOL_SIZE);
    root["shots"] = PoolJson(ShotPool, SHOT_POOL_SIZE);
    root["explosions"] = PoolJson(ExplosionPool, EXPLOSION_POOL_SIZE);
    json grid = json::array();
    for (int r = 0; r < GRID_ROWS; r++) {
        json row = json::array();
        for (int c = 0; c < GRID_COLS; c++) row.push_back(TileGrid[r][c]);
        grid.push_back(row);
    }
    root["grid"] = grid;
    root["Rem01"] = FloatJson(Rem01);
    root["Rem02"] = FloatJson(Rem02);
    root["Rem03"] = FloatJson(Rem03);
    root["viewScale"] = FloatJson(viewScale);
    root["showBackground"] = showBackground ? 1 : 0;
    root["showOverlay"] = showOverlay ? 1 : 0;
    root["showInfo"] = showInfo ? 1 : 0;
    root["showTiles"] = showTiles ? 1 : 0;
    return root.dump(1) + "\n";
}

bool WriteWorldDump(const std::string &path, int64_t frame, std::string *error) {
    const std::string text = WorldDumpText(frame);
    return WriteFileAtomically(path.c_str(), text.data(), text.size(), error);
}
