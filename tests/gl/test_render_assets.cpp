// Drawing tests: the asset table puts every picture file into its own texture slot, in order.
#include "tests/gl/test_render_gl.h"

#include <cstdio>
#include <filesystem>
#include <string>

using AssetTable = RenderTest;

TEST_F(AssetTable, EveryFileLandsInItsSlotInOrderWithItsWrapMode) {
    // The game's pictures in load order, group by group: file name pattern, first number, count,
    // first slot. Every picture but the font is clamped.
    struct Group { const char *pattern; int from, count; unsigned int *slot; };
    const Group groups[] = {
        {"font.bmp", 0, 1, &fontTexture},           {"kavhide%02d.tga", 1, 1, &heroTextures[0]},
        {"kavwalk%02d.tga", 1, 8, &heroTextures[1]}, {"kavjump%02d.tga", 1, 1, &heroTextures[9]},
        {"kavshield%02d.tga", 1, 4, &heroTextures[21]}, {"brick%02d.tga", 1, 3, &tileTextures[1]},
        {"brick%02d.tga", 8, 2, &tileTextures[8]},   {"back.bmp", 0, 1, &backgroundTexture},
        {"back%02dover.tga", 0, 5, &overlayTextures[0]}, {"craftkav.tga", 0, 1, &craftTexture},
        {"shot%02d.tga", 1, 3, &shotTextures[0]},    {"missle%02d.tga", 1, 8, &shotTextures[10]},
        {"explow%02d.tga", 1, 4, &explosionTextures[0]}, {"expbig%02d.tga", 1, 8, &explosionTextures[4]},
        {"cannon%02d.tga", 1, 1, &cannonTexture},    {"twoways%02d.tga", 1, 1, &twowaysTexture},
        {"celling%02d.tga", 1, 5, &cellingTextures[0]}, {"sonda%02d.tga", 1, 4, &sondaTextures[0]},
        {"trainbeg%02d.tga", 1, 4, &trainTextures[0]}, {"trainmid%02d.tga", 1, 4, &trainTextures[4]},
        {"trainend%02d.tga", 1, 4, &trainTextures[8]},
    };
    struct Expected { std::string file; unsigned int *slot; bool clamp; };
    std::vector<Expected> rows;
    for (const Group &g : groups) {
        for (int i = 0; i < g.count; i++) {
            char name[64];
            snprintf(name, sizeof name, g.pattern, g.from + i);
            rows.push_back({std::string("gfx/") + name, g.slot + i, g.slot != &fontTexture});
        }
    }
    ASSERT_EQ(rows.size(), 73u);

    // Each file a 2 by 2 picture of its own colour (red 10 + 3i, green 255 - 2i).
    std::filesystem::create_directories(dir + "/gfx");
    for (size_t i = 0; i < rows.size(); i++) {
        const uint8_t r = uint8_t(10 + 3 * i), g = uint8_t(255 - 2 * i);
        const bool bmp = rows[i].file.back() == 'p';
        Bytes body;
        for (int px = 0; px < 4; px++) {
            body.insert(body.end(), {77, g, r});
            if (bmp && px % 2) body.insert(body.end(), {0, 0});   // rows padded to 4 bytes
        }
        WriteFile(dir + "/" + rows[i].file, bmp ? BmpFile(body) : TgaFile(2, 24, 0, body));
    }
    const std::filesystem::path home = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    LoadAssetTable();
    std::filesystem::current_path(home);

    unsigned int previous = 0;
    for (size_t i = 0; i < rows.size(); i++) {
        const unsigned int name = *rows[i].slot;
        ASSERT_GT(name, previous) << rows[i].file << " missing or loaded out of order";
        previous = name;
        glBindTexture(GL_TEXTURE_2D, name);
        const Bytes texels = Texels(2, 2, GL_RGB);
        EXPECT_EQ(Bytes(texels.begin(), texels.begin() + 3), (Bytes{uint8_t(10 + 3 * i), uint8_t(255 - 2 * i), 77}))
            << rows[i].file;
        EXPECT_EQ(TexParameter(GL_TEXTURE_WRAP_S), rows[i].clamp ? GL_CLAMP : GL_REPEAT) << rows[i].file;
    }
}
