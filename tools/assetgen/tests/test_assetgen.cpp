// Tests of the asset tool: file writers against the game's decoders, sheet and font sheet
// faults, a run without its sources, and the doors of the screen pictures. The pictures themselves (so every sheet read) are
// held to the committed gfx/ by check_gfx.sh.
#include "catalogue.h"
#include "font.h"
#include "picture.h"
#include "sheet.h"
#include "render/decode.h"
#include "world/map.h"
#include "world/world.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A small picture whose every pixel differs from its neighbours, with a few runs.
Picture Pattern(int w, int h) {
    Picture p(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            bool run = y == 1;   // one whole row of equal pixels
            uint32_t v = run ? 0x10203040u : (uint32_t)((x * 37 + y * 101) & 255) << 24 | (uint32_t)(x * 11) << 16 |
                                                 (uint32_t)(y * 13) << 8 | (uint32_t)((x + y) * 9 & 255);
            p.set(x, y, v);
        }
    return p;
}

// Decoded rows come bottom row first; the picture's row 0 is the top.
void ExpectSamePixels(const Picture &pic, const uint8_t *pixels, int bytes) {
    for (int y = 0; y < pic.h; y++)
        for (int x = 0; x < pic.w; x++) {
            const uint8_t *want = pic.at(x, y);
            const uint8_t *got = pixels + ((size_t)(pic.h - 1 - y) * pic.w + x) * bytes;
            for (int k = 0; k < bytes; k++) ASSERT_EQ(got[k], want[k]) << "pixel " << x << "," << y << " byte " << k;
        }
}

}  // namespace

TEST(TargaWriter, EveryFormDecodesToTheSamePicture) {
    Picture pic = Pattern(7, 5);
    for (int type : {2, 10})
        for (int bits : {24, 32})
            for (bool top : {false, true})
                for (const char *id : {"", "Kav"}) {
                    std::vector<uint8_t> bytes = EncodeTga(pic, TgaForm{type, bits, top, id});
                    ASSERT_EQ(bytes[2], type);
                    ASSERT_EQ(bytes[16], bits);
                    ASSERT_EQ((bytes[17] & 32) != 0, top);
                    TgaPicture out{};
                    ASSERT_EQ(DecodeTga(bytes.data(), bytes.size(), &out), TGA_DECODED)
                        << "type " << type << " bits " << bits << " top " << top;
                    EXPECT_EQ(out.width, 7);
                    EXPECT_EQ(out.height, 5);
                    ExpectSamePixels(pic, out.pixels, bits / 8);
                    std::free(out.pixels);
                }
}

TEST(BitmapWriter, TrueColourAndPaletteDecodeWithPaddedRows) {
    for (int w : {5, 6, 8}) {
        Picture pic(w, 3);
        for (int y = 0; y < 3; y++)
            for (int x = 0; x < w; x++) pic.set(x, y, (uint32_t)(x * 40) << 24 | (uint32_t)(y * 80) << 16 | 0x3000ffu);
        for (int form = 0; form < 2; form++) {
            std::vector<uint8_t> bytes = form == 0 ? EncodeBmp24(pic) : EncodeBmp8(pic);
            ASSERT_FALSE(bytes.empty());
            EXPECT_EQ(bytes[14], 40);              // information header size
            EXPECT_EQ(bytes[28], form == 0 ? 24 : 8);
            RgbImage img{};
            ASSERT_EQ(DecodeBmp(bytes.data(), bytes.size(), &img), BMP_DECODED) << "width " << w;
            ExpectSamePixels(pic, img.pixels, 3);
            std::free(img.pixels);
        }
    }
}

TEST(BitmapWriter, PaletteRefusesMoreThan256Colours) {
    Picture pic(20, 20);
    for (int y = 0; y < 20; y++)
        for (int x = 0; x < 20; x++) pic.set(x, y, (uint32_t)(y * 20 + x) << 8 | 0xff);
    EXPECT_TRUE(EncodeBmp8(pic).empty());
}

TEST(SheetReader, ReportsMistakesWithTheirLine) {
    EXPECT_EQ(ParseSheet("colour . 00000000\nframe a\n..\n.x\n", "s").error, "s:4: no colour for 'x'");
    EXPECT_EQ(ParseSheet("colour . 00000000\nframe a\n..\n...\n", "s").error, "s:4: row length differs in frame a");
    EXPECT_EQ(ParseSheet("colour . 0000000\n", "s").error, "s:1: bad colour line");
    EXPECT_EQ(ParseSheet("..\n", "s").error, "s:1: rows outside a frame");
    EXPECT_EQ(ParseSheet("colour . 00000000\nframe a\n.\nframe a\n.\n", "s").error, "s:4: frame a given twice");
}

TEST(FontSheet, AMissingOrMisshapenGlyphIsNamed) {
    const struct { int byte, w; const char *error; } cases[] = {
        {126, 0, "font: no glyph for byte 126"}, {65, 4, "font: glyph for byte 65 is not 5 by 8"}};
    for (const auto &c : cases) {
        Sheet glyphs;
        for (int b = 32; b <= 126; b++) glyphs.frames[GlyphName(b)] = Picture(5, 8);
        if (c.w) glyphs.frames[GlyphName(c.byte)] = Picture(c.w, 8);
        else glyphs.frames.erase(GlyphName(c.byte));
        Picture sheet;
        std::string error;
        EXPECT_FALSE(BuildFontSheet(glyphs, &sheet, &error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(WholeRun, MissingSourcesAreNamed) {
    std::string error;
    EXPECT_FALSE(GenerateAll("/nonexistent-kav-source", "/tmp", &error));
    EXPECT_NE(error.find("/nonexistent-kav-source/assets/font.txt"), std::string::npos) << error;
}

// A hero who comes in through a door must be seen at once: over his body where he arrives
// (x 12 through a left door, 244 through a right one, feet on the door's floor) each screen's
// picture is mostly see-through. The screens are painted from the real maps.
TEST(ScreenPictures, TheHeroArrivingThroughADoorIsNotHidden) {
    const std::string out = testing::TempDir() + "/assetgen-doors";
    std::filesystem::create_directories(out);
    std::string error;
    ASSERT_TRUE(GenerateAll(KAV_SOURCE_DIR, out, &error)) << error;
    int doors = 0;
    for (int screen = 0; screen < 5; screen++) {
        std::string text;
        ASSERT_TRUE(ReadTextFile(std::string(KAV_SOURCE_DIR) + "/map/map0" + std::to_string(screen) + ".map", &text));
        ResetWorld();
        LoadMapFromBuffer(text.data(), text.size());
        std::string tga;
        ASSERT_TRUE(ReadTextFile(out + "/back0" + std::to_string(screen) + "over.tga", &tga));
        TgaPicture pic{};
        ASSERT_EQ(DecodeTga((const uint8_t *)tga.data(), tga.size(), &pic), TGA_DECODED);
        for (int side : {0, 31}) {
            // The hero arrives through the left door from the screen before, the right from the one after.
            if ((side == 0 && screen == 0) || (side == 31 && screen == 4)) continue;
            for (int row = 0; row < 23; row++) {
                if (TileGrid[row][side] != 9 || TileGrid[row + 1][side] == 9) continue;
                doors++;
                const double x = side == 0 ? 12.0 : 244.0, feet = (23 - row) * 8.0;
                double alpha = 0;
                int n = 0;
                for (double py = feet + 1; py < feet + 20; py += 0.5)     // rows from the bottom, as decoded
                    for (double px = x - 6; px < x + 6; px += 0.5, n++)
                        alpha += pic.pixels[((size_t)(py * pic.height / 192) * pic.width + (size_t)(px * pic.width / 256)) * 4 + 3];
                EXPECT_LT(alpha / n / 255.0, 0.5) << "screen " << screen + 1 << ", door on the " << (side ? "right" : "left");
            }
        }
        std::free(pic.pixels);
    }
    EXPECT_EQ(doors, 8);   // every screen's doors but the first's left and the last's right
    std::filesystem::remove_all(out);
}
