// Bitmap file loading: the message box of every failure (the texels of a good file are the GL tests').
#include <gtest/gtest.h>

#include <string>

#include "platform/null_platform.h"
#include "platform/platform.h"
#include "render/images.h"
#include "render/render.h"
#include "shell/window.h"
#include "tests/unit/test_bmp_tga_png.h"

namespace {

class BmpLoad : public FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        nullMessageBoxes.clear();
        SetPictureFailureHandler(ShowPictureFailure);
    }
    void TearDown() override {
        SetPictureFailureHandler(nullptr);
        FolderTest::TearDown();
    }
    std::string Write(const std::string &bytes) { return WriteAll(dir + "/a.bmp", bytes); }
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

}   // namespace

TEST_F(BmpLoad, MissingFileOrNoPathGiveNothingAndNoMessage) {
    EXPECT_EQ(LoadBmpImage(nullptr), nullptr);
    EXPECT_EQ(LoadBmpImage((dir + "/absent.bmp").c_str()), nullptr);
    EXPECT_TRUE(nullMessageBoxes.empty());
    ReleaseRgbImage(nullptr);   // harmless
}

TEST_F(BmpLoad, EachFailureShowsItsOwnMessageCaptionedError) {
    std::string v4 = Bmp2x2();
    v4[14] = 108;
    EXPECT_EQ(FailureMessage(Write(v4)), "Unknown DIB file format.");
    EXPECT_EQ(FailureMessage(Write("")), "Unknown DIB file format.");

    std::string cut = Bmp2x2();
    cut.resize(cut.size() - 5);
    EXPECT_EQ(FailureMessage(Write(cut)), "Image file conversion error.");
    std::string twoBit = Bmp2x2();
    twoBit[28] = 2;
    EXPECT_EQ(FailureMessage(Write(twoBit)), "Image file conversion error.");

    std::string huge = Bmp2x2();
    huge[21] = 0x40;   // width 0x40000002
    EXPECT_EQ(FailureMessage(Write(huge)), "Out of memory.");
}
