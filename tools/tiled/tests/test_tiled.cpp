// kav-tiled: every map of the game through Tiled and back loads to the same world, and a
// Tiled map with a fault is refused with a message naming where, writing nothing.
#include "tiled.h"

#include "tests/unit/map_fixture.h"
#include "tests/unit/test_files.h"

#include "world/map.h"
#include "world/world.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <fstream>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <sys/stat.h>
#include <vector>

using nlohmann::json;

#if defined(__SANITIZE_ADDRESS__)
#define KAV_ADDRESS_SANITIZER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KAV_ADDRESS_SANITIZER
#endif
#endif

namespace {

const std::string source = KAV_SOURCE_DIR;

using Tiled = FolderTest;

TEST_F(Tiled, EveryMapComesBackToTheSameWorld) {
    int maps = 0;
    for (const auto &entry : std::filesystem::directory_iterator(source + "/map")) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".map") continue;
        SCOPED_TRACE(name);
        maps++;
        std::string error, problems;
        ASSERT_TRUE(MapToTiled(source + "/map/" + name, dir + "/m.tmj", source + "/assets", &error)) << error;
        ASSERT_TRUE(TiledToMap(dir + "/m.tmj", dir + "/m.map", &error)) << error;
        const MapCopy before = LoadMapCopy(ReadAll(source + "/map/" + name), &problems);
        const MapCopy after = LoadMapCopy(ReadAll(dir + "/m.map"), &problems);
        EXPECT_EQ(problems, "");
        EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    }
    EXPECT_GE(maps, 5);
    // The sheet beside them: a PNG of codes 0 to 9 side by side, 80 by 8 pixels.
    const std::string png = ReadAll(dir + "/" + TILESHEET_FILE);
    ASSERT_GE(png.size(), 24u);
    EXPECT_EQ(png.compare(0, 4, "\x89PNG"), 0);
    EXPECT_EQ(png.compare(16, 8, std::string("\0\0\0\x50\0\0\0\x08", 8)), 0);
    EXPECT_EQ(json::parse(ReadAll(dir + "/" + TILESET_FILE))["image"], TILESHEET_FILE);
}

json &Layer(json &map, const std::string &name) {
    for (json &layer : map["layers"])
        if (layer["name"] == name) return layer;
    throw std::runtime_error(name);
}
json &Property(json &map, const std::string &layer, int object, const std::string &name) {
    for (json &p : Layer(map, layer)["objects"][object]["properties"])
        if (p["name"] == name) return p["value"];
    throw std::runtime_error(name);
}

TEST_F(Tiled, FaultsAreRefusedByNameAndNothingIsWritten) {
    const std::string tmj = dir + "/bad.tmj", out = dir + "/out.map";
    std::string error;
    ASSERT_TRUE(MapToTiled(source + "/map/map04.map", dir + "/good.tmj", source + "/assets", &error)) << error;
    json good = json::parse(ReadAll(dir + "/good.tmj"));
    std::string mapText;
    struct Case {
        std::function<void(json &)> edit;
        std::vector<std::string> named;   // each is in the message
        std::string text = std::string(); // the file instead, when the edit cannot make it
    };
    const auto nested = [](int depth) { return std::string(depth, '[') + std::string(depth, ']'); };
    std::string manyValues = "[0";
    for (size_t i = 0; i < TILED_VALUE_LIMIT; i++) manyValues += ",0";
    const Case cases[] = {
        {[](json &m) { Layer(m, "celling")["objects"][0]["properties"].erase(0); },
         {"layer \"celling\", object", "property \"index\" is missing"}},
        {[](json &m) { Layer(m, "sonda")["name"] = "tank"; }, {"layer \"tank\"", "not a layer of the game"}},
        {[](json &m) { Layer(m, "train")["objects"] = json::array(); Layer(m, "train")["objects"][50] = 0; },
         {"layer \"train\"", "51 objects"}},
        {[](json &m) { Layer(m, "grid")["data"][3 * 32 + 4] = 7; }, {"layer \"grid\", row 3 column 4", "tile 7"}},
        {[](json &m) { Layer(m, "grid")["data"].erase(0); }, {"layer \"grid\"", "767 cells"}},
        {[](json &m) { m["height"] = 25; }, {"the map", "not 32 by 24"}},
        {[](json &m) { Layer(m, "cannon")["objects"][0]["x"] = 256; },
         {"layer \"cannon\", object", "(index 0)", "outside the grid"}},
        {[](json &m) { Property(m, "twoways", 0, "freqspd") = "fast"; },
         {"layer \"twoways\", object", "property \"freqspd\"", "not a number"}},
        {[](json &m) { Property(m, "train", 1, "face") = 2; }, {"layer \"train\", object", "property \"face\""}},
        {[](json &m) { Property(m, "train", 1, "index") = 0; }, {"(index 0)", "same index"}},
        {[](json &m) { Property(m, "train", 2, "index") = 3; }, {"layer \"train\", object", "property \"index\""}},
        {[](json &m) { Layer(m, "sonda")["objects"][0]["properties"][1]["name"] = "speed"; },
         {"layer \"sonda\", object", "property \"speed\"", "not a property of a sonda"}},
        {[](json &m) { Property(m, "celling", 0, "alarm") = 1e39; }, {"property \"alarm\"", "range"}},
        // An id that is no whole number a Tiled map holds: the object is named by its place.
        {[](json &m) { Layer(m, "cannon")["objects"][0]["id"] = 1e308; Property(m, "cannon", 0, "face") = 2; },
         {"layer \"cannon\", object #1 (index 0)"}},
        {[](json &m) { Layer(m, "cannon")["objects"][0]["id"] = -1e19; Property(m, "cannon", 0, "face") = 2; },
         {"layer \"cannon\", object #1 (index 0)"}},
        {[](json &m) { Layer(m, "cannon")["objects"][0]["id"] = 7.5; Property(m, "cannon", 0, "face") = 2; },
         {"layer \"cannon\", object #1 (index 0)"}},
        // Texts no map of the game comes near, refused before they are built.
        {nullptr, {"larger than"}, std::string(TILED_FILE_LIMIT + 1, ' ')},
        {nullptr, {"nested more than 32 deep"}, nested(TILED_DEPTH_LIMIT + 1)},
        {nullptr, {"more than 250000 values"}, manyValues + "]"},
    };
    for (const Case &c : cases) {
        json m = good;
        if (c.edit) c.edit(m);
        WriteAll(tmj, c.edit ? m.dump() : c.text);
        EXPECT_FALSE(TiledToMap(tmj, out, &error));
        for (const std::string &n : c.named) EXPECT_NE(error.find(n), std::string::npos) << error << " / " << n;
        struct stat st;
        EXPECT_NE(stat(out.c_str(), &st), 0) << error;
    }
    // The untouched map converts, so every refusal above is the edit's doing; so does one
    // nested to the limit (map, layers, layer, then the rest).
    EXPECT_TRUE(TiledToMap(dir + "/good.tmj", out, &error)) << error;
    Layer(good, "cannon")["nest"] = json::parse(nested(TILED_DEPTH_LIMIT - 3));
    EXPECT_TRUE(TiledTextToMapText(good.dump(), &mapText, &error)) << error;

    // to-tiled refuses an OUT it cannot replace before it writes anything beside it.
    const std::string aside = dir + "/aside";
    mkdir(aside.c_str(), 0755);
    mkdir((aside + "/folder.tmj").c_str(), 0755);
    mkfifo((aside + "/pipe.tmj").c_str(), 0644);
    for (const std::string &refused : {aside + "/folder.tmj", aside + "/pipe.tmj", aside + "/absent/m.tmj"}) {
        EXPECT_FALSE(MapToTiled(source + "/map/map00.map", refused, source + "/assets", &error)) << refused;
        EXPECT_NE(error.find(refused), std::string::npos) << error;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(aside), {}), 2);

#ifndef KAV_ADDRESS_SANITIZER   // its shadow memory needs more address space than this leaves
    // Memory running out is a refusal, not an abort: a child process left 6 MB of address
    // space converts a map of nearly 4 MB, which the read takes and the copy of it does not.
    const std::string big = dir + "/big.tmj";
    json withNote = good;
    withNote["note"] = std::string(TILED_FILE_LIMIT - 100000, 'x');
    WriteAll(big, withNote.dump());
    const pid_t child = fork();
    if (child == 0) {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t room = rlim_t(pages) * rlim_t(sysconf(_SC_PAGESIZE)) + (rlim_t(6) << 20);
        const struct rlimit limit = {room, room};
        setrlimit(RLIMIT_AS, &limit);
        std::string e;
        const bool converted = TiledToMap(big, dir + "/big.map", &e);
        _exit(!converted && e == big + ": out of memory" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
#endif

    // On a full disk (a small memory file system, where mounting is allowed) the map, small
    // enough to wait in the writer's buffer, fails at the flush: refused, the earlier file kept,
    // no temporary file left.
    const std::string full = dir + "/full";
    mkdir(full.c_str(), 0755);
    if (mount("tmpfs", full.c_str(), "tmpfs", 0, "size=8k") != 0) GTEST_SKIP() << "no permission to mount a tmpfs";
    WriteAll(full + "/out.map", std::string("earlier"));
    WriteAll(full + "/filler", std::string(16384, 'x'));
    const bool written = TiledToMap(dir + "/good.tmj", full + "/out.map", &error);
    const std::string kept = ReadAll(full + "/out.map");
    const auto files = std::distance(std::filesystem::directory_iterator(full), {});
    umount(full.c_str());
    EXPECT_FALSE(written);
    EXPECT_EQ(error, full + "/out.map: write error (No space left on device); the earlier file is left as it was");
    EXPECT_EQ(kept, "earlier");
    EXPECT_EQ(files, 2);
}

}  // namespace
