// Targa decoder against the public Targa test pictures in tests/fixtures/images/tga.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "render/decode.h"
#include "tests/unit/test_bmp_tga_png.h"

namespace {

// What a decoded picture is checked against.
enum TgaCheck {
    CHECK_NONE,         // refused: nothing to check
    CHECK_REFERENCE,    // the reference PNG, as it should look
    CHECK_MIRRORED,     // right-to-left files keep their stored order: the reference flipped
    CHECK_TURNED,       // right-to-left and top-first: the reference turned round
    CHECK_SAME_AS,      // the same pixels as another file of the suite
    CHECK_BLACK_WHITE,  // every pixel black or white
    CHECK_ZERO,         // no pixel data in the file: every pixel zero
    CHECK_SIZE,         // no reference: size only
};

struct TgaCase {
    const char *file;
    TgaReason reason;
    int width, height, bpp;
    TgaCheck check;
    const char *reference;   // PNG, or the other file for CHECK_SAME_AS
};

const TgaCase kCases[] = {
    {"tga/ftrvxmtrx/monochrome16_top_left.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/ftrvxmtrx/monochrome16_top_left_rle.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/ftrvxmtrx/monochrome8_bottom_left.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/ftrvxmtrx/monochrome8_bottom_left_rle.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/ftrvxmtrx/rgb24_bottom_left_rle.tga", TGA_DECODED, 64, 64, 3, CHECK_REFERENCE, "tga/ftrvxmtrx/rgb24.0.png"},
    {"tga/ftrvxmtrx/rgb24_top_left.tga", TGA_DECODED, 64, 64, 3, CHECK_REFERENCE, "tga/ftrvxmtrx/rgb24.0.png"},
    {"tga/ftrvxmtrx/rgb24_top_left_colormap.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/ftrvxmtrx/rgb32_bottom_left.tga", TGA_DECODED, 64, 64, 4, CHECK_REFERENCE, "tga/ftrvxmtrx/rgb32.0.png"},
    {"tga/ftrvxmtrx/rgb32_top_left_rle.tga", TGA_DECODED, 64, 64, 4, CHECK_REFERENCE, "tga/ftrvxmtrx/rgb32.0.png"},
    {"tga/ftrvxmtrx/rgb32_top_left_rle_colormap.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/image-rs/encoding/black_white.tga", TGA_DECODED, 1280, 720, 3, CHECK_BLACK_WHITE, nullptr},
    {"tga/image-rs/images/b5-attrib.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/image-rs/images/b5-cmap.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/image-rs/images/b5-noattrib.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/image-rs/images/b5-unused-cmap.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/image-rs/images/bottom_left.tga", TGA_DECODED, 75, 70, 4, CHECK_REFERENCE, "tga/image-rs/reference/bottom_left.tga.png"},
    {"tga/image-rs/images/bottom_right.tga", TGA_DECODED, 75, 70, 4, CHECK_MIRRORED, "tga/image-rs/reference/bottom_right.tga.png"},
    {"tga/image-rs/images/cmap_offset.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/image-rs/images/top_left.tga", TGA_DECODED, 75, 70, 4, CHECK_REFERENCE, "tga/image-rs/reference/top_left.tga.png"},
    {"tga/image-rs/images/top_right.tga", TGA_DECODED, 75, 70, 4, CHECK_TURNED, "tga/image-rs/reference/top_right.tga.png"},
    {"tga/image-rs/regression/bad-color-map.tga", TGA_BAD_TYPE, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/image-rs/regression/flip-zero-height.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/image-rs/regression/flip-zero-height2.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/image-rs/regression/orientation-zero-width.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    // Run-length files whose packets stop early: what is missing stays zero.
    {"tga/image-rs/regression/overfull-image.tga", TGA_DECODED, 10, 1, 4, CHECK_ZERO, nullptr},
    {"tga/image-rs/regression/sixteen-bit-gray-colormap.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/image-rs/regression/sixteen-bit-gray-colormap2.tga", TGA_BAD_TYPE, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/image-rs/regression/slice-copy-length.tga", TGA_DECODED, 8224, 32, 4, CHECK_ZERO, nullptr},
    {"tga/pillow/200x32_p_bl_raw_origin.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/1x1_l_bl_raw.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/1x1_l_bl_rle.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/1x1_l_tl_raw.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/1x1_l_tl_rle.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/200x32_l_bl_raw.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/200x32_l_bl_rle.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/200x32_l_tl_raw.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/200x32_l_tl_rle.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/200x32_la_bl_raw.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/200x32_la_bl_rle.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/200x32_la_tl_raw.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/200x32_la_tl_rle.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/200x32_p_bl_raw.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/200x32_p_bl_rle.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/200x32_p_tl_raw.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/200x32_p_tl_rle.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/common/200x32_rgb_bl_raw.tga", TGA_DECODED, 200, 32, 3, CHECK_REFERENCE, "tga/pillow/common/200x32_rgb.png"},
    {"tga/pillow/common/200x32_rgb_bl_rle.tga", TGA_DECODED, 200, 32, 3, CHECK_REFERENCE, "tga/pillow/common/200x32_rgb.png"},
    {"tga/pillow/common/200x32_rgb_tl_raw.tga", TGA_DECODED, 200, 32, 3, CHECK_REFERENCE, "tga/pillow/common/200x32_rgb.png"},
    {"tga/pillow/common/200x32_rgb_tl_rle.tga", TGA_DECODED, 200, 32, 3, CHECK_REFERENCE, "tga/pillow/common/200x32_rgb.png"},
    {"tga/pillow/common/200x32_rgba_bl_raw.tga", TGA_DECODED, 200, 32, 4, CHECK_REFERENCE, "tga/pillow/common/200x32_rgba.png"},
    {"tga/pillow/common/200x32_rgba_bl_rle.tga", TGA_DECODED, 200, 32, 4, CHECK_REFERENCE, "tga/pillow/common/200x32_rgba.png"},
    {"tga/pillow/common/200x32_rgba_tl_raw.tga", TGA_DECODED, 200, 32, 4, CHECK_REFERENCE, "tga/pillow/common/200x32_rgba.png"},
    {"tga/pillow/common/200x32_rgba_tl_rle.tga", TGA_DECODED, 200, 32, 4, CHECK_REFERENCE, "tga/pillow/common/200x32_rgba.png"},
    {"tga/pillow/cross_scan_line.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/cross_scan_line_truncated.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/la.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/p_16.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/p_8.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/rgb32rle.tga", TGA_DECODED, 199, 199, 4, CHECK_SIZE, nullptr},
    // These two differ from rgb32rle.tga only in the descriptor's right-to-left bit (and the
    // top-first bit for the second): both keep the stored order, so they decode alike.
    {"tga/pillow/rgb32rle_bottom_right.tga", TGA_DECODED, 199, 199, 4, CHECK_SAME_AS, "tga/pillow/rgb32rle.tga"},
    {"tga/pillow/rgb32rle_top_right.tga", TGA_DECODED, 199, 199, 4, CHECK_SAME_AS, "tga/pillow/rgb32rle.tga"},
    {"tga/pillow/rgba16.tga", TGA_BAD_DEPTH, 0, 0, 0, CHECK_NONE, nullptr},
    {"tga/pillow/tga_id_field.tga", TGA_DECODED, 100, 100, 3, CHECK_SIZE, nullptr},
};

struct Decoded {
    TgaReason reason;
    TgaPicture picture;
    explicit Decoded(const std::string &file) {
        std::vector<uint8_t> bytes = ReadTestFile(FixtureImages() + "/" + file);
        reason = DecodeTga(bytes.data(), bytes.size(), &picture);
    }
    ~Decoded() { free(picture.pixels); }
    size_t Bytes() const { return size_t(picture.width) * picture.height * picture.bytesPerPixel; }
};

}   // namespace

TEST(TgaConformance, EveryFileOfTheSuitesIsListed) {
    std::vector<std::string> listed;
    for (const TgaCase &c : kCases) listed.push_back(c.file);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(PictureFilesUnder(FixtureImages(), "tga"), listed);
}

TEST(TgaConformance, EachFileDecodesToItsReferenceOrIsRefusedForItsReason) {
    for (const TgaCase &c : kCases) {
        SCOPED_TRACE(c.file);
        Decoded d(c.file);
        ASSERT_EQ(d.reason, c.reason);
        if (c.reason != TGA_DECODED) {
            EXPECT_EQ(d.picture.pixels, nullptr);
            continue;
        }
        ASSERT_EQ(d.picture.width, c.width);
        ASSERT_EQ(d.picture.height, c.height);
        ASSERT_EQ(d.picture.bytesPerPixel, c.bpp);
        const uint8_t *px = d.picture.pixels;
        switch (c.check) {
        case CHECK_REFERENCE:
        case CHECK_MIRRORED:
        case CHECK_TURNED: {
            ReferencePng ref;
            ASSERT_TRUE(ReadReferencePng(FixtureImages() + "/" + c.reference, &ref));
            RefOrientation how = c.check == CHECK_REFERENCE ? REF_SAME
                                 : c.check == CHECK_MIRRORED ? REF_MIRRORED
                                                             : REF_TURNED;
            EXPECT_EQ(ComparePicture(px, c.width, c.height, c.bpp, ref, how, 0), "");
            break;
        }
        case CHECK_SAME_AS: {
            Decoded other(c.reference);
            ASSERT_EQ(other.reason, TGA_DECODED);
            ASSERT_EQ(other.Bytes(), d.Bytes());
            EXPECT_EQ(memcmp(other.picture.pixels, px, d.Bytes()), 0);
            break;
        }
        case CHECK_BLACK_WHITE: {
            size_t odd = 0, white = 0;
            for (size_t i = 0; i < d.Bytes(); i += 3) {
                bool black = px[i] == 0 && px[i + 1] == 0 && px[i + 2] == 0;
                bool w = px[i] == 255 && px[i + 1] == 255 && px[i + 2] == 255;
                odd += !black && !w;
                white += w;
            }
            EXPECT_EQ(odd, 0u);
            EXPECT_GT(white, 0u);
            EXPECT_LT(white, d.Bytes() / 3);
            break;
        }
        case CHECK_ZERO:
            for (size_t i = 0; i < d.Bytes(); i++) ASSERT_EQ(px[i], 0) << i;
            break;
        case CHECK_SIZE:
        case CHECK_NONE: break;
        }
    }
}
