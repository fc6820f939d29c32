// Bitmap file loading: the message box of every failure (the texels of a good file are the GL tests').
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/null_platform.h"
#include "platform/platform.h"
#include "render/images.h"
#include "render/render.h"
#include "shell/window.h"
#include "tests/unit/test_bmp_tga_png.h"

namespace {

class BmpLoad : public ::testing::Test {
protected:
    std::string dir;
    void SetUp() override {
        char pattern[] = "/tmp/kav_bmp_load_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        nullMessageBoxes.clear();
        SetPictureFailureHandler(ShowPictureFailure);
    }
    void TearDown() override {
        SetPictureFailureHandler(nullptr);
        for (const char *name : {"a.bmp", "b.bmp"}) unlink((dir + "/" + name).c_str());
        rmdir(dir.c_str());
    }
    std::string Write(const char *name, const std::vector<uint8_t> &bytes) {
        std::string path = dir + "/" + name;
        EXPECT_TRUE(WriteTestFile(path, bytes));
        return path;
    }
    // Loads a file that must fail and returns the one message shown for it.
    std::string FailureMessage(const std::string &path) {
        nullMessageBoxes.clear();
        RgbImage *image = LoadBmpImage(path.c_str());
        EXPECT_EQ(image, nullptr);
        ReleaseRgbImage(image);
        if (nullMessageBoxes.size() != 1) return "<" + std::to_string(nullMessageBoxes.size()) + " boxes>";
        EXPECT_EQ(nullMessageBoxes[0].caption, "Error");
        EXPECT_EQ(nullMessageBoxes[0].buttons, MB_OK_);
        return nullMessageBoxes[0].text;
    }
};

// A 2 x 2 24-bit file, bottom row red then green, top row blue then white; rows padded.
std::vector<uint8_t> SmallBitmap() {
    std::vector<uint8_t> f = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,
                              40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0};
    f.resize(54, 0);
    const uint8_t rows[] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
    f.insert(f.end(), rows, rows + sizeof rows);
    return f;
}

}   // namespace

TEST_F(BmpLoad, MissingFileOrNoPathGiveNothingAndNoMessage) {
    EXPECT_EQ(LoadBmpImage(nullptr), nullptr);
    EXPECT_EQ(LoadBmpImage((dir + "/absent.bmp").c_str()), nullptr);
    EXPECT_TRUE(nullMessageBoxes.empty());
    ReleaseRgbImage(nullptr);   // harmless
}

TEST_F(BmpLoad, EachFailureShowsItsOwnMessageCaptionedError) {
    std::vector<uint8_t> v4 = SmallBitmap();
    v4[14] = 108;
    EXPECT_EQ(FailureMessage(Write("a.bmp", v4)), "Unknown DIB file format.");
    EXPECT_EQ(FailureMessage(Write("a.bmp", {})), "Unknown DIB file format.");

    std::vector<uint8_t> cut = SmallBitmap();
    cut.resize(cut.size() - 5);
    EXPECT_EQ(FailureMessage(Write("a.bmp", cut)), "Image file conversion error.");
    std::vector<uint8_t> twoBit = SmallBitmap();
    twoBit[28] = 2;
    EXPECT_EQ(FailureMessage(Write("a.bmp", twoBit)), "Image file conversion error.");

    std::vector<uint8_t> huge = SmallBitmap();
    huge[21] = 0x40;   // width 0x40000002
    EXPECT_EQ(FailureMessage(Write("b.bmp", huge)), "Out of memory.");
}
