// kav-tiled: every map of the game through Tiled and back loads to the same world, and a
// Tiled map with a fault is refused with a message naming where, writing nothing.
#include "tiled.h"

#include "world/files.h"
#include "world/map.h"
#include "world/world.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using nlohmann::json;

namespace {

const std::string source = KAV_SOURCE_DIR;

struct WorldCopy {
    int32_t grid[GRID_ROWS][GRID_COLS];
    int32_t counts[KIND_COUNT];
    ObjectRecord pools[KIND_COUNT][POOL_SIZE];
};

// Loads a map into an emptied world and copies out everything a map sets.
WorldCopy Load(const std::string &path, std::string *problems) {
    std::memset(TileGrid, 0, sizeof TileGrid);
    for (int k = 0; k < KIND_COUNT; k++) {
        std::memset(KindPool(k), 0, sizeof(ObjectRecord) * POOL_SIZE);
        *KindCount(k) = 0;
    }
    uint8_t *data = nullptr;
    size_t size = 0;
    EXPECT_EQ(ReadFileAlloc(path.c_str(), MAP_FILE_LIMIT, &data, &size), FILE_READ_OK) << path;
    problems->clear();
    LoadMapFromBuffer((const char *)data, size,
                      [](void *user, int line, const char *message) {
                          *static_cast<std::string *>(user) += std::to_string(line) + ": " + message + "\n";
                      },
                      problems);
    std::free(data);
    WorldCopy w;
    std::memset(&w, 0, sizeof w);
    std::memcpy(w.grid, TileGrid, sizeof w.grid);
    for (int k = 0; k < KIND_COUNT; k++) {
        w.counts[k] = *KindCount(k);
        std::memcpy(w.pools[k], KindPool(k), sizeof w.pools[k]);
    }
    return w;
}

bool Exists(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::string TempDir() {
    char dir[] = "/tmp/kav-tiled-XXXXXX";
    EXPECT_NE(mkdtemp(dir), nullptr);
    return dir;
}

TEST(Tiled, EveryMapComesBackToTheSameWorld) {
    const std::string dir = TempDir();
    std::vector<std::string> maps;
    DIR *d = opendir((source + "/map").c_str());
    ASSERT_NE(d, nullptr);
    while (dirent *e = readdir(d)) {
        std::string n = e->d_name;
        if (n.size() > 4 && n.compare(n.size() - 4, 4, ".map") == 0) maps.push_back(n);
    }
    closedir(d);
    ASSERT_GE(maps.size(), 5u);
    for (const std::string &name : maps) {
        SCOPED_TRACE(name);
        std::string error, problems;
        const std::string tmj = dir + "/" + name + ".tmj", back = dir + "/" + name;
        ASSERT_TRUE(MapToTiled(source + "/map/" + name, tmj, source + "/assets", &error)) << error;
        ASSERT_TRUE(TiledToMap(tmj, back, &error)) << error;
        const WorldCopy before = Load(source + "/map/" + name, &problems);
        const WorldCopy after = Load(back, &problems);
        EXPECT_EQ(problems, "");
        EXPECT_EQ(std::memcmp(before.grid, after.grid, sizeof before.grid), 0);
        EXPECT_EQ(std::memcmp(before.counts, after.counts, sizeof before.counts), 0);
        for (int k = 0; k < KIND_COUNT; k++)
            for (int i = 0; i < POOL_SIZE; i++)
                EXPECT_EQ(std::memcmp(&before.pools[k][i], &after.pools[k][i], sizeof(ObjectRecord)), 0)
                    << "kind " << k << " record " << i;
    }
    // The tileset and its sheet, a PNG of codes 0 to 9 side by side.
    uint8_t *data = nullptr;
    size_t size = 0;
    ASSERT_EQ(ReadFileAlloc((dir + "/" + TILESET_FILE).c_str(), 1 << 20, &data, &size), FILE_READ_OK);
    json tileset = json::parse(std::string((const char *)data, size));
    std::free(data);
    EXPECT_EQ(tileset["tilecount"], 10);
    EXPECT_EQ(tileset["image"], TILESHEET_FILE);
    ASSERT_EQ(ReadFileAlloc((dir + "/" + TILESHEET_FILE).c_str(), 1 << 20, &data, &size), FILE_READ_OK);
    ASSERT_GE(size, 24u);
    EXPECT_EQ(std::memcmp(data, "\x89PNG", 4), 0);
    EXPECT_EQ(std::memcmp(data + 16, "\0\0\0\x50\0\0\0\x08", 8), 0);   // 80 by 8 pixels
    std::free(data);
    std::system(("rm -rf " + dir).c_str());
}

json &Layer(json &map, const std::string &name) {
    for (json &layer : map["layers"])
        if (layer["name"] == name) return layer;
    throw std::runtime_error("no layer " + name);
}

json &Property(json &object, const std::string &name) {
    for (json &p : object["properties"])
        if (p["name"] == name) return p;
    throw std::runtime_error("no property " + name);
}

TEST(Tiled, FaultsAreRefusedByNameAndNothingIsWritten) {
    const std::string dir = TempDir();
    std::string error;
    ASSERT_TRUE(MapToTiled(source + "/map/map04.map", dir + "/good.tmj", source + "/assets", &error)) << error;
    uint8_t *data = nullptr;
    size_t size = 0;
    ASSERT_EQ(ReadFileAlloc((dir + "/good.tmj").c_str(), 1 << 22, &data, &size), FILE_READ_OK);
    const json good = json::parse(std::string((const char *)data, size));
    std::free(data);

    struct Case {
        std::function<void(json &)> edit;
        std::vector<std::string> named;   // every one is in the message
    };
    const Case cases[] = {
        {[](json &m) {
             auto &props = Layer(m, "celling")["objects"][0]["properties"];
             for (size_t i = 0; i < props.size(); i++)
                 if (props[i]["name"] == "raydist") props.erase(i);
         },
         {"layer \"celling\", object", "property \"raydist\" is missing"}},
        {[](json &m) { Layer(m, "sonda")["name"] = "tank"; }, {"layer \"tank\"", "not a layer of the game"}},
        {[](json &m) {
             json &objects = Layer(m, "train")["objects"];
             while (objects.size() < 51) objects.push_back(objects[0]);
         },
         {"layer \"train\"", "51 objects"}},
        {[](json &m) { Layer(m, "grid")["data"][3 * 32 + 4] = 99; }, {"layer \"grid\", row 3 column 4", "tile 99"}},
        {[](json &m) { Layer(m, "grid")["data"][0] = 6; }, {"row 0 column 0", "tile 6"}},
        {[](json &m) { Layer(m, "grid")["data"].erase(0); }, {"layer \"grid\"", "767 cells"}},
        {[](json &m) { m["height"] = 25; }, {"the map", "not 32 by 24"}},
        {[](json &m) { Layer(m, "cannon")["objects"][0]["x"] = 256; },
         {"layer \"cannon\", object", "(index 0)", "outside the grid"}},
        {[](json &m) { Layer(m, "cannon")["objects"][0]["y"] = -8; }, {"layer \"cannon\"", "outside the grid"}},
        {[](json &m) { Property(Layer(m, "twoways")["objects"][0], "freqspd")["value"] = "fast"; },
         {"layer \"twoways\", object", "property \"freqspd\"", "not a number"}},
        {[](json &m) { Property(Layer(m, "train")["objects"][1], "face")["value"] = 2; },
         {"layer \"train\", object", "property \"face\""}},
        {[](json &m) { Property(Layer(m, "train")["objects"][1], "index")["value"] = 0; },
         {"layer \"train\", object", "(index 0)", "same index"}},
        {[](json &m) { Property(Layer(m, "train")["objects"][2], "index")["value"] = 3; },
         {"layer \"train\", object", "property \"index\""}},
        {[](json &m) {
             Layer(m, "sonda")["objects"][0]["properties"].push_back({{"name", "speed"}, {"value", 1}});
         },
         {"layer \"sonda\", object", "property \"speed\"", "not a property of a sonda"}},
        {[](json &m) { Property(Layer(m, "celling")["objects"][0], "alarm")["value"] = 1e39; },
         {"property \"alarm\"", "range"}},
    };
    const std::string tmj = dir + "/bad.tmj", out = dir + "/out.map";
    for (const Case &c : cases) {
        json m = good;
        c.edit(m);
        const std::string text = m.dump();
        ASSERT_TRUE(WriteFileAtomically(tmj.c_str(), text.data(), text.size(), &error));
        EXPECT_FALSE(TiledToMap(tmj, out, &error));
        for (const std::string &n : c.named) EXPECT_NE(error.find(n), std::string::npos) << error << " / " << n;
        EXPECT_FALSE(Exists(out)) << error;
        ::unlink(out.c_str());
    }
    // The untouched map converts, so every refusal above is the edit's doing.
    EXPECT_TRUE(TiledToMap(dir + "/good.tmj", out, &error)) << error;
    std::system(("rm -rf " + dir).c_str());
}

}  // namespace
