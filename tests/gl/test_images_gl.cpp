// Texture loaders in a real GL context: result codes, slots, texture state and the texels.
#include "tests/gl/test_render_gl.h"

#include <cstdlib>

#include "render/decode.h"
#include "render/images.h"


namespace {

// Level 0 of the bound texture, tightly packed, and one of its parameters.
Bytes Texels(int w, int h, GLenum format) {
    Bytes out(size_t(w) * h * (format == GL_RGBA ? 4 : 3), 0x55);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, out.data());
    return out;
}

GLint TexParameter(GLenum name) {
    GLint v = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &v);
    return v;
}

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
    const std::string good = TgaFile(2, 24, 2, 2, std::string(12, 9));
    const std::string file = dir + "/a.tga";
    struct Case { std::string path, bytes; int32_t result; };
    const Case cases[] = {
        {"", {}, 1},                           // no path at all
        {dir + "/absent.tga", {}, 1},
        {file, good.substr(0, good.size() - 1), 2},
        {file, TgaFile(2, 16, 2, 2, std::string(8, 9)), 3},
    };
    unsigned int slot = 0, previous = 0;
    for (const Case &c : cases) {
        if (c.path == file) WriteAll(file, c.bytes);
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
    ASSERT_EQ(LoadTgaTexture(&slot, WriteAll(dir + "/a.tga", TgaFile(2, 24, 2, 2, body, 0x20)).c_str(), 0), 0);
    EXPECT_EQ(Texels(2, 2, GL_RGB), (Bytes{0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0}));
    ExpectBuilt(slot, 4, GL_REPEAT);

    // 32 bits, run-length, clamped: alpha kept.
    const Bytes rle = {0x81, 10, 20, 30, 40, 0x01, 50, 60, 70, 80, 90, 100, 110, 120};
    ASSERT_EQ(LoadTgaTexture(&slot, WriteAll(dir + "/a.tga", TgaFile(10, 32, 2, 2, rle)).c_str(), 1), 0);
    EXPECT_EQ(Texels(2, 2, GL_RGBA), (Bytes{30, 20, 10, 40, 30, 20, 10, 40, 70, 60, 50, 80, 110, 100, 90, 120}));
    GLint alphaBits = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &alphaBits);
    EXPECT_GT(alphaBits, 0);
    ExpectBuilt(slot, 4, GL_CLAMP);
}

TEST_F(ImageUpload, BitmapTexturesLoadOrLeaveTheSlotAlone) {
    unsigned int slot = 4321;   // a picture that does not load (why, the hostile-file test's cases show)
    std::string v5 = Bmp2x2();
    v5[14] = 124;
    EXPECT_FALSE(LoadBmpTexture(&slot, WriteAll(dir + "/b.bmp", v5).c_str(), 1));
    EXPECT_EQ(slot, 4321u);

    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    ASSERT_TRUE(LoadBmpTexture(&slot, WriteAll(dir + "/b.bmp", Bmp2x2()).c_str(), 0));
    EXPECT_NE(slot, 4321u);
    EXPECT_EQ(Texels(2, 2, GL_RGB), (Bytes{255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}));
    ExpectBuilt(slot, 8, GL_REPEAT);
    const unsigned int first = slot;
    ASSERT_TRUE(LoadBmpTexture(&slot, (dir + "/b.bmp").c_str(), 1));
    EXPECT_NE(slot, first);
    ExpectBuilt(slot, 8, GL_CLAMP);
}

// The mipmap levels of every picture of the game, and of pictures of other shapes, are the
// very texels gluBuild2DMipmaps gives: every level, every byte, and no level more or less.
TEST_F(ImageUpload, MipmapLevelsAreThoseOfGluForEveryPictureOfTheGame) {
    struct Picture {
        std::string name;
        int w, h, bpp;
        Bytes pixels;
    };
    std::vector<Picture> pictures;
    for (int row = 0; row < AssetTableSize(); row++) {
        bool bitmap = false;
        const std::string path = std::string(KAV_SOURCE_DIR) + "/" + AssetTablePath(row, &bitmap);
        const Bytes file = ReadBytes(path);
        RgbImage bmp{};
        TgaPicture tga{};
        ASSERT_TRUE(bitmap ? DecodeBmp(file.data(), file.size(), &bmp) == BMP_DECODED
                           : DecodeTga(file.data(), file.size(), &tga) == TGA_DECODED) << path;
        const int w = bitmap ? bmp.width : tga.width, h = bitmap ? bmp.height : tga.height;
        const int bpp = bitmap ? 3 : tga.bytesPerPixel;
        uint8_t *pixels = bitmap ? bmp.pixels : tga.pixels;
        pictures.push_back({path, w, h, bpp, Bytes(pixels, pixels + size_t(w) * h * bpp)});
        free(pixels);
    }
    Bytes noise(64 * 64 * 4);
    for (size_t i = 0; i < noise.size(); i++) noise[i] = uint8_t(i * 7919 % 251);
    pictures.push_back({"1x1", 1, 1, 4, Bytes(noise.begin(), noise.begin() + 4)});
    pictures.push_back({"noise 64x64", 64, 64, 3, Bytes(noise.begin(), noise.begin() + 64 * 64 * 3)});
    pictures.push_back({"8x2", 8, 2, 4, Bytes(noise.begin(), noise.begin() + 8 * 2 * 4)});
    pictures.push_back({"6x6", 6, 6, 3, Bytes(noise.begin(), noise.begin() + 6 * 6 * 3)});

    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (const Picture &p : pictures) {
        const GLenum format = p.bpp == 4 ? GL_RGBA : GL_RGB;
        GLuint names[2];
        glGenTextures(2, names);
        glBindTexture(GL_TEXTURE_2D, names[0]);
        gluBuild2DMipmaps(GL_TEXTURE_2D, p.bpp, p.w, p.h, format, GL_UNSIGNED_BYTE, p.pixels.data());
        glBindTexture(GL_TEXTURE_2D, names[1]);
        BuildMipmaps(p.bpp, p.w, p.h, format, p.pixels.data());
        for (int level = 0; level < 16; level++) {
            GLint size[2][2];
            Bytes texels[2];
            for (int t = 0; t < 2; t++) {
                glBindTexture(GL_TEXTURE_2D, names[t]);
                glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &size[t][0]);
                glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &size[t][1]);
                texels[t].resize(size_t(size[t][0]) * size[t][1] * p.bpp);
                if (!texels[t].empty()) glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, texels[t].data());
            }
            ASSERT_EQ(size[0][0], size[1][0]) << p.name << " level " << level;
            ASSERT_EQ(size[0][1], size[1][1]) << p.name << " level " << level;
            ASSERT_TRUE(texels[0] == texels[1]) << p.name << " level " << level;
            if (size[0][0] == 0) break;
        }
        glDeleteTextures(2, names);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
