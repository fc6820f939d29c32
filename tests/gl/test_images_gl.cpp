// Texture loaders in a real GL context: result codes, slots, texture state and the texels.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/null_platform.h"
#include "render/gl.h"
#include "render/render.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Its own hidden window and context, made current before each test of this file.
class ImageUpload : public ::testing::Test {
protected:
    static SDL_Window *window;
    static SDL_GLContext context;
    static std::string dir;

    static void SetUpTestSuite() {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
        window = SDL_CreateWindow("image tests", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        context = SDL_GL_CreateContext(window);
        ASSERT_NE(context, nullptr) << SDL_GetError();
        char pattern[] = "/tmp/kav_images_gl_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    static void TearDownTestSuite() {
        for (const char *name : {"a.tga", "b.bmp", "folder"}) {
            unlink((dir + "/" + name).c_str());
            rmdir((dir + "/" + name).c_str());
        }
        rmdir(dir.c_str());
        if (context) SDL_GL_DeleteContext(context);
        if (window) SDL_DestroyWindow(window);
        context = nullptr;
        window = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    void SetUp() override {
        ASSERT_NE(context, nullptr);
        ASSERT_EQ(SDL_GL_MakeCurrent(window, context), 0);
        glBindTexture(GL_TEXTURE_2D, 0);
        nullMessageBoxes.clear();
    }

    std::string Write(const char *name, const Bytes &bytes) {
        std::string path = dir + "/" + name;
        FILE *f = fopen(path.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f) {
            if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
            fclose(f);
        }
        return path;
    }

    // Level 0 of the bound texture as tightly packed bytes.
    static Bytes Texels(int w, int h, GLenum format) {
        Bytes out(size_t(w) * h * (format == GL_RGBA ? 4 : 3), 0x55);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, out.data());
        return out;
    }
    static GLint Parameter(GLenum name) {
        GLint v = -1;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &v);
        return v;
    }
    static GLint LevelWidth(int level) {
        GLint v = -1;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &v);
        return v;
    }
};
SDL_Window *ImageUpload::window = nullptr;
SDL_GLContext ImageUpload::context = nullptr;
std::string ImageUpload::dir;

// A 2 x 2 Targa file; pixels given as stored (blue, green, red[, alpha]), rows as stored.
Bytes Tga(int type, int depth, int descriptor, const Bytes &body, int width = 2, int height = 2) {
    Bytes f(18, 0);
    f[2] = uint8_t(type);
    f[12] = uint8_t(width);
    f[14] = uint8_t(height);
    f[16] = uint8_t(depth);
    f[17] = uint8_t(descriptor);
    f.insert(f.end(), body.begin(), body.end());
    return f;
}

// A 2 x 2 24-bit bitmap: rows of 6 pixel bytes padded to 8; stored rows bottom first.
Bytes Bmp(const Bytes &rows) {
    Bytes f = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0, 1, 0, 24, 0};
    f.resize(54, 0);
    f.insert(f.end(), rows.begin(), rows.end());
    return f;
}

}   // namespace

TEST_F(ImageUpload, TargaFailuresStillLeaveAFreshNameInTheSlot) {
    unsigned int slot = 0, previous = 0;
    auto fresh = [&](int32_t result, int32_t want) {
        EXPECT_EQ(result, want);
        EXPECT_NE(slot, 0u);
        EXPECT_NE(slot, previous);
        previous = slot;
    };
    fresh(LoadTgaTexture(&slot, nullptr, 1), 1);
    fresh(LoadTgaTexture(&slot, (dir + "/absent.tga").c_str(), 1), 1);
    std::string folder = dir + "/folder";
    mkdir(folder.c_str(), 0700);
    fresh(LoadTgaTexture(&slot, folder.c_str(), 1), 2);   // opens, but nothing can be read
    Bytes good = Tga(2, 24, 0, Bytes(12, 9));
    fresh(LoadTgaTexture(&slot, Write("a.tga", Bytes(good.begin(), good.begin() + 17)).c_str(), 1), 2);
    fresh(LoadTgaTexture(&slot, Write("a.tga", Bytes(good.begin(), good.end() - 1)).c_str(), 1), 2);
    fresh(LoadTgaTexture(&slot, Write("a.tga", Tga(2, 24, 0, Bytes(12, 9), 0, 2)).c_str(), 1), 2);
    fresh(LoadTgaTexture(&slot, Write("a.tga", Tga(2, 16, 0, Bytes(8, 9))).c_str(), 1), 3);
    fresh(LoadTgaTexture(&slot, Write("a.tga", Tga(1, 24, 0, Bytes(12, 9))).c_str(), 1), 3);
    fresh(LoadTgaTexture(&slot, Write("a.tga", Tga(10, 32, 0, {0xff, 1, 2, 3, 4}, 255, 255)).c_str(), 1), 0);
    Bytes huge = Tga(10, 32, 0, {0xff, 1, 2, 3, 4});
    huge[12] = huge[13] = huge[14] = huge[15] = 0xff;   // 65535 x 65535 claimed by 5 bytes
    fresh(LoadTgaTexture(&slot, Write("a.tga", huge).c_str(), 1), 3);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ImageUpload, TargaPicturesBecomeMipmappedTexturesWithTheirStateAndTexels) {
    // 24 bits, top row first: rows of 6 bytes, so the upload must not assume 4-byte rows.
    Bytes body = {0, 0, 255, 0, 255, 0,      // top row: red, green
                  255, 0, 0, 255, 255, 255};   // bottom row: blue, white
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    unsigned int slot = 0;
    ASSERT_EQ(LoadTgaTexture(&slot, Write("a.tga", Tga(2, 24, 0x20, body)).c_str(), 1), 0);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(GLuint(bound), slot);
    EXPECT_EQ(Texels(2, 2, GL_RGB), (Bytes{0, 0, 255, 255, 255, 255, 255, 0, 0, 0, 255, 0}));
    EXPECT_EQ(Parameter(GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(Parameter(GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_EQ(Parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(Parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(LevelWidth(1), 1);

    // 32 bits, run-length, no clamp: alpha kept, wrap left repeating.
    Bytes rle = {0x81, 10, 20, 30, 40, 0x01, 50, 60, 70, 80, 90, 100, 110, 120};
    ASSERT_EQ(LoadTgaTexture(&slot, Write("a.tga", Tga(10, 32, 0, rle)).c_str(), 0), 0);
    EXPECT_EQ(Texels(2, 2, GL_RGBA),
              (Bytes{30, 20, 10, 40, 30, 20, 10, 40, 70, 60, 50, 80, 110, 100, 90, 120}));
    EXPECT_EQ(Parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(Parameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    GLint internal = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_ALPHA_SIZE, &internal);
    EXPECT_GT(internal, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(ImageUpload, BitmapTexturesLoadOrLeaveTheSlotAlone) {
    unsigned int slot = 4321;
    EXPECT_FALSE(LoadBmpTexture(&slot, (dir + "/absent.bmp").c_str(), 1));
    EXPECT_FALSE(LoadBmpTexture(&slot, nullptr, 1));
    EXPECT_EQ(slot, 4321u);
    EXPECT_TRUE(nullMessageBoxes.empty());

    Bytes rows = {0, 0, 255, 0, 255, 0, 0, 0,          // bottom row: red, green
                  255, 0, 0, 255, 255, 255, 0, 0};     // top row: blue, white
    Bytes v5 = Bmp(rows);
    v5[14] = 124;
    EXPECT_FALSE(LoadBmpTexture(&slot, Write("b.bmp", v5).c_str(), 1));
    EXPECT_EQ(slot, 4321u);
    ASSERT_EQ(nullMessageBoxes.size(), 1u);
    EXPECT_EQ(nullMessageBoxes[0].text, "Unknown DIB file format.");

    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);
    ASSERT_TRUE(LoadBmpTexture(&slot, Write("b.bmp", Bmp(rows)).c_str(), 0));
    EXPECT_NE(slot, 4321u);
    GLint bound = 0, alignment = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(GLuint(bound), slot);
    EXPECT_EQ(alignment, 8);
    EXPECT_EQ(Texels(2, 2, GL_RGB), (Bytes{255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255}));
    EXPECT_EQ(Parameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(Parameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR_MIPMAP_LINEAR);
    EXPECT_EQ(Parameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(LevelWidth(1), 1);

    unsigned int clamped = 0;
    ASSERT_TRUE(LoadBmpTexture(&clamped, Write("b.bmp", Bmp(rows)).c_str(), 1));
    EXPECT_NE(clamped, slot);
    EXPECT_EQ(Parameter(GL_TEXTURE_WRAP_S), GL_CLAMP);
    EXPECT_EQ(Parameter(GL_TEXTURE_WRAP_T), GL_CLAMP);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
