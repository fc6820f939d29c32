// Drawing tests: the asset table puts every picture file into its own texture slot, in order.
#include "tests/gl/test_render_gl.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

struct Expected {
    std::string file;
    unsigned int *slot;
    bool clamp;
};

// The game's pictures in load order, written out group by group.
std::vector<Expected> ExpectedPictures() {
    std::vector<Expected> rows;
    auto group = [&](const char *stem, int count, unsigned int *first) {
        for (int i = 0; i < count; i++) {
            char name[64];
            snprintf(name, sizeof name, "gfx/%s%02d.tga", stem, i + 1);
            rows.push_back({name, first + i, true});
        }
    };
    rows.push_back({"gfx/font.bmp", &fontTexture, false});
    group("kavhide", 1, &heroTextures[0]);
    group("kavwalk", 8, &heroTextures[1]);
    group("kavjump", 1, &heroTextures[9]);
    group("kavshield", 4, &heroTextures[21]);
    for (int code : {1, 2, 3, 8, 9}) {
        rows.push_back({"gfx/brick0" + std::to_string(code) + ".tga", &tileTextures[code], true});
    }
    rows.push_back({"gfx/back.bmp", &backgroundTexture, true});
    for (int map = 0; map < 5; map++) {
        rows.push_back({"gfx/back0" + std::to_string(map) + "over.tga", &overlayTextures[map], true});
    }
    rows.push_back({"gfx/craftkav.tga", &craftTexture, true});
    group("shot", 3, &shotTextures[0]);
    group("missle", 8, &shotTextures[10]);
    group("explow", 4, &explosionTextures[0]);
    group("expbig", 8, &explosionTextures[4]);
    group("cannon", 1, &cannonTexture);
    group("twoways", 1, &twowaysTexture);
    group("celling", 5, &cellingTextures[0]);
    group("sonda", 4, &sondaTextures[0]);
    group("trainbeg", 4, &trainTextures[0]);
    group("trainmid", 4, &trainTextures[4]);
    group("trainend", 4, &trainTextures[8]);
    return rows;
}

void Le16(std::string &s, int v) { s += (char)(v & 255); s += (char)((v >> 8) & 255); }
void Le32(std::string &s, int v) { Le16(s, v & 0xffff); Le16(s, (v >> 16) & 0xffff); }

// A 2 by 2 picture of one colour, as an uncompressed 24-bit Targa or bitmap file.
void WritePicture(const std::string &path, int r, int g, int b) {
    std::string s;
    if (path.size() > 4 && path.compare(path.size() - 4, 4, ".bmp") == 0) {
        s = "BM";
        Le32(s, 14 + 40 + 16);
        Le32(s, 0);
        Le32(s, 14 + 40);
        Le32(s, 40); Le32(s, 2); Le32(s, 2); Le16(s, 1); Le16(s, 24);
        Le32(s, 0); Le32(s, 16); Le32(s, 2835); Le32(s, 2835); Le32(s, 0); Le32(s, 0);
        for (int row = 0; row < 2; row++) {
            for (int px = 0; px < 2; px++) { s += (char)b; s += (char)g; s += (char)r; }
            s += std::string(2, '\0');   // rows padded to 4 bytes
        }
    } else {
        s = std::string("\0\0\2", 3) + std::string(9, '\0');
        Le16(s, 2); Le16(s, 2);
        s += (char)24; s += (char)0;
        for (int px = 0; px < 4; px++) { s += (char)b; s += (char)g; s += (char)r; }
    }
    FILE *f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    fwrite(s.data(), 1, s.size(), f);
    fclose(f);
}

using AssetTable = RenderTest;

}  // namespace

TEST_F(AssetTable, EveryFileLandsInItsSlotInOrderWithItsWrapMode) {
    const std::vector<Expected> rows = ExpectedPictures();
    ASSERT_EQ(rows.size(), 73u);
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("kav_assets_" + std::to_string(getpid()));
    fs::create_directories(dir / "gfx");
    for (size_t i = 0; i < rows.size(); i++) {
        WritePicture((dir / rows[i].file).string(), 10 + 3 * (int)i, 255 - 2 * (int)i, 77);
    }
    const fs::path home = fs::current_path();
    fs::current_path(dir);
    LoadAssetTable();
    fs::current_path(home);
    fs::remove_all(dir);

    unsigned int previous = 0;
    for (size_t i = 0; i < rows.size(); i++) {
        const unsigned int name = *rows[i].slot;
        ASSERT_NE(name, 0u) << rows[i].file;
        EXPECT_GT(name, previous) << rows[i].file << " loaded out of order";
        previous = name;
        glBindTexture(GL_TEXTURE_2D, name);
        uint8_t texels[2 * 2 * 3] = {};
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
        EXPECT_EQ(texels[0], 10 + 3 * i) << rows[i].file;
        EXPECT_EQ(texels[1], 255 - 2 * i) << rows[i].file;
        GLint wrap = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
        EXPECT_EQ(wrap, rows[i].clamp ? GL_CLAMP : GL_REPEAT) << rows[i].file;
    }
    // Slots the table does not name stay empty.
    for (int i = 10; i <= 20; i++) EXPECT_EQ(heroTextures[i], 0u) << i;
    for (int i = 3; i <= 9; i++) EXPECT_EQ(shotTextures[i], 0u) << i;
    for (int i : {0, 4, 5, 6, 7, 10, 49}) EXPECT_EQ(tileTextures[i], 0u) << i;
    EXPECT_EQ(explosionTextures[12], 0u);
}
