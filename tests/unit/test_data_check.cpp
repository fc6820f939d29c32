// Data checker: a sound data directory passes; each kind of broken map or picture is named with its place.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "render/render.h"
#include "shell/check.h"
#include "world/map.h"

namespace {

std::string GoodMap() {
    std::string s;
    for (int r = 0; r < 24; r++) {
        for (int c = 0; c < 32; c++) s += r == 23 ? "1," : "0,";
        s += "\n";
    }
    s += "nof can 1\nnof two 0\nnof cel 0\nnof son 0\nnof tra 0\n";
    s += "cannon[0].crd.x 12\ncannon[0].crd.y 3\ncannon[0].crd.face 1\n"
         "cannon[0].crd.freq 0.0\ncannon[0].crd.freqmax 60.0\ncannon[0].crd.freqspd 1.0\n";
    return s;
}

std::string Tga2x2(uint8_t depth = 24) {
    std::string s(18, '\0');
    s[2] = 2;
    s[12] = 2;
    s[14] = 2;
    s[16] = char(depth);
    return s + std::string(4 * depth / 8, '\x7f');
}

std::string Bmp2x2() {
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](uint32_t v) { return std::string{char(v), char(v >> 8)}; };
    std::string info = u32(40) + u32(2) + u32(2) + u16(1) + u16(24) + u32(0) + u32(16) + u32(0) + u32(0) + u32(0) +
                       u32(0);
    std::string pixels(16, '\x40');
    return "BM" + u32(14 + 40 + 16) + u32(0) + u32(14 + 40) + info + pixels;
}

void Write(const std::string &path, const std::string &text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

class DataCheck : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/kav_check_XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir = name;
        ASSERT_EQ(mkdir((dir + "/map").c_str(), 0755), 0);
        ASSERT_EQ(mkdir((dir + "/gfx").c_str(), 0755), 0);
        for (int i = 0; i < 5; i++) Write(dir + "/" + MapFileName(i), GoodMap());
        for (int row = 0; row < AssetTableSize(); row++) {
            bool isBitmap = false;
            const char *path = AssetTablePath(row, &isBitmap);
            Write(dir + "/" + path, isBitmap ? Bmp2x2() : Tga2x2());
        }
    }
    // Runs the checker; returns its status and leaves its output in text.
    int Check() {
        FILE *out = std::tmpfile();
        int status = RunDataCheckTo(dir.c_str(), out);
        std::rewind(out);
        text.clear();
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, out)) > 0) text.append(buf, n);
        std::fclose(out);
        return status;
    }
    bool Says(const std::string &part) const { return text.find(part) != std::string::npos; }
    std::string dir, text;
};

}  // namespace

TEST_F(DataCheck, SoundDataPassesWithOneSummaryLine) {
    ASSERT_EQ(AssetTableSize(), 73);
    EXPECT_EQ(Check(), 0) << text;
    EXPECT_EQ(text, dir + ": 5 maps and 73 pictures checked, all well\n");
}

TEST_F(DataCheck, MapProblemsAreNamedWithFileAndLine) {
    std::string map = GoodMap();
    map[2] = '4';                                                         // row 0 column 1: code 4
    map.replace(map.find("nof can 1"), 9, "nof can 70");                  // line 25
    map.replace(map.find("cannon[0].crd.y"), 15, "cannon[0].crd.Y");     // line 31
    Write(dir + "/map/map02.map", map);
    std::string outside = GoodMap();
    for (size_t at; (at = outside.find("cannon[0]")) != std::string::npos;) outside.replace(at, 9, "cannon[60]");
    outside.replace(outside.find("cannon[60].crd.face"), 10, "cannon[61]");   // line 32
    Write(dir + "/map/map03.map", outside);
    std::remove((dir + "/map/map04.map").c_str());
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(Says("map/map02.map:1: grid row 0 column 1: unknown tile code 4\n")) << text;
    EXPECT_TRUE(Says("map/map02.map:25: count 70 of cannon is above 50: cut to 50\n")) << text;
    EXPECT_TRUE(Says("map/map02.map:31: \"cannon[0].crd.Y 3\\n\" does not match \"cannon[<n>].crd.y <integer>\"\n"))
        << text;
    EXPECT_TRUE(Says("map/map02.map: the file ends before the line \"cannon[<n>].crd.x <integer>\"")) << text;
    EXPECT_TRUE(Says("map/map03.map:30: cannon index 60 is outside 0 to 49: group skipped\n")) << text;
    EXPECT_TRUE(Says("map/map03.map:32: cannon index 61 differs from the group's first index 60\n")) << text;
    EXPECT_TRUE(Says("map/map04.map: cannot open the file\n")) << text;
    EXPECT_FALSE(Says("map/map00.map")) << text;
    EXPECT_TRUE(Says(" problems in 3 files\n")) << text;
}

TEST_F(DataCheck, PictureProblemsSayWhy) {
    Write(dir + "/gfx/kavwalk01.tga", Tga2x2(16));
    Write(dir + "/gfx/brick01.tga", Tga2x2().substr(0, 20));
    Write(dir + "/gfx/back.bmp", Bmp2x2().substr(0, 20));
    Write(dir + "/gfx/font.bmp", Bmp2x2().substr(0, 14 + 40 + 8));   // the bottom row only
    std::remove((dir + "/gfx/sonda02.tga").c_str());
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(Says("gfx/kavwalk01.tga: offset 16: pixel depth 16; only 24 or 32 bits are read\n")) << text;
    EXPECT_TRUE(Says("gfx/brick01.tga: the file ends early: it supplies 0 of the 4 pixels of its 2x2 picture\n")) << text;
    EXPECT_TRUE(Says("gfx/back.bmp: offset 14: information header of")) << text;
    EXPECT_TRUE(Says("gfx/font.bmp: the file ends early: it supplies 2 of the 4 pixels of its 2x2 picture\n")) << text;
    EXPECT_TRUE(Says("gfx/sonda02.tga: cannot open the file\n")) << text;
    EXPECT_TRUE(Says("5 problems in 5 files\n")) << text;
}

TEST_F(DataCheck, ManyProblemsInOneFileAreCountedNotAllPrinted) {
    std::string map;
    for (int i = 0; i < 24; i++) map += std::string(64, 'x') + "\n";
    Write(dir + "/map/map01.map", map);
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(Says("map/map01.map: ")) << text;
    EXPECT_TRUE(Says("more problems not shown\n")) << text;
    size_t lines = 0;
    for (char c : text) lines += c == '\n';
    EXPECT_LE(lines, 25u + 2u);
}
