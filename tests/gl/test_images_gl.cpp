// Texture loaders in a real GL context: result codes, slots, texture state and the texels.
#include "tests/gl/test_render_gl.h"

#include <sys/stat.h>


namespace {

class ImageUpload : public RenderTest {
protected:
    // Bound texture, unpack alignment left as found, and the filters of a mipmapped texture.
    void ExpectBuilt(unsigned int slot, GLint alignment, GLint wrap) {
        GLint bound = 0, unpack = 0, level1 = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpack);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
        EXPECT_EQ(GLuint(bound), slot);
        EXPECT_EQ(unpack, alignment);
        EXPECT_EQ(level1, 1);
        EXPECT_EQ(TexParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
        EXPECT_EQ(TexParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
        EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_S), wrap);
        EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_T), wrap);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
};

}   // namespace

TEST_F(ImageUpload, TargaFailuresStillLeaveAFreshNameInTheSlot) {
    const Bytes good = TgaFile(2, 24, 0, Bytes(12, 9));
    Bytes huge = TgaFile(10, 32, 0, {0xff, 1, 2, 3, 4});
    huge[12] = huge[13] = huge[14] = huge[15] = 0xff;   // 65535 x 65535 claimed by 5 bytes
    mkdir((dir + "/folder").c_str(), 0700);
    mkfifo((dir + "/pipe.tga").c_str(), 0600);   // no writer: opening it to read would wait for ever
    const std::string file = dir + "/a.tga";
    struct Case { std::string path; Bytes bytes; int32_t result; };
    const Case cases[] = {
        {"", {}, 1},                           // no path at all
        {dir + "/absent.tga", {}, 1},
        {dir + "/folder", {}, 1},              // not a regular file: cannot be opened
        {dir + "/pipe.tga", {}, 1},
        {"/dev/zero", {}, 1},                  // endless: never read
        {file, Bytes(good.begin(), good.begin() + 17), 2},
        {file, Bytes(good.begin(), good.end() - 1), 2},
        {file, TgaFile(2, 24, 0, Bytes(12, 9), 0, 2), 2},
        {file, TgaFile(2, 16, 0, Bytes(8, 9)), 3},
        {file, TgaFile(1, 24, 0, Bytes(12, 9)), 3},
        {file, TgaFile(10, 32, 0, {0xff, 1, 2, 3, 4}, 255, 255), 2},   // packets end before the picture
        {file, huge, 2},
    };
    unsigned int slot = 0, previous = 0;
    for (const Case &c : cases) {
        if (c.path == file) WriteFile(file, c.bytes);
        EXPECT_EQ(LoadTgaTexture(&slot, c.path.empty() ? nullptr : c.path.c_str(), 1), c.result) << c.path;
        EXPECT_TRUE(slot != 0 && slot != previous) << c.path << " " << c.bytes.size();
        previous = slot;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ImageUpload, TargaPicturesBecomeMipmappedTexturesWithTheirTexels) {
    // 24 bits, top row first: rows of 6 bytes, so the upload must not assume 4-byte rows.
    const Bytes body = {0, 0, 255, 0, 255, 0,         // top row: red, green
                        255, 0, 0, 255, 255, 255};    // bottom row: blue, white
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    unsigned int slot = 0;
    ASSERT_EQ(LoadTgaTexture(&slot, WriteFile(dir + "/a.tga", TgaFile(2, 24, 0x20, body)).c_str(), 0), 0);
    EXPECT_EQ(Texels(2, 2, GL_RGB), (Bytes{0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0}));
    ExpectBuilt(slot, 4, GL_REPEAT);

    // 32 bits, run-length, clamped: alpha kept.
    const Bytes rle = {0x81, 10, 20, 30, 40, 0x01, 50, 60, 70, 80, 90, 100, 110, 120};
    ASSERT_EQ(LoadTgaTexture(&slot, WriteFile(dir + "/a.tga", TgaFile(10, 32, 0, rle)).c_str(), 1), 0);
    EXPECT_EQ(Texels(2, 2, GL_RGBA), (Bytes{30, 20, 10, 40, 30, 20, 10, 40, 70, 60, 50, 80, 110, 100, 90, 120}));
    GLint alphaBits = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
    EXPECT_GT(alphaBits, 0);
    ExpectBuilt(slot, 4, GL_CLAMP);
}

TEST_F(ImageUpload, BitmapTexturesLoadOrLeaveTheSlotAlone) {
    unsigned int slot = 4321;
    EXPECT_FALSE(LoadBmpTexture(&slot, (dir + "/absent.bmp").c_str(), 1));
    EXPECT_FALSE(LoadBmpTexture(&slot, nullptr, 1));
    const Bytes rows = {0, 0, 255, 0, 255, 0, 0, 0,          // bottom row: red, green
                        255, 0, 0, 255, 255, 255, 0, 0};     // top row: blue, white
    Bytes v5 = BmpFile(rows);
    v5[14] = 124;
    EXPECT_FALSE(LoadBmpTexture(&slot, WriteFile(dir + "/b.bmp", v5).c_str(), 1));
    EXPECT_EQ(slot, 4321u);

    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    ASSERT_TRUE(LoadBmpTexture(&slot, WriteFile(dir + "/b.bmp", BmpFile(rows)).c_str(), 0));
    EXPECT_NE(slot, 4321u);
    EXPECT_EQ(Texels(2, 2, GL_RGB), (Bytes{255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}));
    ExpectBuilt(slot, 8, GL_REPEAT);
    const unsigned int first = slot;
    ASSERT_TRUE(LoadBmpTexture(&slot, (dir + "/b.bmp").c_str(), 1));
    EXPECT_NE(slot, first);
    ExpectBuilt(slot, 8, GL_CLAMP);
}
