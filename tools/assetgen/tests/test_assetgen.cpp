// Tests of the asset tool: file writers against the game's decoders, sheet reader, font
// sheet, overlay painter, and a run without its sources.
#include "catalogue.h"
#include "font.h"
#include "painters.h"
#include "picture.h"
#include "sheet.h"
#include "render/decode.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
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
                    TgaForm form;
                    form.type = type;
                    form.bits = bits;
                    form.topFirst = top;
                    form.id = id;
                    std::vector<uint8_t> bytes = EncodeTga(pic, form);
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

TEST(TargaWriter, RunLengthPacketsCoverLongRunsAndRowEnds) {
    // 300 equal pixels (more than one run packet), then alternating pixels (raw packets).
    Picture pic(150, 3);
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 150; x++) pic.set(x, y, y < 2 ? 0x11223344u : ((x & 1) ? 0xff0000ffu : 0x00ff00ffu));
    TgaForm form;
    std::vector<uint8_t> rle = EncodeTga(pic, form);
    form.type = 2;
    std::vector<uint8_t> raw = EncodeTga(pic, form);
    EXPECT_LT(rle.size(), raw.size() * 6 / 10);
    TgaPicture out{};
    ASSERT_EQ(DecodeTga(rle.data(), rle.size(), &out), TGA_DECODED);
    ExpectSamePixels(pic, out.pixels, 4);
    std::free(out.pixels);
    // Walking the packets: none crosses the end of a row, and they end with the file.
    size_t at = 18, pixels = 0;
    while (at < rle.size()) {
        size_t n = (rle[at] & 127) + 1;
        bool run = rle[at] & 128;
        EXPECT_EQ(pixels / 150, (pixels + n - 1) / 150) << "packet at byte " << at << " crosses a row";
        pixels += n;
        at += 1 + (run ? 4 : 4 * n);
    }
    EXPECT_EQ(at, rle.size());
    EXPECT_EQ(pixels, 450u);
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

TEST(SheetReader, ReadsFramesAndPalette) {
    Sheet s = ParseSheet("# two frames\ncolour . 00000000\ncolour r ff0000ff\n\nframe a\n.r\nr.\n\nframe b\nrrr\n", "t");
    ASSERT_EQ(s.error, "");
    ASSERT_EQ(s.frames.size(), 2u);
    const Picture &a = s.frames.at("a");
    EXPECT_EQ(a.w, 2);
    EXPECT_EQ(a.h, 2);
    EXPECT_EQ(a.at(1, 0)[0], 255);
    EXPECT_EQ(a.at(1, 0)[3], 255);
    EXPECT_EQ(a.at(0, 0)[3], 0);
    EXPECT_EQ(s.frames.at("b").w, 3);
}

TEST(SheetReader, ReportsMistakesWithTheirLine) {
    EXPECT_EQ(ParseSheet("colour . 00000000\nframe a\n..\n.x\n", "s").error, "s:4: no colour for 'x'");
    EXPECT_EQ(ParseSheet("colour . 00000000\nframe a\n..\n...\n", "s").error, "s:4: row length differs in frame a");
    EXPECT_EQ(ParseSheet("colour . 0000000\n", "s").error, "s:1: bad colour line");
    EXPECT_EQ(ParseSheet("..\n", "s").error, "s:1: rows outside a frame");
    EXPECT_EQ(ParseSheet("colour . 00000000\nframe a\n.\nframe a\n.\n", "s").error, "s:4: frame a given twice");
}

TEST(FontSheet, GlyphsSitInTheirCellsInBothStyles) {
    Sheet glyphs;
    Picture blank(5, 8), full(5, 8);
    for (int y = 0; y < 8; y++)
        for (int x = 0; x < 5; x++) {
            blank.set(x, y, 0x000000ff);
            full.set(x, y, 0xffffffff);
        }
    for (int b = 32; b <= 126; b++) glyphs.frames[GlyphName(b)] = b == 'A' ? full : blank;
    Picture sheet;
    std::string error;
    ASSERT_TRUE(BuildFontSheet(glyphs, &sheet, &error)) << error;
    ASSERT_EQ(sheet.w, 256);
    ASSERT_EQ(sheet.h, 256);
    // 'A' is byte 65: glyph 33 (cell column 1, row 2) and glyph 161 (column 1, row 10).
    auto inkColumns = [&](int n) {
        int lo = 99, hi = -1, count = 0;
        for (int y = 0; y < 256; y++)
            for (int x = 0; x < 256; x++)
                if (sheet.at(x, y)[0] > 0) {
                    EXPECT_EQ(x / 16 + (y / 16) * 16 == 33 || x / 16 + (y / 16) * 16 == 161, true);
                    if (x / 16 + (y / 16) * 16 != n) continue;
                    lo = std::min(lo, x % 16);
                    hi = std::max(hi, x % 16);
                    count++;
                }
        return std::make_tuple(lo, hi, count);
    };
    auto [lo0, hi0, n0] = inkColumns(33);
    auto [lo1, hi1, n1] = inkColumns(161);
    EXPECT_EQ(lo0, 2);
    EXPECT_EQ(hi0, 11);
    EXPECT_EQ(n0, 10 * 16);
    EXPECT_EQ(lo1, 2);
    EXPECT_EQ(hi1, 12);   // bold is one column wider, still inside the 13-unit advance
    glyphs.frames.erase("~");
    EXPECT_FALSE(BuildFontSheet(glyphs, &sheet, &error));
    EXPECT_EQ(error, "font: no glyph for byte 126");
}

TEST(OverlayPainter, TransparentExactlyWhereTheGridIsEmpty) {
    ScreenGrid g{};
    for (int c = 0; c < 32; c++) g.cell[23][c] = 1;
    g.cell[10][5] = 2;
    g.cell[22][7] = 3;
    g.cell[20][31] = 9;
    g.cell[12][12] = 4;   // no role: not painted
    Picture pic = PaintOverlay(g, 256, 192);   // one texel per playfield unit
    for (int ty = 0; ty < 192; ty++)
        for (int tx = 0; tx < 256; tx++) {
            int code = g.cell[ty / 8][tx / 8];
            uint8_t a = pic.at(tx, ty)[3];
            bool overCover = ty / 8 < 23 && g.cell[ty / 8 + 1][tx / 8] == 3;
            if ((code == 0 || code == 4) && !overCover) {
                ASSERT_EQ(a, 0) << tx << "," << ty;
            }
            if (code == 1) {
                ASSERT_EQ(a, 255) << tx << "," << ty;
            }
        }
    // Girders are painted in the top part of their cell only. Cover is a barricade 9 units
    // tall with a rail on posts up to 12, open between: a crouching hero shows above it.
    EXPECT_EQ(pic.at(44, 80)[3], 255);
    EXPECT_EQ(pic.at(44, 87)[3], 0);
    EXPECT_EQ(pic.at(60, 183)[3], 255);   // 8.5 units up
    EXPECT_EQ(pic.at(60, 176)[3], 255);   // 15.5: the body rises into the cell above
    EXPECT_EQ(pic.at(60, 174)[3], 0);     // 17.5: under the rail
    EXPECT_EQ(pic.at(60, 172)[3], 255);   // 19.5: the rail
    EXPECT_EQ(pic.at(60, 171)[3], 0);     // 20.5: above it all
    // The door's curtain is see-through.
    int seeThrough = 0;
    for (int ty = 160; ty < 168; ty++)
        for (int tx = 248; tx < 256; tx++) seeThrough += pic.at(tx, ty)[3] > 0 && pic.at(tx, ty)[3] < 200;
    EXPECT_GT(seeThrough, 20);
}

TEST(OverlayPainter, SignsCarsAndSweepsAreWhereThePlayerNeedsThem) {
    // Screen 3 of 5: a floor two rows deep, a door in the right wall above it, a train car
    // rolling right from the left wall into that door, a ceiling gun hanging mid-screen.
    ScreenGrid g{};
    g.index = 2;
    for (int r = 0; r < 24; r++) g.cell[r][0] = g.cell[r][31] = 1;
    for (int c = 0; c < 32; c++) g.cell[22][c] = g.cell[23][c] = g.cell[10][c] = 1;
    for (int r = 19; r <= 21; r++) g.cell[r][31] = 9;
    g.cars.push_back({8.0f, 16.0f, true});
    g.guns.push_back({128.0f, 96.0f, 40.0f});
    Picture pic = PaintOverlay(g, 256, 192);
    // Channel k of the texel at playfield (px, py), y up.
    auto texel = [&](double px, double py, int k) { return pic.at((int)px, (int)(192.0 - py))[k]; };
    // The sign below the door, on the floor's face, stands out from the wall around it.
    int lit = 0;
    for (double px = 235.0; px < 254.0; px += 1.0)
        for (double py = 9.5; py < 15.0; py += 1.0) lit += texel(px, py, 0) > 200;
    EXPECT_GT(lit, 10);
    // The car is hidden where it comes into play and along the last 16 units before its door.
    for (double px : {1.0, 8.0, 15.0, 233.0, 240.0, 247.0})
        for (double py : {16.5, 24.0, 31.5}) EXPECT_EQ(texel(px, py, 3), 255) << px << "," << py;
    EXPECT_EQ(texel(120.0, 24.0, 3), 0);
    // Warning paint on the floor straight under the gun, none far out of its sweep.
    for (double px : {124.5, 126.5, 128.5, 130.5}) {
        EXPECT_GT(texel(px, 15.5, 0), 200) << px;   // red or orange: much red, little blue
        EXPECT_LT(texel(px, 15.5, 2), 80) << px;
    }
    EXPECT_LT(texel(20.5, 15.5, 0) - texel(20.5, 15.5, 2), 100);
}

TEST(Explosions, FlareAndStillShowInTheirLastFrame) {
    auto coverage = [](const Picture &p) {
        long sum = 0;
        for (size_t i = 3; i < p.rgba.size(); i += 4) sum += p.rgba[i];
        return sum;
    };
    long first = coverage(PaintExplosion(64, 0, 8, true));
    long peak = coverage(PaintExplosion(64, 2, 8, true));
    long last = coverage(PaintExplosion(64, 7, 8, true));
    EXPECT_GT(peak, first);
    EXPECT_LT(last, peak);
    EXPECT_GT(last, peak / 3);   // a big blast is still plain to see as it ends
    long smallFirst = coverage(PaintExplosion(32, 0, 4, false)), smallLast = coverage(PaintExplosion(32, 3, 4, false));
    EXPECT_GT(smallFirst, smallLast);
    EXPECT_GT(smallLast, smallFirst / 5);
}

TEST(WholeRun, MissingSourcesAreNamed) {
    std::string error;
    EXPECT_FALSE(GenerateAll("/nonexistent-kav-source", "/tmp", &error));
    EXPECT_NE(error.find("/nonexistent-kav-source/assets/font.txt"), std::string::npos) << error;
}
