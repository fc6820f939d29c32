// Bitmap decoder against the public bitmap test pictures in tests/fixtures/images/bmp.
#include <gtest/gtest.h>

#include <cstdlib>

#include "render/decode.h"
#include "tests/unit/test_bmp_tga_png.h"

namespace {

// Every file of the suites with the decoder's answer. A decoded file is compared with its
// reference PNG when it has one (channels within `tolerance`), otherwise its size is checked.
// Refused: information headers of 108, 124 and every other size but 40 and 12; 2- and
// 64-bit pixels; compression other than none, RLE8, RLE4 and masks; top-row-first run-length
// data; cut files; pictures past the size bound.
struct BmpCase {
    const char *file;
    BmpReason reason;
    int width, height;
    const char *reference;
    int tolerance;
};

const BmpCase kCases[] = {
    {"bmp/bmpsuite/b/badbitcount.bmp", BMP_BAD_DATA, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/b/badbitssize.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal1.png", 0},
    {"bmp/bmpsuite/b/baddens1.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal1.png", 0},
    {"bmp/bmpsuite/b/baddens2.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal1.png", 0},
    {"bmp/bmpsuite/b/badfilesize.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal1.png", 0},
    {"bmp/bmpsuite/b/badheadersize.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/b/badpalettesize.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8.png", 0},
    {"bmp/bmpsuite/b/badplanes.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal1.png", 0},
    {"bmp/bmpsuite/b/badrle.bmp", BMP_DECODED, 127, 64, nullptr, 0},
    {"bmp/bmpsuite/b/badrle4.bmp", BMP_DECODED, 127, 64, nullptr, 0},
    {"bmp/bmpsuite/b/badrle4bis.bmp", BMP_DECODED, 127, 64, nullptr, 0},
    {"bmp/bmpsuite/b/badrle4ter.bmp", BMP_DECODED, 127, 64, nullptr, 0},
    {"bmp/bmpsuite/b/badrlebis.bmp", BMP_DECODED, 127, 64, nullptr, 0},
    {"bmp/bmpsuite/b/badrleter.bmp", BMP_DECODED, 127, 64, nullptr, 0},
    {"bmp/bmpsuite/b/badwidth.bmp", BMP_BAD_DATA, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/b/pal8badindex.bmp", BMP_DECODED, 127, 64, nullptr, 0},
    {"bmp/bmpsuite/b/reallybig.bmp", BMP_TOO_LARGE, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/b/rgb16-880.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb16-880.png", 0},
    {"bmp/bmpsuite/b/rletopdown.bmp", BMP_BAD_DATA, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/b/shortfile.bmp", BMP_BAD_DATA, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/g/pal1.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal1.png", 0},
    {"bmp/bmpsuite/g/pal1bg.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal1bg.png", 0},
    {"bmp/bmpsuite/g/pal1wb.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal1.png", 0},
    {"bmp/bmpsuite/g/pal4.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal4.png", 0},
    {"bmp/bmpsuite/g/pal4gs.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal4gs.png", 0},
    {"bmp/bmpsuite/g/pal4rle.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal4.png", 0},
    {"bmp/bmpsuite/g/pal8-0.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8.png", 0},
    {"bmp/bmpsuite/g/pal8.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8.png", 0},
    {"bmp/bmpsuite/g/pal8gs.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8gs.png", 0},
    {"bmp/bmpsuite/g/pal8nonsquare.bmp", BMP_DECODED, 127, 32, "bmp/bmpsuite/html/pal8nonsquare-e.png", 0},
    {"bmp/bmpsuite/g/pal8os2.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8.png", 0},
    {"bmp/bmpsuite/g/pal8rle.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8.png", 0},
    {"bmp/bmpsuite/g/pal8topdown.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8.png", 0},
    {"bmp/bmpsuite/g/pal8v4.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/g/pal8v5.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/g/pal8w124.bmp", BMP_DECODED, 124, 61, "bmp/bmpsuite/html/pal8w124.png", 0},
    {"bmp/bmpsuite/g/pal8w125.bmp", BMP_DECODED, 125, 62, "bmp/bmpsuite/html/pal8w125.png", 0},
    {"bmp/bmpsuite/g/pal8w126.bmp", BMP_DECODED, 126, 63, "bmp/bmpsuite/html/pal8w126.png", 0},
    {"bmp/bmpsuite/g/rgb16-565.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb16-565.png", 0},
    {"bmp/bmpsuite/g/rgb16-565pal.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb16-565.png", 0},
    {"bmp/bmpsuite/g/rgb16.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb16.png", 0},
    {"bmp/bmpsuite/g/rgb16bfdef.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb16.png", 0},
    {"bmp/bmpsuite/g/rgb24.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb24.png", 0},
    {"bmp/bmpsuite/g/rgb24pal.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb24.png", 0},
    {"bmp/bmpsuite/g/rgb32.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb24.png", 0},
    {"bmp/bmpsuite/g/rgb32bf.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb24.png", 0},
    {"bmp/bmpsuite/g/rgb32bfdef.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb24.png", 0},
    {"bmp/bmpsuite/q/pal1huffmsb.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/pal1p1.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal1p1.png", 0},
    {"bmp/bmpsuite/q/pal2.bmp", BMP_BAD_DATA, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/pal2color.bmp", BMP_BAD_DATA, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/pal4rlecut.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal4rlecut-b.png", 0},
    {"bmp/bmpsuite/q/pal4rletrns.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal4rletrns-b.png", 0},
    {"bmp/bmpsuite/q/pal8offs.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8.png", 0},
    {"bmp/bmpsuite/q/pal8os2-hs.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8.png", 0},
    {"bmp/bmpsuite/q/pal8os2-sz.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8.png", 0},
    {"bmp/bmpsuite/q/pal8os2sp.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8.png", 0},
    {"bmp/bmpsuite/q/pal8os2v2-16.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/pal8os2v2-40sz.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8.png", 0},
    {"bmp/bmpsuite/q/pal8os2v2-sz.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/pal8os2v2.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/pal8oversizepal.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8.png", 0},
    {"bmp/bmpsuite/q/pal8rlecut.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8rlecut-b.png", 0},
    {"bmp/bmpsuite/q/pal8rletrns.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8rletrns-b.png", 0},
    {"bmp/bmpsuite/q/rgb16-231.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb16-231.png", 0},
    {"bmp/bmpsuite/q/rgb16-3103.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb16-3103.png", 0},
    {"bmp/bmpsuite/q/rgb16faketrns.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb16.png", 0},
    {"bmp/bmpsuite/q/rgb24jpeg.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgb24largepal.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb24.png", 0},
    {"bmp/bmpsuite/q/rgb24lprof.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgb24png.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgb24rle24.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgb32-111110.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb24.png", 1},
    {"bmp/bmpsuite/q/rgb32-7187.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb32-7187.png", 1},
    {"bmp/bmpsuite/q/rgb32-xbgr.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgb32fakealpha.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/rgb24.png", 0},
    {"bmp/bmpsuite/q/rgb32h52.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgba16-1924.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgba16-4444.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgba16-5551.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgba32-1.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgba32-1010102.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgba32-2.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgba32-61754.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgba32-81284.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgba32abf.bmp", BMP_BAD_DATA, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgba32h56.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/q/rgba64.bmp", BMP_BAD_DATA, 0, 0, nullptr, 0},
    {"bmp/bmpsuite/x/ba-bm.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/bad/Bad_clrsUsed.bmp", BMP_DECODED, 6, 6, "bmp/image-rs/reference/Info_8_Bit.bmp.png", 0},
    {"bmp/image-rs/bad/Bad_height.bmp", BMP_TOO_LARGE, 0, 0, nullptr, 0},
    {"bmp/image-rs/bad/Bad_unusual_extend_buffer_usage.bmp", BMP_BAD_DATA, 0, 0, nullptr, 0},
    {"bmp/image-rs/bad/Bad_width.bmp", BMP_TOO_LARGE, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/Core_1_Bit.bmp", BMP_DECODED, 435, 353, "bmp/image-rs/reference/Core_1_Bit.bmp.png", 0},
    {"bmp/image-rs/good/Core_4_Bit.bmp", BMP_DECODED, 435, 353, "bmp/image-rs/reference/Core_4_Bit.bmp.png", 0},
    {"bmp/image-rs/good/Core_8_Bit.bmp", BMP_DECODED, 435, 353, "bmp/image-rs/reference/Core_8_Bit.bmp.png", 0},
    {"bmp/image-rs/good/Info_1_Bit.bmp", BMP_DECODED, 6, 6, "bmp/image-rs/reference/Info_1_Bit.bmp.png", 0},
    {"bmp/image-rs/good/Info_1_Bit_Top_Down.bmp", BMP_DECODED, 6, 6, "bmp/image-rs/reference/Info_1_Bit_Top_Down.bmp.png", 0},
    {"bmp/image-rs/good/Info_4_Bit.bmp", BMP_DECODED, 6, 6, "bmp/image-rs/reference/Info_4_Bit.bmp.png", 0},
    {"bmp/image-rs/good/Info_4_Bit_Top_Down.bmp", BMP_DECODED, 6, 6, "bmp/image-rs/reference/Info_4_Bit_Top_Down.bmp.png", 0},
    {"bmp/image-rs/good/Info_8_Bit.bmp", BMP_DECODED, 6, 6, "bmp/image-rs/reference/Info_8_Bit.bmp.png", 0},
    {"bmp/image-rs/good/Info_8_Bit_Top_Down.bmp", BMP_DECODED, 6, 6, "bmp/image-rs/reference/Info_8_Bit_Top_Down.bmp.png", 0},
    {"bmp/image-rs/good/Info_A8_R8_G8_B8.bmp", BMP_DECODED, 6, 6, "bmp/image-rs/reference/Info_A8_R8_G8_B8.bmp.png", 0},
    {"bmp/image-rs/good/Info_A8_R8_G8_B8_Top_Down.bmp", BMP_DECODED, 6, 6, "bmp/image-rs/reference/Info_A8_R8_G8_B8_Top_Down.bmp.png", 0},
    {"bmp/image-rs/good/Info_R8_G8_B8.bmp", BMP_DECODED, 6, 6, "bmp/image-rs/reference/Info_R8_G8_B8.bmp.png", 0},
    {"bmp/image-rs/good/Info_R8_G8_B8_Top_Down.bmp", BMP_DECODED, 6, 6, "bmp/image-rs/reference/Info_R8_G8_B8_Top_Down.bmp.png", 0},
    {"bmp/image-rs/good/Info_X1_R5_G5_B5.bmp", BMP_DECODED, 6, 6, "bmp/image-rs/reference/Info_X1_R5_G5_B5.bmp.png", 0},
    {"bmp/image-rs/good/Info_X1_R5_G5_B5_Top_Down.bmp", BMP_DECODED, 6, 6, "bmp/image-rs/reference/Info_X1_R5_G5_B5_Top_Down.bmp.png", 0},
    {"bmp/image-rs/good/V3_A1_R5_G5_B5.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/V3_A1_R5_G5_B5_Top_Down.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/V3_A4_R4_G4_B4.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/V3_A4_R4_G4_B4_Top_Down.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/V3_R5_G6_B5.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/V3_R5_G6_B5_Top_Down.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/V3_X4_R4_G4_B4.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/V3_X4_R4_G4_B4_Top_Down.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/V3_X8_R8_G8_B8.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/V3_X8_R8_G8_B8_Top_Down.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/V4_24_Bit.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/V4_A8_R8_G8_B8.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/V4_R5_G6_B5.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/V5_24_Bit.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/V5_A1_R5_G5_B5.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/V5_A8_R8_G8_B8_Rgb.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/good/imagemagick_invalid_run_length_issue_2321.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/lenient/V5_A8_R8_G8_B8_Rgb_BadMask.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/image-rs/lenient/rle_overflow.bmp", BMP_DECODED, 2, 2, nullptr, 0},
    {"bmp/pillow/clipboard.dib", BMP_DECODED, 296, 176, "bmp/pillow/clipboard_target.png", 0},
    {"bmp/pillow/hopper.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/pillow/hopper_rle8.bmp", BMP_DECODED, 128, 128, nullptr, 0},
    {"bmp/pillow/hopper_rle8_grayscale.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/pillow/hopper_rle8_row_overflow.bmp", BMP_DECODED, 128, 128, nullptr, 0},
    {"bmp/pillow/mmap_error.bmp", BMP_DECODED, 127, 64, "bmp/bmpsuite/html/pal8.png", 0},
    {"bmp/pillow/rgb32bf-abgr.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
    {"bmp/pillow/rgb32bf-rgba.bmp", BMP_UNKNOWN_FORMAT, 0, 0, nullptr, 0},
};

}   // namespace

TEST(BmpConformance, EveryFileOfTheSuitesIsListed) {
    std::vector<std::string> listed;
    for (const BmpCase &c : kCases) listed.push_back(c.file);
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(PictureFilesUnder(FixtureImages(), "bmp"), listed);
}

TEST(BmpConformance, EachFileDecodesToItsReferenceOrIsRefusedForItsReason) {
    for (const BmpCase &c : kCases) {
        SCOPED_TRACE(c.file);
        std::vector<uint8_t> bytes = ReadTestFile(FixtureImages() + "/" + c.file);
        ASSERT_FALSE(bytes.empty());
        RgbImage image;
        BmpReason reason = DecodeBmp(bytes.data(), bytes.size(), &image);
        EXPECT_EQ(reason, c.reason);
        if (reason != BMP_DECODED) {
            EXPECT_EQ(image.pixels, nullptr);
            continue;
        }
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        if (c.reference) {
            ReferencePng ref;
            ASSERT_TRUE(ReadReferencePng(FixtureImages() + "/" + c.reference, &ref));
            EXPECT_EQ(ComparePicture(image.pixels, image.width, image.height, 3, ref, REF_SAME, c.tolerance), "");
        }
        free(image.pixels);
    }
}
