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
    Tga(const Bytes &f, size_t n) { reason = DecodeTga(f.data(), n, &p); }
    ~Tga() { free(p.pixels); }
    size_t Size() const { return size_t(p.width) * p.height * p.bytesPerPixel; }
};

Bytes TgaHeader(int type, int width, int height) {
    Bytes h(18, 0);
    h[2] = uint8_t(type);
    h[12] = uint8_t(width), h[13] = uint8_t(width >> 8);
    h[14] = uint8_t(height), h[15] = uint8_t(height >> 8);
    h[16] = 24;
    return h;
}

}   // namespace

// A run-length Targa cut anywhere past its header still decodes: the pixels it reached, then zeros.
// A raw one is refused. A bitmap is refused (and holds no pixels) unless only the last row's
// padding is missing.
TEST(DecodeCuts, EveryCutOfARealPictureIsRefusedOrAPrefixOfIt) {
    const char *const files[] = {"tga/pillow/common/200x32_rgb_bl_rle.tga", "tga/pillow/common/200x32_rgb_bl_raw.tga",
                                 "bmp/bmpsuite/g/pal8os2.bmp", "bmp/bmpsuite/g/pal4rle.bmp",
                                 "bmp/bmpsuite/g/pal1.bmp", "bmp/bmpsuite/q/rgb16-231.bmp"};
    for (const char *name : files) {
        SCOPED_TRACE(name);
        const Bytes file = ReadTestFile(FixtureImages() + "/" + name);
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
        const bool rle = file[2] == 10;
        for (size_t cut = 0; cut < file.size(); cut++) {
            const Tga part(file, cut);
            const bool whole = cut >= 18 + file[0] + full.Size();   // only a trailer is missing
            const TgaReason want = cut < 18 ? TGA_SHORT_HEADER : rle || whole ? TGA_DECODED : TGA_SHORT_DATA;
            ASSERT_EQ(part.reason, want) << cut;
            if (want != TGA_DECODED) {
                ASSERT_EQ(part.p.pixels, nullptr) << cut;
                continue;
            }
            size_t same = 0;
            while (same < full.Size() && part.p.pixels[same] == full.p.pixels[same]) same++;
            for (size_t i = same; i < full.Size(); i++) ASSERT_EQ(part.p.pixels[i], 0) << cut << " " << i;
        }
    }
}

// The bound is 8192 x 8192 pixels: a run-length Targa cannot prove its size, so the header is held to it.
TEST(DecodeCuts, PictureSizesPastTheBoundAreRefusedBeforeAnythingIsAllocated) {
    struct Case { int type, width, height; TgaReason want; };
    const Case cases[] = {{2, 65535, 65535, TGA_SHORT_DATA}, {10, 65535, 65535, TGA_TOO_LARGE},
                          {10, 8192, 8193, TGA_TOO_LARGE}, {10, 8192, 8192, TGA_DECODED}};
    for (const Case &c : cases) {
        Bytes f = TgaHeader(c.type, c.width, c.height);
        f.insert(f.end(), {0xff, 1, 2, 3});
        EXPECT_EQ(Tga(f, f.size()).reason, c.want) << c.type << " " << c.width << "x" << c.height;
    }
}
