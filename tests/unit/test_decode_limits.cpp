// Both picture decoders on every cut of real test pictures, and the pixel bound: what a short
// or hostile file leaves behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "render/decode.h"
#include "tests/unit/test_bmp_tga_png.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Tga {
    TgaReason reason;
    TgaPicture p{};
    PictureFacts count{};
    Tga(const Bytes &f, size_t n) { reason = DecodeTga(f.data(), n, &p, &count); }
    ~Tga() { free(p.pixels); }
    size_t Size() const { return size_t(p.width) * p.height * p.bytesPerPixel; }
};

}   // namespace

// A Targa cut anywhere before its last pixel byte is refused, raw or run-length, and says how
// many pixels the cut file still supplies. A bitmap is refused (and holds no pixels) unless
// only the last row's padding is missing.
TEST(DecodeCuts, EveryCutOfARealPictureIsRefusedOrAPrefixOfIt) {
    const char *const files[] = {"tga/pillow/common/200x32_rgb_bl_rle.tga", "tga/pillow/common/200x32_rgb_bl_raw.tga",
                                 "bmp/bmpsuite/g/pal8os2.bmp", "bmp/bmpsuite/g/pal4rle.bmp",
                                 "bmp/bmpsuite/g/pal1.bmp", "bmp/bmpsuite/q/rgb16-231.bmp"};
    for (const char *name : files) {
        SCOPED_TRACE(name);
        const Bytes file = ReadBytes(FixtureImages() + "/" + name);
        ASSERT_FALSE(file.empty());
        if (file[0] == 'B') {
            for (size_t cut = 0; cut < file.size(); cut++) {
                RgbImage image{};
                const BmpReason r = DecodeBmp(file.data(), cut, &image);
                if (r == BMP_DECODED) EXPECT_GE(cut + 3, file.size()) << cut;
                else EXPECT_EQ(image.pixels, nullptr) << cut;
                free(image.pixels);
            }
            continue;
        }
        const Tga full(file, file.size());
        ASSERT_EQ(full.reason, TGA_DECODED);
        size_t lastPixelEnd = 0;   // where the pixel data ends: past it only a trailer is missing
        uint64_t lastSupplied = 0;
        for (size_t cut = 0; cut < file.size(); cut++) {
            const Tga part(file, cut);
            if (part.reason == TGA_DECODED) {
                if (!lastPixelEnd) lastPixelEnd = cut;
                ASSERT_EQ(memcmp(part.p.pixels, full.p.pixels, full.Size()), 0) << cut;
                continue;
            }
            ASSERT_EQ(lastPixelEnd, 0u) << cut;   // no longer cut is refused after a shorter one decoded
            ASSERT_EQ(part.reason, cut < 18 ? TGA_SHORT_HEADER : TGA_SHORT_DATA) << cut;
            ASSERT_EQ(part.p.pixels, nullptr) << cut;
            if (cut < 18) continue;
            ASSERT_EQ(part.count.needed, 200u * 32);
            ASSERT_LT(part.count.supplied, part.count.needed) << cut;
            ASSERT_GE(part.count.supplied, lastSupplied) << cut;   // a longer cut never supplies fewer
            lastSupplied = part.count.supplied;
        }
        EXPECT_GT(lastSupplied, 200u * 32 - 129);   // the last short cut lacks at most one packet
        EXPECT_GT(lastPixelEnd, file.size() - 40);  // pillow writes a 26-byte footer
    }
}

// A few bytes cannot stand for a big picture: a run packet fills at most 128 pixels. A file
// that does hold its pixels is still held to the bound of 8192 x 8192.
TEST(DecodeCuts, PictureSizesPastWhatTheFileHoldsOrTheBoundAreRefusedBeforeAnythingIsAllocated) {
    struct Case { int type, width, height, runs; TgaReason want; uint64_t supplied; };
    const Case cases[] = {{2, 65535, 65535, 1, TGA_SHORT_DATA, 1},  {10, 65535, 65535, 1, TGA_SHORT_DATA, 128},
                          {10, 8192, 8192, 1, TGA_SHORT_DATA, 128}, {10, 128, 2, 2, TGA_DECODED, 256},
                          {10, 128, 3, 2, TGA_SHORT_DATA, 256},     {10, 8192, 8193, 524352, TGA_TOO_LARGE, 8192u * 8193}};
    for (const Case &c : cases) {
        std::string runs;
        for (int i = 0; i < c.runs; i++) runs += "\xff\x01\x02\x03";
        const std::string s = TgaFile(c.type, 24, c.width, c.height, runs);
        const Tga t(Bytes(s.begin(), s.end()), s.size());
        EXPECT_EQ(t.reason, c.want) << c.type << " " << c.width << "x" << c.height;
        EXPECT_EQ(t.count.supplied, c.supplied) << c.type << " " << c.width << "x" << c.height;
    }
}
