// Hostile files: what a named pipe, an endless device, a folder or a picture that claims more
// than its bytes does to each reader. Nothing waits, nothing grows without bound.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/null_platform.h"
#include "render/images.h"
#include "shell/check.h"
#include "shell/dump.h"
#include "tests/unit/test_files.h"
#include "world/map.h"
#include "world/world.h"

namespace {

class HostileFiles : public FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        alarm(20);   // a reader that waits on a pipe ends the test instead of hanging it
    }
    void TearDown() override {
        alarm(0);
        FolderTest::TearDown();
    }
};

}   // namespace

// Each reader meets each kind of file that is not a plain one, and each picture that claims
// more than it holds. Outcomes: the map loader's log line (the grid untouched), the bitmap
// loader's silence, the dump reader's error, the data checker's problem line.
TEST_F(HostileFiles, EachReaderRefusesWhatItCannotUseWithItsUsualOutcome) {
    const std::string fifo = dir + "/pipe", folder = dir + "/folder";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const std::string log = dir + "/world.log";

    for (const std::string &path : {fifo, folder, std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        OpenWorldLog(log.c_str());
        TileGrid[5][5] = 7;
        LoadMap(path.c_str());
        CloseWorldLog();
        EXPECT_EQ(ReadAll(log), "cannot open " + path + "\n");
        EXPECT_EQ(TileGrid[5][5], 7);

        nullMessageBoxes.clear();
        EXPECT_EQ(LoadBmpImage(path.c_str()), nullptr);
        EXPECT_TRUE(nullMessageBoxes.empty());

        int64_t frame = 0;
        std::string error;
        EXPECT_FALSE(ReadWorldDump(path, &frame, &error));
        EXPECT_EQ(error, path + ": cannot open the file");
    }

    // The data checker on a copy of the game's data with one picture replaced at a time.
    std::filesystem::create_directory(dir + "/data");
    std::filesystem::copy(std::string(KAV_SOURCE_DIR) + "/map", dir + "/data/map", std::filesystem::copy_options::recursive);
    std::filesystem::copy(std::string(KAV_SOURCE_DIR) + "/gfx", dir + "/data/gfx", std::filesystem::copy_options::recursive);
    const std::string picture = dir + "/data/gfx/back00over.tga";
    std::string manyRuns;
    for (int i = 0; i < 40; i++) manyRuns += std::string("\xff\x01\x02\x03", 4);   // 40 runs of 128 pixels
    struct Case {
        const char *what;
        std::function<void()> make;
        const char *line;
    };
    const Case cases[] = {
        {"named pipe", [&] { mkfifo(picture.c_str(), 0600); }, "cannot open the file"},
        {"endless device", [&] { symlink("/dev/zero", picture.c_str()); }, "cannot open the file"},
        {"folder", [&] { mkdir(picture.c_str(), 0700); }, "cannot open the file"},
        {"8192x8192 claimed by 5 bytes", [&] { WriteAll(picture, TgaFile(10, 24, 8192, 8192, std::string("\xff\x01\x02\x03\x7f"))); },
         "the file ends early: it supplies 128 of the 67108864 pixels of its 8192x8192 picture"},
        {"packets that stop short", [&] { WriteAll(picture, TgaFile(10, 24, 100, 100, manyRuns)); },
         "the file ends early: it supplies 5120 of the 10000 pixels of its 100x100 picture"},
    };
    FILE *sound = std::tmpfile();
    EXPECT_EQ(RunDataCheckTo((dir + "/data").c_str(), sound), 0);   // the game's own data as it is
    std::fclose(sound);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(picture);
        c.make();
        FILE *out = std::tmpfile();
        EXPECT_EQ(RunDataCheckTo((dir + "/data").c_str(), out), 1);
        std::rewind(out);
        char line[300] = "";
        ASSERT_NE(std::fgets(line, sizeof line, out), nullptr);
        std::fclose(out);
        EXPECT_EQ(std::string(line).rfind(std::string("gfx/back00over.tga: ") + c.line, 0), 0u) << line;
    }
}
