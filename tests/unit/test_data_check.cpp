// Data checker: a sound data directory passes; each kind of broken map or picture is named with its place.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "render/render.h"
#include "sound/sound.h"
#include "shell/check.h"
#include "tests/unit/map_fixture.h"
#include "tests/unit/test_files.h"
#include "world/map.h"

namespace {

// A sound map: every tile code the game knows, one cannon.
std::string GoodMap() { return GridText() + Counts(1, 0, 0, 0, 0) + Cannon(0, 12, 3); }

std::string Tga2x2(int depth = 24) { return TgaFile(2, depth, 2, 2, std::string(4 * depth / 8, '\x7f')); }

// A WAV file of one sample at 24 kHz.
std::string Wav1() { return WavFile({0x2010}, 24000); }

class DataCheck : public FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        ASSERT_EQ(mkdir((dir + "/map").c_str(), 0755), 0);
        ASSERT_EQ(mkdir((dir + "/gfx").c_str(), 0755), 0);
        ASSERT_EQ(mkdir((dir + "/sfx").c_str(), 0755), 0);
        for (int id = 0; id < SFX_COUNT; id++) WriteAll(dir + "/" + SoundFileName(id), Wav1());
        for (int i = 0; i < 5; i++) WriteAll(dir + "/" + MapFileName(i), GoodMap());
        for (int row = 0; row < AssetTableSize(); row++) {
            bool isBitmap = false;
            const char *path = AssetTablePath(row, &isBitmap);
            WriteAll(dir + "/" + path, isBitmap ? Bmp2x2() : Tga2x2());
        }
    }
    // Runs the checker; returns its status and leaves its output in text.
    int Check() {
        int status = -1;
        text = Printed([&](FILE *out) { status = RunDataCheckTo(dir.c_str(), out); });
        return status;
    }
    bool Says(const std::string &part) const { return text.find(part) != std::string::npos; }
    std::string text;
};

}  // namespace

TEST_F(DataCheck, SoundDataPassesWithOneSummaryLine) {
    EXPECT_EQ(Check(), 0) << text;
    EXPECT_EQ(text, dir + ": 5 maps, 73 pictures and 11 sounds checked, all well\n");
}

TEST_F(DataCheck, MapProblemsAreNamedWithFileAndLine) {
    std::string map = GoodMap();
    map[2] = '4';                                                         // row 0 column 1: code 4
    map.replace(map.find("nof can 1"), 9, "nof can 70");                  // line 25
    map.replace(map.find("cannon[0].crd.y"), 15, "cannon[0].crd.Y");     // line 31
    WriteAll(dir + "/map/map02.map", map);
    std::string outside = GoodMap();
    for (size_t at; (at = outside.find("cannon[0]")) != std::string::npos;) outside.replace(at, 9, "cannon[60]");
    outside.replace(outside.find("cannon[60].crd.face"), 10, "cannon[61]");   // line 32
    WriteAll(dir + "/map/map03.map", outside);
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

TEST_F(DataCheck, PictureAndSoundProblemsSayWhy) {
    WriteAll(dir + "/gfx/kavwalk01.tga", Tga2x2(16));
    WriteAll(dir + "/gfx/brick01.tga", Tga2x2().substr(0, 20));
    WriteAll(dir + "/gfx/back.bmp", Bmp2x2().substr(0, 20));
    WriteAll(dir + "/gfx/font.bmp", Bmp2x2().substr(0, 14 + 40 + 8));   // the bottom row only
    std::string stereo = Wav1();
    stereo[22] = 2;
    WriteAll(dir + "/sfx/shot.wav", stereo);
    WriteAll(dir + "/sfx/alarm.wav", Wav1().substr(0, 45));   // the last sample cut in half
    std::remove((dir + "/sfx/train.wav").c_str());
    std::remove((dir + "/gfx/sonda02.tga").c_str());
    ASSERT_EQ(mkfifo((dir + "/gfx/sonda02.tga").c_str(), 0600), 0);   // a named pipe: refused, never waited on
    alarm(20);
    EXPECT_EQ(Check(), 1);
    alarm(0);
    EXPECT_TRUE(Says("gfx/kavwalk01.tga: offset 16: pixel depth 16; only 24 or 32 bits are read\n")) << text;
    EXPECT_TRUE(Says("gfx/brick01.tga: the file ends early: it supplies 0 of the 4 pixels of its 2x2 picture\n")) << text;
    EXPECT_TRUE(Says("gfx/back.bmp: offset 14: information header of")) << text;
    EXPECT_TRUE(Says("gfx/font.bmp: the file ends early: it supplies 2 of the 4 pixels of its 2x2 picture\n")) << text;
    EXPECT_TRUE(Says("gfx/sonda02.tga: cannot open the file\n")) << text;
    EXPECT_TRUE(Says("sfx/shot.wav: not 16-bit PCM with one channel\n")) << text;
    EXPECT_TRUE(Says("sfx/alarm.wav: the file ends inside its samples\n")) << text;
    EXPECT_TRUE(Says("sfx/train.wav: cannot open the file\n")) << text;
    EXPECT_TRUE(Says("8 problems in 8 files\n")) << text;
    // The facts are the decoder's: a 12-byte header's depth is its 16-bit field at offset 10.
    const std::string os2 = {'B', 'M', 34, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 2, 0, 2, 0, 1, 0, 2, 0};
    WriteAll(dir + "/gfx/back.bmp", os2 + std::string(8, '\xab'));
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(Says("gfx/back.bmp: pixels cannot be converted: bad run-length data, zero or negative width, "
                     "or depth 2 / compression 0 not taken\n")) << text;
}

TEST_F(DataCheck, ManyProblemsInOneFileAreCountedNotAllPrinted) {
    std::string map;
    for (int i = 0; i < 24; i++) map += std::string(64, 'x') + "\n";
    WriteAll(dir + "/map/map01.map", map);
    EXPECT_EQ(Check(), 1);
    EXPECT_TRUE(Says("map/map01.map: ")) << text;
    EXPECT_TRUE(Says("more problems not shown\n")) << text;
    EXPECT_LE(std::count(text.begin(), text.end(), '\n'), 25 + 2);
}
